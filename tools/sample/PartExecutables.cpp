#include "PartExecutables.h"

#include <QDate>
#include <QFile>

#include "data/ExamData.h"
#include "data/IniFile.h"
#include "data/PartCode.h"

namespace examora::sample {

bool WritePartExecutables(const QString& folder, const QString& program, QString* error) {
  const auto fail = [error](const QString& message) {
    if (error) *error = message;
    return false;
  };
  const SystemIni system = SystemIniFrom(
      IniFile::Load(folder + QStringLiteral("/system/system.ini")), QDate::currentDate().year());
  if (system.partCount < 1) return fail(QStringLiteral("system.ini names no part (部数)"));
  for (int part = 1; part <= system.partCount; ++part) {
    const SetupIni setup =
        SetupIniFrom(IniFile::Load(folder + QStringLiteral("/system/%1/setup.ini").arg(part)));
    if (setup.partName.isEmpty())
      return fail(QStringLiteral("part %1 has no 部種名称 in its setup.ini").arg(part));
    const QString target = folder + u'/' + PartExecutableName(part, setup.partName);
    QFile::remove(target);  // a copy left by an earlier run of the builder
    if (!QFile::copy(program, target))
      return fail(QStringLiteral("cannot copy %1 to %2").arg(program, target));
  }
  return true;
}

}  // namespace examora::sample
