#pragma once

#include <QByteArray>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "ProcTree.h"

// The idle part of the whole-process figures, shared by the exam window and the bare browser:
// let the page settle, take the process tree's CPU time, leave everything alone for
// idleSeconds, take it again and print the report with the tree's memory. The program then
// ends at once; bench/run.sh ends the engine's helpers with the process group.
namespace examora::bench {

inline void MeasureIdleThenExit(const char* label, int settleMs, double idleSeconds,
                                const QByteArray& extra) {
  QTimer::singleShot(settleMs, [label, idleSeconds, extra] {
    const int self = static_cast<int>(::getpid());
    const auto before = TreeCpuTicks(self);
    QTimer::singleShot(static_cast<int>(idleSeconds * 1000), [=] {
      const double cpu = CpuSecondsBetween(before, TreeCpuTicks(self));
      if (!extra.isEmpty()) std::printf("%s %s\n", label, extra.constData());
      PrintIdleReport(label, self, idleSeconds, cpu);
      std::_Exit(0);
    });
  });
}

}  // namespace examora::bench
