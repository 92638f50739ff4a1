#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QWebEngineView>
#include <QWindow>

#include "common/ExeFolder.h"
#include "common/RunLog.h"
#include "completion/QZQZ0020.h"
#include "data/ExamData.h"
#include "exam/QZMain.h"
#include "exam/QZMainStyle.h"
#include "exam/model/OnTopGuard.h"
#include "viewers/QZQZ0010.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/SplitterBar.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WindowOrder.h"

// The practical form of the exam window: a strip or column docked beside the office
// application, its layout buttons, the on-top check box and the finished-sample viewer.
namespace examora {

using namespace qzmain;

namespace {

// The header of a column: the layout row on top, the first row (Panel1) below it.
constexpr int kPracticalHeaderHeight = 173;
constexpr int kPracticalFirstRowHeight = 132;
constexpr int kPracticalFirstRowTop = kPracticalHeaderHeight - kPracticalFirstRowHeight;
constexpr int kLayoutButtonWidth = 36;
constexpr int kLayoutButtonHeight = 28;
constexpr int kFirstPrintWidth = 64;
constexpr int kAlignHiddenWidth = 46;
constexpr int kCaptionLabelWidth = 24;
constexpr int kRowButtonWidth = 74;
constexpr int kModeRowHeight = 24;
constexpr int kPagingWidth = 37;

const QString kHideCaption = QStringLiteral("非表示");
const QString kShowCaption = QStringLiteral("表示");
const QString kHideHint = QStringLiteral("問題文を隠して表示");
const QString kShowHint = QStringLiteral("問題文を表示");

RoundButton* PracticalButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new RoundButton(caption, parent);
  button->setObjectName(name);
  button->setFocusPolicy(Qt::NoFocus);
  button->hide();
  return button;
}

int RightEdge(const QWidget* w) {
  return w->geometry().right() + 1;
}

}  // namespace

void TfrmQZMain::BuildPracticalControls() {
  const QFont smallFont = UiFont(FontFace::MsPGothic, 12, true);
  alignTop_ = PracticalButton(panel6_, QStringLiteral("AlignTopBtn"), QStringLiteral("上"));
  alignBottom_ = PracticalButton(panel6_, QStringLiteral("AlignBottomBtn"), QStringLiteral("下"));
  alignLeft_ = PracticalButton(panel6_, QStringLiteral("AlignLeftBtn"), QStringLiteral("左"));
  alignRight_ = PracticalButton(panel6_, QStringLiteral("AlignRightBtn"), QStringLiteral("右"));
  alignHidden_ = PracticalButton(panel6_, QStringLiteral("AlignHiddenBtn"), kHideCaption);
  firstPrint_ =
      PracticalButton(panel6_, QStringLiteral("FirstPrintBtn"), QStringLiteral("初期表示"));
  align1_ = ColouredLabel(panel6_, QStringLiteral("Align1Lbl"), QStringLiteral("画面"), smallFont,
                          Qt::white);
  align2_ = ColouredLabel(panel6_, QStringLiteral("Align2Lbl"), QStringLiteral("位置"), smallFont,
                          Qt::white);
  alignHidden1_ = ColouredLabel(panel6_, QStringLiteral("AlignHidden1Lbl"), QStringLiteral("問題"),
                                smallFont, Qt::white);
  alignHidden2_ = ColouredLabel(panel6_, QStringLiteral("AlignHidden2Lbl"), QStringLiteral("表示"),
                                smallFont, Qt::white);
  tZoomOut_ = PracticalButton(panel1_, QStringLiteral("T_ZoomOutBtn"), QStringLiteral("-"));
  tZoomNone_ = PracticalButton(panel1_, QStringLiteral("T_ZoomNoneBtn"), QStringLiteral("標準"));
  tZoomIn_ = PracticalButton(panel1_, QStringLiteral("T_ZoomInBtn"), QStringLiteral("+"));
  moziLbl_ = ColouredLabel(panel1_, QStringLiteral("MoziLbl"), QStringLiteral("文字サイズ"),
                           smallFont, Qt::white);
  moziLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  topMostChk_ = new QCheckBox(panel1_);
  topMostChk_->setObjectName(QStringLiteral("TopMostChk"));
  topMostChk_->setFocusPolicy(Qt::NoFocus);
  topMostLbl_ = ColouredLabel(panel1_, QStringLiteral("TopMostLbl"),
                              QStringLiteral("常に最前面に表示する"), smallFont, Qt::white);
  for (QWidget* w : {static_cast<QWidget*>(align1_), static_cast<QWidget*>(align2_),
                     static_cast<QWidget*>(alignHidden1_), static_cast<QWidget*>(alignHidden2_),
                     static_cast<QWidget*>(moziLbl_), static_cast<QWidget*>(topMostChk_),
                     static_cast<QWidget*>(topMostLbl_)})
    w->hide();
  alignHidden_->setToolTip(kHideHint);

  connect(alignTop_, &QPushButton::clicked, this, [this] {
    AlignButtonClick(QStringLiteral("1"), QStringLiteral("QZMain：上ボタン押下"));
  });
  connect(alignBottom_, &QPushButton::clicked, this, [this] {
    AlignButtonClick(QStringLiteral("2"), QStringLiteral("QZMain：下ボタン押下"));
  });
  connect(alignLeft_, &QPushButton::clicked, this, [this] {
    AlignButtonClick(QStringLiteral("3"), QStringLiteral("QZMain：左ボタン押下"));
  });
  connect(alignRight_, &QPushButton::clicked, this, [this] {
    AlignButtonClick(QStringLiteral("4"), QStringLiteral("QZMain：右ボタン押下"));
  });
  connect(alignHidden_, &QPushButton::clicked, this, &TfrmQZMain::AlignHiddenBtnClick);
  connect(firstPrint_, &QPushButton::clicked, this, &TfrmQZMain::FirstPrintBtnClick);
  connect(tZoomIn_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomIn());
  });
  connect(tZoomOut_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomOut());
  });
  connect(tZoomNone_, &QPushButton::clicked, this, [this] {
    if (display_) Zoom(display_->ZoomStandard());
  });
  connect(topMostChk_, &QCheckBox::toggled, this, &TfrmQZMain::TopMostChkClick);
  connect(mihonBtn_, &QPushButton::clicked, this, &TfrmQZMain::MihonBtnClick);

  // The practical window is moved by its title.
  for (QWidget* w : {static_cast<QWidget*>(titleImage_), static_cast<QWidget*>(title1_),
                     static_cast<QWidget*>(title2_), static_cast<QWidget*>(timeProgress1_),
                     static_cast<QWidget*>(timeProgress2_), panel1_, panel4_})
    w->installEventFilter(this);
}

void TfrmQZMain::PracticalLayout() {
  practicalLayout_ = true;
  const ScreenMetrics m = CurrentScreenMetrics();
  // The band covers the header in both arrangements, the tall strip included.
  titleImage_->setGeometry(0, 0, m.cxScreen + 10, qMax(m.cyScreen, kPracticalHeaderHeight));
  PaintBand(titleImage_, ExePath(QStringLiteral("system\\Image\\main_top_z.jpg")));
  for (QWidget* w : {questionPanel_, panel5_, static_cast<QWidget*>(splitter1_),
                     static_cast<QWidget*>(questionBtn_), static_cast<QWidget*>(mozi1_),
                     static_cast<QWidget*>(mozi2_), static_cast<QWidget*>(jokyoLbl_),
                     static_cast<QWidget*>(toiLbl_), static_cast<QWidget*>(kaitoLbl_),
                     static_cast<QWidget*>(zoomOut_), static_cast<QWidget*>(zoomNone_),
                     static_cast<QWidget*>(zoomIn_)})
    w->hide();
  for (QWidget* w : {static_cast<QWidget*>(alignLeft_), static_cast<QWidget*>(alignRight_),
                     static_cast<QWidget*>(alignHidden_), static_cast<QWidget*>(firstPrint_),
                     static_cast<QWidget*>(align1_), static_cast<QWidget*>(align2_),
                     static_cast<QWidget*>(alignHidden1_), static_cast<QWidget*>(alignHidden2_),
                     static_cast<QWidget*>(tZoomOut_), static_cast<QWidget*>(tZoomNone_),
                     static_cast<QWidget*>(tZoomIn_), static_cast<QWidget*>(moziLbl_)})
    w->show();
  alignTop_->setVisible(upDownButtons_);
  alignBottom_->setVisible(upDownButtons_);
  mihonBtn_->setVisible(!mihonBtn_->text().isEmpty());
  SetAlignHiddenCaption(false);
  PracticalPlacement();

  const QString workFolder = ExePath(QStringLiteral("実技用"));
  if (!PracticeMode && QFileInfo(workFolder).isDir() && OpenWorkFolder) OpenWorkFolder(workFolder);
}

void TfrmQZMain::ArrangePracticalHeader(int w) {
  // Layout row (in the header panel).
  align1_->setGeometry(6, 10, kCaptionLabelWidth, 14);
  align2_->setGeometry(6, 24, kCaptionLabelWidth, 14);
  int x = 6 + kCaptionLabelWidth + 8;
  int layoutRight = x;
  for (RoundButton* b : {alignTop_, alignBottom_, alignLeft_, alignRight_}) {
    if (b->isHidden()) continue;
    b->setGeometry(x, 8, kLayoutButtonWidth, kLayoutButtonHeight);
    layoutRight = x + kLayoutButtonWidth;
    x = layoutRight + 2;
  }
  firstPrint_->setGeometry(layoutRight + 12, 8, kFirstPrintWidth, kLayoutButtonHeight);
  const int hiddenLeft = w - 30 - kAlignHiddenWidth;
  alignHidden_->setGeometry(hiddenLeft, 8, kAlignHiddenWidth, kLayoutButtonHeight);
  alignHidden1_->setGeometry(hiddenLeft - 6 - kCaptionLabelWidth, 10, kCaptionLabelWidth, 14);
  alignHidden2_->setGeometry(hiddenLeft - 6 - kCaptionLabelWidth, 24, kCaptionLabelWidth, 14);

  // First row (in Panel1, below the layout row).
  timeProgress2_->setGeometry(w - 20 - 56, 22, 56, 22);
  timeProgress1_->setGeometry(w - 20 - 56 - 58, 22, 58, 22);
  title1_->setGeometry(20, 3, qMax(0, w - 20 - 140), 17);
  title2_->setGeometry(20, 20, qMax(0, w - 20 - 140), 17);
  x = 10;
  for (RoundButton* b : {opeExplana_, tyuiBtn_, mihonBtn_}) {
    if (b->isHidden()) continue;
    b->setGeometry(x, 43, kRowButtonWidth, kButtonHeight);
    x += kRowButtonWidth + 5;
  }
  endBtn_->setGeometry(w - 26 - kRowButtonWidth, 43, kRowButtonWidth, kButtonHeight);
  x = 10;
  RoundButton* current = nullptr;
  const int mode = display_ ? display_->DisplayMode() : kModeWholePaper;
  for (const auto& [button, buttonMode] :
       {std::pair{printAll_, kModeWholePaper}, std::pair{printToi_, kModeByQuestion},
        std::pair{printSetu_, kModeBySubQuestion}}) {
    if (button->isHidden()) continue;
    button->setGeometry(x, 74, kRowButtonWidth, kModeRowHeight);
    if (buttonMode == mode) current = button;
    x += kRowButtonWidth + 5;
  }
  if (current) {
    // The paging buttons belong to the pressed mode and sit right under it.
    const QPoint below = current->geometry().bottomLeft() + QPoint(0, 1 + kPracticalFirstRowTop);
    backBtn_->setGeometry(below.x(), below.y() + 1, kPagingWidth, 22);
    nextBtn_->setGeometry(below.x() + kPagingWidth, below.y() + 1, kPagingWidth, 22);
  }
  topMostChk_->setGeometry(w - 20 - 16, 75, 16, 16);
  topMostLbl_->setGeometry(w - 20 - 16 - 4 - 130, 79, 130, 14);
  int zoomRight = w - 24;
  tZoomIn_->setGeometry(zoomRight - 30, 95, 30, 24);
  zoomRight -= 30 + 6;
  tZoomNone_->setGeometry(zoomRight - 44, 95, 44, 24);
  zoomRight -= 44 + 7;
  tZoomOut_->setGeometry(zoomRight - 30, 95, 30, 24);
  moziLbl_->setGeometry(w - 30 - 80, endBtn_->geometry().bottom() + 1 + 7, 80, 14);
}

int TfrmQZMain::MeasuredColumnWidth() const {
  int modeRow = 0;
  for (const RoundButton* b : {printAll_, printToi_, printSetu_})
    if (!b->isHidden()) modeRow = RightEdge(b);
  int buttonRow = 0;
  for (const RoundButton* b : {opeExplana_, tyuiBtn_, mihonBtn_})
    if (!b->isHidden()) buttonRow = RightEdge(b);
  int layoutRow = 0;
  for (const RoundButton* b : {alignTop_, alignBottom_, alignLeft_, alignRight_})
    if (!b->isHidden()) layoutRow = RightEdge(b);
  return ColumnMinTrackWidth(modeRow, buttonRow, endBtn_->width(), layoutRow, firstPrint_->width(),
                             alignHidden_->width(), alignHidden1_->width());
}

void TfrmQZMain::PracticalRelayout() {
  const int w = width();
  const int h = height();
  const bool column = placement_.headerAtTop;
  const int headerWidth = column ? w : qMin(w, placement_.headerWidth);
  const int headerHeight = column ? kPracticalHeaderHeight : h;
  panel6_->setGeometry(0, 0, headerWidth, headerHeight);
  panel4_->setGeometry(0, 0, headerWidth, kPracticalFirstRowTop);
  panel1_->setGeometry(0, kPracticalFirstRowTop, headerWidth, kPracticalFirstRowHeight);
  ArrangePracticalHeader(headerWidth);

  if (column)
    panel3_->setGeometry(0, headerHeight, w, qMax(0, h - headerHeight));
  else
    panel3_->setGeometry(headerWidth, 0, qMax(0, w - headerWidth), h);
  browser_->setGeometry(0, 0, panel3_->width(), panel3_->height());
  const auto centred = [](int outer, int inner) {
    return outer > inner ? (outer - inner + 1) / 2 : outer - inner;
  };
  rensyuPnl_->move(centred(panel3_->width(), rensyuPnl_->width()),
                   centred(panel3_->height(), rensyuPnl_->height()));
  rensyuPnl_->raise();
  overlay_->FitToTarget();
}

void TfrmQZMain::ApplyPosition(const QString& code) {
  ArrangePracticalHeader(panel6_->width());
  CommitPlacement(ApplyPositionBounds(code, CurrentScreenMetrics(), geometry(),
                                      MeasuredColumnWidth(), placement_));
  if (code == u"3" || code == u"4") SetAlignHiddenCaption(false);
}

void TfrmQZMain::CommitPlacement(const QRect& bounds) {
  CurrentPosition = placement_.currentPosition;
  QuestionAreaCollapsed = placement_.collapsed;
  setMinimumSize(placement_.minTrackWidth, placement_.minTrackHeight);
  if (bounds.isValid()) setGeometry(bounds);
  Relayout();
}

void TfrmQZMain::SetAlignHiddenCaption(bool collapsed) {
  placement_.collapsed = collapsed;
  QuestionAreaCollapsed = collapsed;
  alignHidden_->setText(collapsed ? kShowCaption : kHideCaption);
  alignHidden_->setToolTip(collapsed ? kShowHint : kHideHint);
}

void TfrmQZMain::AlignButtonClick(const QString& code, const QString& logLine) {
  Log(logLine);
  ApplyPosition(code);
  SetAlignHiddenCaption(false);
}

void TfrmQZMain::AlignHiddenBtnClick() {
  Log(QStringLiteral("QZMain：表示・非表示ボタン押下"));
  if (alignHidden_->text() == kShowCaption) {
    ApplyPosition(QStringLiteral("7"));
    SetAlignHiddenCaption(false);
    return;
  }
  // The layout before the collapse is the one a practice carries over and a restart finds.
  const QRect bounds = geometry();
  (void)WriteLayoutCode(PartCode, CurrentPosition);
  (void)WriteWindowRect(PartCode, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  ApplyPosition(QStringLiteral("6"));
  SetAlignHiddenCaption(true);
}

void TfrmQZMain::FirstPrintBtnClick() {
  Log(QStringLiteral("QZMain：初期表示ボタン押下"));
  ArrangePracticalHeader(panel6_->width());
  CommitPlacement(FirstPrintBounds(InitialPosition, CurrentScreenMetrics(), geometry(),
                                   MeasuredColumnWidth(), placement_));
  // The start layout shows the question area, whatever was collapsed since.
  SetAlignHiddenCaption(false);
}

void TfrmQZMain::TopMostChkClick(bool checked) {
  TopMostChecked = checked;
  guard_->StopGuard();
  // A guard tick already queued must not undo the change; at set-up none runs yet.
  if (!FirstActivation) QCoreApplication::processEvents();
  for (QWidget* w : {static_cast<QWidget*>(SampleViewer.data()),
                     static_cast<QWidget*>(ConfirmForm.data()), static_cast<QWidget*>(this)})
    if (w) SetTopMost(w, checked);
  if (checked && IsPractical() && !FirstActivation) guard_->StartGuard();
}

void TfrmQZMain::MihonBtnClick() {
  QCoreApplication::processEvents();
  if (SampleViewer) {
    Log(QStringLiteral("QZMain：仕上り見本ボタン押下＞閉じる"));
    if (SampleViewer->isMinimized())
      SampleViewer->showNormal();
    else
      SampleViewer->close();
    return;
  }
  Log(QStringLiteral("QZMain：仕上り見本ボタン押下＞開く"));
  if (ViewerBounds.isNull()) {
    const ScreenMetrics m = CurrentScreenMetrics();
    ViewerBounds = DefaultViewerBounds(m.cxScreen, m.cyScreen);
  }
  auto* viewer = new TfrmQZQZ0010();
  viewer->SetupFolderCode = SetupFolderCode;
  viewer->InitialBounds = ViewerBounds;
  viewer->StartPage = ViewerPage;
  viewer->BaseCaption = mihonBtn_->text();
  viewer->KeepOnTop = TopMostChecked;
  const QPointer<TfrmQZMain> self(this);
  viewer->HandBack = [self](const QRect& bounds, int page) {
    if (!self) return;
    self->ViewerBounds = bounds;
    self->ViewerPage = page;
  };
  viewer->OwnerTopMost = [self](bool on) {
    if (self) SetTopMost(self, on);
  };
  SampleViewer = viewer;
  // Above this window, which its on-top guard keeps raising, and not opened under it.
  StackAbove(viewer, this);
  viewer->show();
}

bool TfrmQZMain::eventFilter(QObject* watched, QEvent* event) {
  if (practicalLayout_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && windowHandle()) {
    windowHandle()->startSystemMove();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace examora
