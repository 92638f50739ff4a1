// The baseline of the start-up figure: the least a Qt program does to put one frameless
// dialog on the screen.
//
//   examora-bench-bare-dialog [--share-gl]
//
// --share-gl sets the one thing every program with an embedded browser must set before its
// application object (shared OpenGL contexts); run.sh reports it as a reference row, since
// that set-up is paid at start whether or not a page is ever shown.
#include <QApplication>
#include <QDialog>

#include <cstring>

int main(int argc, char* argv[]) {
  if (argc > 1 && std::strcmp(argv[1], "--share-gl") == 0)
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QDialog dialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
  dialog.setWindowTitle(QStringLiteral("bare dialog"));
  dialog.resize(724, 600);
  dialog.show();
  return QApplication::exec();
}
