#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <array>

// Half-width to full-width conversion of CP932 text (the viewer's page counter shows
// full-width digits). Works on the code page's bytes because the half-width katakana and their
// sound marks are single bytes there and must be joined byte-wise.
namespace examora {

// The two CP932 bytes of a JIS X 0208 code (row * 256 + cell, each 0x21-0x7E).
std::array<unsigned char, 2> JisToShiftJis(quint16 jis);

// Turns ASCII letters, digits and punctuation and the half-width katakana and signs into their
// full-width characters; a voiced or semi-voiced mark after a kana that takes it is joined
// into one character (ｶﾞ -> ガ, ﾊﾟ -> パ), after any other kana it becomes the full-width mark.
// Double-byte characters and bytes without a full-width form pass unchanged. Never fails.
QByteArray ToFullWidth(QByteArrayView cp932);
// Picks the byte version for a QByteArray, which QString would otherwise also accept.
inline QByteArray ToFullWidth(const QByteArray& cp932) {
  return ToFullWidth(QByteArrayView(cp932));
}

// The same for text: encoded to CP932, converted, decoded again.
QString ToFullWidth(const QString& text);

}  // namespace examora
