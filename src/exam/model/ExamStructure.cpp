#include "exam/model/ExamStructure.h"

#include <QDir>

#include <algorithm>

#include "common/ExeFolder.h"
#include "common/FileList.h"
#include "common/QZMessage.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniFile.h"
#include "data/InstallPaths.h"

namespace examora {

// Fills the private fields; a struct so that the header needs no setters.
struct ExamStructureBuilder {
  static ExamStructureResult Build(const QList<int>& counts, bool subQuestionsOnly,
                                   const ChoiceCountLookup& choices) {
    ExamStructureResult result;
    ExamStructure& s = result.structure;
    s.counts_ = counts;
    for (int& c : s.counts_) c = std::max(c, 0);
    s.subQuestionsOnly_ = subQuestionsOnly;

    // Check before laying out: a partial sheet would silently drop answers.
    qsizetype rows = 0;
    qsizetype answers = 0;
    for (int c : s.counts_) {
      answers += c;
      rows += c + (subQuestionsOnly ? 0 : 1);
    }
    if (rows > kMaxSheetRows || answers > kMaxAnswers) {
      result.message = msg::kTooManyQuestions;
      return result;
    }

    int answerIndex = 0;
    for (int q = 1; q <= s.QuestionCount(); ++q) {
      if (!subQuestionsOnly) {
        SheetRow heading;
        heading.kind = RowKind::Heading;
        heading.question = q;
        heading.caption = HeadingRowCaption(q);
        s.rows_ << heading;
      }
      for (int sub = 1; sub <= s.counts_.at(q - 1); ++sub) {
        SheetRow row;
        row.kind = RowKind::SubQuestion;
        row.question = q;
        row.subQuestion = sub;
        row.answerIndex = ++answerIndex;
        row.caption = SubQuestionRowCaption(q, sub, subQuestionsOnly);
        row.choiceCount = choices ? std::clamp(choices(q, sub), 0, 5) : 0;
        s.rows_ << row;
      }
    }
    s.answerCount_ = answerIndex;
    result.ok = true;
    return result;
  }
};

void CountSubQuestions(QList<int>& counts, const QStringList& entryNames) {
  for (const QString& name : entryNames) {
    const qsizetype dash = name.indexOf(u'-');
    int q = 0;
    if (!ParseIniInteger(dash < 0 ? name : name.left(dash), &q)) continue;
    if (q < 1 || q > counts.size()) continue;
    ++counts[q - 1];
  }
}

QList<int> SubQuestionCountsFromFolders(const QString& folderCode) {
  QList<int> counts(CountSubfolders(QuestionFoldersRoot(folderCode)), 0);
  const QDir setsumon(ContentFolder(folderCode) + QStringLiteral("/html/q/setsumon"));
  CountSubQuestions(counts, setsumon.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot));
  return counts;
}

int ExamStructure::SubQuestionCount(int question) const {
  return question >= 1 && question <= counts_.size() ? counts_.at(question - 1) : 0;
}

int ExamStructure::SubQuestionsBefore(int question) const {
  int sum = 0;
  for (int q = 1; q < question && q <= counts_.size(); ++q) sum += counts_.at(q - 1);
  return sum;
}

int ExamStructure::AnswerIndex(int question, int subQuestion) const {
  return SubQuestionsBefore(question) + subQuestion;
}

const SheetRow* ExamStructure::Row(int row) const {
  return row >= 1 && row <= rows_.size() ? &rows_.at(row - 1) : nullptr;
}

QString ExamStructure::RowKindText(int row) const {
  const SheetRow* r = Row(row);
  return QString::number(static_cast<int>(r ? r->kind : RowKind::Unused));
}

QStringList ExamStructure::RowKinds() const {
  QStringList kinds;
  for (int k = 1; k <= kMaxSheetRows; ++k) kinds << RowKindText(k);
  return kinds;
}

ExamStructureResult BuildExamStructure(const QList<int>& subQuestionCounts, bool subQuestionsOnly,
                                       const ChoiceCountLookup& choices) {
  return ExamStructureBuilder::Build(subQuestionCounts, subQuestionsOnly, choices);
}

ExamStructureResult ReadExamStructure(const QString& setupFolderCode, const QString& partCode,
                                      bool subQuestionsOnly) {
  const IniFile setup = IniFile::Load(ExeFolder() + u'/' + SetupIniPath(partCode));
  return BuildExamStructure(SubQuestionCountsFromFolders(setupFolderCode), subQuestionsOnly,
                            [&setup](int q, int s) { return ChoiceCount(setup, q, s); });
}

QString QuestionNumberText(int question) {
  return question <= 9 ? u' ' + QString::number(question) : QString::number(question);
}

QString HeadingRowCaption(int question) {
  return QStringLiteral(" 問題") + QuestionNumberText(question);
}

QString SubQuestionRowCaption(int question, int subQuestion, bool subQuestionsOnly) {
  if (subQuestionsOnly) return QStringLiteral("問題") + QString::number(subQuestion);
  return QStringLiteral("問題") + QuestionNumberText(question) + u'-' +
         QString::number(subQuestion);
}

}  // namespace examora
