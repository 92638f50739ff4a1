#include "viewers/BrowserLockdown.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "platform/FileAttributes.h"

namespace examora {

namespace {

Qt::CaseSensitivity PathCase() {
  return FilePathsIgnoreCase() ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

}  // namespace

bool IsUrlInsideFolder(const QUrl& url, const QString& folder) {
  if (!url.isValid() || !url.isLocalFile() || folder.isEmpty()) return false;
  // A host would make the path a network share: refuse it before touching the file system.
  const QString host = url.host();
  if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
    return false;
  const QString root = QFileInfo(folder).canonicalFilePath();
  const QString target = QFileInfo(url.toLocalFile()).canonicalFilePath();
  if (root.isEmpty() || target.isEmpty()) return false;
  if (target.compare(root, PathCase()) == 0) return true;
  const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
  return target.startsWith(prefix, PathCase());
}

bool IsNavigationAllowed(const QUrl& url, const QString& folder) {
  if (url.scheme() == QLatin1String("about") && url.path() == QLatin1String("blank")) return true;
  return IsUrlInsideFolder(url, folder);
}

QString JsStringLiteral(const QString& text) {
  // A one-element JSON array gives the escaped string between its brackets.
  const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString FolderElementScript(const QString& folderName) {
  return QStringLiteral(
             "(function(){var e=document.getElementsByName('FOLDER');"
             "if(e.length>0){e[0].textContent=%1;}})();")
      .arg(JsStringLiteral(folderName));
}

QString StyleInjectionScript(const QString& css, const QString& id) {
  return QStringLiteral(
             "(function(){var id=%1;if(document.getElementById(id))return;"
             "var s=document.createElement('style');s.id=id;s.textContent=%2;"
             "(document.head||document.documentElement).appendChild(s);})();")
      .arg(JsStringLiteral(id), JsStringLiteral(css));
}

}  // namespace examora
