#include "data/InstallPaths.h"

#include <QDir>
#include <QFileInfo>

#include "common/ExeFolder.h"

namespace examora {
namespace {

QString InContent(const QString& folderCode, const QString& relative) {
  return ContentFolder(folderCode) + u'/' + relative;
}

}  // namespace

QString ToNativeSeparators(const QString& path) {
  return QDir::toNativeSeparators(path);
}

QString PathFromIniValue(const QString& value) {
  QString path = value;
  path.replace(u'\\', u'/');
  return path;
}

QString SetupFolderCode(const QString& partCode, bool practice) {
  return practice ? u'Z' + partCode : partCode;
}

QString SystemIniPath() {
  return QStringLiteral("system/system.ini");
}
QString ShikenIniPath() {
  return QStringLiteral("system/shiken.ini");
}

QString SetupIniPath(const QString& folderCode) {
  return QStringLiteral("system/") + folderCode + QStringLiteral("/setup.ini");
}

QString AnswerKeyIniPath(const QString& partCode) {
  return QStringLiteral("system/seito[") + partCode + QStringLiteral("].ini");
}

QString UpdateCheckIniPath(const QString& partCode) {
  return QStringLiteral("system/") + partCode + QStringLiteral("/update_check.ini");
}

QString AnswerFileRelativePath(const QString& folderCode) {
  return QStringLiteral("system/") + folderCode + QStringLiteral("/a.csv");
}

QString ContentFolder(const QString& folderCode) {
  return ExeFolder() + QStringLiteral("/system/") + folderCode;
}

QString AnswerFilePath(const QString& folderCode) {
  return ExePath(AnswerFileRelativePath(folderCode));
}

QString ImagePath(const QString& fileName) {
  return ExeFolder() + QStringLiteral("/system/Image/") + fileName;
}

QString WholePaperPage(const QString& folderCode) {
  return InContent(folderCode, QStringLiteral("html/q/all/index.html"));
}

QString QuestionFoldersRoot(const QString& folderCode) {
  return InContent(folderCode, QStringLiteral("html/q/mondai"));
}

QString QuestionPage(const QString& folderCode, const QString& q) {
  return InContent(folderCode,
                   QStringLiteral("html/q/mondai/") + q + QStringLiteral("/index.html"));
}

QString SubQuestionPage(const QString& folderCode, const QString& q, const QString& s) {
  return InContent(folderCode, QStringLiteral("html/q/setsumon/") + q + u'-' + s +
                                   QStringLiteral("/index.html"));
}

QString HeadingPage(const QString& folderCode, const QString& heading) {
  return InContent(folderCode,
                   QStringLiteral("html/q/midashi/") + heading + QStringLiteral("/index.html"));
}

QString NotesFolder(const QString& folderCode) {
  return InContent(folderCode, QStringLiteral("html/c"));
}

QString ExplanationFolder(const QString& folderCode) {
  return InContent(folderCode, QStringLiteral("html/o"));
}

QString SampleFolder(const QString& folderCode) {
  return InContent(folderCode, QStringLiteral("html/s"));
}

QString ExecutablePath(const QString& fileName) {
  return ExeFolder() + u'/' + fileName;
}

QString InstallationFolderName() {
  return QFileInfo(ExeFolder()).fileName();
}

QString WorkFolderName(WorkFolder folder) {
  switch (folder) {
    case WorkFolder::Practical:
      return QStringLiteral("実技用");
    case WorkFolder::Knowledge:
      return QStringLiteral("知識用");
    case WorkFolder::KnowledgePractice:
      return QStringLiteral("知識操作練習用");
    case WorkFolder::PracticalPractice:
      return QStringLiteral("実技操作練習用");
  }
  return {};
}

QString WorkFolderPath(WorkFolder folder) {
  return ExeFolder() + u'/' + WorkFolderName(folder);
}

QStringList WorkFolderTree(WorkFolder folder) {
  const QString name = WorkFolderName(folder);
  if (folder == WorkFolder::Knowledge || folder == WorkFolder::KnowledgePractice)
    return {name, name + QStringLiteral("/question")};
  return {name,
          name + QStringLiteral("/site"),
          name + QStringLiteral("/material"),
          name + QStringLiteral("/site/css"),
          name + QStringLiteral("/site/images"),
          name + QStringLiteral("/site/js")};
}

QList<FolderWindowTitles> WorkFolderWindowTitles(WorkFolder folder) {
  QList<FolderWindowTitles> titles;
  for (const QString& relative : WorkFolderTree(folder)) {
    titles.append({relative.section(u'/', -1), ToNativeSeparators(ExePath(relative))});
  }
  return titles;
}

}  // namespace examora
