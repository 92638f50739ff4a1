#include "data/AnswerRecord.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "common/Cp932.h"
#include "data/AtomicFile.h"
#include "data/CommaText.h"

namespace examora {
namespace {

constexpr qsizetype kLeadingFields = 4;

AnswerRecord RecordFromFields(const QStringList& fields) {
  AnswerRecord record;
  auto field = [&](qsizetype i) { return i < fields.size() ? fields.at(i) : QString(); };
  record.gradeCode = field(0);
  record.partCode = field(1);
  record.venueCode = field(2);
  record.candidateNumber = field(3);
  if (fields.size() > kLeadingFields) record.answers = fields.mid(kLeadingFields, kMaxAnswers);
  return record;
}

// A missing or unreadable file gives a record without any field: no stored answers.
AnswerRecord ReadFirstLine(const QString& absolutePath, bool forScoring) {
  QFile file(absolutePath);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString line = FirstLineOf(file.readAll());
  return forScoring ? ParseAnswerLineForScoring(line) : ParseAnswerLine(line);
}

}  // namespace

QString AnswerRecord::AnswerAt(qsizetype index) const {
  return index >= 0 && index < answers.size() ? answers.at(index) : QString();
}

QString BuildAnswerLine(const AnswerRecord& record) {
  QString line = record.gradeCode + u',' + record.partCode + u',' + record.venueCode + u',' +
                 record.candidateNumber;
  const qsizetype count = std::min<qsizetype>(record.answers.size(), kMaxAnswers);
  for (qsizetype i = 0; i < count; ++i) line += u',' + record.answers.at(i);
  return line;
}

QByteArray AnswerFileBytes(const AnswerRecord& record) {
  return ToCp932(BuildAnswerLine(record)) + QByteArrayLiteral("\r\n");
}

AnswerRecord ParseAnswerLine(const QString& line) {
  return RecordFromFields(SplitCommaText(line));
}

AnswerRecord ParseAnswerLineForScoring(const QString& line) {
  QString widened = line;
  widened.replace(QChar(u' '), QChar(u'\u3000'));
  return RecordFromFields(SplitCommaText(widened));
}

QString FirstLineOf(const QByteArray& cp932Bytes) {
  const QString text = FromCp932(cp932Bytes);
  qsizetype end = 0;
  while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n') ++end;
  return text.left(end);
}

AnswerRecord ReadAnswerFile(const QString& absolutePath) {
  return ReadFirstLine(absolutePath, false);
}

AnswerRecord ReadAnswerFileForScoring(const QString& absolutePath) {
  return ReadFirstLine(absolutePath, true);
}

WriteResult WriteAnswerFile(const QString& absolutePath, const AnswerRecord& record) {
  return WriteFileAtomically(absolutePath, AnswerFileBytes(record));
}

WriteResult CreateEmptyAnswerFile(const QString& absolutePath) {
  if (QFileInfo::exists(absolutePath)) return WriteResult::Success();
  return WriteFileAtomically(absolutePath, QByteArrayLiteral("\r\n"));
}

}  // namespace examora
