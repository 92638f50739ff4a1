#include "flow/FrameRules.h"

#include <cmath>

namespace examora {

QColor TitleColourRule(const QString& linkMode) {
  if (linkMode == QLatin1String("1")) return QColor(0x32, 0xCD, 0x32);
  if (linkMode == QLatin1String("2")) return QColor(0xFF, 0xA5, 0x00);
  return QColor(0xFF, 0xFF, 0xFF);
}

QString FooterNotice(const QString& examType) {
  if (examType == QLatin1String("3")) {
    return QStringLiteral("ブラウザーやエディターは、指示があるまで操作しないでください。");
  }
  return QStringLiteral("困ったときは、手を挙げて試験監督者に知らせてください。");
}

int CentredLeft(int windowWidth, double pictureWidth) {
  return static_cast<int>(std::nearbyint((windowWidth - pictureWidth) / 2.0));
}

}  // namespace examora
