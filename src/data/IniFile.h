#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVector>

#include "common/WriteResult.h"

namespace examora {

// An INI file in CP932, read the way the exam files are authored for (the Windows private
// profile rules):
// - section and key names compare case-insensitively (letters of any script, full-width
//   letters included, fold as Windows' case-insensitive compare folds them; widths and kana
//   kinds are not folded);
// - blanks (space, tab) around section names, key names and values are dropped, also inside
//   the brackets of "[ name ]";
// - a value enclosed in a matching pair of double or single quotes loses the pair;
// - the first matching section and, within it, the first matching key win;
// - lines starting with ";" and lines without "=" are no keys; lines before the first section
//   belong to no section;
// - CR LF, LF and a last line without a line break all read;
// - a file that starts with a UTF-8 or UTF-16 (LE or BE) byte-order mark is decoded by its
//   mark and written back in the same encoding, mark included; every other file is CP932.
class IniFile {
 public:
  static IniFile Parse(QByteArrayView bytes);        // never fails
  static IniFile Load(const QString& absolutePath);  // missing/unreadable file -> empty

  QString Value(const QString& section, const QString& key) const;  // "" when missing
  bool HasSection(const QString& section) const;
  bool HasKey(const QString& section, const QString& key) const;
  QStringList Sections() const;                    // file order, duplicates included
  QStringList Keys(const QString& section) const;  // keys of the first matching section

  // The file's new bytes after setting section/key to value. The first matching key's line is
  // replaced; a missing key goes after the last non-blank line of its section, a missing
  // section at the end of the file. New lines are "key=value" + CR LF in the file's encoding
  // (CP932 for an empty file); every other
  // line keeps its bytes, except that a last line without a line break gets one when
  // something is added after it.
  static QByteArray WithValue(QByteArrayView original, const QString& section, const QString& key,
                              const QString& value);

 private:
  struct Entry {
    QString key;
    QString value;
  };
  struct Section {
    QString name;
    QVector<Entry> entries;
  };
  const Section* Find(const QString& section) const;

  QVector<Section> sections_;
};

// One attempt: reads the file (a missing file is empty), applies WithValue and writes the
// result with WriteFileAtomically. A file that exists but cannot be read fails rather than
// being replaced by a file holding only the new key.
[[nodiscard]] WriteResult WriteIniValue(const QString& absolutePath, const QString& section,
                                        const QString& key, const QString& value);

}  // namespace examora
