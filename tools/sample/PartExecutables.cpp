#include "PartExecutables.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/ExamData.h"
#include "data/IniFile.h"
#include "data/PartCode.h"

namespace examora::sample {
namespace {

// The program's module of page screens (where the build makes one): beside the program in a
// build folder, or in the installed library folder.
QString PageModuleOf(const QString& program) {
#ifdef EXAMORA_PAGE_MODULE_FILE
  const QDir programFolder = QFileInfo(program).absoluteDir();
  for (const QString& candidate :
       {programFolder.filePath(QStringLiteral(EXAMORA_PAGE_MODULE_FILE)),
        programFolder.filePath(QStringLiteral("../lib/examora/" EXAMORA_PAGE_MODULE_FILE))}) {
    if (QFileInfo::exists(candidate)) return candidate;
  }
#else
  Q_UNUSED(program);
#endif
  return {};
}

}  // namespace

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
  // The copies find the module beside them, as in an installation on Windows.
  if (const QString module = PageModuleOf(program); !module.isEmpty()) {
    const QString target = folder + u'/' + QFileInfo(module).fileName();
    QFile::remove(target);
    if (!QFile::copy(module, target))
      return fail(QStringLiteral("cannot copy %1 to %2").arg(module, target));
  }
  return true;
}

}  // namespace examora::sample
