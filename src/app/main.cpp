#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "common/ExeFolder.h"
#include "exam/QZMain.h"
#include "flow/QZBG0010.h"
#include "platform/NamedMutex.h"
#include "widgets/WindowOrder.h"

using namespace examora;

int main(int argc, char* argv[]) {
  // The question pages are shown by Qt WebEngine, which wants this before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // Only the program's own name reaches Qt: the browser engine takes switches from the
  // command line (remote debugging among them), and a candidate must not be able to pass any.
  // The arguments that mean something to us, a part code and "-debug", are read from argv.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  // Another program of ours holding the common mutex keeps this one from starting at all.
  {
    NamedMutexAttempt common = NamedMutex::TryAcquire("Examora_Basic");
    if (common.HeldElsewhere()) return 0;
  }

  QApplication::setApplicationDisplayName(QStringLiteral("受験プログラム"));
  SetExeFolder(QCoreApplication::applicationDirPath());

  const QString exeFileName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();

  RegisterExamWindows();
  TfrmQZBG0010 background(exeFileName, arguments);
  if (!background.FormCreate()) return 0;  // this part is already running
  SetApplicationMainWindow(&background);
  background.show();
  return QApplication::exec();
}
