#include "ProcTree.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace examora::bench {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<ProcStat> AllProcesses() {
  std::vector<ProcStat> all;
  DIR* dir = ::opendir("/proc");
  if (!dir) return all;
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (*name < '1' || *name > '9') continue;
    ProcStat stat;
    if (ParseProcStat(ReadWhole(std::string("/proc/") + name + "/stat"), stat)) all.push_back(stat);
  }
  ::closedir(dir);
  return all;
}

}  // namespace

bool ParseProcStat(std::string_view text, ProcStat& out) {
  const auto open = text.find('(');
  const auto close = text.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return false;
  const std::string head(text.substr(0, open));
  std::istringstream rest{std::string(text.substr(close + 1))};
  // Fields 3 onwards: state ppid pgrp session tty_nr tpgid flags minflt cminflt majflt
  // cmajflt utime stime cutime cstime.
  std::string state;
  long long ppid = 0, skip = 0, utime = 0, stime = 0, cutime = 0, cstime = 0;
  rest >> state >> ppid;
  for (int i = 0; i < 9; ++i) rest >> skip;
  rest >> utime >> stime >> cutime >> cstime;
  if (!rest || state.empty()) return false;
  char* end = nullptr;
  const long pid = std::strtol(head.c_str(), &end, 10);
  if (end == head.c_str() || pid <= 0) return false;
  out.pid = static_cast<int>(pid);
  out.ppid = static_cast<int>(ppid);
  out.cpuTicks = utime + stime + cutime + cstime;
  return true;
}

long long StatusValueKb(std::string_view statusText, std::string_view key) {
  std::size_t at = 0;
  while (at < statusText.size()) {
    std::size_t eol = statusText.find('\n', at);
    if (eol == std::string_view::npos) eol = statusText.size();
    const std::string_view line = statusText.substr(at, eol - at);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ':') {
      return std::strtoll(std::string(line.substr(key.size() + 1)).c_str(), nullptr, 10);
    }
    at = eol + 1;
  }
  return -1;
}

std::vector<int> ProcessTree(int root) {
  const std::vector<ProcStat> all = AllProcesses();
  std::vector<int> tree{root};
  // Breadth first over the parent links; the list is small, so a plain scan per level does.
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const ProcStat& p : all)
      if (p.ppid == tree[i] && p.pid != root) tree.push_back(p.pid);
  }
  return tree;
}

std::map<int, long long> TreeCpuTicks(int root) {
  std::map<int, long long> ticks;
  for (const int pid : ProcessTree(root)) {
    ProcStat stat;
    if (ParseProcStat(ReadWhole("/proc/" + std::to_string(pid) + "/stat"), stat))
      ticks[pid] = stat.cpuTicks;
  }
  return ticks;
}

double CpuSecondsBetween(const std::map<int, long long>& before,
                         const std::map<int, long long>& after) {
  long long ticks = 0;
  for (const auto& [pid, used] : after) {
    const auto earlier = before.find(pid);
    ticks += earlier == before.end() ? used : used - earlier->second;
  }
  static const long perSecond = ::sysconf(_SC_CLK_TCK);
  return static_cast<double>(ticks) / static_cast<double>(perSecond > 0 ? perSecond : 100);
}

long long TreeStatusKb(int root, std::string_view key) {
  long long sum = 0;
  for (const int pid : ProcessTree(root)) {
    const long long kb = StatusValueKb(ReadWhole("/proc/" + std::to_string(pid) + "/status"), key);
    if (kb > 0) sum += kb;
  }
  return sum;
}

long long TreePssKb(int root) {
  long long sum = 0;
  for (const int pid : ProcessTree(root)) {
    const long long kb =
        StatusValueKb(ReadWhole("/proc/" + std::to_string(pid) + "/smaps_rollup"), "Pss");
    if (kb > 0) sum += kb;
  }
  return sum;
}

void PrintIdleReport(const char* label, int root, double idleSeconds, double cpuSeconds) {
  const std::vector<int> tree = ProcessTree(root);
  std::printf(
      "%s processes=%zu idle_seconds=%.1f cpu_seconds=%.3f cpu_share=%.5f hwm_kb=%lld "
      "rss_kb=%lld pss_kb=%lld\n",
      label, tree.size(), idleSeconds, cpuSeconds, idleSeconds > 0 ? cpuSeconds / idleSeconds : 0.0,
      TreeStatusKb(root, "VmHWM"), TreeStatusKb(root, "VmRSS"), TreePssKb(root));
  std::fflush(stdout);
}

}  // namespace examora::bench
