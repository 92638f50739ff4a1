#include "platform/OsInfo.h"

#include <charconv>

namespace examora {

std::string FormatInformationValues(const OsInfo& info, std::optional<std::uint64_t> memory) {
  std::string text = std::to_string(info.major) + ',' + std::to_string(info.minor) + ',' +
                     std::to_string(info.build) + ',' + info.servicePack + ',' + info.platformId +
                     ',';
  text += memory ? std::to_string(*memory) : std::string("Error");
  return text;
}

VersionNumbers ParseVersionNumbers(std::string_view release) {
  std::uint32_t numbers[3] = {0, 0, 0};
  const char* pos = release.data();
  const char* const end = release.data() + release.size();
  for (int i = 0; i < 3 && pos != end; ++i) {
    std::uint32_t value = 0;
    const auto [next, ec] = std::from_chars(pos, end, value);
    if (ec != std::errc()) break;  // not a number, or too large to be one of ours
    numbers[i] = value;
    if (next == end || *next != '.') break;
    pos = next + 1;
  }
  return {numbers[0], numbers[1], numbers[2]};
}

}  // namespace examora
