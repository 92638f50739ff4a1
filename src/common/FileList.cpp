#include "common/FileList.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

#include "platform/FileAttributes.h"

namespace examora {

void IncludeBackslash(QString& path) {
  if (!path.endsWith(QLatin1Char('\\'))) path += QLatin1Char('\\');
}

namespace {

// "\" and "/" both separate; the result ends with "/".
QString FolderWithSlash(const QString& folder) {
  QString f = QDir::fromNativeSeparators(folder);
  f.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

// Masks follow the Windows rules the installations were made with: case-insensitive, and a
// trailing ".*" also matches names without an extension, so "*.*" matches every name.
class FileMask {
 public:
  explicit FileMask(const QString& mask) {
    const auto toRegex = [](const QString& m) {
      return QRegularExpression(QRegularExpression::wildcardToRegularExpression(m),
                                QRegularExpression::CaseInsensitiveOption);
    };
    full_ = toRegex(mask);
    if (mask.endsWith(QStringLiteral(".*"))) {
      withoutExtension_ = toRegex(mask.chopped(2));
      hasAlternative_ = true;
    }
  }
  bool Matches(const QString& name) const {
    if (full_.match(name).hasMatch()) return true;
    return hasAlternative_ && !name.contains(QLatin1Char('.')) &&
           withoutExtension_.match(name).hasMatch();
  }

 private:
  QRegularExpression full_;
  QRegularExpression withoutExtension_;
  bool hasAlternative_ = false;
};

void SortPathList(QStringList& list) {
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(list.begin(), list.end(), [&collator](const QString& a, const QString& b) {
    return collator.compare(a, b) < 0;
  });
}

void CollectFilesIn(const QString& folder, const FileMask& mask, QStringList& list, bool recurse,
                    bool clearAttributes) {
  const QDir dir(folder);
  const QFileInfoList entries = dir.entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
  for (const QFileInfo& entry : entries) {
    if (!mask.Matches(entry.fileName())) continue;
    // Decide on the attributes as found; clearing them below must not let a hidden file in.
    const bool hidden = entry.isHidden();
    if (clearAttributes) ClearReadOnlyAndHidden(entry.absoluteFilePath().toStdString());
    if (entry.isDir()) {
      // A link back up the tree would recurse without end; linked folders are not followed.
      if (recurse && !entry.isSymLink() && !entry.isJunction()) {
        CollectFilesIn(folder + entry.fileName() + QLatin1Char('/'), mask, list, recurse,
                       clearAttributes);
      }
    } else if (entry.size() > 0 && !hidden) {
      list.append(folder + entry.fileName());
    }
  }
}

}  // namespace

void CollectFiles(const QString& folder, const QString& mask, QStringList& list, bool recurse,
                  bool clearAttributes) {
  CollectFilesIn(FolderWithSlash(folder), FileMask(mask), list, recurse, clearAttributes);
  // Once, over the whole tree: sorting after every folder made deep work folders quadratic.
  SortPathList(list);
}

int CountSubfolders(const QString& folder) {
  const QDir dir(FolderWithSlash(folder));
  if (!dir.exists()) return 0;
  return static_cast<int>(
      dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size());
}

}  // namespace examora
