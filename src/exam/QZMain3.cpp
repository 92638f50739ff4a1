// QZMain3: the narrow answer column of a web-style knowledge part; the questions are in the
// candidate's browser.
#include "exam/QZMain3.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/QZMain3Rules.h"
#include "exam/model/QZMainRules.h"
#include "flow/QZQZ0040.h"
#include "flow/QZTP0090.h"
#include "flow/QZTP0130.h"
#include "flow/QZTP0150.h"
#include "flow/model/FolderWindows.h"
#include "flow/model/FrameRules.h"
#include "platform/Shell.h"
#include "platform/SystemMenu.h"
#include "widgets/Band.h"
#include "widgets/ChoiceReporter.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/Logo.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WheelLines.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kMain3Width = 233;  // the narrowest the window may be
constexpr int kMain3Height = 647;
constexpr int kMain3TitleBlock = 120;
constexpr int kMain3Panel1 = 90;
constexpr int kMain3LetterStrip = 32;
constexpr int kMain3Footer = 41;
constexpr int kMain3MaxGuardInterval = 10000;
const QString kMain3Letters[5] = {QStringLiteral("ア"), QStringLiteral("イ"), QStringLiteral("ウ"),
                                  QStringLiteral("エ"), QStringLiteral("オ")};
const QColor kMain3Shadow(0xA0, 0xA0, 0xA0);

QLabel* Main3TitleLine(QWidget* parent, const char* name, int top) {
  QLabel* label = ColouredLabel(parent, QLatin1String(name), QString(),
                                UiFont(FontFace::MsPGothic, 13, true), Qt::white);
  label->setGeometry(5, top, kMain3Width - 10, 17);
  return label;
}

// "左", "上", "幅", "高さ" each replace the current value only when they hold a number.
int StoredOr(const QString& key, int current, const QString& partCode) {
  int value = 0;
  return ParseIniInteger(ReadIni(SetupIniPath(partCode), QStringLiteral("画面情報"), key), &value)
             ? value
             : current;
}

}  // namespace

TfrmQZMain3::TfrmQZMain3(QWidget* owner, const ClockSource* clockSource)
    : QDialog(owner, Qt::Window | Qt::CustomizeWindowHint), clockSource_(clockSource) {
  setObjectName(QStringLiteral("TfrmQZMain3"));
  setMinimumSize(kMain3Width, 130);
  resize(kMain3Width, kMain3Height);
  NotOpMostTimer.setInterval(100);
  ErrDialogCheckTimer.setInterval(2000);
  connect(&NotOpMostTimer, &QTimer::timeout, this, &TfrmQZMain3::NotOpMostTimerTimer);
  connect(&ErrDialogCheckTimer, &QTimer::timeout, this, &TfrmQZMain3::ErrDialogCheckTimerTimer);
  cpuMonitor_ = new CpuMonitor(this);
  BuildControls();
}

TfrmQZMain3::~TfrmQZMain3() {
  if (Guide) Guide->PracticeWindowChanged(nullptr);
}

void TfrmQZMain3::SetPart(const QString& partCode, bool debugMode) {
  PartCode = partCode;
  DebugMode = debugMode;
  ExamCategory = ReadSetupIni(PartCode).examCategory;
}

void TfrmQZMain3::Log(const QString& event) const {
  WriteLog(event, PartCode);
}

void TfrmQZMain3::BuildControls() {
  auto* panel6 = new QWidget(this);
  panel6->setObjectName(QStringLiteral("Panel6"));
  auto* panel1 = new QWidget(panel6);
  panel1->setObjectName(QStringLiteral("Panel1"));
  FillBackground(panel1, QColor(0x20, 0x40, 0x80));
  auto* picture = new QLabel(panel1);
  picture->setObjectName(QStringLiteral("TImg"));
  ShikenTitle1Lbl = Main3TitleLine(panel1, "ShikenTitle1Lbl", 6);
  ShikenTitle2Lbl = Main3TitleLine(panel1, "ShikenTitle2Lbl", 24);
  ShikenTitle3Lbl = Main3TitleLine(panel1, "ShikenTitle3Lbl", 43);
  TimeProgress1 = ColouredLabel(panel1, QStringLiteral("TimeProgress1"), QString(),
                                UiFont(FontFace::MsPGothic, 13, true), Qt::white);
  TimeProgress1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  TimeProgress1->setGeometry(80, 62, 25, 17);
  TimeProgress2 = ColouredLabel(panel1, QStringLiteral("TimeProgress2"), QString(),
                                UiFont(FontFace::MsPGothic, 13, true), Qt::white);
  TimeProgress2->setGeometry(105, 62, 36, 17);
  EndBtn = new RoundButton(QStringLiteral("試験終了"), panel1);
  EndBtn->setObjectName(QStringLiteral("EndBtn"));
  EndBtn->SetColours(QColor(255, 140, 144), QColor(255, 0, 0));
  EndBtn->setGeometry(142, 60, 78, 26);
  connect(EndBtn, &QAbstractButton::clicked, this, &TfrmQZMain3::EndBtnClick);
  TyuiBtn = new RoundButton(QStringLiteral("注意事項"), panel1);
  TyuiBtn->setObjectName(QStringLiteral("TyuiBtn"));
  TyuiBtn->setGeometry(5, 60, 70, 26);
  TyuiBtn->hide();
  connect(TyuiBtn, &QAbstractButton::clicked, this, &TfrmQZMain3::TyuiBtnClick);
  auto* panel4 = new QWidget(panel6);
  panel4->setObjectName(QStringLiteral("Panel4"));
  FillBackground(panel4, QColor(0xF0, 0xF0, 0xF0));
  QLabel* caption = TransparentLabel(panel4, QStringLiteral("Label28"), QStringLiteral("解答欄"));
  caption->setFont(UiFont(FontFace::MsPGothic, 13, true));
  caption->setGeometry(5, 7, 120, 17);

  KaitoLabelPnl = new QWidget(this);
  KaitoLabelPnl->setObjectName(QStringLiteral("KaitoLabelPnl"));
  FillBackground(KaitoLabelPnl, kMain3Shadow);
  for (int c = 0; c < 5; ++c) {
    QLabel* letter = ColouredLabel(KaitoLabelPnl, QStringLiteral("KaitoLbl%1").arg(c + 1),
                                   kMain3Letters[c], UiFont(FontFace::MsGothic, 15), Qt::white);
    letter->setGeometry(80 + 24 * c, 8, 17, 17);
    letter->setVisible(c < 4);
  }
  KaitoLabelPnl->hide();

  KaitoScrollBox = new QScrollArea(this);
  KaitoScrollBox->setObjectName(QStringLiteral("KaitoScrollBox"));
  KaitoScrollBox->setFrameShape(QFrame::NoFrame);
  KaitoScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  KaitoScrollBox->verticalScrollBar()->setSingleStep(kSheetRowHeight);
  sheetContent_ = new QWidget;
  FillBackground(sheetContent_, Qt::white);
  KaitoScrollBox->setWidget(sheetContent_);
  KaitoScrollBox->setWidgetResizable(false);
  ScrollOneLinePerWheel(KaitoScrollBox);

  auto* panel2 = new QWidget(this);
  panel2->setObjectName(QStringLiteral("Panel2"));
  FillBackground(panel2, QColor(200, 200, 200));
  auto* logo = new QLabel(panel2);
  logo->setObjectName(QStringLiteral("BImg"));
  logo->setGeometry(5, 5, 110, 31);
  logo->setPixmap(LogoPixmap(QSize(110, 31)));
}

void TfrmQZMain3::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int w = width();
  auto* panel6 = findChild<QWidget*>(QStringLiteral("Panel6"));
  panel6->setGeometry(0, 0, w, kMain3TitleBlock);
  findChild<QWidget*>(QStringLiteral("Panel1"))->setGeometry(0, 0, w, kMain3Panel1);
  // As wide as the screen, so that the band painted once covers the window at any width.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int bandWidth = std::max(w, screen ? screen->geometry().width() : w) + 10;
  findChild<QLabel*>(QStringLiteral("TImg"))->setGeometry(0, 0, bandWidth, kMain3Panel1);
  findChild<QWidget*>(QStringLiteral("Panel4"))
      ->setGeometry(0, kMain3Panel1, w, kMain3TitleBlock - kMain3Panel1);
  int top = kMain3TitleBlock;
  if (KaitoLabelPnl->isVisibleTo(this)) {
    KaitoLabelPnl->setGeometry(0, top, w, kMain3LetterStrip);
    top += kMain3LetterStrip;
  }
  KaitoScrollBox->setGeometry(0, top, w, std::max(0, height() - top - kMain3Footer));
  findChild<QWidget*>(QStringLiteral("Panel2"))
      ->setGeometry(0, height() - kMain3Footer, w, kMain3Footer);
  LayOutRows();
}

void TfrmQZMain3::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QPoint clamped = ClampAnswerOnlyPosition(pos(), screen->geometry().size());
  if (clamped != pos()) move(clamped);
}

void TfrmQZMain3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  FormShow();
}

void TfrmQZMain3::FormShow() {
  // 1.
  Log(QStringLiteral("QZMain：開始"));
  SetupFolderCode = examora::SetupFolderCode(PartCode, PracticeMode);
  if (QWidget* background = ApplicationMainWindow(); background && background != this)
    background->hide();
  // 2.–3.
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  const SetupIni content = ReadSetupIni(SetupFolderCode);
  const AnswerOnlyTitles titles = AnswerOnlyTitlesFor(system, content.partName);
  setWindowTitle(titles.caption);
  ShikenTitle1Lbl->setText(titles.title1);
  ShikenTitle2Lbl->setText(titles.title2);
  ShikenTitle3Lbl->setText(titles.title3);
  // 4. A real exam marks the part as started and stamps its first start.
  ExamShown = true;
  const ShikenIni shiken = ReadShikenIni();
  ExamDate = shiken.examDate;
  if (!PracticeMode) {
    (void)WriteExamStarted(PartCode, true);
    if (RecordsExamStartStamp(false, shiken.examDate)) {
      const QDateTime now = CurrentDateTime();
      ExamDate = ExamDateText(now);
      (void)WriteExamStartStamp(now);
    }
  }
  // 5.
  DevelopmentCode = system.developmentCode;
  clock_ =
      std::make_unique<ExamClock>(ClockVariant::AnswerOnly, PartCode, PracticeMode, clockSource_);
  connect(clock_.get(), &ExamClock::Ticked, this, &TfrmQZMain3::OnTick);
  clock_->SetUp();
  SubQuestionsOnly = content.subQuestionsOnly;
  Log(QStringLiteral("QZMain：初期表示中間1"));
  // 6.
  KaitoLabelPnl->setVisible(SubQuestionsOnly);
  // 7.
  TimeProgress1->setText(QStringLiteral(" 0/"));
  TimeProgress2->setText(QString::number(clock_->TotalMinutes) + QStringLiteral("分"));
  Log(QStringLiteral("QZMain：初期表示中間2"));
  // 8. (the answers go into the sheet as it is built, step 14)
  const AnswerRecord stored = ReadAnswerFile(AnswerFilePath(SetupFolderCode));
  // 9.
  if (!DebugMode) {
    TopMostChecked = true;
    ApplyTopMost(true);
  }
  Log(QStringLiteral("QZMain：初期表示中間3"));
  // 10.–11.
  resizeEvent(nullptr);  // the band's width first
  PaintBand(findChild<QLabel*>(QStringLiteral("TImg")),
            ExePath(QStringLiteral("system\\Image\\main_top_z.jpg")));
  if (QWidget* application = ApplicationMainWindow())
    (void)RemoveTaskbarMenuCommands(NativeWindowId(application));
  // 12.
  TyuiBtn->setVisible(ReadSetupIni(PartCode).showNotes);
  // 13. The candidate opens the question pages from the knowledge folder.
  if (!PracticeMode) {
    if (!QFileInfo::exists(AnswerFilePath(SetupFolderCode))) {
      // A failure shows when the first choice cannot be saved.
      (void)CreateEmptyAnswerFile(AnswerFilePath(SetupFolderCode));
    }
    const QString knowledge = WorkFolderPath(WorkFolder::Knowledge);
    if (QFileInfo(knowledge).isDir()) {
      if (const QString failed = OpenFolderForCandidate(knowledge); !failed.isEmpty())
        Log(QStringLiteral("QZMain：") + failed);
    }
  }
  // 14.
  Log(QStringLiteral("QZMain：初期表示中間4"));
  const QColor colour(TitleColourRule(shiken.linkMode));
  SetLabelColour(ShikenTitle1Lbl, colour);
  SetLabelColour(ShikenTitle2Lbl, colour);
  if (ExamCategory == u"1") {
    const ExamStructureResult structure =
        BuildExamStructure(ReadSubQuestionCounts(PartCode), SubQuestionsOnly,
                           [this](int q, int s) { return ReadChoiceCount(PartCode, q, s); });
    if (!structure.ok) {
      // The paper does not fit the sheet: the program ends, as the knowledge window does,
      // rather than running an exam that records nothing.
      ShowMessageCode(this, nullptr, structure.message);
      EndProgramRequested = true;
      QTimer::singleShot(0, this, [this] { CloseNow(); });
      Log(QStringLiteral("QZMain：初期表示完了"));
      return;
    }
    sheet_ = AnswerSheet(structure.structure);
    sheet_.SetRecordHeader(system.gradeCode, PartCode, VenueCode, CandidateNumber);
    sheet_.LoadAnswers(stored);
    BuildSheet();
  } else {
    KaitoScrollBox->hide();
  }
  KaitoScrollBox->verticalScrollBar()->setValue(0);
  // 15.
  if (PracticeMode) {
    setGeometry(0, 0, kMain3Width, height());
  } else {
    const QRect current = geometry();
    setGeometry(StoredOr(QStringLiteral("左"), current.x(), PartCode),
                StoredOr(QStringLiteral("上"), current.y(), PartCode),
                std::max(kMain3Width, StoredOr(QStringLiteral("幅"), current.width(), PartCode)),
                std::max(130, StoredOr(QStringLiteral("高さ"), current.height(), PartCode)));
    auto* guide = new TfrmQZTP0130(this);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->SetPartCode(PartCode);
    guide->PracticeMode = false;
    guide->FirstShow = false;
    startGuide_ = guide;
    guide->show();
    RaiseAfterOwner(guide);
  }
  resizeEvent(nullptr);
  // 16.
  Log(QStringLiteral("QZMain：初期表示完了"));
  if (PracticeMode && Guide) Guide->PracticeWindowChanged(this);
}

void TfrmQZMain3::BuildSheet() {
  if (!choices_) {
    choices_ = new ChoiceReporter([this] { return restoringChecks_; },
                                  [this](int row, int choice) { SetuClick(row, choice); }, this);
  }
  const QFont captionFont = UiFont(FontFace::MsGothic, 13);
  rows_.clear();
  for (int r = 1; r <= kMaxSheetRows; ++r) {
    const examora::SheetRow* row = sheet_.Structure().Row(r);
    RowWidgets w;
    if (!row) {
      rows_.append(w);
      continue;
    }
    w.panel = new QWidget(sheetContent_);
    w.panel->setObjectName(QStringLiteral("KaitoPanel%1").arg(r));
    if (row->kind == RowKind::Heading) {
      std::array<QLabel*, 5> letters{};
      FillBackground(w.panel, kMain3Shadow);
      w.label = ColouredLabel(w.panel, QStringLiteral("ToiLbl%1").arg(r), row->caption, QFont(),
                              Qt::white);
      w.label->setGeometry(0, 8, 78, 17);
      for (int c = 0; c < 5; ++c) {
        QLabel* letter = ColouredLabel(w.panel, QStringLiteral("Setu%1Lbl%2").arg(c + 1).arg(r),
                                       kMain3Letters[c], captionFont, Qt::white);
        letter->setGeometry(80 + 24 * c + 2, 8, 17, 17);
        letter->setVisible(c < 4);
        letters[c] = letter;
      }
      // The fifth letter heads the column only where the question has a fifth choice.
      for (int n = r + 1; n <= kMaxSheetRows; ++n) {
        const examora::SheetRow* next = sheet_.Structure().Row(n);
        if (!next || next->kind == RowKind::Heading) break;
        if (next->choiceCount >= 5) letters[4]->setVisible(true);
      }
    } else {
      FillBackground(w.panel, Qt::white);
      w.label = ColouredLabel(w.panel, QStringLiteral("SetuLbl%1").arg(r), row->caption,
                              captionFont, Qt::blue);
      w.label->setGeometry(8, 8, 72, 17);
      w.group = new QButtonGroup(w.panel);
      for (int c = 1; c <= 5; ++c) {
        auto* radio = new QRadioButton(w.panel);
        radio->setObjectName(QStringLiteral("Setu%1RBtn%2").arg(c).arg(r));
        radio->setAccessibleName(QString(row->caption).remove(u' ') + u' ' + kMain3Letters[c - 1]);
        radio->setGeometry(80 + 24 * (c - 1), 8, 17, 17);
        radio->setVisible(c <= row->choiceCount);
        w.group->addButton(radio, c);
        w.radios[c - 1] = radio;
        choices_->Watch(radio, r, c);
      }
    }
    rows_.append(w);
    RestoreRowChecks(r);
  }
  LayOutRows();
}

void TfrmQZMain3::LayOutRows() {
  if (!sheetContent_) return;
  const int w = KaitoScrollBox->viewport()->width();
  int used = 0;
  for (const RowWidgets& row : rows_) {
    if (!row.panel) continue;
    row.panel->setGeometry(0, used * kSheetRowHeight, w, kSheetRowHeight);
    row.panel->show();
    ++used;
  }
  sheetContent_->resize(w, used * kSheetRowHeight);
}

void TfrmQZMain3::RestoreRowChecks(int row) {
  if (row < 1 || row > rows_.size()) return;
  RowWidgets& w = rows_[row - 1];
  if (!w.group) return;
  restoringChecks_ = true;
  const int checked = sheet_.CheckedChoice(row);
  w.group->setExclusive(false);
  for (int c = 1; c <= 5; ++c) w.radios[c - 1]->setChecked(c == checked);
  w.group->setExclusive(true);
  restoringChecks_ = false;
}

QRadioButton* TfrmQZMain3::RadioButton(int row, int choice) const {
  if (row < 1 || row > rows_.size() || choice < 1 || choice > 5) return nullptr;
  return rows_[row - 1].radios[choice - 1];
}

QWidget* TfrmQZMain3::SheetRow(int row) const {
  if (row < 1 || row > rows_.size()) return nullptr;
  return rows_[row - 1].panel;
}

void TfrmQZMain3::SetuClick(int row, int choice) {
  if (restoringChecks_) return;
  // A practice never touches the answer file; before the clock runs nothing is recorded.
  const bool running = clock_ && clock_->IsRunning() && !PracticeMode;
  if (!running) {
    RestoreRowChecks(row);
    return;
  }
  Log(kLogAnswerClicked);
  if (!sheet_.Record(row, choice, true)) {
    RestoreRowChecks(row);
    return;
  }
  if (const WriteResult saved = sheet_.Save(AnswerFilePath(PartCode)); !saved) {
    // The choice stays in memory and goes to the file with the next click.
    ShowMessageCode(this, nullptr, msg::kAnswerSaveFailed, saved.error);
  }
}

bool TfrmQZMain3::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TfrmQZMain3::FormActivate() {
  if (!FirstActivation || !clock_ || closing_) return;
  FirstActivation = false;
  Log(QStringLiteral("QZMain：操作開始"));
  clock_->Start();
  NotOpMostTimer.start();
  ErrDialogCheckTimer.start();
  cpuMonitor_->StartCpuMonitor(PartCode);
}

void TfrmQZMain3::OnTick(const ClockTick& tick) {
  TimeProgress1->setText(tick.timeProgress1);
  TimeProgress2->setText(tick.timeProgress2);
  if (tick.limit == LimitDecision::ForcedEnd) ForcedEnd();
}

void TfrmQZMain3::ForcedEnd() {
  ShowMessageCode(this, nullptr, msg::kTimeUpForcedEnd);
  // An open confirmation or notes cover goes with the part.
  CloseOwnedWindows(this);
  if (PracticeMode) {
    // Asking the practice dialogs for their end again would repeat the message every second:
    // the practice window just goes, and the practice with it.
    CloseNow();
    return;
  }
  clock_->RecordForcedEnd(DebugMode);
  clock_->Halt();
  hide();
  ShowScoring(SetupFolderCode);
  EndProgramRequested = true;
  CloseNow();
}

void TfrmQZMain3::ShowScoring(const QString& partCode) {
  TfrmQZTP0040 scoring(this);
  scoring.SetPartCode(partCode);
  scoring.DevelopmentCode = DevelopmentCode;
  scoring.VenueCode = VenueCode;
  scoring.CandidateNumber = CandidateNumber;
  scoring.ExamDate = ExamDate;
  scoring.ShowModal();
}

void TfrmQZMain3::ApplyTopMost(bool on) {
  NotOpMostTimer.stop();
  QCoreApplication::processEvents();
  if (ConfirmForm) SetTopMost(ConfirmForm, on);
  SetTopMost(this, on);
  if (on && ExamCategory == u"2") NotOpMostTimer.start();
}

void TfrmQZMain3::NotOpMostTimerTimer() {
  // Only backs off: this window has no periodic on-top guard.
  const bool enabled = isEnabled() && !QApplication::activeModalWidget();
  if (enabled && NotOpMostTimer.interval() < kMain3MaxGuardInterval)
    NotOpMostTimer.setInterval(NotOpMostTimer.interval() + 100);
}

void TfrmQZMain3::ErrDialogCheckTimerTimer() {
  if (tp0150Open_) return;
  const QWidget* modal = QApplication::activeModalWidget();
  if (isEnabled() && (!modal || modal == this)) {
    ErrDialogDropped = false;
    return;
  }
  if (ErrDialogDropped) return;
  Log(QStringLiteral("QZMain：エラーダイアログ存在の為に、最前面表示を解除しました。"));
  if (QWidget* application = ApplicationMainWindow()) SetTopMost(application, false);
  SetTopMost(this, false);
  ErrDialogDropped = true;
}

void TfrmQZMain3::TyuiBtnClick() {
  {
    TfrmQZQZ0040 cover(this);
    cover.SetPartCode(PartCode);
    cover.ExamCategory = QStringLiteral("1");
    cover.KeepOnTop = TopMostChecked;
    cover.ShowNotes = true;
    ErrDialogCheckTimer.stop();
    cover.ShowModal();
  }
  if (closing_) return;
  NotOpMostTimer.start();
  ErrDialogCheckTimer.start();
}

void TfrmQZMain3::EndBtnClick() {
  Log(QStringLiteral("QZMain：試験終了ボタン押下"));
  close();
}

void TfrmQZMain3::ConfirmAndClose() {
  PracticeEndConfirmedFlag = false;
  close();
}

void TfrmQZMain3::ClosePracticeWindow() {
  close();
}

bool TfrmQZMain3::FormCloseQuery() {
  if (inCloseQuery_) return false;
  inCloseQuery_ = true;
  bool allow = true;
  if (PracticeMode) {
    allow = PracticeCloseQuery();
  } else if (ExamShown) {
    allow = ExamCloseQuery();
  }
  inCloseQuery_ = false;
  return allow;
}

bool TfrmQZMain3::PracticeCloseQuery() {
  if (!PracticeStepsDone) {
    // Before the practice dialogs reach their end the button only explains itself.
    if (Guide) Guide->SetPracticeDialogsVisible(false);
    tp0150Open_ = true;
    {
      TfrmQZTP0150 notice(this);
      notice.SetPartCode(PartCode);
      notice.ShowModal();
    }
    tp0150Open_ = false;
    if (Guide) Guide->SetPracticeDialogsVisible(true);
    return false;
  }
  if (!PracticeEndConfirmedFlag) {
    Log(QStringLiteral("QZMain：操作練習終了処理"));
    NotOpMostTimer.stop();
    ErrDialogCheckTimer.stop();
    int result = ModalResult::Cancel;
    {
      TfrmQZTP0090 confirm(this);
      confirm.SetPartCode(PartCode);
      confirm.ExamCategory = ExamCategory;
      result = confirm.ShowModal();
    }
    if (result == ModalResult::Ok) {
      PracticeEndConfirmedFlag = true;
    } else {
      PracticeStepsDone = false;
      if (TopMostChecked) ApplyTopMost(true);
      ErrDialogCheckTimer.start();
    }
    return false;
  }
  // The layout of the practice carries over to the exam.
  const QRect bounds = geometry();
  (void)WriteWindowRect(PartCode, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  return true;
}

bool TfrmQZMain3::ExamCloseQuery() {
  Log(QStringLiteral("QZMain：知識試験終了処理1"));
  auto* confirm = new TfrmQZQZ0020(this);
  ConfirmForm = confirm;
  confirm->SetPartCode(PartCode);
  confirm->Category = ExamCategory;
  confirm->KeepOnTop = TopMostChecked;
  confirm->SubQuestionsOnly = SubQuestionsOnly;
  confirm->SubQuestionCounts = sheet_.Structure().SubQuestionCounts();
  confirm->Answers = sheet_.Answers();
  const int result = confirm->ShowModal();
  delete confirm;
  ConfirmForm = nullptr;
  // The forced end came while the confirmation was open and has ended the part.
  if (closing_ || result != ModalResult::Ok) return false;

  Log(QStringLiteral("QZMain：知識試験終了処理2"));
  if (ReadSetupIni(PartCode).examType == u"3") {
    CloseFolderWindows(WorkFolder::Knowledge);
  }
  const bool sample = ReadSystemIni(CurrentDate().year()).sampleExam;
  const QString normalEnd = NormalEndToRecord(false, DebugMode, sample);
  if (!normalEnd.isEmpty()) (void)WriteNormalEnd(PartCode, normalEnd);
  if (ExamCategory == u"1" && sample) {
    hide();
    if (clock_) clock_->Halt();
    ShowScoring(PartCode);
  }
  return true;
}

void TfrmQZMain3::CloseNow() {
  closing_ = true;
  if (clock_) clock_->Halt();
  NotOpMostTimer.stop();
  ErrDialogCheckTimer.stop();
  cpuMonitor_->CpuCheckTimer.stop();
  if (startGuide_) startGuide_->close();
  done(QDialog::Rejected);
}

void TfrmQZMain3::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  event->ignore();
  if (FormCloseQuery()) CloseNow();
}

void TfrmQZMain3::reject() {
  // Escape and the window system's close go through the close handling like the end button.
  if (closing_) {
    QDialog::reject();
    return;
  }
  close();
}

void TfrmQZMain3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace examora
