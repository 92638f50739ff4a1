// The INI reader on arbitrary bytes, and the write path: setting a key and reading the file
// back must give the value set and leave every other key as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "common/Cp932.h"
#include "data/IniFile.h"

using examora::FromCp932;
using examora::IniFile;
using examora::ToCp932;

namespace {

constexpr int kMaxChecked = 8;  // sections and keys compared per input, to keep runs fast

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

// Text that survives being written: encodable, one line, no blanks at either end.
bool Writable(const QString& text) {
  if (text.isEmpty()) return true;
  if (IsBlank(text.front()) || IsBlank(text.back())) return false;
  if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) return false;
  return FromCp932(ToCp932(text)) == text;
}

bool UsableSection(const QString& name) {
  return !name.isEmpty() && Writable(name) && !name.contains(QLatin1Char(']'));
}

bool UsableKey(const QString& name) {
  return !name.isEmpty() && Writable(name) && !name.contains(QLatin1Char('=')) &&
         !name.startsWith(QLatin1Char('[')) && !name.startsWith(QLatin1Char(';'));
}

bool UsableValue(const QString& value) {
  if (!Writable(value)) return false;
  // A value in a pair of quotes reads back without them.
  if (value.size() >= 2 &&
      (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
    return value.back() != value.front();
  return true;
}

// Fuzzed text made fit for writing as far as that is simple, so that most inputs reach the
// round trip: no line breaks, none of the given characters, no blanks at either end.
QString Cleaned(QString text, QStringView dropped, QStringView droppedInFront = {}) {
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  for (QChar c : dropped) text.remove(c);
  qsizetype begin = 0;
  while (begin < text.size() && (IsBlank(text[begin]) || droppedInFront.contains(text[begin])))
    ++begin;
  qsizetype end = text.size();
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.sliced(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

void CheckWrite(QByteArrayView original, const IniFile& before, const QString& section,
                const QString& key, const QString& value) {
  if (!UsableSection(section) || !UsableKey(key) || !UsableValue(value)) return;
  const QByteArray written = IniFile::WithValue(original, section, key, value);
  const IniFile after = IniFile::Parse(written);
  FUZZ_CHECK(after.Value(section, key) == value);
  FUZZ_CHECK(after.HasKey(section, key));

  const QStringList sections = before.Sections();
  for (int s = 0; s < sections.size() && s < kMaxChecked; ++s) {
    const QStringList keys = before.Keys(sections[s]);
    for (int k = 0; k < keys.size() && k < kMaxChecked; ++k) {
      if (SameName(sections[s], section) && SameName(keys[k], key)) continue;
      FUZZ_CHECK(after.Value(sections[s], keys[k]) == before.Value(sections[s], keys[k]));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const IniFile ini = IniFile::Parse(bytes);

  const QStringList sections = ini.Sections();
  for (int s = 0; s < sections.size() && s < kMaxChecked; ++s) {
    FUZZ_CHECK(ini.HasSection(sections[s]));
    const QStringList keys = ini.Keys(sections[s]);
    for (int k = 0; k < keys.size() && k < kMaxChecked; ++k) {
      FUZZ_CHECK(ini.HasKey(sections[s], keys[k]));
      (void)ini.Value(sections[s], keys[k]);
    }
  }

  // Overwrite keys the file has, with a value made of the input's first bytes.
  FuzzedDataProvider provider(data, size);
  const std::string newValue = provider.ConsumeRandomLengthString(24);
  const QString value =
      Cleaned(FromCp932(QByteArrayView(newValue.data(), qsizetype(newValue.size()))), {});
  if (!sections.isEmpty()) {
    const QStringList keys = ini.Keys(sections.front());
    if (!keys.isEmpty()) CheckWrite(bytes, ini, sections.front(), keys.back(), value);
    CheckWrite(bytes, ini, sections.back(), QStringLiteral("NewKey"), value);
  }

  // And a section and key named by the input, usually missing from the file.
  const std::string sectionBytes = provider.ConsumeRandomLengthString(16);
  const std::string keyBytes = provider.ConsumeRandomLengthString(16);
  CheckWrite(
      bytes, ini,
      Cleaned(FromCp932(QByteArrayView(sectionBytes.data(), qsizetype(sectionBytes.size()))), u"]"),
      Cleaned(FromCp932(QByteArrayView(keyBytes.data(), qsizetype(keyBytes.size()))), u"=", u"[;"),
      value);
  return 0;
}
