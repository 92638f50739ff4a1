#include "common/PageScope.h"

#include <QFileInfo>

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

bool IsUrlInsideAnyFolder(const QUrl& url, const QStringList& folders) {
  for (const QString& folder : folders) {
    if (IsUrlInsideFolder(url, folder)) return true;
  }
  return false;
}

bool IsNavigationAllowed(const QUrl& url, const QStringList& folders) {
  if (url.scheme() == QLatin1String("about") && url.path() == QLatin1String("blank")) return true;
  return IsUrlInsideAnyFolder(url, folders);
}

}  // namespace examora
