#include "platform/AtomicReplace.h"

#include "platform/win32/Utf16.h"

#include <algorithm>

namespace examora {
namespace {

ReplaceResult Failure(DWORD error) {
  return {false, win32::ErrorText(error)};
}

std::wstring NativePath(std::string_view path) {
  std::wstring wide = win32::Utf8ToWide(path);
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  return wide;
}

// What another program's open handle on the target gives: worth waiting for.
bool HeldByAnotherProgram(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

}  // namespace

ReplaceResult ReplaceFileAtomically(std::string_view path, std::string_view bytes) {
  const std::wstring targetPath = NativePath(path);
  const DWORD oldAttributes = GetFileAttributesW(targetPath.c_str());
  if (oldAttributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    // A missing file is created; a missing folder is the caller's fault and not repaired.
    if (error != ERROR_FILE_NOT_FOUND) return Failure(error);
  } else if (oldAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return Failure(ERROR_ACCESS_DENIED);
  }

  std::wstring tempPath;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 10 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    tempPath = NativePath(TemporaryPathBeside(path));
    handle = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      return Failure(GetLastError());
    }
  }
  if (handle == INVALID_HANDLE_VALUE) return Failure(ERROR_FILE_EXISTS);

  auto fail = [&](DWORD error) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    DeleteFileW(tempPath.c_str());
    return Failure(error);
  };

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle, data, chunk, &written, nullptr)) return fail(GetLastError());
    data += written;
    left -= written;
  }
  if (!FlushFileBuffers(handle)) return fail(GetLastError());
  const BOOL closed = CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
  if (!closed) return fail(GetLastError());

  // MOVEFILE_WRITE_THROUGH returns only once the rename is on the disk, which is what the
  // folder flush does on POSIX.
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(tempPath.c_str(), targetPath.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      break;
    }
    const DWORD error = GetLastError();
    if (attempt >= kReplaceAttempts || !HeldByAnotherProgram(error)) return fail(error);
    Sleep(kReplaceRetryPauseMs);
  }
  // The replacement keeps the old file's hidden/system/archive marks.
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && oldAttributes != FILE_ATTRIBUTE_NORMAL) {
    SetFileAttributesW(targetPath.c_str(), oldAttributes);
  }
  return {true, {}};
}

}  // namespace examora
