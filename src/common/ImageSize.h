#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Reads the pixel size of a picture from its header without decoding it, so that screens can
// scale and centre a picture before drawing it. BMP, JPEG, placeable WMF, EMF, GIF, PNG, PSD and
// TIFF, chosen by the file's extension.
namespace examora {

// Width and height in pixels, or the message to show. A success never has a zero dimension.
// Values are the header's as stored: a top-down BMP has a negative height.
struct [[nodiscard]] ImageSizeResult {
  bool ok = false;
  int width = 0;
  int height = 0;
  QString error;

  explicit operator bool() const { return ok; }
};

// Random access to the bytes of a picture. read() returns fewer than n bytes (possibly none)
// at the end of the data or on a read error; the parser takes any short read as a bad file.
class ImageBytes {
 public:
  virtual ~ImageBytes() = default;
  virtual qint64 size() const = 0;
  virtual QByteArray read(qint64 offset, qint64 n) = 0;
};

// The size of the picture file. The path is shown as given in the messages; the file is opened
// read-only and only its header is read.
ImageSizeResult GetImageSize(const QString& filePath);

// The same parse on bytes already in memory; filePath chooses the format by its extension and
// is shown in the messages.
ImageSizeResult GetImageSizeFromBytes(QByteArrayView data, const QString& filePath);

// The parse itself, on any byte source.
ImageSizeResult GetImageSizeFromReader(ImageBytes& bytes, const QString& filePath);

}  // namespace examora
