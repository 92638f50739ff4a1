// The comma-text splitter on CP932 text and on raw UTF-16 (which reaches NUL, lone surrogates
// and characters the code page does not have).
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "common/Cp932.h"
#include "data/CommaText.h"

using examora::SplitCommaText;

namespace {

void Check(const QString& text) {
  const QStringList items = SplitCommaText(text);
  qsizetype total = 0;
  for (const QString& item : items) total += item.size();
  // Items are pieces of the text (a doubled quote gives one), never more than it had.
  FUZZ_CHECK(total <= text.size());
  FUZZ_CHECK(items.size() <= text.size() + 1);
  // Splitting is a pure function of the text.
  FUZZ_CHECK(SplitCommaText(text) == items);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  Check(examora::FromCp932(bytes));
  QString utf16(qsizetype(size / 2), Qt::Uninitialized);
  std::memcpy(utf16.data(), data, size_t(utf16.size()) * 2);
  Check(utf16);
  return 0;
}
