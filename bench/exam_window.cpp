// The measured side of the idle and memory figures: the program's own start-up (background
// window and session controller) walked through the wizard the way a candidate does, into the
// knowledge window of part 1, which then sits idle with its clock and CPU monitor running.
//
//   examora-bench-exam INSTALLATION_FOLDER IDLE_SECONDS
//
// The folder is an exam installation without operation practice (bench/run.sh removes
// system/Z1 from the sample), so the exam start leads straight to the knowledge window.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

#include "IdleRun.h"
#include "common/ExeFolder.h"
#include "exam/QZMain.h"
#include "exam/model/ExamClock.h"
#include "flow/QZBG0010.h"
#include "widgets/WindowOrder.h"

using namespace examora;

namespace {

template <typename T = QWidget>
T* Control(QWidget* screen, const char* name) {
  return screen->findChild<T*>(QString::fromLatin1(name));
}

// Clicks from the event loop rather than from the driver's own timer tick: the click opens the
// next modal screen, whose loop would otherwise run inside the tick and starve the driver.
void ClickLater(QWidget* screen, const char* name) {
  if (auto* button = Control<QAbstractButton>(screen, name))
    QTimer::singleShot(0, button, &QAbstractButton::click);
}

void FillCandidate(QWidget* screen) {
  Control<QLineEdit>(screen, "KaiCdEdt")->setText(QStringLiteral("01234"));
  Control<QLineEdit>(screen, "JuBanEdt")->setText(QStringLiteral("1001"));
  Control<QLineEdit>(screen, "SeiEdt")->setText(QStringLiteral("山田"));
  Control<QLineEdit>(screen, "MeiEdt")->setText(QStringLiteral("花子"));
  Control<QComboBox>(screen, "YearCmb")->setCurrentIndex(20);
  Control<QComboBox>(screen, "MonthCmb")->setCurrentIndex(3);
  Control<QComboBox>(screen, "DayCmb")->setCurrentIndex(9);
  Control<QRadioButton>(screen, "WomanRdo")->setChecked(true);
}

// Acts on whichever wizard screen is up, at most every 300 ms per screen so that a screen is
// not clicked again while its click is still opening the next one.
class WizardDriver : public QObject {
 public:
  explicit WizardDriver(double idleSeconds) : idleSeconds_(idleSeconds) {
    connect(&poll_, &QTimer::timeout, this, &WizardDriver::Step);
    poll_.start(10);
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [] {
      std::fprintf(stderr, "examora-bench-exam: the knowledge window did not show its page\n");
      std::_Exit(1);
    });
    timeout_.start(120000);
    // The window's first page may be complete before the next poll: hook it as it is shown.
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->inherits("examora::TfrmQZMain") && !window_) {
      window_ = static_cast<TfrmQZMain*>(watched);
      connect(window_, &TfrmQZMain::pageReady, this, &WizardDriver::PageReady);
    }
    return false;
  }

 private:
  void Step() {
    // The wizard hides each screen while the next one runs, so the visible one is the current
    // step. (Looked up by class rather than as the active modal widget: under X11 a screen with
    // a browser in it is not always registered as the application's modal window.)
    QWidget* screen = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && IsWizardScreen(w)) screen = w;
    }
    if (!screen) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (screen == last_ && now - lastAt_ < 300) return;
    last_ = screen;
    lastAt_ = now;
    if (screen->inherits("examora::TfrmQZTP0020")) {
      FillCandidate(screen);
      ClickLater(screen, "NextBtn");
    } else if (screen->inherits("examora::TfrmQZTP0030")) {
      ClickLater(screen, "NextBtn");  // one page of notes per click
    } else if (screen->inherits("examora::TfrmQZQZ0030")) {
      ClickLater(screen, "EndBtn");
    } else if (screen->inherits("examora::TfrmQZTP0060")) {
      ClickLater(screen, "ShikenStartBtn");
    }
  }

  static bool IsWizardScreen(const QWidget* w) {
    return w->inherits("examora::TfrmQZTP0020") || w->inherits("examora::TfrmQZTP0030") ||
           w->inherits("examora::TfrmQZQZ0030") || w->inherits("examora::TfrmQZTP0060");
  }

  // The idle period starts once the page is complete and the exam has started (clock and CPU
  // monitor run from the window's first activation).
  void PageReady() {
    if (pageReady_) return;
    pageReady_ = true;
    poll_.stop();
    // Without a window manager nothing hands the new window the focus.
    window_->activateWindow();
    auto* started = new QTimer(this);
    connect(started, &QTimer::timeout, this, [this, started] {
      if (!window_ || window_->FirstActivation || !window_->Clock() ||
          !window_->Clock()->IsRunning())
        return;
      started->stop();
      timeout_.stop();
      const QByteArray url = "url=" + window_->Browser()->url().toEncoded();
      bench::MeasureIdleThenExit("exam_window", 2000, idleSeconds_, url);
    });
    started->start(10);
  }

  double idleSeconds_;
  QTimer poll_;
  QTimer timeout_;
  QPointer<QWidget> last_;
  qint64 lastAt_ = 0;
  QPointer<TfrmQZMain> window_;
  bool pageReady_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: examora-bench-exam INSTALLATION_FOLDER IDLE_SECONDS\n");
    return 2;
  }
  // As the program's own entry does.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("受験プログラム"));
  SetExeFolder(QString::fromLocal8Bit(argv[1]));
  RegisterExamWindows();

  WizardDriver driver(std::atof(argv[2]));
  TfrmQZBG0010 background(QStringLiteral("[1]知識.exe"), {});
  if (!background.FormCreate()) {
    std::fprintf(stderr, "examora-bench-exam: part 1 is running already\n");
    return 1;
  }
  SetApplicationMainWindow(&background);
  background.show();
  return QApplication::exec();
}
