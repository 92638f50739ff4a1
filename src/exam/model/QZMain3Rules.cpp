#include "exam/model/QZMain3Rules.h"

#include <algorithm>

namespace examora {

AnswerOnlyTitles AnswerOnlyTitlesFor(const SystemIni& system, const QString& partName) {
  AnswerOnlyTitles titles;
  titles.caption = system.bookletName + u' ' + system.pattern + QStringLiteral("パターン(") +
                   system.version + QStringLiteral(") ") + partName;
  titles.title1 = system.examName;
  const QString pattern = system.patternName.isEmpty() ? system.pattern + QStringLiteral("パターン")
                                                       : system.patternName;
  titles.title2 = system.gradeName + u' ' + pattern + u'(' + system.versionName + u')';
  titles.title3 = partName;
  return titles;
}

QPoint ClampAnswerOnlyPosition(QPoint topLeft, QSize screen) {
  // Lower bounds last: on a screen too small for both, the window stays reachable at the
  // top left.
  const int left = std::max(-150, std::min(topLeft.x(), screen.width() - 150));
  const int top = std::max(0, std::min(topLeft.y(), screen.height() - 140));
  return {left, top};
}

}  // namespace examora
