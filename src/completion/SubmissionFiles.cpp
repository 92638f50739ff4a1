#include "completion/SubmissionFiles.h"

#include <QSet>

#include <chrono>

#include "common/CMFunc.h"
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

SubmissionFile Probe(const QString& fullPath, const QString& workFolder) {
  SubmissionFile file;
  file.fullPath = fullPath;
  file.relativePath = fullPath.mid(workFolder.size() + 1);
  file.relativePath.replace(QLatin1Char('/'), QLatin1Char('\\'));
  // UTF-8 all the way to the system: names that CP932 cannot hold are still found.
  const OpenFileProbeResult probe = ProbeOpenFile(fullPath.toStdString());
  file.readable = probe.Readable();
  file.heldOpen = probe.HeldOpen();
  if (file.readable) {
    file.lastWrite = FormatLocal(probe.lastWrite);
  } else {
    file.error = QString::fromStdString(probe.error);
  }
  return file;
}

// Calls `visit` for every work file that is not supplied material, in the sorted order, until
// it returns false.
template <typename Visit>
void ForEachWorkFile(const SubmissionSource& source, Visit visit) {
  QString folder = source.workFolder;
  while (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
  QSet<QString> supplied;
  for (const QString& relative : source.suppliedFiles) supplied.insert(folder + u'/' + relative);
  QStringList files;
  CollectFiles(folder, QStringLiteral("*.*"), files, true, false);
  for (const QString& path : files) {
    // Exact and case-sensitive: the content names its files as they were copied in.
    if (supplied.contains(path)) continue;
    if (!visit(Probe(path, folder))) return;
  }
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
  QList<SubmissionFile> files;
  ForEachWorkFile(source, [&files](SubmissionFile file) {
    files.append(std::move(file));
    return true;
  });
  return files;
}

QList<SubmissionFile> ListSubmissionFiles(const SubmissionSource& source) {
  QList<SubmissionFile> listed;
  ForEachWorkFile(source, [&](SubmissionFile file) {
    const bool unchanged =
        file.readable && !source.examStart.isEmpty() && file.lastWrite <= source.examStart;
    if (!unchanged) listed.append(std::move(file));
    return true;
  });
  return listed;
}

std::optional<SubmissionFile> FirstUnreadableWorkFile(const SubmissionSource& source) {
  std::optional<SubmissionFile> found;
  ForEachWorkFile(source, [&found](SubmissionFile file) {
    if (file.readable) return true;
    found = std::move(file);
    return false;
  });
  return found;
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
