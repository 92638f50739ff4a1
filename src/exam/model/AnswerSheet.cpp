#include "exam/model/AnswerSheet.h"

#include <algorithm>
#include <utility>

namespace examora {

int SheetView::RowTop(int row) const {
  const qsizetype j = visibleRows.indexOf(row);
  return j < 0 ? -1 : static_cast<int>(j) * kSheetRowHeight;
}

AnswerSheet::AnswerSheet(ExamStructure structure) : structure_(std::move(structure)) {}

void AnswerSheet::SetRecordHeader(const QString& gradeCode, const QString& partCode,
                                  const QString& venueCode, const QString& candidateNumber) {
  gradeCode_ = gradeCode;
  partCode_ = partCode;
  venueCode_ = venueCode;
  candidateNumber_ = candidateNumber;
}

QString AnswerSheet::Answer(int index) const {
  return index >= 1 && index <= kMaxAnswers ? answers_.at(index - 1) : QString();
}

void AnswerSheet::LoadAnswers(const AnswerRecord& stored) {
  for (int i = 1; i <= kMaxAnswers; ++i) answers_[i - 1] = stored.AnswerAt(i - 1);
}

void AnswerSheet::LoadAnswersFromFile(const QString& absolutePath) {
  LoadAnswers(ReadAnswerFile(absolutePath));
}

int AnswerSheet::CheckedChoice(int row) const {
  const SheetRow* r = structure_.Row(row);
  if (!r || r->kind != RowKind::SubQuestion) return 0;
  const QString a = Answer(r->answerIndex);
  if (a.size() != 1 || a.at(0) < u'1' || a.at(0) > u'5') return 0;
  return a.at(0).unicode() - u'0';
}

std::optional<AnswerRecord> AnswerSheet::Record(int row, int choice, bool clockRunning) {
  if (!clockRunning) return std::nullopt;
  const SheetRow* r = structure_.Row(row);
  if (!r || r->kind != RowKind::SubQuestion || choice < 1 || choice > 5) return std::nullopt;
  answers_[r->answerIndex - 1] = QString::number(choice);
  return CurrentRecord();
}

AnswerRecord AnswerSheet::CurrentRecord() const {
  AnswerRecord record;
  record.gradeCode = gradeCode_;
  record.partCode = partCode_;
  record.venueCode = venueCode_;
  record.candidateNumber = candidateNumber_;
  for (const SheetRow& row : structure_.Rows())
    if (row.kind == RowKind::SubQuestion) record.answers << Answer(row.answerIndex);
  return record;
}

WriteResult AnswerSheet::Save(const QString& absolutePath) const {
  return WriteAnswerFile(absolutePath, CurrentRecord());
}

SheetView AnswerSheet::FilterAnswerRows(int displayMode, int currentQuestion,
                                        int currentSubQuestion) const {
  SheetView view;
  int row = 0;
  for (const SheetRow& r : structure_.Rows()) {
    ++row;
    const bool current = r.question == currentQuestion;
    bool shown = false;
    if (r.kind == RowKind::Heading) {
      shown = displayMode == kModeWholePaper || current;
    } else if (displayMode == kModeWholePaper) {
      shown = true;
    } else if (displayMode == kModeByQuestion) {
      shown = current;
    } else {
      shown = current &&
              (currentSubQuestion == -1 ? r.subQuestion == 1 : r.subQuestion == currentSubQuestion);
    }
    if (shown) view.visibleRows << row;
  }
  view.scrollRange = static_cast<int>(view.visibleRows.size()) * kSheetRowHeight;
  return view;
}

int AnswerSheet::ScrollPositionForNode(const TreeNode& node) const {
  int r = 0;
  if (structure_.SubQuestionsOnly()) {
    r = node.subQuestion - 1;  // the nodes before it
  } else if (node.IsQuestion()) {
    r = (node.question - 1) + structure_.SubQuestionsBefore(node.question);
  } else {
    r = node.question + structure_.SubQuestionsBefore(node.question) + (node.subQuestion - 1);
  }
  return std::max(r, 0) * kSheetRowHeight;
}

bool AnswerSheet::IsAnswered(const TreeNode& node) const {
  if (structure_.SubQuestionsOnly()) return !Answer(node.subQuestion).isEmpty();
  if (!node.IsQuestion())
    return !Answer(structure_.AnswerIndex(node.question, node.subQuestion)).isEmpty();
  const int before = structure_.SubQuestionsBefore(node.question);
  for (int s = 1; s <= structure_.SubQuestionCount(node.question); ++s)
    if (Answer(before + s).isEmpty()) return false;
  return true;
}

}  // namespace examora
