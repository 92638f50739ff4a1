#include "platform/CpuLoad.h"

#include <fstream>
#include <iterator>

#include <unistd.h>

// Linux: the counters of /proc. Elsewhere /proc is missing and the meter simply does not start.
namespace examora {
namespace {

std::optional<std::string> ReadWhole(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return text;
}

class ProcCpuLoadMeter final : public CpuLoadMeter {
 public:
  bool Start() override {
    ticksPerSecond_ = ::sysconf(_SC_CLK_TCK);
    if (ticksPerSecond_ <= 0) return false;
    previous_ = Take();
    return previous_.has_value();
  }

  std::optional<CpuLoad> Next() override {
    std::optional<CpuSample> current = Take();
    if (!current) return std::nullopt;
    std::optional<CpuLoad> load;
    if (previous_) load = CpuLoadBetween(*previous_, *current, ticksPerSecond_);
    previous_ = current;
    return load;
  }

 private:
  static std::optional<CpuSample> Take() {
    // Both files are read back to back so that both loads cover the same interval.
    const std::optional<std::string> stat = ReadWhole("/proc/stat");
    const std::optional<std::string> self = ReadWhole("/proc/self/stat");
    const auto at = std::chrono::steady_clock::now().time_since_epoch();
    if (!stat || !self) return std::nullopt;
    const std::optional<ProcCpuTimes> system = ParseProcStatCpuLine(*stat);
    const std::optional<std::uint64_t> process = ParseProcPidStatCpuTicks(*self);
    if (!system || !process) return std::nullopt;
    return CpuSample{*system, *process, std::chrono::duration_cast<std::chrono::nanoseconds>(at)};
  }

  long ticksPerSecond_ = 0;
  std::optional<CpuSample> previous_;
};

}  // namespace

std::unique_ptr<CpuLoadMeter> CreateCpuLoadMeter(const std::string& /*processInstance*/) {
  return std::make_unique<ProcCpuLoadMeter>();
}

}  // namespace examora
