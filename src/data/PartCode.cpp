#include "data/PartCode.h"

#include "data/ExamData.h"

#include <algorithm>

namespace examora {

QString PartCodeFrom(const QString& executableFileName, const QStringList& arguments) {
  QString code = executableFileName.mid(1, 1);
  const QString debug = QString::fromUtf16(kDebugSwitch);
  for (const QString& argument : arguments) {
    if (argument != debug) code = argument;
  }
  return code;
}

bool IsDebugRun(const QStringList& arguments) {
  return arguments.contains(QString::fromUtf16(kDebugSwitch));
}

bool PartNumberFrom(const QString& partCode, int* number) {
  return ParseIniInteger(partCode, number);
}

NextPartResult NextPart(const QString& currentPartCode, int partCount,
                        const std::function<bool(int)>& isEnded) {
  int current = 0;
  if (!PartNumberFrom(currentPartCode, &current)) return {NextPartResult::Kind::Impossible, 0};
  // Parts are numbered from 1: a negative or zero part code searches from part 1, and counting
  // up from a number near the int range must not wrap around.
  for (qint64 n = std::max<qint64>(qint64(current) + 1, 1); n <= partCount; ++n) {
    if (!isEnded(int(n))) return {NextPartResult::Kind::Part, int(n)};
  }
  return {NextPartResult::Kind::None, 0};
}

QString PartExecutableName(int partNumber, const QString& partName) {
  return u'[' + QString::number(partNumber) + u']' + partName + QStringLiteral(".exe");
}

QString SubmissionExecutableName(int partCount) {
  return u'[' + QString::number(qint64(partCount) + 1) + QStringLiteral("]提出用ファイル作成.exe");
}

}  // namespace examora
