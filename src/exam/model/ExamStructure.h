#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The question structure of a knowledge paper (questions and their sub-questions, read from
// the content folders) and the rows of the answer sheet laid out from it. Shared by the
// question display, the answer sheet, the answer-only window and the confirmation.
namespace examora {

// The answer sheet has 100 ready-made rows; heading rows count.
inline constexpr int kMaxSheetRows = 100;

// A node of the question tree. A question node has subQuestion -1. In the layout that shows
// the sub-questions of question 1 as if they were questions, every node is top-level and
// carries question 1 and its sub-question.
struct TreeNode {
  int question = 0;
  int subQuestion = -1;

  bool IsQuestion() const { return subQuestion < 0; }
  friend bool operator==(const TreeNode&, const TreeNode&) = default;
};

// ---- Counting the structure ----------------------------------------------------------------

// Adds one sub-question to question q for every entry name whose part before the first "-"
// (the whole name without one) is an integer q from 1 to counts.size(). Anything else
// ("x-1", "0-1", a number past the last question) lies outside the paper and is ignored.
void CountSubQuestions(QList<int>& counts, const QStringList& entryNames);

// SubQuestionCounts of a content folder: one question per sub-folder of html/q/mondai, and
// the sub-questions counted from the entries (files and folders) of html/q/setsumon.
QList<int> SubQuestionCountsFromFolders(const QString& folderCode);

// ---- Sheet rows ----------------------------------------------------------------------------

enum class RowKind {
  Heading = 1,      // "1": the question's heading row
  SubQuestion = 2,  // "2": a row with radio buttons
  Unused = 3,       // "3": a ready-made row left hidden
};

struct SheetRow {
  RowKind kind = RowKind::Unused;
  int question = 0;     // 1-based
  int subQuestion = 0;  // 1-based; 0 on a heading row
  int answerIndex = 0;  // 1-based index into Answers; 0 on a heading row
  QString caption;  // " 問題 1" on a heading row; "問題 1-2" (or "問題2") on a sub-question row
  int choiceCount = 0;  // radio buttons shown, 0 to 5 (sub-question rows)
};

// The number of choices of sub-question s of question q as the part's [選択数] gives it.
using ChoiceCountLookup = std::function<int(int question, int subQuestion)>;

class ExamStructure {
 public:
  ExamStructure() = default;

  const QList<int>& SubQuestionCounts() const { return counts_; }
  bool SubQuestionsOnly() const { return subQuestionsOnly_; }
  int QuestionCount() const { return static_cast<int>(counts_.size()); }
  int SubQuestionCount(int question) const;  // 0 outside the paper
  int AnswerCount() const { return answerCount_; }
  // Sub-questions of the questions before this one: the answer index of its sub-question s
  // is that + s.
  int SubQuestionsBefore(int question) const;
  int AnswerIndex(int question, int subQuestion) const;

  // The used rows in order; row k of the sheet is Rows()[k - 1], rows past them are unused.
  const QList<SheetRow>& Rows() const { return rows_; }
  const SheetRow* Row(int row) const;  // nullptr for an unused or impossible row
  // RowKinds: "1", "2" or "3" for row 1 … 100.
  QString RowKindText(int row) const;
  QStringList RowKinds() const;

 private:
  friend struct ExamStructureBuilder;
  QList<int> counts_;
  bool subQuestionsOnly_ = false;
  QList<SheetRow> rows_;
  int answerCount_ = 0;
};

struct ExamStructureResult {
  bool ok = false;
  QString message;  // the coded message when the paper does not fit the sheet
  ExamStructure structure;
};

// Lays out the rows: per question a heading row (not in the sub-questions-only layout) and
// one row per sub-question with its choice count (clamped to 0..5). A paper needing more
// than 100 rows is refused as a whole rather than losing questions off the end of the sheet.
[[nodiscard]] ExamStructureResult BuildExamStructure(const QList<int>& subQuestionCounts,
                                                     bool subQuestionsOnly,
                                                     const ChoiceCountLookup& choices);

// The same from an installation: the counts from the content folder of setupFolderCode, the
// choice counts from the setup.ini of partCode (the practice run shares the part's counts).
[[nodiscard]] ExamStructureResult ReadExamStructure(const QString& setupFolderCode,
                                                    const QString& partCode, bool subQuestionsOnly);

// Captions of the tree and the sheet.
QString QuestionNumberText(int question);  // " 1" … " 9", "10" …
QString HeadingRowCaption(int question);   // " 問題 1", " 問題10"
QString SubQuestionRowCaption(int question, int subQuestion, bool subQuestionsOnly);

}  // namespace examora
