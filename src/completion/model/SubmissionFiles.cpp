#include "completion/model/SubmissionFiles.h"

#include <QHash>
#include <QSet>

#include <chrono>

#include "common/FileList.h"
#include "common/QZMessage.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "platform/OpenFileProbe.h"

namespace examora {
namespace {

QString FormatLocal(std::chrono::local_seconds time) {
  using namespace std::chrono;
  const local_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  return QString::asprintf("%04d/%02u/%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                           static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                           static_cast<int>(clock.hours().count()),
                           static_cast<int>(clock.minutes().count()),
                           static_cast<int>(clock.seconds().count()));
}

// The work files that are not supplied material, probed, in the listing's sorted order. Files
// are probed folder by folder (a folder is read once, its files opened relative to it).
QList<SubmissionFile> ProbedWorkFiles(const SubmissionSource& source) {
  QString folder = source.workFolder;
  while (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
  QSet<QString> supplied;
  for (const QString& relative : source.suppliedFiles) supplied.insert(folder + u'/' + relative);
  QStringList paths;
  CollectFiles(folder, QStringLiteral("*.*"), paths, true, false);

  QList<SubmissionFile> files;
  QHash<QString, QList<qsizetype>> byFolder;  // sub-folder -> indexes into files
  QStringList folderOrder;
  for (const QString& path : paths) {
    // Exact and case-sensitive: the content names its files as they were copied in.
    if (supplied.contains(path)) continue;
    SubmissionFile file;
    file.fullPath = path;
    file.relativePath = path.mid(folder.size() + 1);
    file.relativePath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QString parent = path.left(path.lastIndexOf(QLatin1Char('/')));
    auto& indexes = byFolder[parent];
    if (indexes.isEmpty()) folderOrder << parent;
    indexes << files.size();
    files << file;
  }
  for (const QString& parent : folderOrder) {
    const QList<qsizetype>& indexes = byFolder[parent];
    std::vector<std::string> names;
    names.reserve(indexes.size());
    // UTF-8 all the way to the system: names that CP932 cannot hold are still found.
    for (const qsizetype i : indexes) {
      names.push_back(files[i].fullPath.mid(parent.size() + 1).toStdString());
    }
    const std::vector<OpenFileProbeResult> probes = ProbeOpenFilesIn(parent.toStdString(), names);
    for (std::size_t n = 0; n < probes.size(); ++n) {
      SubmissionFile& file = files[indexes[static_cast<qsizetype>(n)]];
      file.readable = probes[n].Readable();
      file.heldOpen = probes[n].HeldOpen();
      if (file.readable) {
        file.lastWrite = FormatLocal(probes[n].lastWrite);
      } else {
        file.error = QString::fromStdString(probes[n].error);
      }
    }
  }
  return files;
}

}  // namespace

QString SubmissionFile::Line() const {
  const QString state = readable ? QStringLiteral("更新日時：") + lastWrite : kSaveAndCloseState;
  return relativePath + u'（' + state + u'）';
}

SubmissionSource SubmissionSource::Read(const QString& partCode) {
  SubmissionSource source;
  source.workFolder = WorkFolderPath(WorkFolder::Practical);
  source.suppliedFiles = ReadUpdateCheckExclusions(partCode);
  source.examStart = ReadShikenIni().examStartTime;
  return source;
}

QList<SubmissionFile> ProbeWorkFiles(const SubmissionSource& source) {
  return ProbedWorkFiles(source);
}

QList<SubmissionFile> ListSubmissionFiles(const SubmissionSource& source) {
  QList<SubmissionFile> listed;
  for (SubmissionFile& file : ProbedWorkFiles(source)) {
    const bool unchanged =
        file.readable && !source.examStart.isEmpty() && file.lastWrite <= source.examStart;
    if (!unchanged) listed.append(std::move(file));
  }
  return listed;
}

std::optional<SubmissionFile> FirstUnreadableWorkFile(const SubmissionSource& source) {
  for (SubmissionFile& file : ProbedWorkFiles(source)) {
    if (!file.readable) return std::move(file);
  }
  return std::nullopt;
}

QString FileOpenMessage(bool timeOver) {
  return timeOver ? msg::kFileOpenPressEnd : msg::kFileOpenPressYes;
}

SubmissionVariant ChooseSubmissionVariant(const QString& examType, bool examHasCompactPractical,
                                          bool timeOver) {
  if (examType == u"3") return SubmissionVariant::A;
  if (examHasCompactPractical) return SubmissionVariant::B;
  if (timeOver) return SubmissionVariant::C;
  return SubmissionVariant::D;
}

bool ExamHasCompactPracticalPart() {
  const int parts = ReadSystemIni(QDate::currentDate().year()).partCount;
  for (int n = 1; n <= parts; ++n) {
    const SetupIni setup = ReadSetupIni(QString::number(n));
    if (setup.examCategory == u"2" && (setup.examType == u"2" || setup.examType == u"3")) {
      return true;
    }
  }
  return false;
}

bool ConfirmationBoxesRequired(const QString& category, const QString& examType) {
  return category == u"2" && examType == u"3";
}

}  // namespace examora
