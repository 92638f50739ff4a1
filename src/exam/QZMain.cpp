#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "completion/QZQZ0060.h"
#include "completion/QZTP0040.h"
#include "completion/QZTP0050.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/Placement.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/model/FrameRules.h"
#include "platform/Shell.h"
#include "platform/SystemMenu.h"
#include "platform/TopLevelWindows.h"
#include "viewers/WBContainer.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {

using namespace qzmain;

TfrmQZMain::TfrmQZMain(QWidget* owner, const ClockSource* clockSource)
    : QDialog(owner, Qt::Window | Qt::FramelessWindowHint), clockSource_(clockSource) {
  setObjectName(QStringLiteral("frmQZMain"));
  setFont(UiFont(FontFace::MsPGothic, 15));
  resize(775, 562);
  cpuMonitor_ = new CpuMonitor(this);
  OnTopGuardHooks hooks;
  // Qt leaves the window enabled under an application-modal dialog, so a dialog of ours is
  // seen as the active modal widget. The window's own modal run (the controller opens it with
  // exec()) is no such dialog.
  hooks.windowEnabled = [this] {
    const QWidget* modal = QApplication::activeModalWidget();
    return isEnabled() && (!modal || modal == this);
  };
  hooks.sampleViewerOpen = [this] { return !SampleViewer.isNull(); };
  hooks.raiseTopMost = [this] { RaiseAboveTopMost(this); };
  // A dialog of ours is up: neither the background nor this window may bury it.
  hooks.releaseTopMost = [this] {
    SetTopMost(ApplicationMainWindow(), false);
    SetTopMost(this, false);
  };
  hooks.log = [this](const QString& line) { Log(line); };
  guard_ = new OnTopGuard(std::move(hooks), this);
  OpenWorkFolder = [this](const QString& folder) {
    if (const QString failed = OpenFolderForCandidate(folder); !failed.isEmpty())
      Log(QStringLiteral("QZMain：") + failed);
  };
  CheckTimer.setObjectName(QStringLiteral("CheckTimer"));
  CheckTimer.setInterval(100);
  connect(&CheckTimer, &QTimer::timeout, this, &TfrmQZMain::CheckTimerTimer);
  BuildControls();
}

TfrmQZMain::~TfrmQZMain() {
  // The viewer has a taskbar button of its own and no owner that would take it along.
  delete SampleViewer.data();
}

void TfrmQZMain::SetCommandLine(const QString& executableFileName, const QStringList& arguments) {
  SetPart(PartCodeFrom(executableFileName, arguments), IsDebugRun(arguments));
}

void TfrmQZMain::SetPart(const QString& partCode, bool debugMode) {
  PartCode = partCode;
  DebugMode = debugMode;
  ExamCategory = ReadSetupIni(PartCode).examCategory;
  if (ExamCategory != u"1") {
    // A practical window is resized by its edges: a sizing border without a title bar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint);
  }
}

void TfrmQZMain::Log(const QString& event) const {
  if (!event.isEmpty()) WriteLog(event, PartCode);
}

void TfrmQZMain::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!FirstShow) return;
  FirstShow = false;
  FormShow();
  if (!SetupError.isEmpty()) {
    // The paper cannot be shown: the window goes and with it the program.
    EndProgramRequested = true;
    QTimer::singleShot(0, this, [this] { RequestClose(CloseReason::SetupFailed); });
  }
}

void TfrmQZMain::FormShow() {
  Log(QStringLiteral("QZMain：開始"));
  SetupFolderCode = examora::SetupFolderCode(PartCode, PracticeMode);
  rensyuPnl_->setVisible(PracticeMode);

  const SystemIni system = ReadSystemIni(CurrentDate().year());
  if (IsPractical()) {
    Log(QStringLiteral("QZMain：起動ソフト確認"));
    // The candidate works in the office application beside this window: the background
    // window that covers the screen goes.
    if (QWidget* background = ApplicationMainWindow(); background && background != this)
      background->hide();
    if (!system.appVersionCheck.isEmpty() && !OfficeApplicationReady()) {
      // The candidate chose to end instead of starting the right application.
      resize(0, height());
      move(x(), 0);
      EndProgramRequested = true;
      QTimer::singleShot(0, this, [this] { RequestClose(CloseReason::SetupFailed); });
      return;
    }
  }
  const SetupIni content = ReadSetupIni(SetupFolderCode);
  const ExamWindowTitles titles = ExamTitles(system, content.partName, PracticeMode);
  setWindowTitle(titles.caption);
  title1_->setText(titles.title1);
  title2_->setText(titles.title2);
  endBtn_->setText(titles.endCaption);
  ColourTitles();

  ExamShown = true;

  RecordExamStart();

  DevelopmentCode = system.developmentCode;
  clock_ =
      std::make_unique<ExamClock>(ClockVariant::Knowledge, PartCode, PracticeMode, clockSource_);
  connect(clock_.get(), &ExamClock::Ticked, this, &TfrmQZMain::OnTick);
  clock_->SetUp();
  display_ = std::make_unique<QuestionDisplay>(SetupFolderCode, content.subQuestionsOnly);

  Log(QStringLiteral("QZMain：初期表示中間1"));
  initialMode_ = display_->ChooseInitialMode(
      ModeSettings{content.wholePaper, content.byQuestion, content.bySubQuestion},
      ReadFirstChoiceKey(SetupFolderCode));
  if (!initialMode_.error.isEmpty()) {
    SetupError = initialMode_.error;
    ShowMessageCode(this, nullptr, initialMode_.error);
  }
  printAll_->setVisible(initialMode_.wholePaperButtonVisible);
  printToi_->setVisible(initialMode_.byQuestionButtonVisible);
  printSetu_->setVisible(initialMode_.bySubQuestionButtonVisible);
  printSetu_->setText(initialMode_.bySubQuestionCaption);
  backBtn_->setVisible(initialMode_.pagingVisible);
  nextBtn_->setVisible(initialMode_.pagingVisible);
  HighlightMode(initialMode_.highlightedMode);
  // The question pages see their own html folder and the installation's pictures; the answer
  // keys and state files beside it stay out of their reach.
  host_->SetScope(
      {ExePath(QStringLiteral("system\\") + SetupFolderCode + QStringLiteral("\\html"))},
      {ExePath(QStringLiteral("system\\Image"))});
  if (!initialMode_.firstPage.isEmpty()) host_->Navigate(initialMode_.firstPage);
  timeProgress1_->setText(clock_->InitialTimeProgress1());
  timeProgress2_->setText(clock_->InitialTimeProgress2());

  Log(QStringLiteral("QZMain：初期表示中間2"));
  // A practical part has no answers to restore.
  const AnswerRecord stored =
      IsPractical() ? AnswerRecord{} : ReadAnswerFile(AnswerFilePath(SetupFolderCode));
  display_->DetectHeadingPages();
  upDownButtons_ = system.upDownButtons;
  mihonBtn_->setText(content.sampleButtonName);
  topMostChk_->setChecked(!DebugMode);

  Log(QStringLiteral("QZMain：初期表示中間3"));
  if (IsPractical())
    PracticalLayout();
  else
    KnowledgeLayout();

  Log(QStringLiteral("QZMain：初期表示中間4"));
  SetUpAnswerSheet(system.gradeCode, content.subQuestionsOnly, stored);
  sheetScroll_->verticalScrollBar()->setValue(0);
  SetupDone = true;
  Log(QStringLiteral("QZMain：初期表示完了"));
}

// A real exam marks the part as started and stamps the date and time of its first start; a
// practice leaves the part untouched.
void TfrmQZMain::RecordExamStart() {
  const ShikenIni shiken = ReadShikenIni();
  ExamDate = shiken.examDate;
  if (PracticeMode) return;
  (void)WriteExamStarted(PartCode, true);
  if (RecordsExamStartStamp(PracticeMode, shiken.examDate)) {
    const QDateTime now = CurrentDateTime();
    ExamDate = ExamDateText(now);
    (void)WriteExamStartStamp(now);
  }
}

void TfrmQZMain::SetUpAnswerSheet(const QString& gradeCode, bool subQuestionsOnly,
                                  const AnswerRecord& stored) {
  const ExamStructureResult structure =
      ReadExamStructure(SetupFolderCode, PartCode, subQuestionsOnly);
  if (!structure.ok) {
    if (SetupError.isEmpty()) {
      SetupError = structure.message;
      ShowMessageCode(this, nullptr, structure.message);
    }
    return;
  }
  sheet_ = AnswerSheet(structure.structure);
  sheet_.SetRecordHeader(gradeCode, PartCode, VenueCode, CandidateNumber);
  sheet_.LoadAnswers(stored);
  // The structure still drives the paging of a practical part; only its sheet is missing.
  if (!IsPractical()) {
    BuildSheetRows();
    BuildColumnCaptions(subQuestionsOnly);
  }
  BuildTree();
  Refilter(true);
}

bool TfrmQZMain::OfficeApplicationReady() {
  // Checked from CheckTimer, as the check dialog does, so that the application's window can
  // come up and answer between the rounds; messages keep flowing while the set-up waits.
  AppCheckPassed = false;
  AppCheckState = QStringLiteral("1");
  CheckTimer.start();
  QEventLoop wait;
  QTimer poll;
  poll.setInterval(100);
  connect(&poll, &QTimer::timeout, &wait, [this, &wait] {
    if (AppCheckState == u"3") wait.quit();
  });
  poll.start();
  wait.exec();
  if (AppCheckPassed) return true;
  TfrmQZTP0050 dialog(this);
  dialog.SetPartCode(PartCode);
  dialog.Environment = Office;
  return dialog.ShowModal() == ModalResult::Ok;
}

void TfrmQZMain::CheckTimerTimer() {
  CheckTimer.stop();
  if (AppCheckState == u"3") return;
  const OfficeCheckOutcome outcome = CheckOfficeApplication(OfficeSettings::Read(), *Office);
  if (outcome == OfficeCheckOutcome::Unreachable) {
    ForceForeground(NativeWindowId(this));
    AppCheckState = QStringLiteral("2");
    CheckTimer.start();
    return;
  }
  AppCheckPassed = outcome == OfficeCheckOutcome::Passed;
  AppCheckState = QStringLiteral("3");
}

bool TfrmQZMain::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TfrmQZMain::FormActivate() {
  if (!FirstActivation || !SetupDone || !SetupError.isEmpty() || closing_) return;
  Log(QStringLiteral("QZMain：操作開始"));
  FirstActivation = false;
  display_->SetWindowActivated();
  clock_->Start();
  StartPracticalTimers();
  cpuMonitor_->StartCpuMonitor(PartCode);
}

void TfrmQZMain::StartPracticalTimers() {
  if (!IsPractical()) return;
  // The dialog watch only ever releases the top-most state, so it runs for every practical
  // part; the guard raises the window and runs only while the candidate keeps it on top.
  guard_->Start();
  if (!TopMostChecked) guard_->StopGuard();
}

void TfrmQZMain::OnTick(const ClockTick& tick) {
  timeProgress1_->setText(tick.timeProgress1);
  timeProgress2_->setText(tick.timeProgress2);
  switch (tick.limit) {
    case LimitDecision::ForcedEnd:
      RequestClose(CloseReason::ForcedEnd);
      break;
    case LimitDecision::TimeOverEnd:
      if (ConfirmForm) {
        // A knowledge confirmation is left alone; the candidate answers it first.
        if (!IsPractical()) break;
        // The office application is being closed from the practical confirmation: the
        // candidate finishes that first, with this window out of the way.
        if (ConfirmForm->findChild<TfrmQZQZ0060*>()) {
          hide();
          break;
        }
        // One of its messages is up; the next tick tries again.
        if (QApplication::activeModalWidget()) break;
        // The modeless confirmation gives way to the compulsory one.
        TfrmQZQZ0020* open = ConfirmForm.data();
        ConfirmForm = nullptr;
        open->hide();
        open->deleteLater();
      }
      clock_->BeginTimeOver();
      RequestClose(CloseReason::TimeOver);
      break;
    case LimitDecision::None:
    case LimitDecision::PastLimitNoAction:
      break;
  }
}

void TfrmQZMain::OpenCover(bool notes) {
  Log(notes ? QStringLiteral("QZMain：注意事項ボタン押下")
            : QStringLiteral("QZMain：操作説明ボタン押下"));
  const bool keepOnTop = TopMostChecked;
  {
    TfrmQZQZ0040 cover(this);
    cover.SetPartCode(PartCode);
    cover.ExamCategory = ExamCategory;
    cover.KeepOnTop = keepOnTop;
    cover.ShowNotes = notes;
    if (keepOnTop) SetTopMost(this, false);
    guard_->Stop();
    cover.ShowModal();
  }
  if (closing_) return;
  if (notes && clock_) {
    // The proctor may have extended the time or changed the link mode on the notes screen.
    clock_->RereadTotal();
    timeProgress2_->setText(FormatClockMinutes(clock_->TotalMinutes) + QStringLiteral("分"));
    ColourTitles();
  }
  if (keepOnTop) SetTopMost(this, true);
  StartPracticalTimers();
}

// The titles carry the proctor's signal of the link mode, from the start.
void TfrmQZMain::ColourTitles() {
  const QColor colour(TitleColourRule(ReadShikenIni().linkMode));
  SetLabelColour(title1_, colour);
  SetLabelColour(title2_, colour);
}

void TfrmQZMain::ToggleQuestionTree() {
  Log(QStringLiteral("QZMain：解答状況ボタン押下"));
  const bool show = questionPanel_->isHidden();
  questionPanel_->setVisible(show);
  if (show) {
    tree_->setFocus();
    questionBtn_->SetColours(kHighlightTop, kHighlightBottom);
  } else {
    questionBtn_->SetColours(kNormalTop, kNormalBottom);
  }
  questionBtn_->update();
  Relayout();
}

void TfrmQZMain::keyPressEvent(QKeyEvent* event) {
  // Escape would reject the dialog.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace examora
