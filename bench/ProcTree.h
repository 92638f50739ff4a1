#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the benchmark programs read from /proc about a process and everything it started: the
// browser engine runs its pages in child processes, so a figure of the one process alone would
// leave most of the page's cost out.
namespace examora::bench {

struct ProcStat {
  int pid = 0;
  int ppid = 0;
  // utime + stime + cutime + cstime in clock ticks: the process's own CPU time plus that of
  // children it has already reaped, so a helper that exits in between is not lost.
  long long cpuTicks = 0;
};

// Parses the text of /proc/<pid>/stat. The command name sits in parentheses and may itself
// hold blanks and ")" (a thread may name itself anything), so the fields are counted from
// the last ")". Returns false for text that is not a stat line.
bool ParseProcStat(std::string_view text, ProcStat& out);

// The "VmHWM:" (peak resident set) or other "<key>:" value of /proc/<pid>/status text, in kB;
// -1 when missing.
long long StatusValueKb(std::string_view statusText, std::string_view key);

// root and all its descendants alive now, root first.
std::vector<int> ProcessTree(int root);

// CPU ticks per process of the tree (pid -> ticks).
std::map<int, long long> TreeCpuTicks(int root);

// CPU seconds used by the tree between two snapshots: every process alive at the end counts
// what it used since the first snapshot (all of it when it started in between); a process that
// ended in between adds nothing more than its parent reaped.
double CpuSecondsBetween(const std::map<int, long long>& before,
                         const std::map<int, long long>& after);

// Sum over the tree of a /proc/<pid>/status value (VmHWM, VmRSS) in kB.
long long TreeStatusKb(int root, std::string_view key);

// Sum over the tree of the proportional set size (/proc/<pid>/smaps_rollup "Pss:") in kB:
// shared pages are divided among the processes sharing them, so this does not count the
// engine's shared libraries once per helper process as the VmHWM sum does.
long long TreePssKb(int root);

// One line "key=value ..." that bench/run.sh reads: cpu share over the idle period, peak and
// current memory of the tree. Written to stdout and flushed.
void PrintIdleReport(const char* label, int root, double idleSeconds, double cpuSeconds);

}  // namespace examora::bench
