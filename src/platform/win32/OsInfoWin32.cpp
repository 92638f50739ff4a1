#include "platform/OsInfo.h"

#include "platform/win32/Utf16.h"

namespace examora {
namespace {

// Same layout as RTL_OSVERSIONINFOW, which not every SDK's user-mode headers declare.
struct RtlVersionInfo {
  ULONG size;
  ULONG major;
  ULONG minor;
  ULONG build;
  ULONG platformId;
  WCHAR csdVersion[128];
};
using RtlGetVersionFunction = LONG(WINAPI*)(RtlVersionInfo*);

}  // namespace

// RtlGetVersion rather than GetVersionExW: the latter reports Windows 8 to every program
// without a compatibility manifest naming later versions.
OsInfo QueryOsInfo() {
  OsInfo info;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll) return info;
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  if (!rtlGetVersion) return info;
  RtlVersionInfo version{};
  version.size = sizeof version;
  if (rtlGetVersion(&version) != 0) return info;
  info.major = version.major;
  info.minor = version.minor;
  info.build = version.build;
  info.servicePack = win32::WideToUtf8(version.csdVersion);
  info.platformId = std::to_string(version.platformId);
  return info;
}

std::optional<std::uint64_t> TotalPhysicalMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
  return status.ullTotalPhys;
}

bool RunningAsSuperuser() {
  return false;
}

}  // namespace examora
