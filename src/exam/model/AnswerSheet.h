#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "common/WriteResult.h"
#include "data/AnswerRecord.h"
#include "exam/model/ExamStructure.h"

// The answer sheet of a knowledge exam window without its widgets: the answers, the record
// written on every click, which rows the current page shows and the answered marks of the
// question tree. The window mirrors it in its 100 row panels.
namespace examora {

// Height of a sheet row and the scroll step of the sheet, in pixels.
inline constexpr int kSheetRowHeight = 32;

// The rows shown for the current page, stacked from the top in this order.
struct SheetView {
  QList<int> visibleRows;  // 1-based row numbers
  int scrollRange = 0;     // kSheetRowHeight × number of shown rows

  // Top of a shown row inside the scroll box; -1 for a hidden row.
  int RowTop(int row) const;
};

// Display modes of the question pages.
enum DisplayModeValue { kModeWholePaper = 1, kModeByQuestion = 2, kModeBySubQuestion = 3 };

class AnswerSheet {
 public:
  AnswerSheet() = default;
  explicit AnswerSheet(ExamStructure structure);

  const ExamStructure& Structure() const { return structure_; }

  // The four leading fields of every record: system.ini 級コード, PartCode, VenueCode,
  // CandidateNumber.
  void SetRecordHeader(const QString& gradeCode, const QString& partCode, const QString& venueCode,
                       const QString& candidateNumber);

  // Answers[1 … 100]: "" or "1" … "5". Outside 1 … 100 the answer is "".
  QString Answer(int index) const;
  QStringList Answers() const { return answers_; }  // 100 entries, index 0 = Answers[1]

  // Restores the answers from a stored record: answer i is field i + 4 of the line; missing
  // fields (short line, empty or missing file) leave the answer empty.
  void LoadAnswers(const AnswerRecord& stored);
  // From the a.csv of SetupFolderCode (absolute path).
  void LoadAnswersFromFile(const QString& absolutePath);

  // The choice to check on a row when the sheet is built: 1 … 5 from the stored answer, 0
  // when unanswered or not a sub-question row. It may exceed the row's choice count (the
  // button is then hidden; the answer stays in the record).
  int CheckedChoice(int row) const;

  // A click on radio button `choice` (1 … 5) of sheet row `row`. Nothing is recorded while the
  // exam clock is not running (set-up, before the first activation, during a tick, after the
  // time is over) or for a row without radio buttons. Otherwise the answer is stored and
  // the complete record to write is returned.
  std::optional<AnswerRecord> Record(int row, int choice, bool clockRunning);

  // The complete record: header plus one field per sub-question row, in row order.
  AnswerRecord CurrentRecord() const;

  // Replaces the answer file with CurrentRecord() through a temporary file, so that a failed
  // write leaves the previous complete record. The answers in memory are kept either way, and
  // the next save writes everything again.
  [[nodiscard]] WriteResult Save(const QString& absolutePath) const;

  // FilterAnswerRows: mode 1 shows every row, mode 2 the heading and sub-questions of the
  // current question, mode 3 the current question's heading and its current sub-question
  // (the first one when -1).
  SheetView FilterAnswerRows(int displayMode, int currentQuestion, int currentSubQuestion) const;

  // ScrollSheetToSelection (used in mode 1): the scroll position that puts the node's row at
  // the top of the sheet.
  int ScrollPositionForNode(const TreeNode& node) const;

  // Answered marks of the tree: a sub-question node when its answer is set; a question node
  // when all its sub-questions are answered (one without sub-questions counts as answered).
  // In the sub-questions-only layout every node is a sub-question of question 1.
  bool IsAnswered(const TreeNode& node) const;

 private:
  ExamStructure structure_;
  QString gradeCode_, partCode_, venueCode_, candidateNumber_;
  QStringList answers_ = QStringList(kMaxAnswers);
};

// Log text of a recorded click.
inline const QString kLogAnswerClicked = QStringLiteral("QZMain：設問ラジオボタン押下");

}  // namespace examora
