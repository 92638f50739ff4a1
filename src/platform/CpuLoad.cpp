#include "platform/CpuLoad.h"

#include <charconv>
#include <vector>

namespace examora {

std::string ProcessCpuCounterPath(std::string_view processInstance) {
  std::string path = "\\Process(";
  path += processInstance;
  path += ")\\% Processor Time";
  return path;
}

namespace {

// Whitespace-separated unsigned numbers from the start of text; stops at the first token that
// is not one.
std::vector<std::uint64_t> LeadingNumbers(std::string_view text, std::size_t limit) {
  std::vector<std::uint64_t> numbers;
  std::size_t pos = 0;
  while (numbers.size() < limit) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos >= text.size() || text[pos] == '\n') break;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc() ||
        (end != text.data() + text.size() && *end != ' ' && *end != '\t' && *end != '\n')) {
      break;
    }
    numbers.push_back(value);
    pos = static_cast<std::size_t>(end - text.data());
  }
  return numbers;
}

// Tokens separated by single or repeated blanks.
std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n')) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != ' ' && text[pos] != '\n') ++pos;
    if (pos > start) tokens.push_back(text.substr(start, pos - start));
  }
  return tokens;
}

std::optional<std::uint64_t> Number(std::string_view token) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<ProcCpuTimes> ParseProcStatCpuLine(std::string_view procStat) {
  // The summary line is the first one and reads "cpu" followed by blanks ("cpu0" is a single
  // processor).
  std::size_t pos = 0;
  while (pos < procStat.size()) {
    const std::size_t end = procStat.find('\n', pos);
    const std::string_view line =
        procStat.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (line.size() > 3 && line.substr(0, 3) == "cpu" && (line[3] == ' ' || line[3] == '\t')) {
      const std::vector<std::uint64_t> n = LeadingNumbers(line.substr(3), 8);
      if (n.size() < 4) return std::nullopt;
      const auto field = [&n](std::size_t i) { return i < n.size() ? n[i] : 0; };
      // user nice system idle iowait irq softirq steal
      return ProcCpuTimes{field(0) + field(1) + field(2) + field(5) + field(6) + field(7),
                          field(3) + field(4)};
    }
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ParseProcPidStatCpuTicks(std::string_view pidStat) {
  const std::size_t close = pidStat.rfind(')');
  if (close == std::string_view::npos) return std::nullopt;
  // After the command name: state (field 3) ... utime (field 14), stime (field 15).
  const std::vector<std::string_view> tokens = Tokens(pidStat.substr(close + 1));
  if (tokens.size() < 13) return std::nullopt;
  const std::optional<std::uint64_t> user = Number(tokens[11]);
  const std::optional<std::uint64_t> system = Number(tokens[12]);
  if (!user || !system) return std::nullopt;
  return *user + *system;
}

std::optional<CpuLoad> CpuLoadBetween(const CpuSample& first, const CpuSample& second,
                                      long ticksPerSecond) {
  if (ticksPerSecond <= 0) return std::nullopt;
  const auto wall = std::chrono::duration<double>(second.at - first.at).count();
  if (wall <= 0) return std::nullopt;
  // iowait may step backwards on some kernels; a negative part counts as nothing.
  const auto delta = [](std::uint64_t a, std::uint64_t b) {
    return b > a ? static_cast<double>(b - a) : 0.0;
  };
  const double busy = delta(first.system.busy, second.system.busy);
  const double idle = delta(first.system.idle, second.system.idle);
  if (busy + idle <= 0) return std::nullopt;
  const double processSeconds =
      delta(first.processTicks, second.processTicks) / static_cast<double>(ticksPerSecond);
  return CpuLoad{busy / (busy + idle) * 100.0, processSeconds / wall * 100.0};
}

}  // namespace examora
