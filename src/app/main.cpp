#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "common/ExeFolder.h"
#include "common/RunLog.h"
#include "data/PartCode.h"
#include "exam/ExamWindowsRegistration.h"
#include "flow/ExamWindows.h"
#include "flow/PageModule.h"
#include "flow/QZBG0010.h"
#include "platform/FontConfiguration.h"
#include "platform/NamedMutex.h"
#include "platform/OsInfo.h"
#include "viewers/BrowserLockdown.h"
#include "widgets/Preload.h"
#include "widgets/WindowOrder.h"

using namespace examora;

int main(int argc, char* argv[]) {
  // The fonts' configuration loads meanwhile: the application object takes far longer.
  FontConfigurationLoad fontConfiguration;
  // Before anything can start the browser engine: no switches from the environment beyond
  // software rendering, and the sandbox off only where the engine cannot run with it.
  const bool sandboxOff = PrepareEngineEnvironment(RunningAsSuperuser());
  // The question pages are shown by Qt WebEngine, which wants this before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // Only the program's own name reaches Qt: the browser engine takes switches from the
  // command line (remote debugging among them), and a candidate must not be able to pass any.
  // The arguments that mean something to us, a part code and "-debug", are read from argv.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  // Pictures of the first screen are decoded on a thread while the screen is put together;
  // the thread ends before the application object.
  Preloader preloader;

  // Another program of ours holding the common mutex keeps this one from starting at all.
  {
    NamedMutexAttempt common = NamedMutex::TryAcquire("Examora_Basic");
    if (common.HeldElsewhere()) return 0;
  }

  // The application's name, not its display name: Qt appends a display name to every window
  // title, and proctors and other programs find our windows by their exact titles.
  QApplication::setApplicationName(QStringLiteral("受験プログラム"));
  SetExeFolder(QCoreApplication::applicationDirPath());

  const QString exeFileName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();

  RegisterExamWindows();
#ifdef EXAMORA_PAGE_MODULE_FILE
  // The screens that show pages, and with them the browser engine, load when first needed.
  SetPageModuleLoader([] { return LoadPageModule(QStringLiteral(EXAMORA_PAGE_MODULE_FILE)); });
#endif
  TfrmQZBG0010 background(exeFileName, arguments);
  if (!background.FormCreate()) return 0;  // this part is already running
  // Only the instance that runs the part writes to its log.
  if (sandboxOff) {
    WriteLog(QStringLiteral("QZBG0010：管理者権限で実行中のためブラウザのサンドボックスを無効化"),
             PartCodeFrom(exeFileName, arguments));
  }
  SetApplicationMainWindow(&background);
  // The part ends with its session, whatever windows are left: the exam windows hide the
  // background window while they run, and a hidden window's close does not count as the last
  // window closing. A process left idle would keep the part's lock, and a second start of the
  // part would then end silently instead of saying that the exam has ended.
  QObject::connect(&background, &TfrmQZBG0010::sessionFinished, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  background.show();
  return QApplication::exec();
}
