#include "platform/OpenFileProbe.h"

#include "platform/win32/Utf16.h"

namespace examora {
namespace {

// Local wall-clock time of a UTC file time, by the time-zone rule of that date (a file written
// in summer reads as summer time also in winter, unlike FileTimeToLocalFileTime).
bool ToLocalSeconds(const FILETIME& utc, std::chrono::local_seconds& out) {
  SYSTEMTIME utcTime{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&utc, &utcTime)) return false;
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local)) return false;
  using namespace std::chrono;
  const local_days day{year{local.wYear} / month{local.wMonth} / local.wDay};
  out = day + hours{local.wHour} + minutes{local.wMinute} + seconds{local.wSecond};
  return true;
}

}  // namespace

OpenFileProbeResult ProbeOpenFile(std::string_view path) {
  OpenFileProbeResult result;
  const std::wstring wide = win32::Utf8ToWide(path);
  // Share mode 0: the open fails with a sharing violation while any other handle is open, which
  // is exactly the question. Attribute-only access would not ask it.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    result.error = win32::ErrorText(code);
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) {
      result.outcome = OpenFileProbeResult::Outcome::HeldOpen;
    }
    return result;
  }
  FILETIME written{};
  const bool timeOk = GetFileTime(file, nullptr, nullptr, &written) != 0;
  const DWORD code = timeOk ? 0 : GetLastError();
  CloseHandle(file);
  if (!timeOk) {
    result.error = win32::ErrorText(code);
    return result;
  }
  if (!ToLocalSeconds(written, result.lastWrite)) {
    result.error = win32::ErrorText(GetLastError());
    return result;
  }
  result.outcome = OpenFileProbeResult::Outcome::Readable;
  return result;
}

}  // namespace examora

namespace examora {

std::vector<OpenFileProbeResult> ProbeOpenFilesIn(std::string_view folder,
                                                  const std::vector<std::string>& names) {
  std::string base(folder);
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  std::vector<OpenFileProbeResult> results;
  results.reserve(names.size());
  for (const std::string& name : names) results.push_back(ProbeOpenFile(base + name));
  return results;
}

}  // namespace examora
