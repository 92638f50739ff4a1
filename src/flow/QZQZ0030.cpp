#include "flow/QZQZ0030.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>

#include "common/ExeFolder.h"
#include "common/ImageSize.h"
#include "common/QZMessage.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "flow/QZTP0060.h"
#include "flow/model/StartScreenRules.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kDesignWidth = 865;
constexpr int kDesignHeight = 751;
constexpr int kTitleBandHeight = 70;
constexpr int kBottomBandHeight = 40;
constexpr int kButtonTop = (kBottomBandHeight - 26) / 2;
// This screen's close button is a shade darker at the bottom than the others.
const QColor kCloseBottom(0x3F, 0x39, 0x39);

}  // namespace

TfrmQZQZ0030::TfrmQZQZ0030(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZQZ0030"),
                          .kind = Kind::Wizard,
                          .topMost = TopMost::None,
                          .titleColour = true,
                          .bottomBandHeight = kBottomBandHeight}) {
  resize(kDesignWidth, kDesignHeight);
  setWindowTitle(QStringLiteral("操作説明"));
  SetDraggable(false);

  OpeImg = new QLabel(this);
  OpeImg->setObjectName(QStringLiteral("OpeImg"));
  OpeImg->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  CloseButton()->SetColours(RoundButton::GreyTop(), kCloseBottom);
  connect(CloseButton(), &QPushButton::clicked, this, &TfrmQZQZ0030::CloseBtnClick);

  BackBtn = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  BackBtn->setObjectName(QStringLiteral("BackBtn"));
  BackBtn->setGeometry(28, kButtonTop, 80, 26);
  BackBtn->SetModalResult(ModalResult::Back);

  const EndButtonLook design = DesignEndButton();
  EndBtn = new RoundButton(design.caption, BottomBand());
  EndBtn->setObjectName(QStringLiteral("EndBtn"));
  EndBtn->setGeometry(EndButtonLeft(kDesignWidth, design.width), kButtonTop, design.width, 26);
  connect(EndBtn, &QPushButton::clicked, this, &TfrmQZQZ0030::EndBtnClick);
}

bool TfrmQZQZ0030::ExtensionEnded() const {
  return !ReadSetupIni(PartCode()).extensionEnded.isEmpty();
}

bool TfrmQZQZ0030::PracticeMarkerExists() const {
  // Only a folder counts: a stray file of that name offers no practice content.
  return QFileInfo(ContentFolder(SetupFolderCode(PartCode(), true))).isDir();
}

void TfrmQZQZ0030::SetUpScreen() {
  if (KeepOnTop) SetTopMost(ApplicationMainWindow(), true);

  const SetupIni setup = ReadSetupIni(PartCode());
  if (WizardMode) {
    CloseButton()->show();
    BackBtn->show();
    EndBtn->show();
    SetStepBandCollapsed(false);
    const EndButtonLook look = EndButtonFor(ExamCategory, !setup.extensionEnded.isEmpty(),
                                            PracticeMarkerExists(), setup.examType);
    EndBtn->setText(look.caption);
    EndBtn->resize(look.width, EndBtn->height());
  } else {
    EndBtn->hide();
    BackBtn->hide();
    SetStepBandCollapsed(true);
    EndBtn->setText(QStringLiteral("閉じる"));
  }

  // The window takes the picture's size; the picture sits between the title (and step) band
  // and the bottom band.
  const QString picture =
      ExplanationFolder(PartCode()) + QStringLiteral("/OperationExplanation.jpeg");
  const int pictureTop = kTitleBandHeight + StepBandHeight();
  bool placed = false;
  if (QFileInfo::exists(picture)) {
    const ImageSizeResult size = GetImageSize(picture);
    const QImage image(picture);
    if (size && !image.isNull()) {
      const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
      const QRect window =
          ExplanationWindowGeometry(QSize(size.width, size.height), screen,
                                    kTitleBandHeight + kBottomBandHeight + StepBandHeight());
      setGeometry(window);
      OpeImg->setPixmap(QPixmap::fromImage(image));
      OpeImg->setGeometry(0, pictureTop, window.width(),
                          window.height() - pictureTop - kBottomBandHeight);
      placed = true;
    }
  }
  if (!placed) {
    OpeImg->clear();
    OpeImg->setGeometry(0, pictureTop, width(), height() - pictureTop - kBottomBandHeight);
  }
  // The end button stays 28 px from the right end whatever width the picture gave the window.
  EndBtn->move(EndButtonLeft(BottomBand()->width(), EndBtn->width()), kButtonTop);

  PaintBands();
  ApplyStepIndicator(false);
  ApplyFooter();
}

void TfrmQZQZ0030::EndBtnClick() {
  Log(QStringLiteral("次へ"));
  if (!EndButtonGoesOn(EndBtn->text())) {
    done(ModalResult::Cancel);
    return;
  }
  TfrmQZTP0060 next(this);
  next.SetPartCode(PartCode());
  next.StartMode = StartModeFor(ExamCategory, ExtensionEnded(), PracticeMarkerExists());
  ChainTo(next);
}

void TfrmQZQZ0030::CloseBtnClick() {
  if (WizardMode && ShowMessageCode(this, nullptr, msg::kConfirmQuit) != ModalResult::Yes) return;
  Log(QStringLiteral("閉じる"));
  done(ModalResult::Cancel);
}

}  // namespace examora
