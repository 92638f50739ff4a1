#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

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
#include "data/PartCode.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/Placement.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/model/FrameRules.h"
#include "platform/SystemMenu.h"
#include "viewers/WBContainer.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/SplitterBar.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WheelLines.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {

using namespace qzmain;

namespace {

// The header's buttons take no focus: the keyboard stays with the page and the answer sheet.
RoundButton* HeaderButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new RoundButton(caption, parent);
  button->setObjectName(name);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

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

}  // namespace

void TfrmQZMain::BuildControls() {
  BuildHeader();
  BuildBody();
  BuildPracticeNotice();
  BuildPracticalControls();
  ConnectControls();
}

void TfrmQZMain::BuildHeader() {
  const QFont titleFont = UiFont(FontFace::MsPGothic, 13, true);
  const QFont clockFont = UiFontPt(FontFace::MsPGothic, 15, true);

  panel6_ = new QWidget(this);
  panel6_->setObjectName(QStringLiteral("Panel6"));
  FillBackground(panel6_, QColor(0x00, 0x49, 0x88));
  titleImage_ = new QLabel(panel6_);
  titleImage_->setObjectName(QStringLiteral("TImg"));
  panel1_ = new QWidget(panel6_);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel4_ = new QWidget(panel6_);
  panel4_->setObjectName(QStringLiteral("Panel4"));

  title1_ = ColouredLabel(panel1_, QStringLiteral("ShikenTitle1Lbl"), {}, titleFont, Qt::white);
  title2_ = ColouredLabel(panel1_, QStringLiteral("ShikenTitle2Lbl"), {}, titleFont, Qt::white);
  timeProgress1_ =
      ColouredLabel(panel1_, QStringLiteral("TimeProgress1"), {}, clockFont, Qt::white);
  timeProgress1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  timeProgress2_ =
      ColouredLabel(panel1_, QStringLiteral("TimeProgress2"), {}, clockFont, Qt::white);

  printAll_ = HeaderButton(panel1_, QStringLiteral("PrintAllBtn"), QStringLiteral("全問"));
  printToi_ = HeaderButton(panel1_, QStringLiteral("PrintToiBtn"), QStringLiteral("問題別"));
  printSetu_ = HeaderButton(panel1_, QStringLiteral("PrintSetuBtn"), QStringLiteral("設問別"));
  endBtn_ = HeaderButton(panel1_, QStringLiteral("EndBtn"), QStringLiteral("試験終了"));
  endBtn_->SetColours(kHighlightTop, kHighlightBottom);
  opeExplana_ = HeaderButton(panel1_, QStringLiteral("OpeExplanaBtn"), QStringLiteral("操作説明"));
  questionBtn_ = HeaderButton(panel1_, QStringLiteral("QuestionBtn"), QStringLiteral("解答状況"));
  tyuiBtn_ = HeaderButton(panel1_, QStringLiteral("TyuiBtn"), QStringLiteral("注意事項"));
  // The finished sample belongs to the practical parts (shown with their layout).
  mihonBtn_ = HeaderButton(panel1_, QStringLiteral("MihonBtn"), QStringLiteral("見本"));
  mihonBtn_->hide();

  BuildSecondRow();
}

void TfrmQZMain::BuildSecondRow() {
  const QFont smallFont = UiFont(FontFace::MsPGothic, 12, true);
  zoomOut_ = HeaderButton(panel6_, QStringLiteral("B_ZoomOutBtn"), QStringLiteral("-"));
  zoomNone_ = HeaderButton(panel6_, QStringLiteral("B_ZoomNoneBtn"), QStringLiteral("標準"));
  zoomIn_ = HeaderButton(panel6_, QStringLiteral("B_ZoomInBtn"), QStringLiteral("+"));
  backBtn_ = HeaderButton(panel6_, QStringLiteral("BackBtn"), QStringLiteral("<"));
  nextBtn_ = HeaderButton(panel6_, QStringLiteral("NextBtn"), QStringLiteral(">"));
  mozi1_ = ColouredLabel(panel6_, QStringLiteral("Mozi1Lbl"), QStringLiteral("文字"), smallFont,
                         Qt::white);
  mozi2_ = ColouredLabel(panel6_, QStringLiteral("Mozi2Lbl"), QStringLiteral("サイズ"), smallFont,
                         Qt::white);
  jokyoLbl_ = ColouredLabel(panel6_, QStringLiteral("JokyoLbl"), QStringLiteral("解答状況"),
                            smallFont, Qt::white);
  toiLbl_ = ColouredLabel(panel6_, QStringLiteral("ToiLbl"), QStringLiteral("問題文"), smallFont,
                          Qt::white);
  kaitoLbl_ = ColouredLabel(panel6_, QStringLiteral("KaitoLbl"), QStringLiteral("解答欄"),
                            smallFont, Qt::white);
}

void TfrmQZMain::BuildBody() {
  questionPanel_ = new QWidget(this);
  questionPanel_->setObjectName(QStringLiteral("QuestionPanel"));
  tree_ = new QTreeWidget(questionPanel_);
  tree_->setObjectName(QStringLiteral("QuestionTree"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setUniformRowHeights(true);
  tree_->setStyleSheet(QStringLiteral("QTreeView::item { height: 20px; }"));
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  ScrollOneLinePerWheel(tree_);

  panel3_ = new QWidget(this);
  panel3_->setObjectName(QStringLiteral("Panel3"));
  browser_ = new QWebEngineView(panel3_);
  browser_->setObjectName(QStringLiteral("QuestionBrowser"));
  host_ = new TWBContainer(browser_);
  host_->SetBorderShown3D(false);
  overlay_ = new TransparentOverlay(browser_, panel3_);
  overlay_->setObjectName(QStringLiteral("NkTransparent"));
  splitter1_ = new SplitterBar(panel3_);
  splitter1_->setObjectName(QStringLiteral("Splitter1"));

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
  ScrollOneLinePerWheel(sheetScroll_);
  for (int r = 0; r < kMaxSheetRows; ++r) rows_.append(RowWidgets{});
}

void TfrmQZMain::BuildPracticeNotice() {
  rensyuPnl_ = new QWidget(panel3_);
  rensyuPnl_->setObjectName(QStringLiteral("RensyuPnl"));
  FillBackground(rensyuPnl_, Qt::yellow);
  {
    QFont heading = UiFont(FontFace::MsPGothic, 29, true);
    heading.setUnderline(true);
    QLabel* title = ColouredLabel(rensyuPnl_, QStringLiteral("RensyuTitleLbl"),
                                  QStringLiteral("操作練習"), heading, Qt::black);
    title->setGeometry(10, 6, 250, 36);
    QLabel* text =
        ColouredLabel(rensyuPnl_, QStringLiteral("RensyuLbl"), kPracticeNotice.join(u'\n'),
                      UiFont(FontFace::MsGothic, 15), Qt::black);
    text->setGeometry(8, 48, 272, 13 * 18 + 4);
  }
  rensyuPnl_->resize(284, 48 + 13 * 18 + 12);
  rensyuPnl_->hide();
}

void TfrmQZMain::ConnectControls() {
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
    FitOverlay();
    FillFolderElement(browser_, InstallationFolderName());
    emit pageReady();
  });
  connect(splitter1_, &SplitterBar::dragged, this, &TfrmQZMain::MoveSplitter);
  connect(splitter1_, &SplitterBar::moved, this, &TfrmQZMain::FitOverlay);
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

void TfrmQZMain::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Relayout();
  HoldAtWorkArea();
  // A narrower or wider page may gain or lose its scroll bars.
  if (SetupDone) FitOverlay();
}

void TfrmQZMain::Relayout() {
  if (practicalLayout_) {
    PracticalRelayout();
    return;
  }
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
  const int sheetWidth = movedSheetWidth_ > 0 ? movedSheetWidth_ : SheetWidth();
  const bool sheetShown = !panel5_->isHidden();
  const int splitterWidth = sheetShown ? SplitterBar::kWidth : 0;
  const int pageWidth = qMax(0, panel3_->width() - (sheetShown ? sheetWidth : 0) - splitterWidth);
  browser_->setGeometry(0, 0, pageWidth, bodyHeight);
  splitter1_->setGeometry(pageWidth, 0, SplitterBar::kWidth, bodyHeight);
  splitter1_->setVisible(sheetShown);
  panel5_->setGeometry(pageWidth + splitterWidth, 0, sheetWidth, bodyHeight);
  const int captionHeight = kaitoLabelPnl_ ? kSheetRowHeight : 0;
  if (kaitoLabelPnl_) kaitoLabelPnl_->setGeometry(0, 0, sheetWidth, captionHeight);
  sheetScroll_->setGeometry(0, captionHeight, sheetWidth, qMax(0, bodyHeight - captionHeight));
  // The practice notice sits in the middle of the page (against its right or bottom edge when
  // the page is smaller than the notice).
  const auto centred = [](int outer, int inner) {
    return outer > inner ? (outer - inner + 1) / 2 : outer - inner;
  };
  rensyuPnl_->move(centred(pageWidth, rensyuPnl_->width()),
                   centred(bodyHeight, rensyuPnl_->height()));
  rensyuPnl_->raise();
  overlay_->FitToTarget();

  const int labelTop = kFirstRowHeight + 40;
  jokyoLbl_->setGeometry(16, labelTop, 80, 16);
  toiLbl_->setGeometry(145, labelTop, 80, 16);
  kaitoLbl_->setGeometry(treeWidth + pageWidth + splitterWidth + 15, labelTop, 80, 16);
}

void TfrmQZMain::MoveSplitter(int left) {
  // Either side keeps a strip the candidate can still take hold of.
  constexpr int kMinPane = 30;
  const int room = panel3_->width() - SplitterBar::kWidth;
  if (room < 2 * kMinPane) return;
  movedSheetWidth_ = qBound(kMinPane, room - left, room - kMinPane);
  Relayout();
}

int TfrmQZMain::SheetWidth() const {
  // The bar is always shown; its width is the style's, at this window's scale.
  const QScrollBar* bar = sheetScroll_->verticalScrollBar();
  return kSheetRowWidth + bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
}

void TfrmQZMain::FitOverlay() {
  const QPointer<TfrmQZMain> self(this);
  browser_->page()->runJavaScript(
      QStringLiteral("[window.innerWidth - document.documentElement.clientWidth,"
                     " window.innerHeight - document.documentElement.clientHeight]"),
      QWebEngineScript::ApplicationWorld, [self](const QVariant& bars) {
        // A page that goes away answers its pending scripts with nothing, from inside the
        // window's destructor: look at the answer before touching the window.
        const QVariantList widths = bars.toList();
        if (widths.size() != 2 || !self) return;
        const double scale = self->browser_->page()->zoomFactor();
        self->overlay_->SetUncoveredEdges(qRound(widths[0].toDouble() * scale),
                                          qRound(widths[1].toDouble() * scale));
      });
}

}  // namespace examora
