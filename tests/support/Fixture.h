#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include "InstallationWriter.h"

// A throw-away exam installation for tests. The test describes what it needs in a few lines
// (INI text literals, presets for whole parts) and points the program at root() with
// setExeFolder(). Relative paths may use "\" or "/". Every writer records failures; tests
// check ok() (or let the presets' QVERIFY-style helpers do it) once they have built the tree.
namespace examora::test {

class FixtureInstallation {
 public:
  FixtureInstallation();

  bool ok() const { return dir_.isValid() && writer_.ok() && error_.isEmpty(); }
  QString error() const { return error_.isEmpty() ? writer_.error() : error_; }

  // The installation folder ("/" separators, no trailing separator).
  QString root() const { return writer_.root(); }
  QString path(const QString& relativePath) const { return writer_.absolutePath(relativePath); }
  bool exists(const QString& relativePath) const;

  // INI or other text in UTF-8 with "\n" line ends, written as CP932 with CR LF.
  void writeIni(const QString& relativePath, const QString& utf8Text);
  void writeText(const QString& relativePath, const QString& utf8Text) {
    writeIni(relativePath, utf8Text);
  }
  void writeFile(const QString& relativePath, const QByteArray& bytes);
  void makeDir(const QString& relativePath);
  // A minimal content page (CP932, Shift_JIS declared) with the given body markup.
  void writePage(const QString& relativePath, const QString& bodyMarkup);
  // A generated picture; format "jpg", "png", "bmp", "gif", "tif", "psd", "wmf", "emf" (see
  // SupportedPictureFormats); empty format takes the path's extension.
  void writePicture(const QString& relativePath, int width, int height,
                    const QString& format = QString());
  void removeFile(const QString& relativePath);

  // Makes the program see this folder as its executable's folder.
  void setExeFolder() const;

  // Raw checks that do not go through the program's own INI code: the value of key in
  // [section] (exact names, first match), decoded from CP932; "" when missing.
  QString readIni(const QString& relativePath, const QString& section, const QString& key) const;
  QByteArray readBytes(const QString& relativePath) const;

  // ---- Presets ---------------------------------------------------------------------------

  // A knowledge part shown in the program (試験区分 "1", 受験タイプ "1"): the part's
  // setup.ini with all three display modes and [選択数], the html\q tree with one question per
  // entry of subQuestions, one notes page html\c\index1.html, seito[<part>].ini (the correct
  // choice of sub-question s is ((s - 1) % choices) + 1, 10 points each), plus system.ini and
  // shiken.ini (rewritten for every part added, 部数 = number of parts so far).
  void knowledgePart(const QString& partCode, const QList<int>& subQuestions = {2, 3, 4},
                     int choices = 4, int minutes = 30);

  // A practical part (試験区分 "2", 受験タイプ examType) with update_check.ini, one notes page,
  // one finished-sample page and the work folder 実技用 (site\index.html, material\).
  void practicalPart(const QString& partCode, const QString& examType = QStringLiteral("2"),
                     int minutes = 40);

  // The complete sample installation.
  void fromSample();

 private:
  void writeSharedIni();

  QTemporaryDir dir_;
  sample::InstallationWriter writer_;
  QList<QString> parts_;
  QString error_;
};

}  // namespace examora::test
