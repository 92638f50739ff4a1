#include "data/IniAccess.h"

#include <QThread>

#include "common/ExeFolder.h"
#include "data/IniFile.h"

namespace examora {

namespace {
constexpr int kWriteRetries = 10;
constexpr unsigned long kRetryPauseMs = 100;
}  // namespace

QString ReadIni(const QString& relativePath, const QString& section, const QString& key) {
  return IniFile::Load(ExePath(relativePath)).Value(section, key);
}

// A file briefly held by another program (a virus scanner, an editor, the next part starting)
// makes one attempt fail; ten more attempts 100 ms apart ride that out before the failure is
// handed to the caller.
WriteResult WriteIni(const QString& relativePath, const QString& section, const QString& key,
                     const QString& value) {
  const QString path = ExePath(relativePath);
  WriteResult result = WriteIniValue(path, section, key, value);
  for (int retry = 0; !result.ok && retry < kWriteRetries; ++retry) {
    QThread::msleep(kRetryPauseMs);
    result = WriteIniValue(path, section, key, value);
  }
  return result;
}

}  // namespace examora
