#include "common/ExeFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace examora {
namespace {

QString& ExeFolderOverride() {
  static QString folder;
  return folder;
}

}  // namespace

QString ExeFolder() {
  const QString& set = ExeFolderOverride();
  if (!set.isEmpty()) return set;
  return QDir::fromNativeSeparators(QCoreApplication::applicationDirPath());
}

void SetExeFolder(const QString& folder) {
  QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  ExeFolderOverride() = clean;
}

QString ExePath(const QString& relativePath) {
  QString rel = relativePath;
  rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (rel.startsWith(QLatin1Char('/'))) rel.remove(0, 1);
  return ExeFolder() + QLatin1Char('/') + rel;
}

}  // namespace examora
