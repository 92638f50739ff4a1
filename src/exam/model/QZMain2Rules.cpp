#include "exam/model/QZMain2Rules.h"

#include <algorithm>

namespace examora {

CompactWindowTitles CompactTitles(const SystemIni& system, const QString& partName,
                                  const QString& supplement, const QString& examType,
                                  bool practice) {
  CompactWindowTitles titles;
  titles.title1 = system.bookletName;
  titles.supplement = supplement;
  titles.endCaption = QStringLiteral("試験終了");
  if (examType == u"3") {
    const QString name = !system.patternName.isEmpty()
                             ? system.patternName
                             : system.pattern + QStringLiteral("パターン");
    titles.title2 =
        name + QStringLiteral(" (") + system.versionName + QStringLiteral(") ") + partName;
    return titles;
  }
  titles.title2 = partName + QStringLiteral("　") +
                  (!system.patternName.isEmpty() ? system.patternName
                                                 : system.pattern + QStringLiteral("パターン"));
  if (practice) {
    titles.title2 += QStringLiteral(" 操作練習");
    titles.endCaption = QStringLiteral("練習終了");
  }
  return titles;
}

QRect CompactInitialBounds(const QString& examType, bool restoreLayout, const QRect& savedLayout,
                           const ScreenMetrics& m) {
  // A saved layout that is no rectangle (values that were not numbers read as 0) would put
  // the strip nowhere: the default place stands in.
  if (restoreLayout && savedLayout.isValid()) return savedLayout;
  if (examType == u"3") {
    // Above the task bar: the maximised window's height less the full-screen client area is
    // what the task bar and the title bar take below a maximised window.
    const int top = m.cyScreen - kCompactWebHeight - (m.cyMaximized - m.cyFullScreen);
    return {m.cxScreen - kCompactWidth, top, kCompactWidth, kCompactWebHeight};
  }
  return {0, m.cyCaption, kCompactWidth, kCompactHeight};
}

QRect WidenCompactForTitles(const QRect& bounds, int textWidth, int reserved, int screenWidth) {
  constexpr int kDesignWidth = 644;
  const int widest = std::max(bounds.width(), std::min(kDesignWidth, screenWidth));
  const int wanted = std::clamp(textWidth + reserved, bounds.width(), widest);
  if (wanted == bounds.width()) return bounds;
  QRect widened = bounds;
  widened.setWidth(wanted);
  if (widened.right() >= screenWidth) widened.moveLeft(std::max(0, screenWidth - wanted));
  return widened;
}

QPoint ClampCompactMove(const QPoint& topLeft, const ScreenMetrics& m) {
  int left = topLeft.x();
  int top = topLeft.y();
  if (left < -252) left = -252;
  if (top < 0) top = 0;
  if (left > m.cxScreen - 252) left = m.cxScreen - 252;
  if (top > m.cyScreen - 60) top = m.cyScreen - 60;
  return {left, top};
}

QString CompactApplicationTitle(bool minimised, const QString& clockText) {
  return minimised ? clockText : QStringLiteral("受験プログラム");
}

}  // namespace examora
