#include "completion/model/KnowledgeScoring.h"

#include <QFile>

#include <algorithm>

#include "data/AnswerRecord.h"
#include "data/InstallPaths.h"

namespace examora {
namespace {

const QString kChoiceLetters = QStringLiteral("アイウエオ");
const QString kAll = QStringLiteral("全");

// The question a section belongs to: its name up to the first "_" (the whole name without
// one).
QString QuestionKey(const QString& section) {
  const qsizetype underscore = section.indexOf(QLatin1Char('_'));
  return underscore < 0 ? section : section.left(underscore);
}

// 正答 as the table shows it: "全" for a key naming every choice, else the first choice it
// names. A key of four characters or fewer is not a key at all and shows nothing.
QString CorrectCell(const QString& correct) {
  if (correct.size() <= 4) return {};
  if (correct == u"11111") return kAll;
  const qsizetype first = correct.indexOf(QLatin1Char('1'));
  if (first < 0 || first >= kChoiceLetters.size()) return {};
  return kChoiceLetters.at(first);
}

QString AnswerCell(const QString& answer) {
  static const QStringList kValues = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                      QStringLiteral("4"), QStringLiteral("5")};
  const qsizetype index = kValues.indexOf(answer);
  return index < 0 ? QString() : QString(kChoiceLetters.at(index));
}

}  // namespace

int KnowledgeScore::columns() const {
  return 1 + 4 * static_cast<int>(questions.size());
}

int KnowledgeScore::rows() const {
  return maxSubQuestions + 2;
}

KnowledgeScore ScoreKnowledge(const QList<AnswerKeyEntry>& key, const QString& answerLine) {
  KnowledgeScore s;
  // Blanks inside the leading fields (a venue code typed with a space) must not split them,
  // or every answer would move to the next sub-question.
  const AnswerRecord record = ParseAnswerLineForScoring(answerLine);
  QString currentQuestion;
  for (qsizetype i = 0; i < key.size(); ++i) {
    const AnswerKeyEntry& entry = key.at(i);
    const QString question = QuestionKey(entry.section);
    if (s.questions.isEmpty() || question != currentQuestion) {
      s.questions.append(ScoreQuestion{});
      currentQuestion = question;
    }
    ScoreRow row;
    row.correct = CorrectCell(entry.correct);
    row.answer = AnswerCell(record.AnswerAt(i));
    row.points = entry.points;
    const int points = IniInteger(entry.points, 0);
    // A key that names no choice must not match a sub-question left unanswered.
    const bool scores =
        row.correct == kAll || (!row.correct.isEmpty() && row.correct == row.answer);
    row.score = scores ? entry.points : QStringLiteral("0");
    if (scores) s.score += points;
    s.maximum += points;
    s.questions.last().rows.append(row);
  }
  for (const ScoreQuestion& q : s.questions) {
    const int count = static_cast<int>(q.rows.size());
    s.maxSubQuestions = std::max(s.maxSubQuestions, count);
    s.totalSubQuestions += count;
  }
  return s;
}

QString ReadScoringAnswerLine(const QString& partCode) {
  QFile file(AnswerFilePath(partCode));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return FirstLineOf(file.readAll());
}

KnowledgeScore ScorePart(const QString& partCode) {
  return ScoreKnowledge(ReadAnswerKey(partCode), ReadScoringAnswerLine(partCode));
}

QString TotalText(const KnowledgeScore& s, bool examType3) {
  if (examType3) {
    return QStringLiteral("合計　") + QString::number(s.score) + QStringLiteral(" / ") +
           QString::number(s.maximum) + QStringLiteral(" 点");
  }
  return QStringLiteral("合計　") + QString::number(s.score) + QStringLiteral("点");
}

QString PatternVersionText(const QString& pattern, const QString& versionName,
                           const QString& patternName) {
  if (patternName.isEmpty())
    return pattern + QStringLiteral("パターン(") + versionName + QStringLiteral(")");
  return patternName + QStringLiteral("(") + versionName + QStringLiteral(")");
}

int ScoringWindowHeight(int maxSubQuestions) {
  return (maxSubQuestions - 1) * 21 + 340;
}

QString ScoreCellText(const KnowledgeScore& s, int row, int column) {
  if (row < 0 || column < 0 || row >= s.rows() || column >= s.columns()) return {};
  if (column == 0) return row >= 2 ? QString::number(row - 1) : QString();
  const int question = (column - 1) / 4;
  const int field = (column - 1) % 4;
  if (row == 0)
    return field == 0 ? QStringLiteral("問題") + QString::number(question + 1) : QString();
  if (row == 1) {
    static const QStringList kHeadings = {QStringLiteral("正答"), QStringLiteral("解答"),
                                          QStringLiteral("配点"), QStringLiteral("得点")};
    return kHeadings.at(field);
  }
  const QList<ScoreRow>& rows = s.questions.at(question).rows;
  const int sub = row - 2;
  if (sub >= rows.size()) return {};
  const ScoreRow& r = rows.at(sub);
  switch (field) {
    case 0:
      return r.correct;
    case 1:
      return r.answer;
    case 2:
      return r.points;
    default:
      return r.score;
  }
}

CellBorders ScoreGridBorders(int column, int columnCount) {
  // Questions start at columns 1, 5, 9, … and end at 4, 8, 12, …; the grid's own edge needs no
  // separator.
  const bool leftBlack = column >= 2 && column % 4 == 1;
  const bool rightBlack = column >= 2 && column % 4 == 0 && column != columnCount - 1;
  return {leftBlack, rightBlack};
}

}  // namespace examora
