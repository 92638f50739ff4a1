// The full-width conversion on arbitrary CP932 bytes and on the text form.
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "common/Cp932.h"
#include "common/FullWidth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QByteArray wide = examora::ToFullWidth(bytes);
  // Every step takes one or two bytes and gives at least as many, at most two per byte.
  FUZZ_CHECK(wide.size() >= bytes.size());
  FUZZ_CHECK(wide.size() <= bytes.size() * 2);

  const QString text = examora::FromCp932(bytes);
  const QString wideText = examora::ToFullWidth(text);
  // Converted text has no ASCII letters or digits left.
  for (QChar c : wideText) {
    const char16_t u = c.unicode();
    FUZZ_CHECK(!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')));
  }
  return 0;
}
