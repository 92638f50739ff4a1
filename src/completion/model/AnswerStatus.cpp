#include "completion/model/AnswerStatus.h"

#include <algorithm>

namespace examora {
namespace {

// Numbers below 10 get a leading blank so that one- and two-digit values line up in the
// list's fixed-pitch font.
QString Padded(int n) {
  return n <= 9 ? QStringLiteral(" ") + QString::number(n) : QString::number(n);
}

bool IsAnswered(const QString& answer) {
  return answer.size() == 1 && answer.at(0) >= u'1' && answer.at(0) <= u'5';
}

}  // namespace

QStringList AnswerStatusLines(const QList<int>& subQuestionCounts, const QStringList& answers,
                              bool subQuestionsOnly) {
  QStringList lines;
  lines.reserve(subQuestionCounts.size());
  qsizetype position = 0;  // running index into answers, across questions
  for (qsizetype q = 0; q < subQuestionCounts.size(); ++q) {
    const int n = static_cast<int>(q) + 1;
    const int count = subQuestionCounts.at(q);
    QString line;
    if (!subQuestionsOnly) {
      line = (n <= 9 ? QStringLiteral("問題 ") : QStringLiteral("問題")) + QString::number(n) +
             QStringLiteral(" ");
    }
    line += Padded(count) + QStringLiteral("問");

    // Answers past the end of the sheet are unanswered; a negative count takes none.
    int answered = 0;
    for (int s = 0; s < std::max(count, 0); ++s, ++position) {
      if (position < answers.size() && IsAnswered(answers.at(position))) ++answered;
    }

    if (answered == 0) {
      line += QStringLiteral("　未解答");
    } else if (answered == count) {
      line += QStringLiteral("中全問解答済み　");
    } else {
      line += QStringLiteral("中") + Padded(answered) + QStringLiteral("問解答済み　");
    }
    lines.append(line);
  }
  return lines;
}

}  // namespace examora
