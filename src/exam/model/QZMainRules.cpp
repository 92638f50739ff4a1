#include "exam/model/QZMainRules.h"

namespace examora {

ExamWindowTitles ExamTitles(const SystemIni& system, const QString& partName, bool practice) {
  ExamWindowTitles titles;
  titles.caption = system.bookletName + u' ' + system.pattern + QStringLiteral("パターン(") +
                   system.version + QStringLiteral(") ") + partName;
  titles.title1 = system.bookletName;
  if (!system.patternName.isEmpty()) {
    titles.title2 = partName + QStringLiteral("　") + system.patternName + u'(' +
                    system.versionName + QStringLiteral(") ");
  } else {
    titles.title2 = partName + QStringLiteral("　") + system.pattern + QStringLiteral("パターン(") +
                    system.versionName + QStringLiteral(") ");
  }
  titles.endCaption = QStringLiteral("試験終了");
  if (practice) {
    titles.title2 += QStringLiteral(" 操作練習");
    titles.endCaption = QStringLiteral("練習終了");
  }
  return titles;
}

bool RecordsExamStartStamp(bool practice, const QString& storedExamDate) {
  return !practice && storedExamDate.isEmpty();
}

QString NormalEndToRecord(bool timeOver, bool debugMode, bool sampleExam) {
  if (debugMode || sampleExam) return QString();
  return timeOver ? QStringLiteral("T") : QStringLiteral("E");
}

int TopLevelNodeAt(const QuestionTree& tree, int ordinal) {
  if (ordinal < 0) return -1;
  int seen = 0;
  for (int i = 0; i < tree.Count(); ++i) {
    if (!tree.IsTopLevel(i)) continue;
    if (seen == ordinal) return i;
    ++seen;
  }
  return -1;
}

}  // namespace examora
