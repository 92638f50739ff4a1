#include "flow/QZBG0010.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "flow/ExamWindows.h"
#include "flow/QZTP0020.h"
#include "flow/QZTP0060.h"
#include "flow/QZTP0220.h"
#include "flow/ScreenFrame.h"
#include "flow/model/SessionRules.h"
#include "platform/NamedMutex.h"
#include "platform/OsInfo.h"
#include "platform/Shell.h"
#include "platform/TopLevelWindows.h"
#include "widgets/Band.h"
#include "widgets/MessageBox.h"

namespace examora {
namespace {

QRect PrimaryScreenRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// Lets the program just started get going before this one goes away.
void WaitAfterStart() {
  QEventLoop loop;
  QTimer::singleShot(1000, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

TfrmQZBG0010::TfrmQZBG0010(QString executableFileName, QStringList arguments)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      executableFileName_(std::move(executableFileName)),
      arguments_(std::move(arguments)) {
  setObjectName(QStringLiteral("TfrmQZBG0010"));
  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("BGImg"));
}

TfrmQZBG0010::~TfrmQZBG0010() = default;

bool TfrmQZBG0010::FormCreate() {
  NamedMutexAttempt attempt = NamedMutex::TryAcquire(executableFileName_.toStdString());
  if (attempt.HeldElsewhere()) return false;
  // A lock that cannot be made at all must not keep a candidate out of the exam.
  exeMutex_ = std::move(attempt.mutex);
  setGeometry(PrimaryScreenRect());
  picture_->setGeometry(rect());
  firstShow_ = true;
  return true;
}

void TfrmQZBG0010::Log(const QString& event) const {
  WriteLog(QStringLiteral("QZBG0010：") + event, PartCode);
}

void TfrmQZBG0010::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  picture_->setGeometry(rect());
  // Decoding the full-screen picture takes longer than bringing up the first screen, which is
  // what the candidate waits for: the picture is painted as soon as another window of ours is
  // on screen (or after a second at the latest).
  pictureDue_ = true;
  qApp->installEventFilter(this);
  QTimer::singleShot(1000, this, [this] { PaintPicture(); });
  QCoreApplication::postEvent(this, new QEvent(kAfterShowEvent));
}

void TfrmQZBG0010::PaintPicture() {
  if (!pictureDue_) return;
  pictureDue_ = false;
  qApp->removeEventFilter(this);
  PaintBand(picture_, ImagePath(QStringLiteral("bg.jpg")));
}

bool TfrmQZBG0010::eventFilter(QObject* watched, QEvent* event) {
  if (pictureDue_ && event->type() == QEvent::Expose) {
    const auto* window = qobject_cast<QWindow*>(watched);
    if (window && window != windowHandle() && window->isExposed()) {
      // After this event: the other window paints first.
      QTimer::singleShot(0, this, [this] { PaintPicture(); });
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TfrmQZBG0010::event(QEvent* event) {
  if (event->type() == kAfterShowEvent) {
    SessionController();
    return true;
  }
  return QWidget::event(event);
}

void TfrmQZBG0010::SessionController() {
  // 1. Which part this is.
  PartCode = PartCodeFrom(executableFileName_, arguments_);
  // The first screen's pictures are decoded meanwhile.
  TfrmQZTP0020::PreloadPictures(PartCode);
  // 2.–3. The part's state decides whether it runs at all.
  if (!CheckPartState()) return;

  // 4. Start-up lines.
  Log(QStringLiteral("起動"));
  WriteLog(QStringLiteral("information：") + QString::fromStdString(FormatInformationValues(
                                                 QueryOsInfo(), TotalPhysicalMemory())),
           PartCode);

  // 5.–6. The wizard.
  if (!RunWizard()) return;
  Log(QStringLiteral("試験開始"));
  const SetupIni setup = ReadSetupIni(PartCode);
  (void)WriteLayoutCode(PartCode, QStringLiteral("4"));

  // 7. Operation practice, when the content provides one and the time was not extended.
  bool practiceDone = false;
  if (!RunPractice(setup, &practiceDone)) return;

  // 8. The exam window.
  if (!RunExamWindow(setup, practiceDone)) return;

  // 9. Closing the background window hands over.
  CloseBackground();
}

bool TfrmQZBG0010::CheckPartState() {
  // Nothing has been opened in this run yet.
  if (const WriteResult written = WriteExamStarted(PartCode, false); !written) {
    Log(msg::kSystemWriteFailed + written.error);
    ShowMessageCode(this, nullptr, msg::kSystemWriteFailed, written.error);
    EndProgram();
    return false;
  }
  // A part that has ended runs only after a time-over extension.
  switch (ReadSetupIni(PartCode).EndState()) {
    case PartEndState::Ended:
      (void)WriteExamStarted(PartCode, true);
      ShowMessageCode(this, nullptr, msg::kExamAlreadyEnded);
      EndProgram();
      return false;
    case PartEndState::TimeOver: {
      TfrmQZTP0220 notice(this);
      notice.SetPartCode(PartCode);
      if (notice.ShowModal() == ModalResult::Ok) {
        EndProgram();
        return false;
      }
      return true;
    }
    case PartEndState::Fresh:
      break;
  }
  return true;
}

bool TfrmQZBG0010::RunWizard() {
  TfrmQZTP0020 candidate(this);
  candidate.SetPartCode(PartCode);
  if (candidate.ShowModal() != ModalResult::Ok) {
    CloseBackground();
    return false;
  }
  // The candidate's details go with every exam window.
  VenueCode = candidate.VenueCode();
  CandidateNumber = candidate.CandidateNumber();
  return true;
}

bool TfrmQZBG0010::RunPractice(const SetupIni& setup, bool* practiceDone) {
  if (!setup.extensionEnded.isEmpty() ||
      !QFileInfo(ContentFolder(SetupFolderCode(PartCode, true))).isDir()) {
    return true;
  }
  Log(QStringLiteral("操作練習開始"));
  QString practiceWindow;
  switch (ChoosePractice(setup.examType)) {
    case PracticeKind::Guide:
      practiceWindow = QStringLiteral("TfrmQZTP0120");
      break;
    case PracticeKind::CompactWindow:
      practiceWindow = QStringLiteral("TfrmQZMain2");
      break;
    case PracticeKind::KnowledgeWindow:
      practiceWindow = QStringLiteral("TfrmQZMain");
      break;
  }
  const RunOutcome practice = RunScreen(practiceWindow, true, false);
  if (practice == RunOutcome::EndProgram) {
    EndProgram();
    return false;
  }
  // Whatever became of the practice window, the candidate starts the exam from the start
  // screen, as after every practice.
  *practiceDone = true;
  show();
  TfrmQZTP0060 start(this);
  start.SetPartCode(PartCode);
  start.StartMode = StartModeAfterPractice(setup.examCategory);
  start.AfterPractice = true;
  if (start.ShowModal() != ModalResult::Ok) {
    CloseBackground();
    return false;
  }
  return true;
}

bool TfrmQZBG0010::RunExamWindow(const SetupIni& setup, bool restoreLayout) {
  const ExamWindowChoice choice = ChooseExamWindow(setup.examType, setup.examCategory);
  const QString window = choice.kind == ExamWindowKind::Compact      ? QStringLiteral("TfrmQZMain2")
                         : choice.kind == ExamWindowKind::AnswerOnly ? QStringLiteral("TfrmQZMain3")
                                                                     : QStringLiteral("TfrmQZMain");
  const RunOutcome exam = RunScreen(window, false, restoreLayout);
  if (exam == RunOutcome::EndProgram) {
    EndProgram();
    return false;
  }
  if (exam == RunOutcome::Closed && choice.partEndScreen &&
      RunScreen(QStringLiteral("TfrmQZTP0180"), false, false) == RunOutcome::EndProgram) {
    EndProgram();
    return false;
  }
  return true;
}

TfrmQZBG0010::RunOutcome TfrmQZBG0010::RunScreen(const QString& className, bool practice,
                                                 bool restoreLayout) {
  const ScreenRunner* runner = FindScreenRunner(className);
  if (!runner) {
    // This build has no such window: say so in the log and leave every state as it is, so
    // that nothing claims an exam ran.
    Log(QStringLiteral("%1 はこのプログラムでは使用できません。").arg(className));
    return RunOutcome::NotAvailable;
  }
  const SetupIni setup = ReadSetupIni(PartCode);
  ExamWindowRequest request;
  request.partCode = PartCode;
  request.debugMode = IsDebugRun(arguments_);
  request.venueCode = VenueCode;
  request.candidateNumber = CandidateNumber;
  request.practiceMode = practice;
  request.restoreLayout = restoreLayout;
  request.layoutCode = setup.layoutCode;
  request.savedRect = QRect(setup.left, setup.top, setup.width, setup.height);
  request.screen = PrimaryScreenRect();
  request.workArea = QRect(QPoint(0, 0), request.screen.size());
  return (*runner)(this, request) == ScreenOutcome::EndProgram ? RunOutcome::EndProgram
                                                               : RunOutcome::Closed;
}

void TfrmQZBG0010::EndProgram() {
  handOver_ = false;
  close();
}

void TfrmQZBG0010::CloseBackground() {
  handOver_ = true;
  close();
}

void TfrmQZBG0010::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  closed_ = true;
  if (handOver_) FormClose();
  event->accept();
  emit sessionFinished();
}

void TfrmQZBG0010::FormClose() {
  if (PartCode.isEmpty()) return;
  if (!ReadSetupIni(PartCode).IsExamStarted()) return;
  const SystemIni system = ReadSystemIni(CurrentDate().year());

  // 1. A sample exam leaves no file-manager windows of the work folder behind.
  if (system.sampleExam) {
    for (const FolderWindowTitles& titles : WorkFolderWindowTitles(WorkFolder::Practical)) {
      (void)CloseFirstWindowTitled(titles.name.toStdString());
      (void)CloseFirstWindowTitled(titles.fullPath.toStdString());
    }
  }

  // 2-4. The next part, or the submission-file tool.
  HandOverInput input;
  input.partCode = PartCode;
  input.partCount = system.partCount;
  input.isPartEnded = [](int n) { return IsPartEnded(n); };
  input.partName = [](int n) { return ReadSetupIni(QString::number(n)).partName; };
  input.thisPartName = ReadSetupIni(PartCode).partName;
  input.linkMode = ReadShikenIni().linkMode;
  input.installationFolderName = InstallationFolderName();
  const HandOverPlan plan = PlanHandOver(input);
  switch (plan.kind) {
    case HandOverPlan::Kind::Nothing:
      return;
    case HandOverPlan::Kind::Start: {
      const QString path = ExecutablePath(plan.executableName);
      if (!QFileInfo(path).isFile()) {
        ShowMessageCode(this, nullptr, plan.missingMessage);
        return;
      }
      if (const ShellResult started = StartExecutable(ToNativeSeparators(path).toStdString());
          !started) {
        ShowMessageCode(this, nullptr, plan.missingMessage, QString::fromStdString(started.error));
        return;
      }
      WaitAfterStart();
      return;
    }
    case HandOverPlan::Kind::Announce:
      show();
      ShowMessageCode(this, nullptr, plan.announcement);
      if (const QString failed = OpenFolderForCandidate(ExeFolder()); !failed.isEmpty())
        Log(failed);
      return;
  }
}

}  // namespace examora
