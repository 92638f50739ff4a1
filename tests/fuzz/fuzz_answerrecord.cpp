// The answer record reader: the first line of a.csv, split both ways the program reads it.
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "data/AnswerRecord.h"

using examora::AnswerRecord;

namespace {

// A field that reads back as itself when written without quotes.
bool PlainField(const QString& field) {
  for (QChar c : field) {
    if (c.unicode() <= 0x20 || c == QLatin1Char(',') || c == QLatin1Char('"')) return false;
  }
  return true;
}

bool PlainRecord(const AnswerRecord& r) {
  if (!PlainField(r.gradeCode) || !PlainField(r.partCode) || !PlainField(r.venueCode) ||
      !PlainField(r.candidateNumber))
    return false;
  for (const QString& answer : r.answers) {
    if (!PlainField(answer)) return false;
  }
  return true;
}

bool SameRecord(const AnswerRecord& a, const AnswerRecord& b) {
  return a.gradeCode == b.gradeCode && a.partCode == b.partCode && a.venueCode == b.venueCode &&
         a.candidateNumber == b.candidateNumber && a.answers == b.answers;
}

void Check(const AnswerRecord& record) {
  FUZZ_CHECK(record.answers.size() <= examora::kMaxAnswers);
  FUZZ_CHECK(record.AnswerAt(record.answers.size()).isEmpty());
  FUZZ_CHECK(record.AnswerAt(examora::kMaxAnswers + 5).isEmpty());
  if (PlainRecord(record)) {
    // Writing the record and reading it back gives the same record.
    const QString line = examora::BuildAnswerLine(record);
    FUZZ_CHECK(SameRecord(examora::ParseAnswerLine(line), record));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QString line = examora::FirstLineOf(bytes);
  FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
  Check(examora::ParseAnswerLine(line));
  Check(examora::ParseAnswerLineForScoring(line));
  return 0;
}
