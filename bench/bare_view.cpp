// The baseline of the idle and memory figures: a QWebEngineView and nothing else, showing the
// page the knowledge window shows first, as large as the screen.
//
//   examora-bench-bare-view URL IDLE_SECONDS
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

#include "IdleRun.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: examora-bench-bare-view URL IDLE_SECONDS\n");
    return 2;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  const QUrl url = QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]));
  const double idleSeconds = std::atof(argv[2]);

  QWebEngineView view;
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    view.setGeometry(screen->geometry());
  bool measured = false;
  QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
    if (!ok) {
      std::fprintf(stderr, "examora-bench-bare-view: %s did not load\n", argv[1]);
      std::_Exit(1);
    }
    if (measured) return;
    measured = true;
    examora::bench::MeasureIdleThenExit("bare_view", 2000, idleSeconds, {});
  });
  view.show();
  view.load(url);
  return QApplication::exec();
}
