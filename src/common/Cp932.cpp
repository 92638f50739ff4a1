#include "common/Cp932.h"

#include <array>

namespace examora {
namespace {

#include "common/Cp932Table.inc"

constexpr char16_t kDefaultChar = 0x30FB;  // KATAKANA MIDDLE DOT, the code page's default

constexpr int LeadIndex(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
}

constexpr int TrailIndex(unsigned char trail) {
  if (trail >= 0x40 && trail <= 0x7E) return trail - 0x40;
  if (trail >= 0x80 && trail <= 0xFC) return trail - 0x80 + (0x7E - 0x40 + 1);
  return -1;
}

// Single bytes outside ASCII and half-width katakana, as Windows maps them.
char16_t DecodeSingle(unsigned char b) {
  if (b < 0x80) return b;
  if (b == 0x80) return 0x0080;
  if (b == 0xA0) return 0xF8F0;
  if (b >= 0xA1 && b <= 0xDF) return char16_t(0xFF61 + (b - 0xA1));
  if (b >= 0xFD) return char16_t(0xF8F1 + (b - 0xFD));
  return kDefaultChar;
}

// Windows' preference when a character has several codes: lower rank wins, then lower code.
int CodeRank(unsigned lead) {
  if (lead == 0xED || lead == 0xEE) return 1;  // NEC-selected IBM extensions lose to all
  return 0;
}

struct EncodeTable {
  // 0 = not encodable; otherwise the one- or two-byte code (two-byte as lead << 8 | trail).
  std::array<uint16_t, 0x10000> code{};

  EncodeTable() {
    for (unsigned b = 0; b < 0x100; ++b) {
      if (IsCp932LeadByte(static_cast<unsigned char>(b))) continue;
      code[DecodeSingle(static_cast<unsigned char>(b))] = static_cast<uint16_t>(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const int t = TrailIndex(static_cast<unsigned char>(trail));
        if (t < 0) continue;
        const char16_t u = kCp932DoubleByte[LeadIndex(static_cast<unsigned char>(lead))][t];
        if (u == 0) continue;
        const auto candidate = static_cast<uint16_t>(lead << 8 | trail);
        uint16_t& slot = code[u];
        // Codes are visited in ascending order, so an earlier slot of equal rank stays.
        if (slot == 0 || (slot > 0xFF && CodeRank(candidate >> 8) < CodeRank(slot >> 8))) {
          slot = candidate;
        }
      }
    }
    // U+0000 is encodable as the byte 0; the zero slot doubles as "absent" elsewhere.
  }
};

const EncodeTable& Encoder() {
  static const EncodeTable table;
  return table;
}

// Bytes of one UTF-16 code point starting at text[i]; sets `units` to 1 or 2.
QByteArray EncodePoint(QStringView text, qsizetype i, int& units) {
  const char16_t c = text[i].unicode();
  units = 1;
  if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
      QChar::isLowSurrogate(text[i + 1].unicode())) {
    units = 2;
    return QByteArray(1, '?');
  }
  if (c == 0) return QByteArray(1, '\0');
  const uint16_t code = Encoder().code[c];
  if (code == 0) return QByteArray(1, '?');
  if (code <= 0xFF) return QByteArray(1, static_cast<char>(code));
  QByteArray two(2, '\0');
  two[0] = static_cast<char>(code >> 8);
  two[1] = static_cast<char>(code & 0xFF);
  return two;
}

}  // namespace

QString FromCp932(QByteArrayView bytes) {
  QString out;
  out.reserve(bytes.size());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!IsCp932LeadByte(b)) {
      out.append(QChar(DecodeSingle(b)));
      continue;
    }
    const int t = i + 1 < n ? TrailIndex(static_cast<unsigned char>(bytes[i + 1])) : -1;
    if (t < 0) {
      out.append(QChar(kDefaultChar));  // the next byte, if any, is decoded on its own
      continue;
    }
    const char16_t u = kCp932DoubleByte[LeadIndex(b)][t];
    out.append(QChar(u != 0 ? u : kDefaultChar));
    ++i;
  }
  return out;
}

QByteArray ToCp932(QStringView text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size();) {
    int units = 1;
    out.append(EncodePoint(text, i, units));
    i += units;
  }
  return out;
}

qsizetype Cp932Length(QStringView text) {
  return ToCp932(text).size();
}

QString Cp932Left(QStringView text, qsizetype maxBytes) {
  qsizetype bytes = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    int units = 1;
    const qsizetype len = EncodePoint(text, i, units).size();
    if (bytes + len > maxBytes) break;
    bytes += len;
    i += units;
  }
  return text.left(i).toString();
}

}  // namespace examora
