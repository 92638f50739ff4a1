#include "platform/Shell.h"

#include "platform/win32/Utf16.h"

#include <shellapi.h>

namespace examora {
namespace {

ShellResult Execute(const wchar_t* verb, std::string_view path) {
  const std::wstring wide = win32::Utf8ToWide(path);
  const HINSTANCE result =
      ShellExecuteW(nullptr, verb, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success; the others are old error codes, GetLastError has the detail.
  if (reinterpret_cast<INT_PTR>(result) > 32) return {true, {}};
  return {false, win32::ErrorText(GetLastError())};
}

}  // namespace

ShellResult StartExecutable(std::string_view path) {
  return Execute(nullptr, path);
}

ShellResult OpenFolder(std::string_view path) {
  const DWORD attributes = GetFileAttributesW(win32::Utf8ToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {false, win32::ErrorText(ERROR_PATH_NOT_FOUND)};
  }
  return Execute(L"open", path);
}

}  // namespace examora
