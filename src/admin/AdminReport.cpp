#include "admin/AdminReport.h"

#include "common/Cp932.h"

namespace examora::admin {

QString FormatProblem(const Problem& problem) {
  QString text = problem.file;
  if (problem.line > 0) text += u':' + QString::number(problem.line);
  text += QStringLiteral(": ");
  if (!problem.section.isEmpty()) text += u'[' + problem.section + QStringLiteral("] ");
  if (!problem.key.isEmpty()) text += problem.key + QStringLiteral(": ");
  return text + problem.what;
}

QString ShownPath(const QString& relativePath) {
  QString shown = relativePath;
  shown.replace(u'/', u'\\');
  return shown;
}

int FirstInvalidCp932Line(QByteArrayView bytes) {
  int line = 1;
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\n') {
      ++line;
      continue;
    }
    if (b == 0x80 || b == 0xA0 || b >= 0xFD) return line;
    if (!IsCp932LeadByte(b)) continue;
    if (i + 1 >= n) return line;
    const auto trail = static_cast<unsigned char>(bytes[i + 1]);
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return line;
    // The codec gives the code page's default character for a code it does not define; only
    // 0x8145 stands for that character itself.
    const QString decoded = FromCp932(bytes.sliced(i, 2));
    if (decoded.size() != 1 || (decoded.at(0) == QChar(0x30FB) && !(b == 0x81 && trail == 0x45)))
      return line;
    ++i;
  }
  return 0;
}

QString ByteOrderMark(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QStringLiteral("UTF-8");
  if (bytes.startsWith("\xFF\xFE")) return QStringLiteral("UTF-16LE");
  if (bytes.startsWith("\xFE\xFF")) return QStringLiteral("UTF-16BE");
  return {};
}

}  // namespace examora::admin
