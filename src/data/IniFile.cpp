#include "data/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include "common/Cp932.h"
#include "data/AtomicFile.h"

namespace examora {
namespace {

// How a file's text is stored. A file without a byte-order mark is CP932; editors that save
// "Unicode" put a mark in front, and the profile functions the files are written for decode
// such a file by its mark.
enum class TextEncoding { Cp932, Utf8, Utf16Le, Utf16Be };

struct Marked {
  TextEncoding encoding = TextEncoding::Cp932;
  QByteArrayView mark;  // the byte-order mark as found, empty for CP932
  QByteArrayView body;  // the bytes after it
};

Marked FindMark(QByteArrayView bytes) {
  const auto split = [&](TextEncoding encoding, qsizetype length) {
    return Marked{encoding, bytes.first(length), bytes.sliced(length)};
  };
  if (bytes.startsWith("\xEF\xBB\xBF")) return split(TextEncoding::Utf8, 3);
  if (bytes.startsWith("\xFF\xFE")) return split(TextEncoding::Utf16Le, 2);
  if (bytes.startsWith("\xFE\xFF")) return split(TextEncoding::Utf16Be, 2);
  return Marked{TextEncoding::Cp932, {}, bytes};
}

QStringConverter::Encoding Utf16Kind(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

// The line engine below works on bytes in which LF is a line break and every other byte
// belongs to a line: CP932 and UTF-8 are such, UTF-16 is not, so a UTF-16 body is worked on
// as UTF-8 and turned back afterwards.
QByteArray Utf16ToUtf8(QByteArrayView body, TextEncoding encoding) {
  QStringDecoder decoder(Utf16Kind(encoding), QStringConverter::Flag::ConvertInitialBom);
  return QString(decoder(body)).toUtf8();
}

QByteArray Utf8ToUtf16(QByteArrayView body, TextEncoding encoding) {
  QStringEncoder encoder(Utf16Kind(encoding), QStringConverter::Flag::ConvertInitialBom);
  return encoder(QString::fromUtf8(body));
}

// Decoding and encoding of the line engine's bytes.
struct LineCodec {
  QString (*decode)(QByteArrayView);
  QByteArray (*encode)(QStringView);
};

QString DecodeUtf8(QByteArrayView bytes) {
  return QString::fromUtf8(bytes);
}
QByteArray EncodeUtf8(QStringView text) {
  return text.toUtf8();
}
QByteArray EncodeCp932(QStringView text) {
  return ToCp932(text);
}

constexpr LineCodec kCp932Lines{&FromCp932, &EncodeCp932};
constexpr LineCodec kUtf8Lines{&DecodeUtf8, &EncodeUtf8};

// One physical line of the file: its bytes with the line break they had (none for a last line
// without one), and what it means.
struct Line {
  enum class Kind { Blank, Other, Section, Key };
  QByteArrayView raw;
  Kind kind = Kind::Other;
  QString name;   // section or key name
  QString value;  // key value
};

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

QString TrimBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.sliced(begin, end - begin).toString();
}

QString Unquote(const QString& value) {
  if (value.size() >= 2) {
    const QChar first = value.front();
    if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
      return value.sliced(1, value.size() - 2);
  }
  return value;
}

// Lines are interpreted after decoding: a CP932 trail byte can be "[", "]" or "\", but never
// CR or LF, so splitting the raw bytes at LF is safe and decoding each line keeps a
// double-byte character from being taken for a bracket.
Line ParseLine(QByteArrayView raw, const LineCodec& codec) {
  Line line;
  line.raw = raw;
  QByteArrayView content = raw;
  if (content.endsWith('\n')) content.chop(1);
  const QString text = TrimBlanks(codec.decode(content));
  if (text.isEmpty()) {
    line.kind = Line::Kind::Blank;
    return line;
  }
  if (text.front() == QLatin1Char('[')) {
    const qsizetype close = text.indexOf(QLatin1Char(']'), 1);
    if (close > 0) {
      line.kind = Line::Kind::Section;
      line.name = TrimBlanks(QStringView(text).sliced(1, close - 1));
      return line;
    }
  }
  if (text.front() == QLatin1Char(';')) return line;
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  if (equals < 0) return line;
  line.kind = Line::Kind::Key;
  line.name = TrimBlanks(QStringView(text).first(equals));
  line.value = Unquote(TrimBlanks(QStringView(text).sliced(equals + 1)));
  return line;
}

QVector<Line> SplitLines(QByteArrayView bytes, const LineCodec& codec) {
  QVector<Line> lines;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype lf = bytes.indexOf('\n', start);
    const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
    lines.append(ParseLine(bytes.sliced(start, end - start), codec));
    start = end;
  }
  return lines;
}

bool SameName(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QByteArray KeyLine(const QString& key, const QString& value, const LineCodec& codec) {
  return codec.encode(key) + '=' + codec.encode(value) + "\r\n";
}

// WithValue on bytes the line engine reads directly (CP932, or UTF-8 without its mark).
QByteArray WithValueInLines(QByteArrayView original, const QString& section, const QString& key,
                            const QString& value, const LineCodec& codec) {
  const QVector<Line> lines = SplitLines(original, codec);

  qsizetype header = -1;
  for (qsizetype i = 0; i < lines.size() && header < 0; ++i) {
    if (lines[i].kind == Line::Kind::Section && SameName(lines[i].name, section)) header = i;
  }

  if (header < 0) {
    QByteArray out = original.toByteArray();
    if (!out.isEmpty() && !out.endsWith('\n')) out += "\r\n";
    out += '[' + codec.encode(section) + "]\r\n";
    out += KeyLine(key, value, codec);
    return out;
  }

  qsizetype sectionEnd = lines.size();
  for (qsizetype i = header + 1; i < lines.size(); ++i) {
    if (lines[i].kind == Line::Kind::Section) {
      sectionEnd = i;
      break;
    }
  }

  qsizetype replace = -1;
  qsizetype lastNonBlank = header;
  for (qsizetype i = header + 1; i < sectionEnd; ++i) {
    if (lines[i].kind == Line::Kind::Key && SameName(lines[i].name, key)) {
      replace = i;
      break;
    }
    if (lines[i].kind != Line::Kind::Blank) lastNonBlank = i;
  }

  QByteArray out;
  out.reserve(original.size() + key.size() * 2 + value.size() * 2 + 8);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i == replace) {
      out += KeyLine(key, value, codec);
      continue;
    }
    out += lines[i].raw;
    if (replace < 0 && i == lastNonBlank) {
      // The new key starts on a line of its own even after a last line without a break.
      if (!lines[i].raw.endsWith('\n')) out += "\r\n";
      out += KeyLine(key, value, codec);
    }
  }
  return out;
}

}  // namespace

IniFile IniFile::Parse(QByteArrayView bytes) {
  const Marked marked = FindMark(bytes);
  QByteArray transcoded;
  QByteArrayView body = marked.body;
  const LineCodec* codec = &kUtf8Lines;
  switch (marked.encoding) {
    case TextEncoding::Cp932:
      codec = &kCp932Lines;
      break;
    case TextEncoding::Utf8:
      break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      transcoded = Utf16ToUtf8(body, marked.encoding);
      body = transcoded;
      break;
  }
  IniFile ini;
  Section* current = nullptr;  // keys before the first section belong nowhere
  for (const Line& line : SplitLines(body, *codec)) {
    if (line.kind == Line::Kind::Section) {
      ini.sections_.append(Section{line.name, {}});
      current = &ini.sections_.back();
    } else if (line.kind == Line::Kind::Key && current != nullptr) {
      current->entries.append(Entry{line.name, line.value});
    }
  }
  return ini;
}

IniFile IniFile::Load(const QString& absolutePath) {
  QFile file(absolutePath);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return Parse(file.readAll());
}

const IniFile::Section* IniFile::Find(const QString& section) const {
  for (const Section& s : sections_) {
    if (SameName(s.name, section)) return &s;
  }
  return nullptr;
}

QString IniFile::Value(const QString& section, const QString& key) const {
  if (const Section* s = Find(section)) {
    for (const Entry& e : s->entries) {
      if (SameName(e.key, key)) return e.value;
    }
  }
  return {};
}

bool IniFile::HasSection(const QString& section) const {
  return Find(section) != nullptr;
}

bool IniFile::HasKey(const QString& section, const QString& key) const {
  if (const Section* s = Find(section)) {
    for (const Entry& e : s->entries) {
      if (SameName(e.key, key)) return true;
    }
  }
  return false;
}

QStringList IniFile::Sections() const {
  QStringList names;
  for (const Section& s : sections_) names.append(s.name);
  return names;
}

QStringList IniFile::Keys(const QString& section) const {
  QStringList names;
  if (const Section* s = Find(section)) {
    for (const Entry& e : s->entries) {
      if (!e.key.isEmpty()) names.append(e.key);
    }
  }
  return names;
}

QByteArray IniFile::WithValue(QByteArrayView original, const QString& section, const QString& key,
                              const QString& value) {
  const Marked marked = FindMark(original);
  switch (marked.encoding) {
    case TextEncoding::Cp932:
      return WithValueInLines(original, section, key, value, kCp932Lines);
    case TextEncoding::Utf8:
      return marked.mark.toByteArray() +
             WithValueInLines(marked.body, section, key, value, kUtf8Lines);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      break;
  }
  const QByteArray edited =
      WithValueInLines(Utf16ToUtf8(marked.body, marked.encoding), section, key, value, kUtf8Lines);
  return marked.mark.toByteArray() + Utf8ToUtf16(edited, marked.encoding);
}

WriteResult WriteIniValue(const QString& absolutePath, const QString& section, const QString& key,
                          const QString& value) {
  QByteArray original;
  QFile file(absolutePath);
  if (file.open(QIODevice::ReadOnly)) {
    original = file.readAll();
    if (file.error() != QFileDevice::NoError) return WriteResult::Failure(file.errorString());
    file.close();
  } else if (QFileInfo::exists(absolutePath)) {
    // Writing over a file we could not read would lose every other key in it.
    return WriteResult::Failure(file.errorString());
  }
  return WriteFileAtomically(absolutePath, IniFile::WithValue(original, section, key, value));
}

}  // namespace examora
