#include "common/CMFunc.h"

#include <QCollator>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/Cp932.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace examora {

// ---- Run log -------------------------------------------------------------------------------

void WriteLog(const QString& text, const QString& partCode, const QString& fileName) {
  WriteLog(text, partCode, fileName, QDateTime::currentDateTime());
}

void WriteLog(const QString& text, const QString& partCode, const QString& fileName,
              const QDateTime& now) {
  // Logging must never disturb the exam: every failure below simply loses the line.
  QString path = ExeFolder() + QStringLiteral("/system/");
  if (!partCode.isEmpty()) path += partCode + QLatin1Char('/');
  path += fileName;

  // Opened and closed per line so that everything up to the last event survives a crash.
  const bool existed = QFileInfo::exists(path);
  QFile file(path);
  // Unbuffered, so that a short write shows in write()'s result rather than being lost in flush().
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
    return;  // e.g. missing folder
  QString out;
  if (!existed) out = QStringLiteral("以下のログを検出しました。\r\n\r\n");
  out += now.toString(QStringLiteral("yyyy/MM/dd\thh:mm:ss.zzz")) + QLatin1Char('\t') + text +
         QStringLiteral("\r\n");
  const qint64 oldSize = file.size();
  const QByteArray bytes = ToCp932(out);
  if (file.write(bytes) == bytes.size() && file.flush()) {
    file.close();
    return;
  }
  // A line cut off by a full disk or a size limit would run into the next event's line, and
  // a new file left empty would never get its header: take back what got through.
  if (existed) {
    file.resize(oldSize);
    file.close();
  } else {
    file.close();
    QFile::remove(path);
  }
}

// ---- Dates and numbers ---------------------------------------------------------------------

bool IsValidDateText(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\s*([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})\\s*$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return false;
  const int year = m.captured(1).toInt();
  const int month = m.captured(2).toInt();
  const int day = m.captured(3).toInt();
  return year >= 1 && QDate::isValid(year, month, day);
}

QString LastDayOfMonthText(const QString& yearMonth) {
  for (int day = 31; day >= 20; --day) {
    const QString candidate =
        yearMonth + QLatin1Char('/') + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
    if (IsValidDateText(candidate)) return candidate;
  }
  return QStringLiteral("0000/00/00");
}

QString PadDigits(const QString& text, int width) {
  if (width <= 0) return QString();
  QString result(width, QLatin1Char('0'));
  int pos = width - 1;
  for (qsizetype i = text.size() - 1; i >= 0 && pos >= 0; --i) {
    const QChar c = text.at(i);
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) result[pos--] = c;
  }
  return result;
}

namespace {

long double PowerOfTen(int n) {
  return std::pow(10.0L, static_cast<long double>(n));
}

// The product is inspected at 15 significant digits: one that is integral at that precision
// (1.15 * 100 held as 114.999…) is rounded rather than cut, so it does not lose a unit.
long double TruncateToInteger(long double p) {
  char buffer[64];
  const auto res = std::to_chars(buffer, buffer + sizeof buffer, p, std::chars_format::general, 15);
  const bool hasFraction = res.ec == std::errc{} && std::find(buffer, res.ptr, '.') != res.ptr;
  return hasFraction ? std::trunc(p) : std::nearbyint(p);  // nearbyint: halves to even
}

}  // namespace

double TruncateDecimals(int decimals, double x) {
  const long double b = PowerOfTen(decimals);
  return static_cast<double>(TruncateToInteger(static_cast<long double>(x) * b) / b);
}

double RoundHalfUp(int decimals, double x) {
  const long double b = PowerOfTen(decimals);
  long double p = static_cast<long double>(x) * b;
  p += p >= 0 ? 0.5L : -0.5L;
  return static_cast<double>(TruncateToInteger(p) / b);
}

int RoundHalfEven(double x) {
  return static_cast<int>(std::nearbyint(x));
}

QPoint CenteredTopLeft(const QRect& screen, const QSize& window) {
  return {screen.left() + RoundHalfEven((screen.width() - window.width()) / 2.0),
          screen.top() + RoundHalfEven((screen.height() - window.height()) / 2.0)};
}

// ---- Paths and files -----------------------------------------------------------------------

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

void ClearReadOnlyAndHidden(const QFileInfo& info) {
#ifdef Q_OS_WIN
  const std::wstring native = QDir::toNativeSeparators(info.absoluteFilePath()).toStdWString();
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  const DWORD cleared =
      attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  if (cleared != attributes) SetFileAttributesW(native.c_str(), cleared);
#else
  // POSIX has no hidden attribute (it is the leading dot of the name); read-only is the
  // missing write permission of the owner.
  QFile::Permissions perms = info.permissions();
  if (!(perms & QFile::WriteOwner))
    QFile::setPermissions(info.absoluteFilePath(), perms | QFile::WriteOwner | QFile::WriteUser);
#endif
}

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
    if (clearAttributes) ClearReadOnlyAndHidden(entry);
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
