#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
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

namespace examora {
namespace {

constexpr int kHeaderHeight = 120;
constexpr int kFirstRowHeight = 59;
constexpr int kTreeWidth = 140;
constexpr int kSheetWidth = 188;
constexpr int kSheetRowWidth = 170;
constexpr int kButtonHeight = 28;
constexpr int kHeaderButtonWidth = 78;
constexpr int kModeButtonWidth = 70;

const QColor kHighlightTop(255, 140, 144);
const QColor kHighlightBottom(255, 0, 0);
const QColor kNormalTop(240, 240, 240);
const QColor kNormalBottom(64, 64, 64);

const QString kChoiceLetters[5] = {QStringLiteral("ア"), QStringLiteral("イ"), QStringLiteral("ウ"),
                                   QStringLiteral("エ"), QStringLiteral("オ")};

const QStringList kPracticeNotice = {QStringLiteral("※これは操作練習画面であり、本試験"),
                                     QStringLiteral("の問題ではありません。"),
                                     QStringLiteral("１．各種ボタンをクリックし、設定され"),
                                     QStringLiteral("ている機能を確認してください。"),
                                     QStringLiteral("２．注意事項のボタンをクリックし、表"),
                                     QStringLiteral("示された推奨レイアウトを参考に、"),
                                     QStringLiteral("問題表示ウィンドウの表示位置や大"),
                                     QStringLiteral("きさを設定してください。"),
                                     QStringLiteral("※ここで設定した問題表示ウィンドウ"),
                                     QStringLiteral("のレイアウトが、本試験開始時に適"),
                                     QStringLiteral("用されます。"),
                                     QStringLiteral("※本試験開始後も、ウィンドウの位置"),
                                     QStringLiteral("や大きさの変更は可能です。")};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void SetLabelColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

}  // namespace

TfrmQZMain::TfrmQZMain(QWidget* owner, const ClockSource* clockSource)
    : QDialog(owner, Qt::Window | Qt::FramelessWindowHint), clockSource_(clockSource) {
  setObjectName(QStringLiteral("frmQZMain"));
  setFont(UiFont(FontFace::MsPGothic, 15));
  resize(775, 562);
  cpuMonitor_ = new CpuMonitor(this);
  OnTopGuardHooks hooks;
  // Qt leaves the window enabled under an application-modal dialog, so a dialog of ours is
  // seen as the active modal widget.
  hooks.windowEnabled = [this] { return isEnabled() && !QApplication::activeModalWidget(); };
  hooks.sampleViewerOpen = [] { return false; };
  hooks.raiseTopMost = [this] {
    SetTopMost(this, true);
    raise();
  };
  hooks.releaseTopMost = [] { SetTopMost(ApplicationMainWindow(), false); };
  hooks.log = [this](const QString& line) { Log(line); };
  guard_ = new OnTopGuard(std::move(hooks), this);
  CheckTimer.setObjectName(QStringLiteral("CheckTimer"));
  CheckTimer.setInterval(100);
  connect(&CheckTimer, &QTimer::timeout, this, &TfrmQZMain::CheckTimerTimer);
  BuildControls();
}

TfrmQZMain::~TfrmQZMain() = default;

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

// ---- Controls -----------------------------------------------------------------------------

void TfrmQZMain::BuildControls() {
  const QFont titleFont = UiFont(FontFace::MsPGothic, 13, true);
  const QFont clockFont = UiFontPt(FontFace::MsPGothic, 15, true);
  const QFont smallFont = UiFont(FontFace::MsPGothic, 12, true);

  panel6_ = new QWidget(this);
  panel6_->setObjectName(QStringLiteral("Panel6"));
  FillBackground(panel6_, QColor(0x00, 0x49, 0x88));
  titleImage_ = new QLabel(panel6_);
  titleImage_->setObjectName(QStringLiteral("TImg"));
  panel1_ = new QWidget(panel6_);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel4_ = new QWidget(panel6_);
  panel4_->setObjectName(QStringLiteral("Panel4"));

  title1_ = MakeLabel(panel1_, QStringLiteral("ShikenTitle1Lbl"), {}, titleFont, Qt::white);
  title2_ = MakeLabel(panel1_, QStringLiteral("ShikenTitle2Lbl"), {}, titleFont, Qt::white);
  timeProgress1_ = MakeLabel(panel1_, QStringLiteral("TimeProgress1"), {}, clockFont, Qt::white);
  timeProgress1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  timeProgress2_ = MakeLabel(panel1_, QStringLiteral("TimeProgress2"), {}, clockFont, Qt::white);

  auto button = [this](QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new RoundButton(caption, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
  };
  printAll_ = button(panel1_, QStringLiteral("PrintAllBtn"), QStringLiteral("全問"));
  printToi_ = button(panel1_, QStringLiteral("PrintToiBtn"), QStringLiteral("問題別"));
  printSetu_ = button(panel1_, QStringLiteral("PrintSetuBtn"), QStringLiteral("設問別"));
  endBtn_ = button(panel1_, QStringLiteral("EndBtn"), QStringLiteral("試験終了"));
  endBtn_->SetColours(kHighlightTop, kHighlightBottom);
  opeExplana_ = button(panel1_, QStringLiteral("OpeExplanaBtn"), QStringLiteral("操作説明"));
  questionBtn_ = button(panel1_, QStringLiteral("QuestionBtn"), QStringLiteral("解答状況"));
  tyuiBtn_ = button(panel1_, QStringLiteral("TyuiBtn"), QStringLiteral("注意事項"));
  // The finished-sample viewer belongs to the practical parts and is not in this build yet.
  mihonBtn_ = button(panel1_, QStringLiteral("MihonBtn"), QStringLiteral("見本"));
  mihonBtn_->hide();

  zoomOut_ = button(panel6_, QStringLiteral("B_ZoomOutBtn"), QStringLiteral("-"));
  zoomNone_ = button(panel6_, QStringLiteral("B_ZoomNoneBtn"), QStringLiteral("標準"));
  zoomIn_ = button(panel6_, QStringLiteral("B_ZoomInBtn"), QStringLiteral("+"));
  backBtn_ = button(panel6_, QStringLiteral("BackBtn"), QStringLiteral("<"));
  nextBtn_ = button(panel6_, QStringLiteral("NextBtn"), QStringLiteral(">"));
  mozi1_ =
      MakeLabel(panel6_, QStringLiteral("Mozi1Lbl"), QStringLiteral("文字"), smallFont, Qt::white);
  mozi2_ = MakeLabel(panel6_, QStringLiteral("Mozi2Lbl"), QStringLiteral("サイズ"), smallFont,
                     Qt::white);
  jokyoLbl_ = MakeLabel(panel6_, QStringLiteral("JokyoLbl"), QStringLiteral("解答状況"), smallFont,
                        Qt::white);
  toiLbl_ =
      MakeLabel(panel6_, QStringLiteral("ToiLbl"), QStringLiteral("問題文"), smallFont, Qt::white);
  kaitoLbl_ = MakeLabel(panel6_, QStringLiteral("KaitoLbl"), QStringLiteral("解答欄"), smallFont,
                        Qt::white);

  questionPanel_ = new QWidget(this);
  questionPanel_->setObjectName(QStringLiteral("QuestionPanel"));
  tree_ = new QTreeWidget(questionPanel_);
  tree_->setObjectName(QStringLiteral("QuestionTree"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setUniformRowHeights(true);
  tree_->setStyleSheet(QStringLiteral("QTreeView::item { height: 20px; }"));
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  panel3_ = new QWidget(this);
  panel3_->setObjectName(QStringLiteral("Panel3"));
  browser_ = new QWebEngineView(panel3_);
  browser_->setObjectName(QStringLiteral("QuestionBrowser"));
  host_ = new TWBContainer(browser_);
  host_->SetBorderShown3D(false);
  overlay_ = new TransparentOverlay(browser_, panel3_);
  overlay_->setObjectName(QStringLiteral("NkTransparent"));

  panel5_ = new QWidget(panel3_);
  panel5_->setObjectName(QStringLiteral("Panel5"));
  FillBackground(panel5_, QColor(0xF0, 0xF0, 0xF0));
  sheetScroll_ = new QScrollArea(panel5_);
  sheetScroll_->setObjectName(QStringLiteral("KaitoScrollBox"));
  sheetScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sheetScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sheetScroll_->verticalScrollBar()->setSingleStep(kSheetRowHeight);
  sheetScroll_->setFrameShape(QFrame::NoFrame);
  sheetContent_ = new QWidget;
  sheetContent_->setObjectName(QStringLiteral("KaitoContent"));
  FillBackground(sheetContent_, Qt::white);
  sheetContent_->resize(kSheetRowWidth, 1);
  sheetScroll_->setWidget(sheetContent_);
  for (int r = 0; r < kMaxSheetRows; ++r) rows_.append(RowWidgets{});

  rensyuPnl_ = new QWidget(panel3_);
  rensyuPnl_->setObjectName(QStringLiteral("RensyuPnl"));
  FillBackground(rensyuPnl_, Qt::yellow);
  {
    QFont heading = UiFont(FontFace::MsPGothic, 29, true);
    heading.setUnderline(true);
    QLabel* title = MakeLabel(rensyuPnl_, QStringLiteral("RensyuTitleLbl"),
                              QStringLiteral("操作練習"), heading, Qt::black);
    title->setGeometry(10, 6, 250, 36);
    QLabel* text = MakeLabel(rensyuPnl_, QStringLiteral("RensyuLbl"), kPracticeNotice.join(u'\n'),
                             UiFont(FontFace::MsGothic, 15), Qt::black);
    text->setGeometry(8, 48, 272, 13 * 18 + 4);
  }
  rensyuPnl_->resize(284, 48 + 13 * 18 + 12);
  rensyuPnl_->hide();

  connect(printAll_, &QPushButton::clicked, this, [this] { PressMode(kModeWholePaper); });
  connect(printToi_, &QPushButton::clicked, this, [this] { PressMode(kModeByQuestion); });
  connect(printSetu_, &QPushButton::clicked, this, [this] { PressMode(kModeBySubQuestion); });
  connect(backBtn_, &QPushButton::clicked, this, [this] { Paging(true); });
  connect(nextBtn_, &QPushButton::clicked, this, [this] { Paging(false); });
  connect(zoomIn_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomIn());
  });
  connect(zoomOut_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomOut());
  });
  connect(zoomNone_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomStandard());
  });
  connect(endBtn_, &QPushButton::clicked, this, [this] {
    Log(QStringLiteral("QZMain：試験終了ボタン押下"));
    RequestClose(CloseReason::EndButton);
  });
  connect(tyuiBtn_, &QPushButton::clicked, this, [this] { OpenCover(true); });
  connect(opeExplana_, &QPushButton::clicked, this, [this] { OpenCover(false); });
  connect(questionBtn_, &QPushButton::clicked, this, &TfrmQZMain::ToggleQuestionTree);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { OnTreeChange(); });
  connect(host_, &TNulWBContainer::documentComplete, this, [this] {
    ApplyPageZoom();
    FillFolderElement(browser_, InstallationFolderName());
    emit pageReady();
  });
  connect(overlay_, &TransparentOverlay::wheelLines, this, [this](int lines) {
    browser_->page()->runJavaScript(
        QStringLiteral("window.scrollBy(0, %1);").arg(OverlayScrollPixels(lines)));
  });
}

QRadioButton* TfrmQZMain::RadioButton(int row, int choice) const {
  if (row < 1 || row > rows_.size() || choice < 1 || choice > 5) return nullptr;
  return rows_[row - 1].radios[choice - 1];
}

QWidget* TfrmQZMain::SheetRow(int row) const {
  if (row < 1 || row > rows_.size()) return nullptr;
  return rows_[row - 1].panel;
}

// ---- Layout -------------------------------------------------------------------------------

void TfrmQZMain::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Relayout();
  HoldAtWorkArea();
}

void TfrmQZMain::Relayout() {
  const int w = width();
  const int h = height();
  panel6_->setGeometry(0, 0, w, kHeaderHeight);
  titleImage_->setGeometry(0, 0, w + 10, kHeaderHeight);
  panel1_->setGeometry(0, 0, w, kFirstRowHeight);
  panel4_->setGeometry(0, kFirstRowHeight, w, kHeaderHeight - kFirstRowHeight);
  title1_->setGeometry(12, 6, 600, 18);
  title2_->setGeometry(12, 26, 600, 18);

  // First row, from the right edge leftwards.
  int x = w - 20 - 56;
  timeProgress2_->setGeometry(x, 28, 56, 24);
  x -= 77;
  timeProgress1_->setGeometry(x, 28, 77, 24);
  x -= 20 + kHeaderButtonWidth;
  endBtn_->setGeometry(x, 26, kHeaderButtonWidth, kButtonHeight);
  x -= 20 + kHeaderButtonWidth;
  tyuiBtn_->setGeometry(x, 26, kHeaderButtonWidth, kButtonHeight);
  x -= 10 + kHeaderButtonWidth;
  opeExplana_->setGeometry(x, 26, kHeaderButtonWidth, kButtonHeight);
  x -= 10 + kHeaderButtonWidth;
  questionBtn_->setGeometry(x, 26, kHeaderButtonWidth, kButtonHeight);
  x -= 20;
  for (RoundButton* mode : {printSetu_, printToi_, printAll_}) {
    if (mode->isHidden()) continue;
    x -= kModeButtonWidth;
    mode->setGeometry(x, 26, kModeButtonWidth, kButtonHeight);
    x -= 10;
  }

  // Second row.
  x = w - 20 - 40;
  nextBtn_->setGeometry(x, 72, 40, kButtonHeight);
  x -= 10 + 40;
  backBtn_->setGeometry(x, 72, 40, kButtonHeight);
  x -= 130 + 40;
  zoomIn_->setGeometry(x, 72, 40, kButtonHeight);
  x -= 5 + 50;
  zoomNone_->setGeometry(x, 72, 50, kButtonHeight);
  x -= 5 + 40;
  zoomOut_->setGeometry(x, 72, 40, kButtonHeight);
  x -= 10 + 40;
  mozi2_->setGeometry(x, kFirstRowHeight + 24, 40, 14);
  mozi1_->setGeometry(x + 4, kFirstRowHeight + 10, 36, 14);

  // Body: tree, page, answer sheet.
  const int bodyTop = kHeaderHeight;
  const int bodyHeight = qMax(0, h - bodyTop);
  const int treeWidth = questionPanel_->isHidden() ? 0 : kTreeWidth;
  questionPanel_->setGeometry(0, bodyTop, kTreeWidth, bodyHeight);
  tree_->setGeometry(0, 0, kTreeWidth, bodyHeight);
  panel3_->setGeometry(treeWidth, bodyTop, w - treeWidth, bodyHeight);
  const int sheetShown = panel5_->isHidden() ? 0 : kSheetWidth;
  const int pageWidth = qMax(0, panel3_->width() - sheetShown);
  browser_->setGeometry(0, 0, pageWidth, bodyHeight);
  panel5_->setGeometry(pageWidth, 0, kSheetWidth, bodyHeight);
  sheetScroll_->setGeometry(0, 0, kSheetWidth, bodyHeight);
  rensyuPnl_->move(qMax(0, pageWidth - rensyuPnl_->width() - 24),
                   qMax(0, bodyHeight - rensyuPnl_->height() - 16));
  rensyuPnl_->raise();
  overlay_->FitToTarget();

  const int labelTop = kFirstRowHeight + 40;
  jokyoLbl_->setGeometry(16, labelTop, 80, 16);
  toiLbl_->setGeometry(145, labelTop, 80, 16);
  kaitoLbl_->setGeometry(treeWidth + pageWidth + 15, labelTop, 80, 16);
}

void TfrmQZMain::KnowledgeLayout() {
  PaintBand(titleImage_, ExePath(QStringLiteral("system\\Image\\main_top_t.jpg")));
  // The candidate cannot minimise or close the exam from the taskbar.
  (void)RemoveTaskbarMenuCommands(static_cast<WindowId>(winId()));
  if (QWidget* application = ApplicationMainWindow()) {
    (void)RemoveTaskbarMenuCommands(static_cast<WindowId>(application->winId()));
  }
  questionBtn_->SetColours(kHighlightTop, kHighlightBottom);
  Relayout();
  if (!QFileInfo::exists(AnswerFilePath(SetupFolderCode))) {
    // A failure shows later, when the first choice cannot be saved.
    (void)CreateEmptyAnswerFile(AnswerFilePath(SetupFolderCode));
  }
}

// ---- Set-up -------------------------------------------------------------------------------

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
  if (ExamCategory == u"2") {
    Log(QStringLiteral("QZMain：起動ソフト確認"));
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

  ExamShown = true;

  if (!PracticeMode) {
    (void)WriteExamStarted(PartCode, true);
    const ShikenIni shiken = ReadShikenIni();
    if (RecordsExamStartStamp(PracticeMode, shiken.examDate)) {
      const QDateTime now = CurrentDateTime();
      ExamDate = ExamDateText(now);
      (void)WriteExamStartStamp(now);
    } else {
      ExamDate = shiken.examDate;
    }
  } else {
    ExamDate = ReadShikenIni().examDate;
  }

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
  if (!initialMode_.firstPage.isEmpty()) host_->Navigate(initialMode_.firstPage);
  timeProgress1_->setText(clock_->InitialTimeProgress1());
  timeProgress2_->setText(clock_->InitialTimeProgress2());

  Log(QStringLiteral("QZMain：初期表示中間2"));
  const AnswerRecord stored = ReadAnswerFile(AnswerFilePath(SetupFolderCode));
  display_->DetectHeadingPages();
  TopMostChecked = !DebugMode;
  if (TopMostChecked) SetTopMost(this, true);

  Log(QStringLiteral("QZMain：初期表示中間3"));
  KnowledgeLayout();
  if (IsPractical()) PracticalPlacement();

  Log(QStringLiteral("QZMain：初期表示中間4"));
  const ExamStructureResult structure =
      ReadExamStructure(SetupFolderCode, PartCode, content.subQuestionsOnly);
  if (!structure.ok) {
    if (SetupError.isEmpty()) {
      SetupError = structure.message;
      ShowMessageCode(this, nullptr, structure.message);
    }
  } else {
    sheet_ = AnswerSheet(structure.structure);
    sheet_.SetRecordHeader(system.gradeCode, PartCode, VenueCode, CandidateNumber);
    sheet_.LoadAnswers(stored);
    BuildSheetRows();
    BuildTree();
    Refilter(true);
  }
  sheetScroll_->verticalScrollBar()->setValue(0);
  SetupDone = true;
  Log(QStringLiteral("QZMain：初期表示完了"));
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
    ForceForeground(static_cast<WindowId>(winId()));
    AppCheckState = QStringLiteral("2");
    CheckTimer.start();
    return;
  }
  AppCheckPassed = outcome == OfficeCheckOutcome::Passed;
  AppCheckState = QStringLiteral("3");
}

void TfrmQZMain::BuildSheetRows() {
  const QFont captionFont = UiFont(FontFace::MsGothic, 13);
  for (int r = 1; r <= kMaxSheetRows; ++r) {
    const examora::SheetRow* row = sheet_.Structure().Row(r);
    if (!row) continue;
    RowWidgets& w = rows_[r - 1];
    w.panel = new QWidget(sheetContent_);
    w.panel->setObjectName(QStringLiteral("KaitoPanel%1").arg(r));
    w.panel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
    if (row->kind == RowKind::Heading) {
      w.toiPanel = new QWidget(w.panel);
      w.toiPanel->setObjectName(QStringLiteral("ToiPanel%1").arg(r));
      w.toiPanel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
      FillBackground(w.toiPanel, QColor(0xA0, 0xA0, 0xA0));
      w.toiLbl = MakeLabel(w.toiPanel, QStringLiteral("ToiLbl%1").arg(r), row->caption, captionFont,
                           Qt::white);
      w.toiLbl->setGeometry(0, 8, 78, 17);
      for (int c = 0; c < 4; ++c) {
        QLabel* letter = MakeLabel(w.toiPanel, QStringLiteral("Setu%1Lbl%2").arg(c + 1).arg(r),
                                   kChoiceLetters[c], captionFont, Qt::white);
        letter->setGeometry(80 + 24 * c + 2, 8, 17, 17);
      }
    } else {
      w.setuPanel = new QWidget(w.panel);
      w.setuPanel->setObjectName(QStringLiteral("SetuPanel%1").arg(r));
      w.setuPanel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
      FillBackground(w.setuPanel, Qt::white);
      w.setuLbl = MakeLabel(w.setuPanel, QStringLiteral("SetuLbl%1").arg(r), row->caption,
                            captionFont, Qt::black);
      w.setuLbl->setGeometry(8, 8, 72, 17);
      w.group = new QButtonGroup(w.setuPanel);
      for (int c = 1; c <= 5; ++c) {
        auto* radio = new QRadioButton(w.setuPanel);
        radio->setObjectName(QStringLiteral("Setu%1RBtn%2").arg(c).arg(r));
        radio->setToolTip(kChoiceLetters[c - 1]);
        radio->setGeometry(80 + 24 * (c - 1), 8, 17, 17);
        radio->setVisible(c <= row->choiceCount);
        w.group->addButton(radio, c);
        w.radios[c - 1] = radio;
        connect(radio, &QRadioButton::clicked, this, [this, r, c] { SetuClick(r, c); });
      }
      // Restoring checks the stored choice; no click is reported, so nothing is recorded.
      RestoreRowChecks(r);
    }
    w.panel->hide();
  }
}

void TfrmQZMain::BuildTree() {
  treeBuilding_ = true;
  tree_->clear();
  treeItems_.clear();
  const QList<int> selections = display_->BuildQuestionTree(sheet_.Structure().SubQuestionCounts());
  const QuestionTree& model = display_->Tree();
  for (int i = 0; i < model.Count(); ++i) {
    const int parent = model.Parent(i);
    auto* item = parent < 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(treeItems_[parent]);
    item->setText(0, model.Caption(i));
    treeItems_.append(item);
  }
  tree_->setRootIsDecorated(initialMode_.treeRootLines);
  tree_->expandAll();
  RepaintMarks();
  treeBuilding_ = false;
  ApplySelections(selections);
}

void TfrmQZMain::ApplySelections(const QList<int>& selections) {
  for (int node : selections) SelectNode(node, false);
}

// ---- Start of the exam --------------------------------------------------------------------

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
  if (IsPractical() && TopMostChecked) guard_->Start();
  cpuMonitor_->StartCpuMonitor(PartCode);
}

// ---- Question display ---------------------------------------------------------------------

void TfrmQZMain::SelectNode(int node, bool reportExplicitly) {
  if (node < 0 || node >= treeItems_.size()) return;
  QTreeWidgetItem* item = treeItems_[node];
  if (tree_->currentItem() == item) {
    if (reportExplicitly) OnTreeChange();
    return;
  }
  tree_->setCurrentItem(item);
}

void TfrmQZMain::OnTreeChange() {
  if (treeBuilding_ || !display_) return;
  const int node = treeItems_.indexOf(tree_->currentItem());
  if (node < 0) return;
  Log(kLogTreeChanged);
  HandlePage(display_->ShowSelection(node));
}

void TfrmQZMain::HandlePage(const PageRequest& page) {
  if (page.navigate) {
    // The anchor goes with the address; the page refuses anything outside the installation.
    if (page.anchor.isEmpty())
      host_->Navigate(page.path);
    else
      host_->Page()->setUrl(page.Url());
  }
  if (page.refilter) Refilter(page.scrollSheetTop);
  if (display_->DisplayMode() == kModeWholePaper) ScrollSheetToSelection();
}

void TfrmQZMain::Refilter(bool scrollTop) {
  const SheetView view = sheet_.FilterAnswerRows(
      display_->DisplayMode(), display_->CurrentQuestion(), display_->CurrentSubQuestion());
  for (int r = 1; r <= rows_.size(); ++r) {
    QWidget* panel = rows_[r - 1].panel;
    if (!panel) continue;
    const int top = view.RowTop(r);
    if (top < 0) {
      panel->hide();
    } else {
      panel->move(0, top);
      panel->show();
    }
  }
  sheetContent_->resize(kSheetRowWidth, qMax(1, view.scrollRange));
  if (scrollTop) sheetScroll_->verticalScrollBar()->setValue(0);
}

void TfrmQZMain::ScrollSheetToSelection() {
  const int node = display_->SelectedNode();
  if (!display_->Tree().IsValid(node)) return;
  sheetScroll_->verticalScrollBar()->setValue(
      sheet_.ScrollPositionForNode(display_->Tree().Node(node)));
}

void TfrmQZMain::HighlightMode(int mode) {
  printAll_->SetColours(mode == kModeWholePaper ? kHighlightTop : kNormalTop,
                        mode == kModeWholePaper ? kHighlightBottom : kNormalBottom);
  printToi_->SetColours(mode == kModeByQuestion ? kHighlightTop : kNormalTop,
                        mode == kModeByQuestion ? kHighlightBottom : kNormalBottom);
  printSetu_->SetColours(mode == kModeBySubQuestion ? kHighlightTop : kNormalTop,
                         mode == kModeBySubQuestion ? kHighlightBottom : kNormalBottom);
  for (RoundButton* b : {printAll_, printToi_, printSetu_}) b->update();
}

void TfrmQZMain::PressMode(int mode) {
  if (!display_ || !SetupDone) return;
  const ModeAction action = display_->PressMode(mode);
  Log(action.log);
  if (!action.changed) return;
  HighlightMode(action.highlightedMode);
  backBtn_->setVisible(action.pagingVisible);
  nextBtn_->setVisible(action.pagingVisible);
  if (action.selectNode >= 0) SelectNode(action.selectNode, false);
  if (action.page) HandlePage(*action.page);
  if (action.refilter)
    Refilter(action.scrollSheetTop);
  else if (action.scrollSheetTop)
    sheetScroll_->verticalScrollBar()->setValue(0);
  Relayout();
}

void TfrmQZMain::Paging(bool back) {
  if (!display_ || !SetupDone) return;
  const PagingAction action = back ? display_->Back() : display_->Next();
  Log(action.log);
  if (action.selectNode >= 0) SelectNode(action.selectNode, action.reportChangeExplicitly);
  if (action.page) HandlePage(*action.page);
}

void TfrmQZMain::Zoom(const ZoomAction& action) {
  Log(action.log);
  if (!action.apply) return;
  ApplyPageZoom();
  overlay_->FitToTarget();
  browser_->setFocus();
}

void TfrmQZMain::ApplyPageZoom() {
  if (!display_) return;
  browser_->page()->runJavaScript(
      QStringLiteral("if (document.body) document.body.style.zoom = '%1';")
          .arg(QString::number(display_->StyleZoom())));
}

// ---- Answer sheet -------------------------------------------------------------------------

void TfrmQZMain::RestoreRowChecks(int row) {
  RowWidgets& w = rows_[row - 1];
  if (!w.group) return;
  // An exclusive group cannot be cleared; the row may hold no answer.
  w.group->setExclusive(false);
  const int checked = sheet_.CheckedChoice(row);
  for (int c = 1; c <= 5; ++c) w.radios[c - 1]->setChecked(c == checked);
  w.group->setExclusive(true);
}

void TfrmQZMain::SetuClick(int row, int choice) {
  const bool running = clock_ && clock_->IsRunning();
  const std::optional<AnswerRecord> record = sheet_.Record(row, choice, running);
  if (!record) {
    // Not recorded (the exam has not started, or the time is over): the row keeps showing
    // what the answer file holds.
    RestoreRowChecks(row);
    return;
  }
  Log(kLogAnswerClicked);
  if (const WriteResult saved = sheet_.Save(AnswerFilePath(SetupFolderCode)); !saved) {
    // The choice stays in memory and goes to the file with the next click.
    ShowMessageCode(this, nullptr, msg::kAnswerSaveFailed, saved.error);
  }
  RepaintMarks();
}

void TfrmQZMain::RepaintMarks() {
  if (!display_) return;
  const QuestionTree& model = display_->Tree();
  for (int i = 0; i < treeItems_.size() && i < model.Count(); ++i) {
    treeItems_[i]->setForeground(
        0, sheet_.IsAnswered(model.Node(i)) ? QBrush(Qt::black) : QBrush(Qt::red));
  }
}

// ---- Clock and buttons --------------------------------------------------------------------

void TfrmQZMain::OnTick(const ClockTick& tick) {
  timeProgress1_->setText(tick.timeProgress1);
  timeProgress2_->setText(tick.timeProgress2);
  switch (tick.limit) {
    case LimitDecision::ForcedEnd:
      RequestClose(CloseReason::ForcedEnd);
      break;
    case LimitDecision::TimeOverEnd:
      // An open confirmation is left alone; the candidate answers it first.
      if (ConfirmForm) break;
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
  if (notes && clock_) {
    // The proctor may have extended the time or changed the link mode on the notes screen.
    clock_->RereadTotal();
    timeProgress2_->setText(FormatClockMinutes(clock_->TotalMinutes) + QStringLiteral("分"));
    const QColor colour(TitleColourRule(ReadShikenIni().linkMode));
    SetLabelColour(title1_, colour);
    SetLabelColour(title2_, colour);
  }
  if (keepOnTop) SetTopMost(this, true);
  if (IsPractical() && keepOnTop) guard_->Start();
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

// ---- Ending -------------------------------------------------------------------------------

bool TfrmQZMain::TimeOver() const {
  return clock_ && clock_->TimeOver;
}

void TfrmQZMain::RequestClose(CloseReason reason) {
  if (closing_ || inCloseQuery_) return;
  closeReason_ = reason;
  switch (reason) {
    case CloseReason::SetupFailed:
      // The paper cannot be shown: nothing was answered, nothing to confirm.
      CloseNow();
      return;
    case CloseReason::ForcedEnd:
      ForcedEnd();
      return;
    case CloseReason::EndButton:
    case CloseReason::TimeOver:
      break;
  }
  if (FormCloseQuery()) CloseNow();
}

void TfrmQZMain::ConfirmAndClose() {
  AnswersConfirmed = true;
  RequestClose(CloseReason::EndButton);
}

void TfrmQZMain::CloseNow() {
  closing_ = true;
  if (clock_) clock_->Halt();
  cpuMonitor_->CpuCheckTimer.stop();
  guard_->Stop();
  if (ConfirmForm) {
    ConfirmForm->hide();
    ConfirmForm->deleteLater();
  }
  close();
}

bool TfrmQZMain::FormCloseQuery() {
  if (inCloseQuery_) return false;
  inCloseQuery_ = true;
  bool allow = true;
  if (PracticeMode) {
    allow = PracticeEndQuery();
  } else if (!ExamShown) {
    allow = true;
  } else if (ExamCategory == u"1") {
    allow = KnowledgeEndQuery();
  } else {
    allow = PracticalEndQuery();
  }
  inCloseQuery_ = false;
  return allow;
}

bool TfrmQZMain::PracticeEndQuery() {
  Log(QStringLiteral("QZMain：操作練習終了処理"));
  guard_->Stop();
  int result = ModalResult::Cancel;
  {
    TfrmQZQZ0050 confirm(this);
    confirm.SetPartCode(PartCode);
    result = confirm.ShowModal();
  }
  if (IsPractical() && TopMostChecked) guard_->Start();
  if (result == ModalResult::Cancel) {
    if (TopMostChecked) SetTopMost(this, true);
    return false;
  }
  if (!QuestionAreaCollapsed) {
    // The layout of the practice carries over to the real exam of the same part.
    const QRect bounds = geometry();
    (void)WriteLayoutCode(PartCode, CurrentPosition);
    (void)WriteWindowRect(PartCode, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  }
  return true;
}

bool TfrmQZMain::KnowledgeEndQuery() {
  Log(QStringLiteral("QZMain：知識試験終了処理1"));
  const bool timeOver = TimeOver();
  auto* confirm = new TfrmQZQZ0020(this);
  ConfirmForm = confirm;
  confirm->SetPartCode(PartCode);
  confirm->Category = ExamCategory;
  confirm->SubQuestionsOnly = ReadSetupIni(SetupFolderCode).subQuestionsOnly;
  confirm->TimeOver = timeOver;
  confirm->SubQuestionCounts = sheet_.Structure().SubQuestionCounts();
  confirm->Answers = sheet_.Answers();
  const int result = confirm->ShowModal();
  const int jumpIndex = confirm->JumpIndex;

  bool allow = false;
  if (result == ModalResult::Ok) {
    Log(QStringLiteral("QZMain：知識試験終了処理2"));
    if (RecordPartEnd(timeOver)) {
      hide();
      if (clock_) clock_->Halt();
      ShowScoring(PartCode);
    }
    allow = true;
  } else if (result == ModalResult::Yes) {
    Log(QStringLiteral("QZMain：知識試験終了キャンセル＞画面スクロール処理"));
    if (display_) SelectNode(TopLevelNodeAt(display_->Tree(), jumpIndex), true);
  } else if (timeOver) {
    // The proctor has extended the time in the confirmation.
    ReadExtendedTime();
  }

  delete confirm;
  ConfirmForm = nullptr;
  if (timeOver && !allow && clock_) clock_->EndTimeOver();
  return allow;
}

bool TfrmQZMain::PracticalEndQuery() {
  Log(QStringLiteral("QZMain：実技試験終了処理"));
  if (AnswersConfirmed) {
    Log(QStringLiteral("QZMain：実技試験終了"));
    RecordPartEnd(false);
    return true;
  }
  Log(QStringLiteral("QZMain：実技試験解答確認"));
  // The guard stays off until the notes or the explanation has been opened and closed.
  guard_->StopGuard();
  QCoreApplication::processEvents();
  if (ConfirmForm) delete ConfirmForm.data();
  const bool timeOver = TimeOver();
  auto* confirm = new TfrmQZQZ0020(this);
  ConfirmForm = confirm;
  confirm->SetPartCode(PartCode);
  confirm->Category = ExamCategory;
  confirm->KeepOnTop = TopMostChecked;
  confirm->TimeOver = timeOver;
  confirm->ConfirmAndClose = [this] { ConfirmAndClose(); };
  if (!timeOver) {
    // Beside the exam until the candidate confirms (ConfirmAndClose) or says no.
    confirm->setAttribute(Qt::WA_DeleteOnClose);
    confirm->show();
    return false;
  }
  hide();
  const int result = confirm->ShowModal();
  bool allow = false;
  if (result == ModalResult::Ok) {
    Log(QStringLiteral("QZMain：実技試験終了"));
    RecordPartEnd(true);
    allow = true;
  } else {
    ReadExtendedTime();
    show();
  }
  delete confirm;
  ConfirmForm = nullptr;
  if (clock_ && !allow) clock_->EndTimeOver();
  return allow;
}

bool TfrmQZMain::RecordPartEnd(bool timeOver) {
  const bool sample = ReadSystemIni(CurrentDate().year()).sampleExam;
  const QString normalEnd = NormalEndToRecord(timeOver, DebugMode, sample);
  // A failed write is not the candidate's concern: the part ends all the same.
  if (!normalEnd.isEmpty()) (void)WriteNormalEnd(PartCode, normalEnd);
  return sample;
}

void TfrmQZMain::ReadExtendedTime() {
  if (!clock_) return;
  // Time-over never happens in a practice, so the folder the clock runs for is the part's
  // own, where the proctor's extension is stored: re-read all + add and count on from now.
  clock_->Restart();
  timeProgress2_->setText(FormatClockMinutes(clock_->TotalMinutes) + QStringLiteral("分"));
}

void TfrmQZMain::ForcedEnd() {
  ShowMessageCode(this, nullptr, msg::kTimeUpForcedEnd);
  if (PracticeMode) {
    if (FormCloseQuery()) CloseNow();
    return;
  }
  clock_->RecordForcedEnd(DebugMode);
  clock_->Halt();
  hide();
  ShowScoring(SetupFolderCode);
  // The program ends here: no confirmation, no hand-over.
  EndProgramRequested = true;
  CloseNow();
}

void TfrmQZMain::ShowScoring(const QString& partCode) {
  TfrmQZTP0040 scoring(this);
  scoring.SetPartCode(partCode);
  scoring.DevelopmentCode = DevelopmentCode;
  scoring.VenueCode = VenueCode;
  scoring.CandidateNumber = CandidateNumber;
  scoring.ExamDate = ExamDate;
  scoring.ShowModal();
}

void TfrmQZMain::closeEvent(QCloseEvent* event) {
  if (closing_ || !ExamShown) {
    event->accept();
    QDialog::closeEvent(event);
    return;
  }
  // The window system's close is not a way to end the exam.
  event->ignore();
}

// ---- Placement ----------------------------------------------------------------------------

void TfrmQZMain::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  HoldAtWorkArea();
  KeepReachable();
}

void TfrmQZMain::PracticalPlacement() {
  // The header rows of a column are not narrower than this; the layout buttons of a practical
  // header come with the practical window's header.
  constexpr int kColumnHeaderWidth = 356;
  placement_.savedLayout = SavedLayout;
  placement_.restoreLayout = RestoreLayout;
  const ScreenMetrics metrics = CurrentScreenMetrics();
  const QRect bounds =
      InitialLayoutBounds(InitialPosition, metrics, geometry(), kColumnHeaderWidth, placement_);
  RestoreLayout = placement_.restoreLayout;
  SavedLayout = placement_.savedLayout;
  CurrentPosition = placement_.currentPosition;
  setMinimumSize(placement_.minTrackWidth, placement_.minTrackHeight);
  if (bounds.isValid()) setGeometry(bounds);
}

void TfrmQZMain::KeepReachable() {
  if (!IsPractical() || holding_) return;
  const QPoint clamped = ClampMove(pos(), CurrentScreenMetrics());
  if (clamped == pos()) return;
  holding_ = true;
  move(clamped);
  holding_ = false;
}

void TfrmQZMain::HoldAtWorkArea() {
  if (ExamCategory != u"1" || DebugMode || WorkArea.isEmpty() || holding_) return;
  const QRect held = KnowledgeHoldBounds(WorkArea);
  if (geometry() == held) return;
  holding_ = true;
  setGeometry(held);
  holding_ = false;
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
