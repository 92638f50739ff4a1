// QZMain2: the small strip of a practical part that shows no questions: title, elapsed time,
// 注意事項, 最小化 and 試験終了, kept above the applications the candidate works in.
#include "exam/QZMain2.h"

#include <qdrawutil.h>
#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "common/ExeFolder.h"
#include "common/ImageSize.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/QZMain2Rules.h"
#include "exam/model/QZMainRules.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/QZTP0070.h"
#include "flow/QZTP0090.h"
#include "flow/QZTP0130.h"
#include "flow/QZTP0150.h"
#include "flow/ScreenFrame.h"
#include "flow/model/FrameRules.h"
#include "platform/Shell.h"
#include "platform/TopLevelWindows.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {
namespace {

// Panel2 carries a lowered outer and a raised inner bevel around the dark panel.
class CompactBevelPanel : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
  }
};

constexpr int kCompactBevel = 2;
constexpr int kCompactButtonWidth = 62;
constexpr int kCompactButtonHeight = 22;
constexpr int kCompactButtonGap = 4;
constexpr int kCompactMargin = 4;
// What the bevel, the margins and the three buttons' column take of the strip's width; the
// title lines have the rest.
constexpr int kCompactTitleReserve =
    2 * kCompactBevel + 2 * kCompactMargin + 3 * (kCompactButtonWidth + kCompactButtonGap);

int TextWidth(const QLabel* label) {
  return label->fontMetrics().horizontalAdvance(label->text());
}

RoundButton* CompactButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new RoundButton(caption, parent);
  button->setObjectName(name);
  button->setFont(UiFont(FontFace::MsPGothic, 12, true));
  // The candidate's keyboard belongs to the application being worked in.
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

TfrmQZMain2::TfrmQZMain2(QWidget* owner, const ClockSource* clockSource)
    : QDialog(owner, Qt::Window | Qt::FramelessWindowHint), clockSource_(clockSource) {
  setObjectName(QStringLiteral("frmQZMain2"));
  setWindowTitle(CompactApplicationTitle(false, {}));
  resize(kCompactWidth, kCompactHeight);
  setMinimumSize(kCompactWidth, kCompactHeight);
  cpuMonitor_ = new CpuMonitor(this);

  OnTopGuardHooks hooks;
  // A dialog of ours that is up (the cover, a message) is not buried under the strip; the
  // strip's own modal run is no such dialog.
  hooks.windowEnabled = [this] {
    const QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == this;
  };
  hooks.raiseTopMost = [this] {
    QCoreApplication::processEvents();
    // Every tick, also when the window is top-most already: another program's top-most
    // window may have come up over it.
    RaiseAboveTopMost(this);
    // The confirmation beside the strip stays above it.
    if (ConfirmForm && ConfirmForm->isVisible()) RaiseAboveTopMost(ConfirmForm);
    QCoreApplication::processEvents();
  };
  guard_ = new OnTopGuard(std::move(hooks), this);
  BuildControls();
}

TfrmQZMain2::~TfrmQZMain2() {
  if (Guide) Guide->PracticeWindowChanged(nullptr);
}

void TfrmQZMain2::SetPart(const QString& partCode, bool debugMode) {
  PartCode = partCode;
  DebugMode = debugMode;
  ExamCategory = ReadSetupIni(PartCode).examCategory;
}

void TfrmQZMain2::Log(const QString& event) const {
  WriteLog(QStringLiteral("QZMain2：") + event, PartCode);
}

void TfrmQZMain2::BuildControls() {
  panel2_ = new CompactBevelPanel(this);
  panel2_->setObjectName(QStringLiteral("Panel2"));
  FillBackground(panel2_, QColor(252, 246, 244));
  panel1_ = new QWidget(panel2_);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  FillBackground(panel1_, QColor(29, 38, 133));
  titleImage_ = new QLabel(panel1_);
  titleImage_->setObjectName(QStringLiteral("TImg"));

  const QFont titleFont = UiFont(FontFace::MsPGothic, 13, true);
  title1_ = ColouredLabel(panel1_, QStringLiteral("ShikenTitle1Lbl"), {}, titleFont, Qt::white);
  title2_ = ColouredLabel(panel1_, QStringLiteral("ShikenTitle2Lbl"), {}, titleFont, Qt::white);
  hosoku_ = ColouredLabel(panel1_, QStringLiteral("HosokuLbl"), {}, titleFont, Qt::white);
  title1_->move(4, 3);
  title2_->move(4, 18);
  hosoku_->move(4, 33);
  timeLbl_ = ColouredLabel(panel1_, QStringLiteral("TimeLbl"), QStringLiteral("経過時間"),
                           UiFont(FontFace::MsPGothic, 19, true), Qt::white);
  timeLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  timeProgress1_ = ColouredLabel(panel1_, QStringLiteral("TimeProgress1"), QStringLiteral("0 分"),
                                 UiFont(FontFace::MsPGothic, 20, true), Qt::white);
  timeProgress1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  tyuiBtn_ = CompactButton(panel1_, QStringLiteral("TyuiBtn"), QStringLiteral("注意事項"));
  tyuiBtn_->hide();
  saisyoBtn_ = CompactButton(panel1_, QStringLiteral("SaisyoBtn"), QStringLiteral("最小化"));
  endBtn_ = CompactButton(panel1_, QStringLiteral("EndBtn"), QStringLiteral("試験終了"));
  endBtn_->SetColours(qzmain::kHighlightTop, qzmain::kHighlightBottom);
  connect(tyuiBtn_, &RoundButton::clicked, this, &TfrmQZMain2::TyuiBtnClick);
  connect(saisyoBtn_, &RoundButton::clicked, this, &TfrmQZMain2::SaisyoBtnClick);
  connect(endBtn_, &RoundButton::clicked, this, &TfrmQZMain2::EndBtnClick);

  // The strip is dragged by its panels, its picture and its labels (the labels let the mouse
  // through to the panel below).
  for (QWidget* handle :
       {static_cast<QWidget*>(panel2_), panel1_, static_cast<QWidget*>(titleImage_)})
    handle->installEventFilter(this);
  LayOut();
}

void TfrmQZMain2::LayOut() {
  panel2_->setGeometry(rect());
  const QRect inner = rect().adjusted(kCompactBevel, kCompactBevel, -kCompactBevel, -kCompactBevel);
  panel1_->setGeometry(inner);
  const int w = inner.width();
  const int h = inner.height();
  // A web-style part's strip is higher; its clock and buttons keep to the bottom edge.
  const bool bottomAnchored = ExamType == u"3";
  const int buttonTop =
      bottomAnchored ? h - kCompactMargin - kCompactButtonHeight : 31 - kCompactBevel;
  int right = w - kCompactMargin;
  for (RoundButton* button : {endBtn_, saisyoBtn_, tyuiBtn_}) {
    button->setGeometry(right - kCompactButtonWidth, buttonTop, kCompactButtonWidth,
                        kCompactButtonHeight);
    right -= kCompactButtonWidth + kCompactButtonGap;
  }
  const int clockTop = buttonTop - 27;
  timeProgress1_->setGeometry(w - kCompactMargin - 72, clockTop, 72, 26);
  timeLbl_->setGeometry(w - kCompactMargin - 72 - 86, clockTop, 84, 26);
  const int titleWidth = width() - kCompactTitleReserve;
  for (QLabel* label : {title1_, title2_, hosoku_}) {
    label->resize(titleWidth, 15);
    // A line longer than even the widest strip can still be read whole under the mouse.
    label->setToolTip(TextWidth(label) > titleWidth ? label->text() : QString());
  }
}

void TfrmQZMain2::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TfrmQZMain2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  FormShow();
}

void TfrmQZMain2::FormShow() {
  Log(QStringLiteral("問題表示無し版開始"));
  if (QWidget* background = ApplicationMainWindow(); background && background != this)
    background->hide();
  SetupFolderCode = examora::SetupFolderCode(PartCode, PracticeMode);

  const SystemIni system = ReadSystemIni(CurrentDate().year());
  const SetupIni content = ReadSetupIni(SetupFolderCode);
  ExamType = ReadSetupIni(PartCode).examType;
  const CompactWindowTitles titles =
      CompactTitles(system, content.partName, content.supplement, ExamType, PracticeMode);
  title1_->setText(titles.title1);
  title2_->setText(titles.title2);
  hosoku_->setText(titles.supplement);
  endBtn_->setText(titles.endCaption);
  ExamShown = true;

  RecordExamStart();

  clock_ = std::make_unique<ExamClock>(ClockVariant::Compact, PartCode, PracticeMode, clockSource_);
  connect(clock_.get(), &ExamClock::Ticked, this, &TfrmQZMain2::OnTick);
  clock_->SetUp();
  timeProgress1_->setText(clock_->InitialTimeProgress1());

  if (!DebugMode) {
    KeepOnTop = true;
    SetTopMost(true);
  }

  const QString picture = ExePath(QStringLiteral("system\\Image\\main_top_mondai_none.jpg"));
  const ImageSizeResult size = GetImageSize(picture);
  const QScreen* screen = QGuiApplication::primaryScreen();
  titleImage_->setGeometry(0, 0, (screen ? screen->geometry().width() : width()) + 10,
                           size.ok ? size.height : 0);
  titleImage_->lower();
  PaintBand(titleImage_, picture, QColor(Qt::transparent));

  const ScreenMetrics metrics = CurrentScreenMetrics();
  const QRect bounds = CompactInitialBounds(ExamType, RestoreLayout, SavedLayout, metrics);
  const int textWidth = std::max({TextWidth(title1_), TextWidth(title2_), TextWidth(hosoku_)});
  if (bounds.isValid())
    setGeometry(WidenCompactForTitles(bounds, textWidth, kCompactTitleReserve, metrics.cxScreen));
  LayOut();

  tyuiBtn_->setVisible(content.showNotes);
  if (!PracticeMode) OpenStartScreens();

  const QColor colour(TitleColourRule(ReadShikenIni().linkMode));
  for (QLabel* label : {title1_, title2_, hosoku_}) SetLabelColour(label, colour);
  if (PracticeMode && Guide) Guide->PracticeWindowChanged(this);
}

// A real exam marks the part as started and stamps the date and time of its first start; a
// practice leaves the part untouched.
void TfrmQZMain2::RecordExamStart() {
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

void TfrmQZMain2::OpenStartScreens() {
  const QString workFolder = ExePath(WorkFolderName(WorkFolder::Practical));
  // A missing work folder is simply not opened; a file manager that fails to open is the
  // proctor's matter, not a reason to hold the exam.
  if (QFileInfo(workFolder).isDir()) {
    if (const QString failed = OpenFolderForCandidate(workFolder); !failed.isEmpty()) Log(failed);
  }
  if (ExamType == u"3") {
    // The candidate opens start.html in the browser; the guide says how.
    auto* guide = new TfrmQZTP0130(this);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->SetPartCode(PartCode);
    guide->PracticeMode = false;
    guide->FirstShow = false;
    StartNotice = guide;
    guide->show();
    RaiseAfterOwner(guide);
    return;
  }
  auto* notice = new TfrmQZTP0070(this);
  notice->setAttribute(Qt::WA_DeleteOnClose);
  notice->setWindowModality(Qt::NonModal);
  StartNotice = notice;
  ShowAfterOwner(notice);
}

bool TfrmQZMain2::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TfrmQZMain2::FormActivate() {
  if (!FirstActivation || !ExamShown || closing_) return;
  FirstActivation = false;
  Log(QStringLiteral("操作開始"));
  clock_->Start();
  // Web-style parts share the screen with a browser and an editor: they are not pushed up.
  if (ExamCategory == u"2" && ExamType != u"3") guard_->StartGuard();
  cpuMonitor_->StartCpuMonitor(PartCode);
}

void TfrmQZMain2::OnTick(const ClockTick& tick) {
  timeProgress1_->setText(tick.timeProgress1);
  // Minimised, the task bar keeps showing the time.
  const QString title = CompactApplicationTitle(isMinimized(), tick.timeProgress1);
  if (windowTitle() != title) setWindowTitle(title);
}

void TfrmQZMain2::SetTopMost(bool on) {
  if (ConfirmForm) examora::SetTopMost(ConfirmForm, on);
  examora::SetTopMost(this, on);
  if (on && ConfirmForm && ConfirmForm->isVisible()) ConfirmForm->raise();
}

void TfrmQZMain2::EndBtnClick() {
  Log(QStringLiteral("試験終了ボタン押下"));
  close();
}

void TfrmQZMain2::SaisyoBtnClick() {
  Log(QStringLiteral("最小化ボタン押下"));
  // The whole program goes to the task bar, the open confirmation and the start notice with
  // the strip, and comes back with it.
  minimisedWithStrip_.clear();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == this || !window->isVisible()) continue;
    minimisedWithStrip_ << window;
    window->showMinimized();
  }
  showMinimized();
}

void TfrmQZMain2::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || isMinimized()) return;
  const QList<QPointer<QWidget>> windows = std::exchange(minimisedWithStrip_, {});
  for (const QPointer<QWidget>& window : windows)
    if (window && window->isMinimized()) window->showNormal();
}

void TfrmQZMain2::TyuiBtnClick() {
  Log(QStringLiteral("注意事項ボタン押下"));
  const bool keepOnTop = KeepOnTop;
  {
    TfrmQZQZ0040 cover(this);
    cover.SetPartCode(PartCode);
    cover.ExamCategory = ExamCategory;
    cover.KeepOnTop = keepOnTop;
    cover.ShowNotes = true;
    guard_->StopGuard();
    if (keepOnTop) SetTopMost(false);
    cover.ShowModal();
  }
  if (keepOnTop) SetTopMost(true);
  if (ExamCategory == u"2" && ExamType != u"3") guard_->StartGuard();
}

void TfrmQZMain2::ConfirmAndClose() {
  AnswersConfirmed = true;
  PracticeEndConfirmedFlag = false;
  close();
}

void TfrmQZMain2::ClosePracticeWindow() {
  close();
}

void TfrmQZMain2::reject() {
  if (!closing_) close();
}

void TfrmQZMain2::keyPressEvent(QKeyEvent* event) {
  // Escape would reject the dialog: it is not a way to end the exam, as in the other windows.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmQZMain2::closeEvent(QCloseEvent* event) {
  if (closing_ || FormCloseQuery()) {
    closing_ = true;
    if (clock_) clock_->Halt();
    cpuMonitor_->CpuCheckTimer.stop();
    guard_->StopGuard();
    if (ConfirmForm) {
      // The confirmation may be the caller (ConfirmAndClose): it goes once it has returned.
      ConfirmForm->hide();
      ConfirmForm->deleteLater();
    }
    if (StartNotice) StartNotice->close();
    event->accept();
    // Ends the modal run of the window (the dialog's own close handling would ask reject()).
    done(ModalResult::Ok);
    return;
  }
  event->ignore();
}

bool TfrmQZMain2::FormCloseQuery() {
  if (inCloseQuery_) return false;
  inCloseQuery_ = true;
  bool allow = true;
  if (ExamType == u"3" && PracticeMode) {
    allow = WebPracticeEndQuery();
  } else if (PracticeMode) {
    allow = PracticeEndQuery();
  } else if (ExamShown) {
    allow = ExamEndQuery();
  }
  inCloseQuery_ = false;
  return allow;
}

bool TfrmQZMain2::WebPracticeEndQuery() {
  if (!PracticeStepsDone) {
    // The guide has not reached its end: the button is explained, the practice goes on.
    if (Guide) Guide->SetPracticeDialogsVisible(false);
    {
      TfrmQZTP0150 notice(this);
      notice.SetPartCode(PartCode);
      notice.ShowModal();
    }
    if (Guide) Guide->SetPracticeDialogsVisible(true);
    return false;
  }
  if (!PracticeEndConfirmedFlag) {
    Log(QStringLiteral("操作練習終了処理"));
    guard_->StopGuard();
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
      SetTopMost(true);
    }
    return false;
  }
  SaveLayout();
  return true;
}

bool TfrmQZMain2::PracticeEndQuery() {
  Log(QStringLiteral("操作練習終了処理"));
  int result = ModalResult::Cancel;
  {
    TfrmQZQZ0050 confirm(this);
    confirm.SetPartCode(PartCode);
    result = confirm.ShowModal();
  }
  if (result == ModalResult::Cancel) {
    if (KeepOnTop) SetTopMost(true);
    return false;
  }
  SaveLayout();
  return true;
}

bool TfrmQZMain2::ExamEndQuery() {
  Log(QStringLiteral("試験終了処理"));
  if (!AnswersConfirmed) {
    Log(QStringLiteral("解答確認"));
    if (ConfirmForm) delete ConfirmForm.data();
    auto* confirm = new TfrmQZQZ0020(this);
    ConfirmForm = confirm;
    confirm->SetPartCode(PartCode);
    confirm->Category = ExamCategory;
    confirm->KeepOnTop = KeepOnTop;
    confirm->ConfirmAndClose = [this] { ConfirmAndClose(); };
    // Beside the strip until the candidate confirms (ConfirmAndClose) or says no.
    confirm->setAttribute(Qt::WA_DeleteOnClose);
    confirm->show();
    return false;
  }
  Log(QStringLiteral("試験終了"));
  if (ExamType == u"3") {
    // The folder windows the part opened go with it, whether titled by name or by path.
    for (const FolderWindowTitles& titles : WorkFolderWindowTitles(WorkFolder::Practical)) {
      (void)CloseFirstWindowTitled(titles.name.toStdString());
      (void)CloseFirstWindowTitled(titles.fullPath.toStdString());
    }
  }
  const QString normalEnd =
      NormalEndToRecord(false, DebugMode, ReadSystemIni(CurrentDate().year()).sampleExam);
  // A failed write is not the candidate's concern: the part ends all the same.
  if (!normalEnd.isEmpty()) (void)WriteNormalEnd(PartCode, normalEnd);
  return true;
}

// The layout goes to the part's own setup.ini, also from the practice, so that the exam opens
// where the candidate put the strip while practising.
void TfrmQZMain2::SaveLayout() {
  const QRect bounds = geometry();
  (void)WriteWindowRect(PartCode, bounds.left(), bounds.top(), bounds.width(), bounds.height());
}

void TfrmQZMain2::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  if (clamping_) return;
  const QPoint clamped = ClampCompactMove(pos(), CurrentScreenMetrics());
  if (clamped == pos()) return;
  clamping_ = true;
  move(clamped);
  clamping_ = false;
}

bool TfrmQZMain2::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      // The window manager moves the window while the button is held; where it cannot, the
      // window follows the mouse itself.
      if (windowHandle() && windowHandle()->startSystemMove()) return true;
      manualDrag_ = true;
      dragOffset_ = mouse->globalPosition().toPoint() - pos();
      return true;
    }
    case QEvent::MouseMove:
      if (manualDrag_)
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
      return manualDrag_;
    case QEvent::MouseButtonRelease:
      manualDrag_ = false;
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace examora
