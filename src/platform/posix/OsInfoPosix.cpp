#include "platform/OsInfo.h"

#include <sys/utsname.h>
#include <unistd.h>

namespace examora {

OsInfo QueryOsInfo() {
  OsInfo info;
  struct utsname names {};
  if (::uname(&names) != 0) return info;
  const VersionNumbers numbers = ParseVersionNumbers(names.release);
  info.major = numbers.major;
  info.minor = numbers.minor;
  info.build = numbers.build;
  info.servicePack = names.release;
  info.platformId = names.sysname;
  return info;
}

std::optional<std::uint64_t> TotalPhysicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return std::nullopt;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

bool RunningAsSuperuser() {
  return ::geteuid() == 0;
}

}  // namespace examora
