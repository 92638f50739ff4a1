#include "flow/model/FrameRules.h"

#include <cmath>

namespace examora {

quint32 TitleColourRule(const QString& linkMode) {
  if (linkMode == QLatin1String("1")) return 0x32CD32;
  if (linkMode == QLatin1String("2")) return 0xFFA500;
  return 0xFFFFFF;
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
