#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "common/WriteResult.h"

// The answer record of a knowledge part: the single line of system/<folder>/a.csv that the
// answer sheet rewrites on every click and reads back when the part is restarted.
namespace examora {

// The answer sheet has 100 rows, so a record never holds more than 100 answers.
inline constexpr int kMaxAnswers = 100;

struct AnswerRecord {
  QString gradeCode;        // system.ini [基本情報] 級コード
  QString partCode;         // PartCode
  QString venueCode;        // VenueCode
  QString candidateNumber;  // CandidateNumber
  // One entry per sub-question in running order: "" unanswered, else "1" to "5" (ア to オ).
  // After parsing it holds the fields the line had (at most kMaxAnswers).
  QStringList answers;

  // The answer of the sub-question at the 0-based running index; "" past the stored fields.
  QString AnswerAt(qsizetype index) const;
};

// The line without its line break: the four leading fields and the answers, comma-separated,
// without quotes. Answers past kMaxAnswers are not written.
QString BuildAnswerLine(const AnswerRecord& record);

// The whole file: the line in CP932 followed by CR LF.
QByteArray AnswerFileBytes(const AnswerRecord& record);

// Splits a line by the comma-text rule (SplitCommaText). Missing leading fields are "";
// answers are the fields from the fifth on, at most kMaxAnswers.
AnswerRecord ParseAnswerLine(const QString& line);

// The scoring screen's reading: every half-width blank becomes a full-width blank (U+3000)
// before the split, so a blank inside a venue code or candidate number cannot shift the
// answers to other sub-questions.
AnswerRecord ParseAnswerLineForScoring(const QString& line);

// The first line of the file's text (up to the first CR or LF), decoded from CP932; "" for
// an empty file.
QString FirstLineOf(const QByteArray& cp932Bytes);

// Reads the first line of the answer file. A missing, unreadable or empty file gives a record
// without any field (no stored answers).
AnswerRecord ReadAnswerFile(const QString& absolutePath);
AnswerRecord ReadAnswerFileForScoring(const QString& absolutePath);

// Replaces the file with the record. The new content goes to a temporary file that is renamed
// over the old one, so an interruption leaves the previous complete record, never a
// truncated file.
[[nodiscard]] WriteResult WriteAnswerFile(const QString& absolutePath, const AnswerRecord& record);

// Creates the file with one empty line (CR LF) when it does not exist; an existing file is
// left untouched.
[[nodiscard]] WriteResult CreateEmptyAnswerFile(const QString& absolutePath);

}  // namespace examora
