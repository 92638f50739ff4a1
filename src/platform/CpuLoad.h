#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Processor load of the whole computer and of this process, sampled at intervals by the exam
// windows' CPU monitor. Every failure is a missing value, never an error: the monitor just stays
// off.
namespace examora {

// Percentages over the interval between two samples. total is the share of all processors'
// time spent busy (0-100); process is this process's processor time over the wall-clock
// interval, not divided by the number of processors, so it can exceed 100.
struct CpuLoad {
  double total = 0;
  double process = 0;
};

// The counter paths the Windows performance counters are opened with.
inline constexpr std::string_view kTotalCpuCounterPath = "\\Processor(_Total)\\% Processor Time";
// "\Process(<instance>)\% Processor Time"; the instance is the executable's file name without
// its extension, "[<PartCode>]<部種名称>" (UTF-8).
[[nodiscard]] std::string ProcessCpuCounterPath(std::string_view processInstance);

class CpuLoadMeter {
 public:
  virtual ~CpuLoadMeter() = default;
  // Opens the counters and takes the first sample, so that the first Next() is a real rate.
  // false: the meter cannot work here and must not be asked again.
  [[nodiscard]] virtual bool Start() = 0;
  // The loads since the previous sample; nothing when this sample failed.
  [[nodiscard]] virtual std::optional<CpuLoad> Next() = 0;
};

// The meter of this operating system. processInstance names the process for the Windows
// counters; the Linux meter always measures its own process through /proc/self.
[[nodiscard]] std::unique_ptr<CpuLoadMeter> CreateCpuLoadMeter(const std::string& processInstance);

// ---- /proc arithmetic of the Linux meter (pure, so it is tested on every platform) --------

// Clock ticks of all processors together from the "cpu" line of /proc/stat: busy is user + nice
// + system + irq + softirq + steal (guest time is already inside user and nice), idle is idle +
// iowait. Fields an older kernel does not write count as 0; nothing when the line is missing or
// has fewer than four numbers.
struct ProcCpuTimes {
  std::uint64_t busy = 0;
  std::uint64_t idle = 0;
};
[[nodiscard]] std::optional<ProcCpuTimes> ParseProcStatCpuLine(std::string_view procStat);

// utime + stime (clock ticks) from /proc/<pid>/stat. The command name in parentheses may hold
// spaces and parentheses itself, so fields are counted from the last ")".
[[nodiscard]] std::optional<std::uint64_t> ParseProcPidStatCpuTicks(std::string_view pidStat);

struct CpuSample {
  ProcCpuTimes system;
  std::uint64_t processTicks = 0;
  std::chrono::nanoseconds at{0};  // monotonic time of the sample
};

// The loads between two samples; nothing when no time passed or a counter went backwards in a
// way that leaves no interval to measure.
[[nodiscard]] std::optional<CpuLoad> CpuLoadBetween(const CpuSample& first, const CpuSample& second,
                                                    long ticksPerSecond);

}  // namespace examora
