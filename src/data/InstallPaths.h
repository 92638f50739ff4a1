#pragma once

#include <QString>
#include <QStringList>

// Where things are in an exam installation. Paths are built with "/" (Qt accepts it on every
// platform); ToNativeSeparators turns them into what the candidate and the file manager see.
// Relative paths are relative to the installation folder (ExeFolder()) and are what
// ReadIni/WriteIni take; absolute ones start with ExeFolder().
namespace examora {

// ---- Separators ----------------------------------------------------------------------------

// The path as the platform shows it ("\" on Windows).
QString ToNativeSeparators(const QString& path);

// A path written in an INI value: the files are authored on Windows, so "\" separates folders
// on every platform.
QString PathFromIniValue(const QString& value);

// ---- Folder codes --------------------------------------------------------------------------

// SetupFolderCode: "Z" + PartCode while the operation practice runs, otherwise PartCode.
QString SetupFolderCode(const QString& partCode, bool practice);

// ---- INI files and the answer file (relative) ----------------------------------------------

QString SystemIniPath();                                    // system/system.ini
QString ShikenIniPath();                                    // system/shiken.ini
QString SetupIniPath(const QString& folderCode);            // system/<code>/setup.ini
QString AnswerKeyIniPath(const QString& partCode);          // system/seito[<code>].ini
QString UpdateCheckIniPath(const QString& partCode);        // system/<code>/update_check.ini
QString AnswerFileRelativePath(const QString& folderCode);  // system/<code>/a.csv

// ---- Absolute paths ------------------------------------------------------------------------

QString ContentFolder(const QString& folderCode);   // <exe>/system/<code>
QString AnswerFilePath(const QString& folderCode);  // <exe>/system/<code>/a.csv
QString ImagePath(const QString& fileName);         // <exe>/system/Image/<fileName>

// Question pages of a content folder.
QString WholePaperPage(const QString& folderCode);                  // html/q/all/index.html
QString QuestionFoldersRoot(const QString& folderCode);             // html/q/mondai
QString QuestionPage(const QString& folderCode, const QString& q);  // html/q/mondai/<q>/index.html
QString SubQuestionPage(const QString& folderCode, const QString& q,
                        const QString& s);  // html/q/setsumon/<q>-<s>/index.html
// Heading pages: html/q/midashi/all/index.html (heading "all") or html/q/midashi/<n>/index.html.
QString HeadingPage(const QString& folderCode, const QString& heading);
QString NotesFolder(const QString& folderCode);        // html/c
QString ExplanationFolder(const QString& folderCode);  // html/o
QString SampleFolder(const QString& folderCode);       // html/s

// An executable beside this one.
QString ExecutablePath(const QString& fileName);

// The installation folder's own name, without its path (shown in the hand-over messages).
QString InstallationFolderName();

// ---- Work folders --------------------------------------------------------------------------

enum class WorkFolder {
  Practical,          // 実技用
  Knowledge,          // 知識用
  KnowledgePractice,  // 知識操作練習用
  PracticalPractice,  // 実技操作練習用
};

QString WorkFolderName(WorkFolder folder);
QString WorkFolderPath(WorkFolder folder);  // <exe>/<name>

// The folder and its sub-folders relative to the installation folder, in the order their
// file-manager windows are closed: the practical folders give <name>, <name>/site,
// <name>/material, <name>/site/css, <name>/site/images, <name>/site/js; the knowledge folders
// give <name> and <name>/question.
QStringList WorkFolderTree(WorkFolder folder);

// The two titles a file-manager window of a folder can have, in the order they are tried: the
// folder's own name and its full path with native separators.
struct FolderWindowTitles {
  QString name;
  QString fullPath;
};
QList<FolderWindowTitles> WorkFolderWindowTitles(WorkFolder folder);

}  // namespace examora
