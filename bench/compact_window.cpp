// The idle figure of the compact practical window: part 2 of the sample (a practical part
// worked in outside applications) in its strip, with its clock, CPU monitor and on-top guard
// running, left alone for IDLE_SECONDS.
//
//   examora-bench-compact INSTALLATION_FOLDER IDLE_SECONDS
//
// The guard starts at 100 ms and backs off by 100 ms a tick to 10 s: the first 20 s or so of
// a run are the busiest, so the idle period starts with the window's first activation.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "IdleRun.h"
#include "common/ExeFolder.h"
#include "exam/QZMain2.h"
#include "exam/model/ExamClock.h"
#include "exam/model/OnTopGuard.h"

using namespace examora;

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: examora-bench-compact INSTALLATION_FOLDER IDLE_SECONDS\n");
    return 2;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("受験プログラム"));
  SetExeFolder(QString::fromLocal8Bit(argv[1]));
  const double idleSeconds = std::atof(argv[2]);

  // The exam run, as the candidate has it: the start notice beside the strip (and the work
  // folder in the file manager where one is installed).
  TfrmQZMain2 window;
  window.SetPart(QStringLiteral("2"), false);
  window.show();
  // Without a window manager nothing hands the new window the focus.
  window.activateWindow();
  QTimer started;
  QObject::connect(&started, &QTimer::timeout, [&] {
    window.FormActivate();
    if (window.FirstActivation || !window.Clock() || !window.Clock()->IsRunning() ||
        !window.Guard()->NotOpMostTimer.isActive())
      return;
    started.stop();
    bench::MeasureIdleThenExit("compact_window", 0, idleSeconds, {});
  });
  started.start(10);
  return QApplication::exec();
}
