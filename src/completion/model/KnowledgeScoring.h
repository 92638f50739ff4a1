#pragma once

#include <QList>
#include <QString>

#include "data/ExamData.h"

// The knowledge score of a part: the candidate's answers in a.csv marked against the answer
// key seito[<PartCode>].ini, as the rows of the score table and the total. Plain data and
// functions, so the marking is tested without a window.
namespace examora {

// One sub-question of the score table, as the cells show it.
struct ScoreRow {
  QString correct;  // "ア" … "オ", "全" (any answer scores) or ""
  QString answer;   // "ア" … "オ" or "" (unanswered or not a choice)
  QString points;   // 配点 as written
  QString score;    // 配点 when the row scores, else "0"
};

// Consecutive answer-key sections with the same text before "_" form one question.
struct ScoreQuestion {
  QList<ScoreRow> rows;
};

struct KnowledgeScore {
  QList<ScoreQuestion> questions;
  int maxSubQuestions = 0;    // the most sub-questions of any question
  int totalSubQuestions = 0;  // all sub-questions
  int score = 0;              // 配点 of the rows that score; a non-number counts 0
  int maximum = 0;            // 配点 of all rows; a non-number counts 0

  int columns() const;  // the row-number column and four per question
  int rows() const;     // two heading rows and one per sub-question of the longest question
};

// The answer key's sections in file order with their 正答 and 配点 (ReadAnswerKey of
// data/ExamData.h reads them from system/seito[<PartCode>].ini).
using AnswerKeyEntry = AnswerKeyRow;

// Marks the answers of answerLine (the first line of a.csv, as read) against the key; the
// answers are paired with the key's sections by position only.
KnowledgeScore ScoreKnowledge(const QList<AnswerKeyEntry>& key, const QString& answerLine);

// The first line of system/<PartCode>/a.csv; "" when the file is empty, missing or
// unreadable (the part then scores as unanswered).
QString ReadScoringAnswerLine(const QString& partCode);

// The answer key and a.csv of the part, marked.
KnowledgeScore ScorePart(const QString& partCode);

// The total label: "合計　4点", or "合計　4 / 6 点" for the web-style exam type "3".
QString TotalText(const KnowledgeScore& s, bool examType3);

// The pattern and version line of the header: "A パターン(版)" style texts from system.ini
// パターン, バージョン名 and パターン名 (the name, when given, replaces "<pattern>パターン").
QString PatternVersionText(const QString& pattern, const QString& versionName,
                           const QString& patternName);

// The scoring window grows by one grid row per sub-question of the longest question.
int ScoringWindowHeight(int maxSubQuestions);

// The text of a cell of the score grid: row 0 "問題<n>" in the first column of each question
// (the heading spans the question's four columns), row 1 the column headings, column 0 the
// sub-question numbers from row 2, then the score rows.
QString ScoreCellText(const KnowledgeScore& s, int row, int column);

// Vertical cell borders of the score grid: black between questions, silver elsewhere.
struct CellBorders {
  bool leftBlack;
  bool rightBlack;
};
CellBorders ScoreGridBorders(int column, int columnCount);

}  // namespace examora
