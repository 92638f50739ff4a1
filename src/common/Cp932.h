#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows code page 932 (Japanese Shift-JIS as Windows has it). Every file the program reads
// or writes is in this code page, so the conversion is our own table, the same on every
// platform, rather than whatever the system's converter thinks "Shift_JIS" means.
namespace examora {

// True for 0x81-0x9F and 0xE0-0xFC, the bytes that start a double-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes CP932 bytes. Never fails: an undefined double-byte character becomes U+30FB (the
// code page's default character, as Windows gives it); a lead byte followed by a byte that
// cannot be a trail byte, or standing at the very end, becomes U+30FB on its own and the
// following byte is decoded by itself, so no valid text after a bad byte is lost.
QString FromCp932(QByteArrayView bytes);

// Encodes to CP932. A character the code page cannot hold becomes "?" (one per code point).
// Where Windows has several codes for one character it picks the one Windows picks: the
// JIS X 0208 code before NEC row 13, NEC row 13 before the IBM extensions, and the IBM
// extensions (0xFA-0xFC) before their NEC-selected copies (0xED-0xEE).
QByteArray ToCp932(QStringView text);

// Number of bytes the text takes in CP932.
qsizetype Cp932Length(QStringView text);

// The longest leading part of the text that fits in maxBytes bytes of CP932, cut only between
// characters (never inside a double-byte character or a surrogate pair).
QString Cp932Left(QStringView text, qsizetype maxBytes);

}  // namespace examora
