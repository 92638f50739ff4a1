#include "common/RunLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "common/WallClock.h"
#include "platform/Shell.h"

namespace examora {

void WriteLog(const QString& text, const QString& partCode, const QString& fileName) {
  WriteLog(text, partCode, fileName, CurrentDateTime());
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

QString OpenFolderForCandidate(const QString& folder) {
  const QString native = QDir::toNativeSeparators(folder);
  const ShellResult opened = OpenFolder(native.toStdString());
  if (opened) return {};
  return QStringLiteral("フォルダーを開けません：") + native + QStringLiteral("：") +
         QString::fromStdString(opened.error);
}

}  // namespace examora
