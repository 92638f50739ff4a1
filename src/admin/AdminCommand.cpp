#include "admin/AdminCommand.h"

#include <QDir>
#include <QFileInfo>

#include "admin/CandidateState.h"
#include "admin/InstallationCheck.h"
#include "admin/OperatorActions.h"
#include "data/ExamData.h"

namespace examora::admin {
namespace {

const char kUsage[] =
    "usage: examora-admin check <installation>\n"
    "       examora-admin status <installation> [--json]\n"
    "       examora-admin reset <installation> [--part N]\n"
    "       examora-admin collect <installation> <folder>\n";

int Usage(const Console& console, const QString& why = {}) {
  if (!why.isEmpty()) console.err(QStringLiteral("examora-admin: ") + why + u'\n');
  console.err(QString::fromLatin1(kUsage));
  return kExitUsage;
}

int Report(const Console& console, const ActionResult& result) {
  for (const QString& line : result.lines) console.out(line + u'\n');
  if (result.ok) return kExitClean;
  console.err(QStringLiteral("examora-admin: ") + result.error + u'\n');
  return kExitProblems;
}

}  // namespace

int RunAdmin(const QStringList& arguments, const Console& console, const QDateTime& now) {
  if (arguments.size() < 2) return Usage(console);
  const QString command = arguments.at(0);
  const QString installation = arguments.at(1);
  const QStringList rest = arguments.mid(2);
  if (!QFileInfo(installation).isDir())
    return Usage(console, QStringLiteral("%1 is not a folder").arg(installation));
  const QString root = QDir::cleanPath(QFileInfo(installation).absoluteFilePath());
  const Progress progress = [&console](const QString& line) { console.err(line + u'\n'); };

  if (command == u"check") {
    if (!rest.isEmpty()) return Usage(console);
    const CheckResult result = CheckInstallation(root, progress);
    for (const QString& note : result.notes) console.out(QStringLiteral("note: ") + note + u'\n');
    for (const Problem& problem : result.problems) console.out(FormatProblem(problem) + u'\n');
    if (result.problems.isEmpty()) {
      console.out(QStringLiteral("%1: no problems found\n").arg(QDir::toNativeSeparators(root)));
      return kExitClean;
    }
    console.out(QStringLiteral("%1 problem(s) found\n").arg(result.problems.size()));
    return kExitProblems;
  }
  if (command == u"status") {
    const bool json = rest == QStringList{QStringLiteral("--json")};
    if (!rest.isEmpty() && !json) return Usage(console);
    const InstallationState state = ReadInstallationState(root);
    console.out(json ? QString::fromUtf8(StatusJson(state)) : StatusText(state));
    return kExitClean;
  }
  if (command == u"reset") {
    int part = 0;
    if (!rest.isEmpty()) {
      if (rest.size() != 2 || rest.at(0) != u"--part" || !ParseIniInteger(rest.at(1), &part) ||
          part < 1)
        return Usage(console, QStringLiteral("--part takes a part number from 1"));
    }
    return Report(console, ResetInstallation(root, part, now));
  }
  if (command == u"collect") {
    if (rest.size() != 1) return Usage(console);
    return Report(console, CollectAnswers(root, rest.at(0), progress));
  }
  return Usage(console, QStringLiteral("unknown command %1").arg(command));
}

}  // namespace examora::admin
