#include "flow/model/StartScreenRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/QZMessage.h"

namespace examora {
namespace {

// Halves go to the even neighbour, as everywhere the screens centre things.
int RoundEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

const QString kNext = QStringLiteral("次へ >");
const QString kPracticalPractice = QStringLiteral("実技操作練習 >");
const QString kKnowledgePractice = QStringLiteral("知識操作練習 >");
constexpr int kNarrow = 80;
constexpr int kWide = 113;

}  // namespace

// ---- Operation explanation -----------------------------------------------------------------

QString StartModeFor(const QString& examCategory, bool extensionEnded, bool practiceMarker) {
  const bool practice = !extensionEnded && practiceMarker;
  if (examCategory == u"1") return practice ? QStringLiteral("4") : QStringLiteral("1");
  if (examCategory == u"2") return practice ? QStringLiteral("2") : QStringLiteral("3");
  return {};
}

EndButtonLook DesignEndButton() {
  return {kPracticalPractice, kWide};
}

EndButtonLook EndButtonFor(const QString& examCategory, bool extensionEnded, bool practiceMarker,
                           const QString& examType) {
  if (examCategory == u"1") return {kNext, kNarrow};
  if (examCategory == u"2") {
    // The web-style part names its practice on the start screen, not on this button.
    if (!extensionEnded && practiceMarker && examType != u"3") return {kPracticalPractice, kWide};
    return {kNext, kNarrow};
  }
  return DesignEndButton();
}

int EndButtonLeft(int bandWidth, int buttonWidth) {
  return bandWidth - buttonWidth - 28;
}

bool EndButtonGoesOn(const QString& caption) {
  return caption == kNext || caption == kPracticalPractice || caption == kKnowledgePractice;
}

QRect ExplanationWindowGeometry(QSize picture, QSize screen, int bandsHeight) {
  const int w = std::abs(picture.width());
  const int h = std::abs(picture.height()) + bandsHeight;
  const int left = RoundEven((screen.width() - w) / 2.0);
  const int top = RoundEven((screen.height() - h) / 2.0);
  return {left, top, w, h};
}

// ---- Exam start screen ---------------------------------------------------------------------

bool QuestionWordingFrom(const QList<PartKind>& parts) {
  return std::any_of(parts.begin(), parts.end(), [](const PartKind& p) {
    return p.examCategory == u"2" && (p.examType == u"2" || p.examType == u"3");
  });
}

CoverPlacement PlaceCoverPicture(CoverPicture kind, bool webLayout, QSize pictureSize,
                                 int windowWidth, int givenLeft) {
  CoverPlacement at;
  int boxWidth = 0;
  int boxHeight = 0;
  switch (kind) {
    case CoverPicture::Maker:
      boxWidth = 219;
      boxHeight = 17;
      at.top = 200;
      break;
    case CoverPicture::Exam:
      boxWidth = 439;
      boxHeight = 20;
      at.top = webLayout ? 270 : 220;
      break;
    case CoverPicture::Grade:
      if (webLayout) return at;  // the badge stands in for the grade
      boxWidth = 100;
      boxHeight = 30;
      at.top = 264;
      break;
  }
  const double w = std::abs(pictureSize.width());
  const double h = std::abs(pictureSize.height());
  if (w <= 0 || h <= 0) return at;
  const double scale = std::min(boxWidth / w, boxHeight / h);
  at.drawn = true;
  at.width = w * scale;
  at.height = h * scale;
  const int roundedWidth = RoundEven(at.width);
  if (kind == CoverPicture::Grade) {
    at.x = RoundEven((windowWidth - roundedWidth - kGradePartGap - kPartPictureWidth) / 2.0);
    at.partLeft = at.x + roundedWidth + kGradePartGap;
  } else if (givenLeft > 0) {
    at.x = givenLeft;
  } else {
    at.x = RoundEven((windowWidth - roundedWidth) / 2.0);
  }
  return at;
}

StartScreenLayout StartScreenLayoutFor(const QString& startMode, bool questionWording,
                                       bool webLayout, int webPracticeHeight) {
  StartScreenLayout l;
  const QString knowledge =
      questionWording ? QStringLiteral("TishikiMImg") : QStringLiteral("TishikiImg");
  const QString practical =
      questionWording ? QStringLiteral("ZitsugiMIMg") : QStringLiteral("ZitsugiImg");
  constexpr int kPartTop = 264;
  constexpr int kWebPartTop = 332;
  constexpr int kWebPracticeTop = 370;
  const int webTextTop = kWebPracticeTop + webPracticeHeight + 40;

  if (startMode == u"1") {
    l.known = true;
    const bool questions = questionWording || webLayout;
    l.startCaption =
        questions ? QStringLiteral("知識問題開始 >") : QStringLiteral("知識試験開始 >");
    if (webLayout) {
      l.partPicture = QStringLiteral("TishikiMImg");
      l.partTop = kWebPartTop;
      l.text1 = QStringLiteral(
          "試験監督者の指示に従って [知識問題開始] "
          "ボタンをクリックし、知識問題を開始してください。");
      l.text1Left = 95;
      l.text1Top = 440;
    } else {
      l.partPicture = knowledge;
      l.partTop = kPartTop;
      l.text1 = questionWording ? QStringLiteral(
                                      "試験監督者の指示に従って [知識問題開始] "
                                      "ボタンをクリックし、試験を開始してください。")
                                : QStringLiteral(
                                      "試験監督者の指示に従って [知識試験開始] "
                                      "ボタンをクリックし、試験を開始してください。");
      l.text1Left = 78;
    }
  } else if (startMode == u"4" || startMode == u"2") {
    l.known = true;
    const bool isKnowledge = startMode == u"4";
    l.startCaption = QStringLiteral("操作練習開始 >");
    if (webLayout) {
      l.partPicture = isKnowledge ? QStringLiteral("TishikiMHImg") : QStringLiteral("ZitsugiMHImg");
      l.partTop = kWebPartTop;
      l.practicePicture = QStringLiteral("ZitsugiRenHImg");
      l.practiceTop = kWebPracticeTop;
      l.text1Top = webTextTop;
      l.text2Top = webTextTop + 20;
    } else {
      l.partPicture = isKnowledge ? knowledge : practical;
      l.partTop = kPartTop;
      l.practicePicture = QStringLiteral("ZitsugiRenImg");
      l.practiceTop = 300;
    }
    if (isKnowledge) {
      l.text1 = QStringLiteral("Webブラウザーの起動、各ウィンドウのサイズや位置の調整、");
      l.text1Left = 186;
      l.text2 = QStringLiteral("および、操作の確認を行います。");
      l.text2Left = 260;
    } else if (webLayout) {
      l.text1 = QStringLiteral(
          "Webブラウザーの起動、テキストエディターまたはWebページ作成ソフトの起動、");
      l.text1Left = 131;
      l.text2 = QStringLiteral("各ウィンドウのサイズや位置の調整、および、操作の確認を行います。");
      l.text2Left = 162;
    } else {
      l.text1 = QStringLiteral("操作の確認と、問題表示ウィンドウのレイアウトを設定します。");
      l.text1Left = 151;
    }
  } else if (startMode == u"3") {
    l.known = true;
    const bool questions = questionWording || webLayout;
    l.startCaption =
        questions ? QStringLiteral("実技問題開始 >") : QStringLiteral("実技試験開始 >");
    if (webLayout) {
      l.partPicture = QStringLiteral("ZitsugiMIMg");
      l.partTop = kWebPartTop;
      l.text1 = QStringLiteral(
          "試験監督者の指示に従って［実技問題開始］ボタンをクリックし、実技問題を開始してください"
          "。");
      l.text1Left = 88;
      l.text1Top = 440;
    } else {
      l.partPicture = practical;
      l.partTop = kPartTop;
      l.text1 = questionWording ? QStringLiteral(
                                      "試験監督者の指示に従って［実技問題開始］"
                                      "ボタンをクリックし、試験を開始してください。")
                                : QStringLiteral(
                                      "試験監督者の指示に従って［実技試験開始］"
                                      "ボタンをクリックし、試験を開始してください。");
      l.text1Left = 78;
    }
  }
  return l;
}

QString WebBadgeFor(const QString& examCategory, const QString& partCode) {
  return examCategory != u"1" && partCode == u"1" ? QStringLiteral("Html5StTopImg")
                                                  : QStringLiteral("Html5ExTopImg");
}

GradeLabels SplitGradeName(const QString& gradeName) {
  if (gradeName.isEmpty()) return {};
  // A character outside the basic plane is two UTF-16 units but still one character.
  const qsizetype firstLength = gradeName.at(0).isHighSurrogate() && gradeName.size() > 1 ? 2 : 1;
  return {gradeName.left(firstLength), gradeName.mid(firstLength)};
}

// ---- Time extension ------------------------------------------------------------------------

ExtensionCheck CheckExtension(int minutes, int limitMinutes) {
  if (limitMinutes < minutes) return {false, msg::ExtensionTooLong(limitMinutes)};
  return {true, {}};
}

QString ExtensionResultText(int oldMinutes, int newMinutes) {
  if (newMinutes == 0) return QStringLiteral("試験時間の延長を解除しました。");
  if (oldMinutes != 0) {
    return QStringLiteral("試験時間の延長を") + QString::number(newMinutes) +
           QStringLiteral("分に変更しました。");
  }
  return QStringLiteral("試験時間を") + QString::number(newMinutes) +
         QStringLiteral("分延長しました。");
}

TimeOverTexts TimeOverTextsFor(const QString& examCategory) {
  if (examCategory == u"1") {
    return {QStringLiteral("試験時間経過による知識試験終了"),
            QStringLiteral("試験時間経過により、知識試験は終了しています。")};
  }
  return {QStringLiteral("試験時間経過による実技試験終了"),
          QStringLiteral("試験時間経過により、実技試験は終了しています。")};
}

}  // namespace examora
