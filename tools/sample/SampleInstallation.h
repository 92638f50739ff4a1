#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "InstallationWriter.h"

// The sample exam installation and the content writers it shares with the test fixtures.
namespace examora::sample {

// ---- Knowledge paper content ----------------------------------------------------------------

struct SubQuestion {
  QString text;
  QStringList choices;  // 1 to 5 texts for ア, イ, ウ, エ, オ
  int correct = 1;      // 1-based; 0 writes "11111" (every answer counts)
  int points = 10;
};

struct Question {
  QString title;  // e.g. "ハードウェア"; the pages show "問題<q>　<title>"
  QString lead;   // the question's introduction
  QList<SubQuestion> subQuestions;
};

struct Heading {
  QString title;
  QStringList paragraphs;
};

// Writes the paper of a knowledge content folder (relative, e.g. "system/1" or "system/Z1"):
// html\q\all, html\q\mondai\<q>, html\q\setsumon\<q>-<s> and, when there are headings,
// html\q\midashi\all and html\q\midashi\<n>, with the anchors the exam window jumps to
// ("midashi1", "t<q>", "t<q>s<s>").
void WriteQuestionPages(InstallationWriter& writer, const QString& contentFolder,
                        const QString& paperTitle, const QList<Heading>& headings,
                        const QList<Question>& questions);

// The [選択数] section ("[選択数]\n1-1=4\n...") of the paper.
QString ChoiceCountSection(const QList<Question>& questions);

// The text of seito[<PartCode>].ini: one section "<q>_<s>" per sub-question with "正答"
// (five "0"/"1" characters) and "配点".
QString AnswerKeyText(const QList<Question>& questions);

// Notes pages html\c\index1.html ... of a part folder (relative, e.g. "system/1"); each body is
// markup and may hold an element named "FOLDER".
void WriteNotesPages(InstallationWriter& writer, const QString& partFolder, const QString& title,
                     const QStringList& bodies);

// ---- The sample installation ----------------------------------------------------------------

// Name of the file that marks a folder as a sample installation laid out by this builder, so
// that the tool may replace it without risking an unrelated folder.
QString SampleMarkerFileName();

// Makes folder ready for a new sample: a missing or empty folder is fine, a folder that holds a
// previous sample (it has the marker file) is emptied, anything else (a file, a non-empty
// folder without the marker) is refused and left untouched.
[[nodiscard]] bool PrepareSampleFolder(const QString& folder, QString* error = nullptr);

// Lays out the two-part sample exam (knowledge part 1 with its operation practice in Z1,
// practical part 2) in folder, which must be empty or missing. The result is the same bytes on
// every run. Returns false with a message in *error when a file cannot be written.
[[nodiscard]] bool BuildSampleInstallation(const QString& folder, QString* error = nullptr);

// The knowledge paper of the sample's part 1 (also the answer key's source).
QList<Question> SampleKnowledgeQuestions();

}  // namespace examora::sample
