#include "common/ImageSize.h"

#include <QFile>

#include <optional>

namespace examora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

enum class Format { Bmp, Jpg, Wmf, Emf, Gif, Png, Psd, Tif };

QString FormatName(Format f) {
  switch (f) {
    case Format::Bmp:
      return QStringLiteral("BMP");
    case Format::Jpg:
      return QStringLiteral("JPG");
    case Format::Wmf:
      return QStringLiteral("WMF");
    case Format::Emf:
      return QStringLiteral("EMF");
    case Format::Gif:
      return QStringLiteral("GIF");
    case Format::Png:
      return QStringLiteral("PNG");
    case Format::Psd:
      return QStringLiteral("PSD");
    case Format::Tif:
      return QStringLiteral("TIF");
  }
  return {};
}

// The extension after the last dot of the file name; "\" counts as a folder separator on
// every platform because the installation's paths are written that way.
QString LowerExtension(const QString& path) {
  const qsizetype nameStart =
      qMax(qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')), path.lastIndexOf(u':')) + 1;
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < nameStart) return {};
  return path.mid(dot).toLower();
}

std::optional<Format> FormatOf(const QString& path) {
  const QString ext = LowerExtension(path);
  if (ext == u".bmp") return Format::Bmp;
  if (ext == u".jpg" || ext == u".jpeg") return Format::Jpg;
  if (ext == u".wmf") return Format::Wmf;
  if (ext == u".emf") return Format::Emf;
  if (ext == u".gif") return Format::Gif;
  if (ext == u".png") return Format::Png;
  if (ext == u".psd") return Format::Psd;
  if (ext == u".tif" || ext == u".tiff") return Format::Tif;
  return std::nullopt;
}

ImageSizeResult Failure(QString text) {
  return {false, 0, 0, std::move(text)};
}

QString InvalidText(const QString& path, Format f) {
  return path + QStringLiteral(" ") + kCrLf + QStringLiteral("不正な ") + FormatName(f) +
         QStringLiteral(" ファイルです。");
}

// Fixed-size header bytes with little- and big-endian accessors. Offsets are checked by the
// caller through the size it asked for.
class Header {
 public:
  explicit Header(QByteArray bytes) : b_(std::move(bytes)) {}
  quint8 u8(qsizetype at) const { return static_cast<quint8>(b_[at]); }
  quint16 le16(qsizetype at) const { return quint16(u8(at) | (u8(at + 1) << 8)); }
  quint16 be16(qsizetype at) const { return quint16((u8(at) << 8) | u8(at + 1)); }
  quint32 le32(qsizetype at) const { return le16(at) | (quint32(le16(at + 2)) << 16); }
  quint32 be32(qsizetype at) const { return (quint32(be16(at)) << 16) | be16(at + 2); }
  quint16 u16(qsizetype at, bool bigEndian) const { return bigEndian ? be16(at) : le16(at); }
  quint32 u32(qsizetype at, bool bigEndian) const { return bigEndian ? be32(at) : le32(at); }
  bool has(qsizetype at, const char* text) const {
    return b_.mid(at, qsizetype(qstrlen(text))) == text;
  }

 private:
  QByteArray b_;
};

// Exactly n bytes at offset, or nothing when the data ends sooner.
std::optional<Header> ReadExact(ImageBytes& bytes, qint64 offset, qint64 n) {
  if (offset < 0 || offset > bytes.size() || n > bytes.size() - offset) return std::nullopt;
  QByteArray data = bytes.read(offset, n);
  if (data.size() != n) return std::nullopt;
  return Header(std::move(data));
}

// 32-bit header values are signed integers as stored (two's complement).
int AsInt(quint32 v) {
  return static_cast<qint32>(v);
}

struct Size {
  int width = 0;
  int height = 0;
};

// What a reader found: a size, or a failure message (already complete).
struct Parsed {
  std::optional<Size> size;
  QString error;
};

Parsed Bad(const QString& path, Format f) {
  return {std::nullopt, InvalidText(path, f)};
}

Parsed ReadBmp(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 18);
  if (!h || !h->has(0, "BM")) return Bad(path, Format::Bmp);
  const quint32 headerSize = h->le32(14);
  if (headerSize < 12) return Bad(path, Format::Bmp);
  if (headerSize == 12) {  // OS/2 core header: 16-bit dimensions
    const auto d = ReadExact(bytes, 18, 4);
    if (!d) return Bad(path, Format::Bmp);
    return {Size{d->le16(0), d->le16(2)}, {}};
  }
  const auto d = ReadExact(bytes, 18, 8);
  if (!d) return Bad(path, Format::Bmp);
  return {Size{AsInt(d->le32(0)), AsInt(d->le32(4))}, {}};
}

bool IsJpegFrameMarker(quint16 m) {
  return m >= 0xFFC0 && m <= 0xFFCF && m != 0xFFC4 && m != 0xFFC8 && m != 0xFFCC;
}

Parsed ReadJpg(ImageBytes& bytes, const QString& path) {
  const auto soi = ReadExact(bytes, 0, 2);
  if (!soi || soi->be16(0) != 0xFFD8) return Bad(path, Format::Jpg);
  // Every pass moves forward by at least four bytes, so the walk ends on any file.
  qint64 pos = 2;
  for (;;) {
    const auto marker = ReadExact(bytes, pos, 2);
    if (!marker) return Bad(path, Format::Jpg);
    const quint16 m = marker->be16(0);
    if (IsJpegFrameMarker(m)) {
      // Segment length (2) and sample precision (1) come before height and width.
      const auto frame = ReadExact(bytes, pos + 5, 4);
      if (!frame) return Bad(path, Format::Jpg);
      return {Size{frame->be16(2), frame->be16(0)}, {}};
    }
    if (m == 0xFFD9) return Bad(path, Format::Jpg);
    const auto length = ReadExact(bytes, pos + 2, 2);
    if (!length) return Bad(path, Format::Jpg);
    const quint16 l = length->be16(0);
    // The length counts its own two bytes; anything shorter is a broken file, and following
    // it would walk backwards into the segment just read.
    if (l < 2) return Bad(path, Format::Jpg);
    pos += 2 + l;
  }
}

Parsed ReadWmf(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 22);
  if (!h || h->le32(0) != 0x9AC6CDD7u) return Bad(path, Format::Wmf);
  quint16 sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= h->le16(i * 2);
  if (sum != h->le16(20)) return Bad(path, Format::Wmf);
  return {Size{qint16(h->le16(10)), qint16(h->le16(12))}, {}};
}

Parsed ReadEmf(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 44);
  if (!h || h->le32(0) != 1 || !h->has(40, " EMF")) return Bad(path, Format::Emf);
  // Bounds are inclusive; unsigned arithmetic keeps a hostile maximum from overflowing.
  return {Size{AsInt(h->le32(16) + 1u), AsInt(h->le32(20) + 1u)}, {}};
}

Parsed ReadGif(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 10);
  if (!h || !h->has(0, "GIF") || !(h->has(3, "87a") || h->has(3, "89a")))
    return Bad(path, Format::Gif);
  return {Size{h->le16(6), h->le16(8)}, {}};
}

Parsed ReadPng(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 24);
  if (!h || h->u8(0) != 0x89 || !h->has(1, "PNG\r\n") || h->be16(6) != 0x1A0A ||
      !h->has(12, "IHDR"))
    return Bad(path, Format::Png);
  return {Size{AsInt(h->be32(16)), AsInt(h->be32(20))}, {}};
}

Parsed ReadPsd(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 22);
  if (!h || !h->has(0, "8BPS") || h->be16(4) != 1) return Bad(path, Format::Psd);
  return {Size{AsInt(h->be32(18)), AsInt(h->be32(14))}, {}};
}

Parsed ReadTif(ImageBytes& bytes, const QString& path) {
  const auto h = ReadExact(bytes, 0, 8);
  if (!h) return Bad(path, Format::Tif);
  bool bigEndian;
  if (h->le32(0) == 0x002A4949u)
    bigEndian = false;
  else if (h->le32(0) == 0x2A004D4Du)
    bigEndian = true;
  else
    return Bad(path, Format::Tif);
  const qint64 directory = h->u32(4, bigEndian);
  const auto count = ReadExact(bytes, directory, 2);
  if (!count) return Bad(path, Format::Tif);
  const int entries = count->u16(0, bigEndian);
  // Entries are read one at a time so that a count larger than the file is harmless: the
  // first entry past the end is a short read.
  Size size;
  bool seenWidth = false;
  bool seenHeight = false;
  for (int i = 0; i < entries && !(seenWidth && seenHeight); ++i) {
    const auto e = ReadExact(bytes, directory + 2 + qint64(i) * 12, 12);
    if (!e) return Bad(path, Format::Tif);
    const quint16 tag = e->u16(0, bigEndian);
    if (tag != 256 && tag != 257) continue;
    const quint16 type = e->u16(2, bigEndian);
    int value = 0;  // an unexpected type leaves the dimension at zero
    if (type == 3)
      value = e->u16(8, bigEndian);
    else if (type == 4)
      value = AsInt(e->u32(8, bigEndian));
    if (tag == 256) {
      size.width = value;
      seenWidth = true;
    } else {
      size.height = value;
      seenHeight = true;
    }
  }
  if (!(seenWidth && seenHeight))
    return {std::nullopt,
            path + QStringLiteral(" ") + kCrLf + QStringLiteral("サイズの取得に失敗しました。")};
  return {size, {}};
}

class MemoryBytes final : public ImageBytes {
 public:
  explicit MemoryBytes(QByteArrayView data) : data_(data) {}
  qint64 size() const override { return data_.size(); }
  QByteArray read(qint64 offset, qint64 n) override {
    if (offset < 0 || n <= 0 || offset >= data_.size()) return {};
    return data_.sliced(offset, qMin(n, data_.size() - offset)).toByteArray();
  }

 private:
  QByteArrayView data_;
};

class FileBytes final : public ImageBytes {
 public:
  explicit FileBytes(QFile& file) : file_(file), size_(file.size()) {}
  qint64 size() const override { return size_; }
  QByteArray read(qint64 offset, qint64 n) override {
    if (offset < 0 || n <= 0 || offset >= size_ || !file_.seek(offset)) return {};
    return file_.read(qMin(n, size_ - offset));
  }

 private:
  QFile& file_;
  qint64 size_;
};

}  // namespace

ImageSizeResult GetImageSizeFromReader(ImageBytes& bytes, const QString& filePath) {
  const auto format = FormatOf(filePath);
  if (!format) {
    return Failure(filePath + kCrLf + QStringLiteral("には対応していません。 ") +
                   QStringLiteral("対応しているファイルは") + kCrLf +
                   QStringLiteral("*.bmp, *.jpg, *.jpeg, *.png, *.psd, *.wmf, *.emf, *.gif, "
                                  "*.tif, *.tiff") +
                   QStringLiteral(" のみです。"));
  }
  Parsed parsed;
  switch (*format) {
    case Format::Bmp:
      parsed = ReadBmp(bytes, filePath);
      break;
    case Format::Jpg:
      parsed = ReadJpg(bytes, filePath);
      break;
    case Format::Wmf:
      parsed = ReadWmf(bytes, filePath);
      break;
    case Format::Emf:
      parsed = ReadEmf(bytes, filePath);
      break;
    case Format::Gif:
      parsed = ReadGif(bytes, filePath);
      break;
    case Format::Png:
      parsed = ReadPng(bytes, filePath);
      break;
    case Format::Psd:
      parsed = ReadPsd(bytes, filePath);
      break;
    case Format::Tif:
      parsed = ReadTif(bytes, filePath);
      break;
  }
  if (!parsed.size) return Failure(parsed.error);
  if (parsed.size->width == 0 || parsed.size->height == 0)
    return Failure(filePath + kCrLf + QStringLiteral("画像サイズがゼロです。"));
  return {true, parsed.size->width, parsed.size->height, {}};
}

ImageSizeResult GetImageSizeFromBytes(QByteArrayView data, const QString& filePath) {
  MemoryBytes bytes(data);
  return GetImageSizeFromReader(bytes, filePath);
}

ImageSizeResult GetImageSize(const QString& filePath) {
  // The format is known from the name alone; an unsupported name needs no file.
  if (!FormatOf(filePath)) {
    MemoryBytes none({});
    return GetImageSizeFromReader(none, filePath);
  }
  QFile file(filePath);
  if (!file.open(QIODevice::ReadOnly)) return Failure(filePath + kCrLf + file.errorString());
  FileBytes bytes(file);
  return GetImageSizeFromReader(bytes, filePath);
}

}  // namespace examora
