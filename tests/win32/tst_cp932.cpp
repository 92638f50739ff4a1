#include <doctest.h>

#include "Win32Test.h"

#include <cstdio>
#include <cstdlib>

using namespace examora::wintest;

// Our code page 932 codec against the system's, for every input. The codec's answers come
// from tests/win32/host/cp932_reference.cpp, run on the build machine.
namespace {

constexpr std::size_t kDecodedEntries = 0x100 + 0x10000;
constexpr std::size_t kDecodeBytes = kDecodedEntries * 6;
constexpr std::size_t kEncodeBytes = 0x10000 * 3;

unsigned U16(const std::string& data, std::size_t at) {
  return static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8;
}

std::string Hex(const std::vector<unsigned>& values, int width) {
  std::string text;
  char buffer[8];
  for (unsigned v : values) {
    std::snprintf(buffer, sizeof buffer, width == 2 ? "%02X" : "%04X", v);
    if (!text.empty()) text += ' ';
    text += buffer;
  }
  return text.empty() ? "-" : text;
}

bool IsLeadByte(unsigned b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::vector<unsigned> SystemDecode(const char* bytes, int length) {
  wchar_t out[4] = {};
  const int n = MultiByteToWideChar(932, 0, bytes, length, out, 4);
  return std::vector<unsigned>(out, out + (n > 0 ? n : 0));
}

std::vector<unsigned> SystemEncode(wchar_t unit, DWORD flags) {
  char out[4] = {};
  const int n = WideCharToMultiByte(932, flags, &unit, 1, out, 4, nullptr, nullptr);
  std::vector<unsigned> bytes;
  for (int i = 0; i < n; ++i) bytes.push_back(static_cast<unsigned char>(out[i]));
  return bytes;
}

struct Differences {
  int count = 0;
  void Report(const std::string& line) {
    if (++count <= 60) std::printf("  %s\n", line.c_str());
  }
};

}  // namespace

TEST_CASE("code page 932: our table against the system's, every code both ways") {
  const char* path = std::getenv("EXAMORA_CP932_REFERENCE");
  const std::optional<std::string> data = path ? ReadFileBytes(path) : std::nullopt;
  if (!data) {
    PrintSkip("code page 932", "no reference from our codec (run through tests/win32/run.sh)");
    return;
  }
  REQUIRE(data->size() == kDecodeBytes + kEncodeBytes);

  std::printf("code page 932, decoding (ours | system):\n");
  Differences decoding;
  int swallowedTrail = 0;
  for (std::size_t entry = 0; entry < kDecodedEntries; ++entry) {
    const std::size_t at = entry * 6;
    const unsigned count = U16(*data, at);
    std::vector<unsigned> ours;
    for (unsigned i = 0; i < count && i < 2; ++i) ours.push_back(U16(*data, at + 2 + 2 * i));
    char bytes[2] = {};
    int length = 1;
    if (entry < 0x100) {
      bytes[0] = static_cast<char>(entry);
    } else {
      bytes[0] = static_cast<char>((entry - 0x100) >> 8);
      bytes[1] = static_cast<char>((entry - 0x100) & 0xFF);
      length = 2;
    }
    const std::vector<unsigned> system = SystemDecode(bytes, length);
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    // A lead byte before a byte that cannot follow it: we give the default character and then
    // decode the second byte on its own, so that the text after a damaged character survives;
    // Wine takes both bytes as one undefined character. Counted, not failed.
    if (length == 2 && IsLeadByte(first) && !IsTrailByte(second) && ours.size() == 2 &&
        ours[0] == 0x30FB && ours[1] == U16(*data, second * 6 + 2) &&
        system == std::vector<unsigned>{0x30FB}) {
      ++swallowedTrail;
      continue;
    }
    if (ours != system) {
      std::vector<unsigned> input;
      for (int i = 0; i < length; ++i) input.push_back(static_cast<unsigned char>(bytes[i]));
      decoding.Report(Hex(input, 2) + ": " + Hex(ours, 4) + " | " + Hex(system, 4));
    }
  }
  std::printf(
      "  %d differences; %d lead bytes before a non-trail byte, whose second byte the "
      "system swallows and we keep\n",
      decoding.count, swallowedTrail);

  std::printf("code page 932, encoding (ours | system exact | system best fit):\n");
  Differences exact, bestFit;
  std::string bestFitList;
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const std::size_t at = kDecodeBytes + unit * 3;
    const unsigned count = static_cast<unsigned char>((*data)[at]);
    std::vector<unsigned> ours;
    for (unsigned i = 0; i < count && i < 2; ++i) {
      ours.push_back(static_cast<unsigned char>((*data)[at + 1 + i]));
    }
    const std::vector<unsigned> strict =
        SystemEncode(static_cast<wchar_t>(unit), WC_NO_BEST_FIT_CHARS);
    const std::vector<unsigned> fitted = SystemEncode(static_cast<wchar_t>(unit), 0);
    if (ours != strict)
      exact.Report("U+" + Hex({unit}, 4) + ": " + Hex(ours, 2) + " | " + Hex(strict, 2));
    // Where the system would write a look-alike ("¥" as "\\", "©" as "c"), we write "?":
    // counted and listed, and a failure only if ours is anything but "?".
    if (ours != fitted && strict != fitted) {
      ++bestFit.count;
      bestFitList +=
          "U+" + Hex({unit}, 4) + "=" + Hex(fitted, 2) + (bestFit.count % 8 ? "  " : "\n  ");
      if (ours != std::vector<unsigned>{'?'}) exact.Report("best fit U+" + Hex({unit}, 4));
    }
  }
  std::printf(
      "  %d differences from the exact conversion; %d characters the system replaces by a "
      "look-alike where we write \"?\":\n  %s\n",
      exact.count, bestFit.count, bestFitList.c_str());
  CHECK(decoding.count == 0);
  CHECK(exact.count == 0);
}
