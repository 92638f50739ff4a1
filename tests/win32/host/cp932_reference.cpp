// Writes what our code page 932 codec (src/common/Cp932.cpp) makes of every input, for the
// Windows test program to hold against MultiByteToWideChar and WideCharToMultiByte under Wine.
// Built and run on the build machine by tests/win32/run.sh.
//
// Layout, little-endian: 256 single bytes, then 65,536 two-byte sequences (first byte high),
// each decoded as [unit count, unit, unit] (uint16 each); then the 65,536 UTF-16 code units,
// each encoded as [byte count, byte, byte].
#include "common/Cp932.h"

#include <QFile>

#include <cstdio>

namespace {

void AppendDecoded(QByteArray& out, QByteArrayView bytes) {
  const QString text = examora::FromCp932(bytes);
  const auto put = [&out](unsigned v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
  };
  put(static_cast<unsigned>(text.size()));
  for (int i = 0; i < 2; ++i) put(i < text.size() ? text[i].unicode() : 0u);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cp932_reference <output file>\n");
    return 2;
  }
  QByteArray out;
  for (unsigned b = 0; b < 0x100; ++b) {
    const char one = static_cast<char>(b);
    AppendDecoded(out, QByteArrayView(&one, 1));
  }
  for (unsigned code = 0; code < 0x10000; ++code) {
    const char two[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    AppendDecoded(out, QByteArrayView(two, 2));
  }
  for (unsigned unit = 0; unit < 0x10000; ++unit) {
    const QChar c(static_cast<char16_t>(unit));
    const QByteArray bytes = examora::ToCp932(QStringView(&c, 1));
    out.append(static_cast<char>(bytes.size()));
    out.append(bytes.size() > 0 ? bytes[0] : '\0');
    out.append(bytes.size() > 1 ? bytes[1] : '\0');
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
