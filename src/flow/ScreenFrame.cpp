#include "flow/ScreenFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QWindow>

#include "common/ExeFolder.h"
#include "common/RunLog.h"
#include "common/StepTable.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "flow/model/FrameRules.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/Logo.h"
#include "widgets/MessageBox.h"
#include "widgets/Preload.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kTitleBandHeight = 70;
constexpr int kStepBandHeight = 94;
const QColor kContentColour(0xF5, 0xEC, 0xFA);

QString ExamTypeOf(const QString& partCode) {
  return ReadSetupIni(partCode).examType;
}

}  // namespace

ScreenFrame::ScreenFrame(QWidget* owner, Options options)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), options_(std::move(options)) {
  setObjectName(QStringLiteral("Tfrm") + options_.formCode);
  setFont(UiFont(FontFace::MsPGothic, 12));
  FillBackground(this, kContentColour);
  if (options_.topMost == TopMost::Self) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  const bool wizard = options_.kind == Kind::Wizard;

  titleBand_ = new QWidget(this);
  titleBand_->setObjectName(QStringLiteral("TitlePanel"));
  titlePicture_ = new QLabel(titleBand_);
  titlePicture_->setObjectName(QStringLiteral("TRImg"));
  titleLabel_ = new QLabel(titleBand_);
  titleLabel_->setObjectName(QStringLiteral("TitleLbl"));
  titleLabel_->setFont(UiFont(FontFace::Meiryo, wizard ? 17 : 15));
  titleLabel_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
  titleLabel_->move(wizard ? 225 : 28, 9);
  titleLabel_->setMinimumHeight(30);
  titlePicture_->installEventFilter(this);
  titleLabel_->installEventFilter(this);

  bottomBand_ = new QWidget(this);
  bottomBand_->setObjectName(QStringLiteral("BottomPanel"));
  FillBackground(bottomBand_, Qt::white);
  bottomPicture_ = new QLabel(bottomBand_);
  bottomPicture_->setObjectName(QStringLiteral("BRImg"));

  if (wizard) {
    logo_ = new QLabel(titleBand_);
    logo_->setObjectName(QStringLiteral("LogoImg"));
    logo_->setGeometry(0, 0, 196, 70);
    logo_->setPixmap(LogoPixmap(QSize(196, 70)));
    logo_->installEventFilter(this);
    closeButton_ = new RoundButton(QStringLiteral("閉じる"), titleBand_);
    closeButton_->setObjectName(QStringLiteral("CloseBtn"));
    closeButton_->SetColours(RoundButton::GreyTop(), RoundButton::GreyBottom());
    closeButton_->resize(83, 28);

    stepBand_ = new QWidget(this);
    stepBand_->setObjectName(QStringLiteral("Panel3"));
    FillBackground(stepBand_, kContentColour);
    stepPicture_ = new QLabel(stepBand_);
    stepPicture_->setObjectName(QStringLiteral("TejunImg"));
    stepPicture_->setGeometry(0, 17, 683, 59);

    footerLabel_ = new QLabel(bottomBand_);
    footerLabel_->setObjectName(QStringLiteral("CRLbl"));
    footerLabel_->setFont(UiFont(FontFace::MsPGothic, 12, true));
    footerLabel_->setStyleSheet(QStringLiteral("color: #808080; background: transparent;"));
    footerLabel_->setAlignment(Qt::AlignCenter);
    footerLabel_->move(0, (options_.bottomBandHeight - 20) / 2);
  }
  LayOutBands();
}

void ScreenFrame::Log(const QString& event) const {
  WriteLog(options_.formCode + QStringLiteral("：") + event, partCode_);
}

int ScreenFrame::ShowModal() {
  setWindowModality(Qt::ApplicationModal);
  setResult(0);
  QEventLoop loop;
  QPointer<ScreenFrame> self(this);
  const auto connection = connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
  show();
  loop.exec(QEventLoop::DialogExec);
  if (!self) return ModalResult::Cancel;
  disconnect(connection);
  return result();
}

int ScreenFrame::ChainTo(ScreenFrame& next) {
  hide();
  const int result = next.ShowModal();
  if (result == ModalResult::Back) {
    show();
    return result;
  }
  done(result);
  return result;
}

void ScreenFrame::setVisible(bool visible) {
  if (visible && !isVisible()) {
    StackAboveOwners(this);
    // A screen that has not been placed opens at the centre of the screen (again once it has
    // been set up, which may change its size). Left to itself, a dialog is centred over its
    // owner, which for the compact window is a strip at the top.
    centreWhenSetUp_ = !testAttribute(Qt::WA_Moved);
    if (centreWhenSetUp_) CenterOnScreen(this);
  }
  QDialog::setVisible(visible);
  if (visible) raise();
}

void ScreenFrame::reject() {
  done(ModalResult::Cancel);
}

int ScreenFrame::StepBandHeight() const {
  return stepBand_ && !stepBandCollapsed_ ? kStepBandHeight : 0;
}

void ScreenFrame::SetStepBandCollapsed(bool collapsed) {
  stepBandCollapsed_ = collapsed;
  if (stepBand_) stepBand_->setVisible(!collapsed);
  LayOutBands();
}

void ScreenFrame::LayOutBands() {
  const int w = width();
  const QSize paintedTitle = titlePicture_->size();
  const QSize paintedBottom = bottomPicture_->size();
  titleBand_->setGeometry(0, 0, w, kTitleBandHeight);
  titlePicture_->setGeometry(-1, -1, w + 2, 122);
  titlePicture_->lower();
  if (closeButton_) closeButton_->move(w - 83 - 24, (kTitleBandHeight - 28) / 2);
  if (stepBand_) stepBand_->setGeometry(0, kTitleBandHeight, w, StepBandHeight());
  const int bh = options_.bottomBandHeight;
  bottomBand_->setGeometry(0, height() - bh, w, bh);
  bottomPicture_->setGeometry(-1, -26, w + 2, 80);
  bottomPicture_->lower();
  FitFooter();
  // A screen that sets its own size while it is being set up does so after the bands were
  // painted at the earlier size; they are painted again to the edges.
  if (bandsPainted_ &&
      (titlePicture_->size() != paintedTitle || bottomPicture_->size() != paintedBottom))
    PaintBands();
}

void ScreenFrame::FitFooter() {
  if (!footerLabel_) return;
  // The notice is centred in the room the buttons leave free, so that no button covers it.
  const int w = width();
  int left = 0;
  int right = w;
  for (const QAbstractButton* button : bottomBand_->findChildren<QAbstractButton*>()) {
    if (button->isHidden()) continue;
    const QRect r = button->geometry();
    if (r.center().x() < w / 2) {
      left = std::max(left, r.right() + 1);
    } else {
      right = std::min(right, r.left());
    }
  }
  const int margin = 8;
  // The height stays where the screen put it (some layouts move the notice down).
  footerLabel_->setGeometry(left + margin, footerLabel_->y(),
                            std::max(0, right - left - 2 * margin), 20);
}

QStringList ScreenFrame::BandPictures() {
  return {ExePath(QStringLiteral("system\\Image\\bg_main_top.jpg")),
          ExePath(QStringLiteral("system\\Image\\bg_main_bottom.jpg"))};
}

QString ScreenFrame::StepPicturePath(const QString& displayType, const QString& partCode,
                                     const QString& formCode, bool inWizard) {
  const QString file =
      StepImageFile(displayType, partCode, QStringLiteral("frm") + formCode, inWizard);
  return file.isEmpty() ? QString() : ExePath(QStringLiteral("system\\Image\\") + file);
}

void ScreenFrame::PaintBands() {
  bandsPainted_ = true;
  const QStringList pictures = BandPictures();
  PaintBand(titlePicture_, pictures.at(0));
  PaintBand(bottomPicture_, pictures.at(1));
}

void ScreenFrame::ApplyStepIndicator(bool inWizard, bool setCaption) {
  if (!stepPicture_) return;
  const QString displayType = ReadSystemIni(CurrentDate().year()).displayType;
  const QString path = StepPicturePath(displayType, partCode_, options_.formCode, inWizard);
  stepPicture_->clear();
  if (!path.isEmpty() && QFile::exists(path)) {
    const QImage picture = LoadPicture(path);
    if (!picture.isNull()) {
      stepPicture_->setPixmap(QPixmap::fromImage(picture));
      stepPicture_->resize(picture.size());
      stepPicture_->move(CentredLeft(width(), picture.width()), stepPicture_->y());
    }
  }
  if (setCaption) titleLabel_->setText(StepCaption(displayType, partCode_, FormName()));
  titleLabel_->adjustSize();
}

void ScreenFrame::ApplyTitleColour() {
  const QString linkMode = ReadShikenIni().linkMode;
  const QColor colour(TitleColourRule(linkMode));
  titleLabel_->setStyleSheet(
      QStringLiteral("color: %1; background: transparent;").arg(colour.name()));
}

void ScreenFrame::ApplyFooter() {
  if (footerLabel_) footerLabel_->setText(FooterNotice(ExamTypeOf(partCode_)));
}

void ScreenFrame::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // the window system re-showing it, not a Show
  if (options_.logsStart) Log(QStringLiteral("開始"));
  PaintBands();
  SetUpScreen();
  if (centreWhenSetUp_) CenterOnScreen(this);
  centreWhenSetUp_ = false;
  if (options_.titleColour) ApplyTitleColour();
  QCoreApplication::postEvent(this, new QEvent(kAfterShowEvent));
  if (options_.topMost == TopMost::App) SetTopMost(ApplicationMainWindow(), true);
  if (options_.centre) CenterOnScreen(this);
  FitFooter();
}

void ScreenFrame::AfterShow() {
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, width(), height()), 10, 10);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void ScreenFrame::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOutBands();
}

void ScreenFrame::keyPressEvent(QKeyEvent* event) {
  // The screens have no Escape key: only their buttons close them.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool ScreenFrame::event(QEvent* event) {
  if (event->type() == kAfterShowEvent) {
    AfterShow();
    return true;
  }
  return QDialog::event(event);
}

bool ScreenFrame::eventFilter(QObject* watched, QEvent* event) {
  const bool onTitle = watched == titlePicture_ || watched == titleLabel_ || watched == logo_;
  if (onTitle && draggable_) {
    // Only mouse events may be treated as such: the title widgets get paint, enter and other
    // events through here too.
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        StartDrag(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
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
  }
  return QDialog::eventFilter(watched, event);
}

void ScreenFrame::StartDrag(QPoint globalPos) {
  // The window manager moves the window while the button is held; where it cannot, the
  // window follows the mouse itself.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  manualDrag_ = true;
  dragOffset_ = globalPos - pos();
}

}  // namespace examora
