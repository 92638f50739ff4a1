#include "InstallationWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "PictureEncoders.h"
#include "common/Cp932.h"

namespace examora::sample {

bool EncodeCp932Text(const QString& text, QByteArray& bytes) {
  QString crlf = text;
  crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  bytes = ToCp932(crlf);
  return FromCp932(bytes) == crlf;
}

InstallationWriter::InstallationWriter(const QString& root)
    : root_(QDir::cleanPath(QDir::fromNativeSeparators(root))) {}

QString InstallationWriter::absolutePath(const QString& relativePath) const {
  QString rel = relativePath;
  rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (rel.startsWith(QLatin1Char('/'))) rel.remove(0, 1);
  return rel.isEmpty() ? root_ : root_ + QLatin1Char('/') + rel;
}

void InstallationWriter::fail(const QString& message) {
  if (error_.isEmpty()) error_ = message;
}

void InstallationWriter::makeDir(const QString& relativePath) {
  const QString path = absolutePath(relativePath);
  if (!QDir().mkpath(path)) fail(QStringLiteral("cannot create folder ") + path);
}

void InstallationWriter::writeFile(const QString& relativePath, QByteArrayView bytes) {
  const QString path = absolutePath(relativePath);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    fail(QStringLiteral("cannot create the folder of ") + path);
    return;
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
    fail(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
  }
}

void InstallationWriter::writeCp932Text(const QString& relativePath, const QString& text) {
  QByteArray bytes;
  if (!EncodeCp932Text(text, bytes))
    fail(QStringLiteral("text not representable in CP932 in ") + relativePath);
  writeFile(relativePath, bytes);
}

void InstallationWriter::writeUtf8Text(const QString& relativePath, const QString& text) {
  writeFile(relativePath, text.toUtf8());
}

void InstallationWriter::writeHtmlPage(const QString& relativePath, const QString& title,
                                       const QString& css, const QString& body) {
  const QString page = QStringLiteral(
                           "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n"
                           "<meta charset=\"Shift_JIS\">\n<title>") %
                       title % QStringLiteral("</title>\n<style>\n") % css %
                       QStringLiteral("</style>\n</head>\n<body>\n") % body %
                       QStringLiteral("</body>\n</html>\n");
  writeCp932Text(relativePath, page);
}

void InstallationWriter::writePicture(const QString& relativePath, const QImage& image) {
  const QString suffix = QFileInfo(relativePath).suffix();
  const QByteArray bytes = EncodePicture(image, suffix);
  if (bytes.isEmpty()) {
    fail(QStringLiteral("cannot encode picture ") + relativePath);
    return;
  }
  writeFile(relativePath, bytes);
}

}  // namespace examora::sample
