#include "flow/model/PracticeRules.h"

#include <QByteArray>

#include "common/Cp932.h"

namespace examora {

QString FolderMessage(const QString& folderName, const QString& exeFolder) {
  QString folder = exeFolder;
  while (folder.size() > 1 && (folder.endsWith(u'\\') || folder.endsWith(u'/'))) folder.chop(1);
  return QStringLiteral("※「") + folderName + QStringLiteral("」フォルダーは「") + folder +
         QStringLiteral("」に格納されています。");
}

WrappedFolderMessage WrapFolderMessage(const QString& message, int firstLimit, int furtherLimit,
                                       int maxLines) {
  WrappedFolderMessage wrapped;
  const QByteArray bytes = ToCp932(message);
  qsizetype start = 0;
  while (start < bytes.size() && wrapped.lines.size() < maxLines) {
    const qsizetype remaining = bytes.size() - start;
    const qsizetype limit = wrapped.lines.isEmpty() ? firstLimit : furtherLimit;
    qsizetype cut = remaining;
    if (limit < remaining) {
      // Walk the characters from the line's start: a byte in the lead range may as well be
      // the second half of a character, so only the walk tells where characters begin.
      qsizetype pos = 0;
      while (true) {
        const qsizetype width =
            IsCp932LeadByte(static_cast<unsigned char>(bytes[start + pos])) && pos + 1 < remaining
                ? 2
                : 1;
        if (pos + width > limit) break;
        pos += width;
      }
      cut = pos;
      if (cut <= 0) {
        const QString rest = FromCp932(QByteArrayView(bytes).sliced(start));
        wrapped.problems << QStringLiteral("エラーチェック１")
                         << QStringLiteral("FolderMes：") + rest;
        cut = std::min<qsizetype>(
            remaining, IsCp932LeadByte(static_cast<unsigned char>(bytes[start])) ? 2 : 1);
      }
    }
    wrapped.lines << FromCp932(QByteArrayView(bytes).sliced(start, cut));
    start += cut;
  }
  return wrapped;
}

}  // namespace examora
