#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// Writes the files of an exam installation below one root folder. Relative paths may use "\"
// or "/"; missing parent folders are created. Text meant for the exam program goes out in
// CP932 with CR LF line ends, and text the code page cannot hold is an error rather than a
// silent "?", so a typo in sample content cannot slip into a file.
//
// The writer does not stop at the first failure: it remembers it (ok(), error()) and carries
// on, and the caller checks once at the end.
namespace examora::sample {

class InstallationWriter {
 public:
  explicit InstallationWriter(const QString& root);

  QString root() const { return root_; }
  QString absolutePath(const QString& relativePath) const;

  bool ok() const { return error_.isEmpty(); }
  QString error() const { return error_; }

  void makeDir(const QString& relativePath);
  void writeFile(const QString& relativePath, QByteArrayView bytes);

  // Text with "\n" line ends (as written in C++ sources), stored as CP932 with CR LF.
  void writeCp932Text(const QString& relativePath, const QString& text);
  void writeIni(const QString& relativePath, const QString& text) {
    writeCp932Text(relativePath, text);
  }
  // Text stored as UTF-8 with LF (web site files of the practical work folder).
  void writeUtf8Text(const QString& relativePath, const QString& text);

  // An exam content page in CP932, declared as Shift_JIS, with the given style sheet text and
  // body markup.
  void writeHtmlPage(const QString& relativePath, const QString& title, const QString& css,
                     const QString& body);

  // The picture in the format named by the path's extension (see SupportedPictureFormats).
  void writePicture(const QString& relativePath, const QImage& image);

 private:
  void fail(const QString& message);

  QString root_;
  QString error_;
};

// CP932 bytes of the text with every "\n" (and lone "\r\n") turned into CR LF; false when a
// character cannot be represented (the bytes then hold "?" for it).
bool EncodeCp932Text(const QString& text, QByteArray& bytes);

}  // namespace examora::sample
