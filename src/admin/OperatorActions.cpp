#include "admin/OperatorActions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>
#include <vector>

#include "common/ExeFolder.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "platform/NamedMutex.h"

namespace examora::admin {
namespace {

using namespace Qt::StringLiterals;

const QString kStateFiles[] = {u"a.csv"_s, u"log.txt"_s, u"cpu.txt"_s};

ActionResult Refused(QString error) {
  ActionResult result;
  result.error = std::move(error);
  return result;
}

// The names every part of this installation runs under: each part's own executable name and
// every "[<n>]….exe" in the folder. The program takes a lock of its file name for as long as
// it runs.
QStringList PartLockNames(const QString& root, int partCount) {
  QStringList names;
  for (int part = 1; part <= partCount; ++part) {
    const QString name = ReadSetupIni(QString::number(part)).partName;
    if (!name.isEmpty()) names << PartExecutableName(part, name);
  }
  for (const QString& file : QDir(root).entryList({u"[[]*.exe"_s}, QDir::Files | QDir::Hidden))
    if (!names.contains(file)) names << file;
  return names;
}

struct KeyChange {
  QString file;  // relative
  QString section;
  QString key;
  QString oldValue;
  QString newValue;
};

// The state keys of a part's setup.ini that hold a candidate, with their fresh values.
void CollectKeyChanges(const QString& folderCode, bool practiceFolder, QList<KeyChange>& changes) {
  const QString rel = SetupIniPath(folderCode);
  struct StateKey {
    const char16_t* section;
    const char16_t* key;
    const char16_t* fresh;
  };
  static const StateKey kPartKeys[] = {
      {u"基本情報", u"試験開始", u"0"}, {u"基本情報", u"正常終了", u""},
      {u"基本情報", u"延長終了", u""},  {u"試験時間", u"now", u"0"},
      {u"試験時間", u"add", u"0"},      {u"画面情報", u"左", u"0"},
      {u"画面情報", u"上", u"0"},       {u"画面情報", u"幅", u"0"},
      {u"画面情報", u"高さ", u"0"},
  };
  static const StateKey kPracticeKeys[] = {{u"試験時間", u"now", u"0"}};
  const auto write = [&](const StateKey& k) {
    const QString section = QString::fromUtf16(k.section);
    const QString key = QString::fromUtf16(k.key);
    const QString fresh = QString::fromUtf16(k.fresh);
    const QString value = ReadIni(rel, section, key);
    // An empty value reads as the fresh one ("0" minutes, not started).
    if (value.isEmpty() || value == fresh) return;
    changes.append({rel, section, key, value, fresh});
  };
  if (practiceFolder) {
    for (const StateKey& k : kPracticeKeys) write(k);
  } else {
    for (const StateKey& k : kPartKeys) write(k);
  }
}

// Whether shiken.ini holds anything of a candidate; 連携 alone belongs to the PC.
bool HoldsCandidate(const ShikenIni& s) {
  for (const QString* value :
       {&s.venueCode, &s.candidateNumber, &s.familyName, &s.givenName, &s.birthYear, &s.birthMonth,
        &s.birthDay, &s.sex, &s.examDate, &s.examStartTime})
    if (!value->isEmpty()) return true;
  return false;
}

QString BackupFolder(const QDateTime& now) {
  const QString base = ExePath(u"system/backup/"_s) + now.toString(u"yyyyMMdd-HHmmss"_s);
  QString folder = base;
  for (int n = 2; QFileInfo::exists(folder); ++n) folder = base + u'-' + QString::number(n);
  return folder;
}

}  // namespace

ActionResult ResetInstallation(const QString& root, int partNumber, const QDateTime& now) {
  SetExeFolder(root);
  if (!QFileInfo::exists(ExePath(SystemIniPath())))
    return Refused(u"no system\\system.ini: this is not an exam installation"_s);
  const int partCount = std::clamp(ReadSystemIni(now.date().year()).partCount, 0, 99);
  if (partNumber < 0 || partNumber > partCount)
    return Refused(QStringLiteral("part %1 is not a part of this installation (部数 is %2)")
                       .arg(partNumber)
                       .arg(partCount));

  // Hold every part's lock for the whole reset: a running part refuses it, and a part started
  // meanwhile stops at its own lock instead of writing into a half-reset folder.
  std::vector<std::unique_ptr<NamedMutex>> locks;
  for (const QString& name : PartLockNames(ExeFolder(), partCount)) {
    NamedMutexAttempt attempt = NamedMutex::TryAcquire(name.toStdString());
    if (attempt.HeldElsewhere())
      return Refused(QStringLiteral("%1 is running (it holds its lock); nothing was moved. "
                                    "End the part first.")
                         .arg(name));
    if (attempt.Acquired()) locks.push_back(std::move(attempt.mutex));
  }

  QStringList parts;
  for (int part = 1; part <= partCount; ++part)
    if (partNumber == 0 || part == partNumber) parts << QString::number(part);
  QStringList moves;  // relative paths
  QList<KeyChange> changes;
  for (const QString& code : parts) {
    for (const QString& folder : QStringList{code, u'Z' + code}) {
      for (const QString& name : kStateFiles) {
        const QString rel = u"system/"_s + folder + u'/' + name;
        if (QFileInfo(ExePath(rel)).isFile()) moves << rel;
      }
      if (QFileInfo::exists(ExePath(SetupIniPath(folder))))
        CollectKeyChanges(folder, folder != code, changes);
    }
  }
  QString linkMode;
  if (partNumber == 0) {
    for (const QString& rel : {u"system/log.txt"_s, u"system/cpu.txt"_s})
      if (QFileInfo(ExePath(rel)).isFile()) moves << rel;
    const ShikenIni shiken = ReadShikenIni();
    if (HoldsCandidate(shiken)) {
      moves << ShikenIniPath();
      linkMode = shiken.linkMode;
    }
  }
  ActionResult result;
  if (moves.isEmpty() && changes.isEmpty()) {
    result.ok = true;
    result.lines << u"nothing to reset: no candidate state in the folder"_s;
    return result;
  }

  const QString backup = BackupFolder(now);
  const QString shownBackup = ShownPath(QDir(ExeFolder()).relativeFilePath(backup));
  if (!QDir().mkpath(backup))
    return Refused(QStringLiteral("cannot create %1; nothing was moved").arg(shownBackup));
  const auto backupPath = [&](const QString& rel) -> QString {
    return backup + u'/' + rel.mid(QStringLiteral("system/").size());
  };
  // The setup.ini files keep their place; a copy of each one about to change shows the
  // candidate's state keys as they were.
  QStringList copied;
  for (const KeyChange& change : changes) {
    if (copied.contains(change.file)) continue;
    const QString to = backupPath(change.file);
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(ExePath(change.file), to))
      return Refused(QStringLiteral("cannot copy %1 into %2; nothing was moved")
                         .arg(ShownPath(change.file), shownBackup));
    copied << change.file;
  }
  for (const QString& rel : moves) {
    const QString to = backupPath(rel);
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile file(ExePath(rel));
    if (!file.rename(to)) {
      result.error = QStringLiteral("cannot move %1: %2; what was moved so far is in %3")
                         .arg(ShownPath(rel), file.errorString(), shownBackup);
      return result;
    }
    result.lines << QStringLiteral("moved %1 to %2")
                        .arg(ShownPath(rel), ShownPath(QDir(ExeFolder()).relativeFilePath(to)));
  }
  for (const KeyChange& change : changes) {
    const WriteResult written = WriteIni(change.file, change.section, change.key, change.newValue);
    if (!written) {
      result.error = QStringLiteral("cannot write [%1] %2 in %3: %4")
                         .arg(change.section, change.key, ShownPath(change.file), written.error);
      return result;
    }
    result.lines << QStringLiteral("%1: [%2] %3 = \"%4\" (was \"%5\")")
                        .arg(ShownPath(change.file), change.section, change.key, change.newValue,
                             change.oldValue);
  }
  if (!linkMode.isEmpty()) {
    const WriteResult written = WriteLinkMode(linkMode);
    if (!written) {
      result.error =
          QStringLiteral("cannot write 連携 back into system\\shiken.ini: %1").arg(written.error);
      return result;
    }
    result.lines << QStringLiteral(
                        "system\\shiken.ini: [受験者情報] 連携 = \"%1\" kept for the next "
                        "candidate")
                        .arg(linkMode);
  }
  result.lines << QStringLiteral("the previous candidate's state is in %1").arg(shownBackup);
  result.ok = true;
  return result;
}

ActionResult CollectAnswers(const QString& root, const QString& destination,
                            const Progress& progress) {
  SetExeFolder(root);
  if (!QFileInfo::exists(ExePath(SystemIniPath())))
    return Refused(u"no system\\system.ini: this is not an exam installation"_s);
  const ShikenIni shiken = ReadShikenIni();
  if (shiken.venueCode.isEmpty() || shiken.candidateNumber.isEmpty())
    return Refused(u"system\\shiken.ini has no 会場コード or 受験番号: no candidate to collect"_s);
  const QString name = shiken.venueCode + u'_' + shiken.candidateNumber;
  // Typed by candidates: nothing in it may lead out of the destination.
  static const QRegularExpression kUnsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1F]|^\\.|\\.$"));
  if (kUnsafe.match(name).hasMatch())
    return Refused(QStringLiteral("%1 cannot be a folder name; nothing was copied").arg(name));
  const QString target = QDir(destination).absoluteFilePath(name);
  if (QFileInfo::exists(target))
    return Refused(QStringLiteral("%1 exists already; nothing was copied")
                       .arg(QDir::toNativeSeparators(target)));

  const int partCount = std::clamp(ReadSystemIni(QDate::currentDate().year()).partCount, 0, 99);
  QStringList files{ShikenIniPath()};
  for (int part = 1; part <= partCount; ++part)
    for (const QString& file : kStateFiles)
      files << u"system/"_s + QString::number(part) + u'/' + file;

  const QString staging =
      QDir(destination)
          .absoluteFilePath(
              QStringLiteral(".%1.partial-%2").arg(name).arg(QCoreApplication::applicationPid()));
  ActionResult result;
  const auto fail = [&](const QString& error) {
    QDir(staging).removeRecursively();  // only our own unfinished copy
    result.lines.clear();
    result.error = error + u"; nothing was collected"_s;
    return result;
  };
  if (!QDir().mkpath(staging))
    return fail(
        QStringLiteral("cannot create a folder in %1").arg(QDir::toNativeSeparators(destination)));
  int index = 0;
  for (const QString& rel : files) {
    ++index;
    if (progress)
      progress(QStringLiteral("[%1/%2] %3").arg(index).arg(files.size()).arg(ShownPath(rel)));
    if (!QFileInfo(ExePath(rel)).isFile()) continue;
    const QString inside = rel.mid(QStringLiteral("system/").size());
    const QString to = staging + u'/' + inside;
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile from(ExePath(rel));
    if (!from.copy(to))
      return fail(QStringLiteral("cannot copy %1: %2").arg(ShownPath(rel), from.errorString()));
    result.lines << QStringLiteral("copied %1").arg(ShownPath(rel));
  }
  if (QFileInfo::exists(target) || !QDir().rename(staging, target))
    return fail(QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(target)));
  result.lines << QStringLiteral("collected into %1").arg(QDir::toNativeSeparators(target));
  result.ok = true;
  return result;
}

}  // namespace examora::admin
