#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace examora {

// The operating system as the run log's "information" line describes it.
// Windows: RtlGetVersion's major, minor, build, service-pack text and platform id ("2" on
// every NT system). POSIX: major, minor and build are the leading numbers of uname's
// release ("6.1.0-18-amd64" -> 6, 1, 0); the service-pack text is that whole release
// string, which keeps the distribution's suffix; the platform id is uname's system name
// ("Linux").
struct OsInfo {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::string servicePack;
  std::string platformId;
};

[[nodiscard]] OsInfo QueryOsInfo();

// Installed physical memory in bytes; nothing when the system does not say.
[[nodiscard]] std::optional<std::uint64_t> TotalPhysicalMemory();

// "major,minor,build,servicePack,platformId,memory", memory as decimal bytes or "Error".
[[nodiscard]] std::string FormatInformationValues(const OsInfo& info,
                                                  std::optional<std::uint64_t> memory);

// True when the process runs with the rights of the system's superuser (POSIX: effective user
// id 0). Windows: always false; its browser sandbox does not depend on the account.
[[nodiscard]] bool RunningAsSuperuser();

// Up to three leading dot-separated numbers of a version text; missing ones are 0.
struct VersionNumbers {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};
[[nodiscard]] VersionNumbers ParseVersionNumbers(std::string_view release);

}  // namespace examora
