// The picture size probe on arbitrary headers; the first byte picks the format.
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "common/ImageSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"p.bmp", "p.jpg", "p.wmf", "p.emf",
                                       "p.gif", "p.png", "p.psd", "p.tif"};
  if (size == 0) return 0;
  const QString path = QLatin1String(kNames[data[0] % 8]);
  const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const examora::ImageSizeResult result = examora::GetImageSizeFromBytes(bytes, path);
  if (result.ok) {
    FUZZ_CHECK(result.width != 0 && result.height != 0);
    FUZZ_CHECK(result.error.isEmpty());
  } else {
    FUZZ_CHECK(!result.error.isEmpty());
  }
  return 0;
}
