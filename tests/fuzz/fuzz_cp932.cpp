// The code page conversion both ways. Decoded text is always encodable (an undefined code
// decodes to U+30FB, which the code page has), so it must survive a round trip; arbitrary
// UTF-16 exercises the encoder, the length count and the cut.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "common/Cp932.h"

using namespace examora;

namespace {

void CheckLeft(const QString& text, qsizetype maxBytes) {
  const QString left = Cp932Left(text, maxBytes);
  FUZZ_CHECK(text.startsWith(left));
  FUZZ_CHECK(Cp932Length(left) <= qMax<qsizetype>(maxBytes, 0));
  const qsizetype cut = left.size();
  if (cut == text.size()) return;
  // Never between the halves of a surrogate pair.
  FUZZ_CHECK(!(cut > 0 && text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate()));
  // The longest fit: one more character would not fit.
  const qsizetype step =
      text[cut].isHighSurrogate() && cut + 1 < text.size() && text[cut + 1].isLowSurrogate() ? 2
                                                                                             : 1;
  FUZZ_CHECK(Cp932Length(QStringView(text).first(cut + step)) > maxBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QString decoded = FromCp932(bytes);
  FUZZ_CHECK(decoded.size() <= bytes.size());
  const QByteArray encoded = ToCp932(decoded);
  FUZZ_CHECK(FromCp932(encoded) == decoded);
  FUZZ_CHECK(Cp932Length(decoded) == encoded.size());

  QString utf16(qsizetype(size / 2), Qt::Uninitialized);
  std::memcpy(utf16.data(), data, size_t(utf16.size()) * 2);
  const QByteArray utf16Encoded = ToCp932(utf16);
  FUZZ_CHECK(Cp932Length(utf16) == utf16Encoded.size());
  // Encoded output decodes without a byte lost: every output byte belongs to one character.
  FUZZ_CHECK(ToCp932(FromCp932(utf16Encoded)) == utf16Encoded);

  const qsizetype maxBytes = size > 0 ? qsizetype(data[0]) % 64 : 0;
  CheckLeft(decoded, maxBytes);
  CheckLeft(utf16, maxBytes);
  return 0;
}
