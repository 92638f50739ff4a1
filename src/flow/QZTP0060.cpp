#include "flow/QZTP0060.h"

#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <utility>

#include "common/ExeFolder.h"
#include "common/ImageSize.h"
#include "common/QZMessage.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "flow/model/FrameRules.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr QSize kDesignSize(644, 503);
constexpr QSize kWebGrowth(60, 50);
constexpr int kTitleBandHeight = 70;
constexpr int kBottomBandHeight = 53;
constexpr int kButtonTop = 13;
constexpr int kStartButtonWidth = 113;
constexpr int kStartButtonLeft = 644 - 28 - kStartButtonWidth;
constexpr int kBackButtonLeft = kStartButtonLeft - 10 - 80;
constexpr int kCloseButtonLeft = 644 - 83 - 24;
constexpr int kPartPictureLeft = 364;
constexpr QSize kPlateSize(kPartPictureWidth, 30);
constexpr QSize kWebPlateSize(160, 30);
constexpr QSize kBadgeSize(124, 24);
constexpr QPoint kTyuiDesign(78, 356);
constexpr QPoint kTyui2Design(260, 376);
constexpr int kStepPictureTop = 136;

// ---- The form's own pictures -----------------------------------------------------------------

const QColor kKnowledgeTop(0x00, 0x94, 0xD7);
const QColor kKnowledgeBottom(0x00, 0x49, 0x88);
const QColor kPracticalTop(0x3C, 0xB0, 0x5A);
const QColor kPracticalBottom(0x1B, 0x6B, 0x33);
const QColor kPracticeTop(0xF3, 0x98, 0x00);
const QColor kPracticeBottom(0xC8, 0x64, 0x00);

// A part plate: the words on a rounded gradient (the plain layout) or in a coloured outline
// (the web layout).
QPixmap PartPlate(const QString& words, QColor top, QColor bottom, bool outlined) {
  const QSize size = outlined ? kWebPlateSize : kPlateSize;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
  QPainterPath path;
  path.addRoundedRect(r, 6, 6);
  if (outlined) {
    p.fillPath(path, Qt::white);
    p.setPen(QPen(bottom, 2));
    p.drawPath(path);
    p.setPen(bottom);
  } else {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(path, g);
    p.setPen(Qt::white);
  }
  p.setFont(UiFont(FontFace::Meiryo, 15, true));
  p.drawText(r, Qt::AlignCenter, words);
  return QPixmap::fromImage(image);
}

// The grade badges of the web layout.
QPixmap Badge(const QString& words, QColor colour) {
  QImage image(kBadgeSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(QPointF(0, 0), QSizeF(kBadgeSize)).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath path;
  path.addRoundedRect(r, r.height() / 2, r.height() / 2);
  p.fillPath(path, colour);
  p.setPen(Qt::white);
  p.setFont(UiFont(FontFace::Meiryo, 12, true));
  p.drawText(r, Qt::AlignCenter, words);
  return QPixmap::fromImage(image);
}

// The cover the pictures are drawn onto: a white card on the lavender content colour; the
// web layout adds an accent rule under the title band.
QImage CoverBackground(QSize size, bool webLayout) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(0xF5, 0xEC, 0xFA));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const int top = kTitleBandHeight + 12;
  const QRectF card(20.5, top + 0.5, size.width() - 41,
                    size.height() - kBottomBandHeight - top - 14);
  p.setPen(QPen(QColor(0xC8, 0xB8, 0xD8), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(card, 8, 8);
  if (webLayout)
    p.fillRect(QRectF(card.left() + 8, card.top() + 4, card.width() - 16, 3), kKnowledgeTop);
  return image;
}

// The part pictures that follow the grade picture when it is centred with them.
const QString kGradeFollowers[] = {
    QStringLiteral("TishikiImg"),  QStringLiteral("ZitsugiRenImg"), QStringLiteral("ZitsugiImg"),
    QStringLiteral("TishikiMImg"), QStringLiteral("ZitsugiMIMg"),
};

}  // namespace

TfrmQZTP0060::TfrmQZTP0060(QWidget* owner)
    : ScreenFrame(
          owner,
          {.formCode = QStringLiteral("QZTP0060"), .kind = Kind::Wizard, .topMost = TopMost::App}) {
  resize(kDesignSize);
  setWindowTitle(QStringLiteral("試験開始"));
  // The cover replaces the step band; the web layout shows its step picture on the cover.
  SetStepBandCollapsed(true);
  StepPicture()->setParent(this);
  StepPicture()->hide();
  logo_ = TitleBand()->findChild<QLabel*>(QStringLiteral("LogoImg"));

  BackImg = TransparentLabel(this, QStringLiteral("BackImg"), {}, rect());
  JBackImg = TransparentLabel(this, QStringLiteral("JBackImg"), {}, rect());
  BackImg->lower();
  JBackImg->lower();

  ShikenNameLbl = TransparentLabel(this, QStringLiteral("ShikenNameLbl"), {}, {0, 216, 644, 28});
  ShikenNameLbl->setAlignment(Qt::AlignCenter);
  KyuName1Lbl = TransparentLabel(this, QStringLiteral("KyuName1Lbl"), {}, {289, 254, 40, 44});
  KyuLbl2Lbl = TransparentLabel(this, QStringLiteral("KyuLbl2Lbl"), {}, {327, 274, 60, 24});

  struct PlateLook {
    const char16_t* name;
    const char16_t* words;
    QColor top;
    QColor bottom;
    bool outlined;
  };
  const PlateLook plates[] = {
      {u"TishikiImg", u"知識試験", kKnowledgeTop, kKnowledgeBottom, false},
      {u"TishikiMImg", u"知識問題", kKnowledgeTop, kKnowledgeBottom, false},
      {u"ZitsugiImg", u"実技試験", kPracticalTop, kPracticalBottom, false},
      {u"ZitsugiMIMg", u"実技問題", kPracticalTop, kPracticalBottom, false},
      {u"ZitsugiRenImg", u"操作練習", kPracticeTop, kPracticeBottom, false},
      {u"TishikiMHImg", u"知識問題", kKnowledgeTop, kKnowledgeBottom, true},
      {u"ZitsugiMHImg", u"実技問題", kPracticalTop, kPracticalBottom, true},
      {u"ZitsugiRenHImg", u"操作練習", kPracticeTop, kPracticeBottom, true},
  };
  for (const PlateLook& look : plates) {
    const QString name = QString::fromUtf16(look.name);
    const QPixmap pixmap =
        PartPlate(QString::fromUtf16(look.words), look.top, look.bottom, look.outlined);
    QLabel* label = TransparentLabel(this, name, {}, QRect(QPoint(0, 0), pixmap.size()));
    label->setPixmap(pixmap);
    pictures_.insert(name, label);
  }
  const QPixmap standard = Badge(QStringLiteral("STANDARD"), QColor(0x2B, 0x7A, 0x3E));
  const QPixmap expert = Badge(QStringLiteral("EXPERT"), QColor(0x1F, 0x3A, 0x6E));
  for (const auto& [name, pixmap] : {std::pair{QStringLiteral("Html5StTopImg"), standard},
                                     std::pair{QStringLiteral("Html5ExTopImg"), expert}}) {
    QLabel* label = TransparentLabel(this, name, {}, QRect(QPoint(290, 300), pixmap.size()));
    label->setPixmap(pixmap);
    pictures_.insert(name, label);
  }

  TyuiLbl =
      TransparentLabel(this, QStringLiteral("TyuiLbl"), {}, QRect(kTyuiDesign, QSize(560, 18)));
  Tyui2Lbl =
      TransparentLabel(this, QStringLiteral("Tyui2Lbl"), {}, QRect(kTyui2Design, QSize(560, 18)));
  for (QLabel* l : {TyuiLbl, Tyui2Lbl}) l->setFont(UiFont(FontFace::MsPGothic, 13));

  ShikenStartBtn = new RoundButton(QStringLiteral("試験開始 >"), BottomBand());
  ShikenStartBtn->setObjectName(QStringLiteral("ShikenStartBtn"));
  ShikenStartBtn->SetModalResult(ModalResult::Ok);
  BackBtn = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  BackBtn->setObjectName(QStringLiteral("BackBtn"));
  BackBtn->SetModalResult(ModalResult::Back);

  connect(CloseButton(), &QPushButton::clicked, this, &TfrmQZTP0060::CloseBtnClick);
  PlaceDesignPositions(false);
}

// Every show starts from the design layout, so that the moves of the web layout and of the
// grade picture never add up.
void TfrmQZTP0060::PlaceDesignPositions(bool webLayout) {
  resize(webLayout ? kDesignSize + kWebGrowth : kDesignSize);
  const int webShift = webLayout ? 50 : 0;
  ShikenStartBtn->setGeometry(kStartButtonLeft + webShift, kButtonTop, kStartButtonWidth, 26);
  BackBtn->setGeometry(kBackButtonLeft, kButtonTop, 80, 26);
  CloseButton()->move(kCloseButtonLeft + webShift, CloseButton()->y());
  if (logo_) {
    if (webLayout) {
      logo_->setParent(this);
      logo_->move(20, kTitleBandHeight + 20);
    } else {
      logo_->setParent(TitleBand());
      logo_->move(0, 0);
    }
    logo_->show();
    logo_->raise();
  }
  BackImg->setGeometry(rect());
  JBackImg->setGeometry(rect());

  for (QLabel* label : std::as_const(pictures_)) label->hide();
  for (const QString& name : kGradeFollowers) pictures_[name]->move(kPartPictureLeft, 264);
  pictures_[QStringLiteral("ZitsugiRenImg")]->move(kPartPictureLeft, 300);
  const int webPlateLeft = (width() - kWebPlateSize.width()) / 2;
  for (const char16_t* name : {u"TishikiMHImg", u"ZitsugiMHImg"}) {
    pictures_[QString::fromUtf16(name)]->move(webPlateLeft, 332);
  }
  pictures_[QStringLiteral("ZitsugiRenHImg")]->move(webPlateLeft, 370);

  TyuiLbl->move(kTyuiDesign);
  Tyui2Lbl->move(kTyui2Design);
  TyuiLbl->setFont(UiFont(FontFace::MsPGothic, 13));
}

void TfrmQZTP0060::SetUpScreen() {
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  const SetupIni setup = ReadSetupIni(PartCode());
  const bool web = setup.examType == u"3";

  // 1. The wording follows the whole installation.
  QList<PartKind> parts;
  for (int n = 1; n <= system.partCount; ++n) {
    const SetupIni part = ReadSetupIni(QString::number(n));
    parts.append({part.examCategory, part.examType});
  }
  questionWording_ = QuestionWordingFrom(parts);

  // 2. Fonts and the grade labels' places.
  const bool meiryo = IsFontInstalled(FontFace::Meiryo);
  const FontFace face = meiryo ? FontFace::Meiryo : FontFace::MsPGothic;
  ShikenNameLbl->setFont(UiFont(face, 20, true));
  KyuName1Lbl->setFont(UiFont(face, 36, true));
  KyuLbl2Lbl->setFont(UiFont(face, 20, true));
  KyuName1Lbl->move(meiryo ? QPoint(289, 254) : QPoint(295, 261));
  KyuLbl2Lbl->move(meiryo ? QPoint(327, 274) : QPoint(326, 276));

  // 3. The layout.
  PlaceDesignPositions(web);
  BackImg->setVisible(!web);
  JBackImg->setVisible(web);
  ApplyFooter();
  QLabel* step = StepPicture();
  step->move(step->x(), kStepPictureTop);
  if (web) {
    ApplyStepIndicator(!AfterPractice, false);
    step->setVisible(step->pixmap().isNull() == false);
    step->raise();
    if (logo_) logo_->raise();
  } else {
    step->hide();
  }
  cover_ = CoverBackground(size(), web);

  // 4. Exam name, as text or picture.
  int nameLeft = 0;
  if (system.examImageExtension.isEmpty()) {
    ShikenNameLbl->setText(system.examName);
    ShikenNameLbl->adjustSize();
    // The name sits where the exam picture would.
    ShikenNameLbl->move(CentredLeft(width(), ShikenNameLbl->width()), web ? 266 : 216);
    ShikenNameLbl->show();
    nameLeft = ShikenNameLbl->x();
  } else {
    ShikenNameLbl->hide();
    nameLeft = DrawCoverPicture(CoverPicture::Exam, system.examImageExtension, web);
  }

  // 5. The maker picture lines up with the name.
  if (!system.makerImageExtension.isEmpty()) {
    DrawCoverPicture(CoverPicture::Maker, system.makerImageExtension, web, nameLeft);
  }

  // 6. Grade, as two labels or picture.
  if (system.gradeTopImageExtension.isEmpty()) {
    const GradeLabels grade = SplitGradeName(system.gradeName);
    KyuName1Lbl->setText(grade.first);
    KyuLbl2Lbl->setText(grade.rest);
    KyuName1Lbl->adjustSize();
    KyuLbl2Lbl->adjustSize();
    KyuName1Lbl->show();
    KyuLbl2Lbl->show();
  } else {
    KyuName1Lbl->hide();
    KyuLbl2Lbl->hide();
    DrawCoverPicture(CoverPicture::Grade, system.gradeTopImageExtension, web);
  }

  // 7.-9. Instructions, badge and the start mode.
  TyuiLbl->clear();
  Tyui2Lbl->clear();
  if (web) pictures_[WebBadgeFor(setup.examCategory, PartCode())]->show();
  ApplyStartMode(web);

  // 10. After the practice there is nothing to go back to.
  BackBtn->setVisible(!AfterPractice);

  (web ? JBackImg : BackImg)->setPixmap(QPixmap::fromImage(cover_));
  // 11. The bands at the final size.
  PaintBands();
}

int TfrmQZTP0060::DrawCoverPicture(CoverPicture kind, const QString& extension, bool webLayout,
                                   int givenLeft) {
  const QString base = kind == CoverPicture::Maker  ? QStringLiteral("MakerImage")
                       : kind == CoverPicture::Exam ? QStringLiteral("ShikenImage")
                                                    : QStringLiteral("KyuTopImage");
  const QString path = ImagePath(base + extension);
  if (!QFileInfo(path).isFile()) return 0;
  const ImageSizeResult size = GetImageSize(path);
  const QImage picture(path);
  if (!size || picture.isNull()) return 0;  // an unreadable picture counts as missing

  const CoverPlacement at =
      PlaceCoverPicture(kind, webLayout, {size.width, size.height}, width(), givenLeft);
  if (!at.drawn) return 0;
  QPainter p(&cover_);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(at.x, at.top, at.width, at.height), WhiteToTransparent(picture));
  if (at.partLeft >= 0) {
    for (const QString& name : kGradeFollowers) {
      QLabel* label = pictures_[name];
      label->move(at.partLeft, label->y());
    }
  }
  return at.x;
}

void TfrmQZTP0060::ApplyStartMode(bool webLayout) {
  QLabel* webPractice = pictures_[QStringLiteral("ZitsugiRenHImg")];
  const StartScreenLayout layout =
      StartScreenLayoutFor(StartMode, questionWording_, webLayout, webPractice->height());
  if (!layout.known) return;  // the design caption and texts stay

  ShikenStartBtn->setText(layout.startCaption);
  auto showAt = [this](const QString& name, int top) {
    QLabel* label = pictures_.value(name);
    if (!label) return;
    label->move(label->x(), top);
    label->show();
  };
  showAt(layout.partPicture, layout.partTop);
  if (!layout.practicePicture.isEmpty()) showAt(layout.practicePicture, layout.practiceTop);

  auto place = [](QLabel* label, const QString& text, int left, int top) {
    label->setText(text);
    label->adjustSize();
    label->move(left >= 0 ? left : label->x(), top >= 0 ? top : label->y());
  };
  TyuiLbl->setFont(IsFontInstalled(FontFace::Meiryo) ? UiFontPt(FontFace::Meiryo, 9)
                                                     : UiFontPt(FontFace::MsPGothic, 10));
  place(TyuiLbl, layout.text1, layout.text1Left, layout.text1Top);
  if (!layout.text2.isEmpty()) place(Tyui2Lbl, layout.text2, layout.text2Left, layout.text2Top);
}

void TfrmQZTP0060::CloseBtnClick() {
  if (ShowMessageCode(this, nullptr, msg::kConfirmQuit) != ModalResult::Yes) return;
  Log(QStringLiteral("閉じる"));
  done(ModalResult::Cancel);
}

}  // namespace examora
