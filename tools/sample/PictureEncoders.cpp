#include "PictureEncoders.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdint>

namespace examora::sample {
namespace {

// Appends integers in a chosen byte order.
class Bytes {
 public:
  explicit Bytes(bool bigEndian = false) : big_(bigEndian) {}

  void u8(unsigned v) { data_.append(static_cast<char>(v & 0xFF)); }
  void u16(unsigned v) {
    if (big_) {
      u8(v >> 8);
      u8(v);
    } else {
      u8(v);
      u8(v >> 8);
    }
  }
  void u32(std::uint32_t v) {
    if (big_) {
      u16(v >> 16);
      u16(v & 0xFFFF);
    } else {
      u16(v & 0xFFFF);
      u16(v >> 16);
    }
  }
  void s16(int v) { u16(static_cast<unsigned>(static_cast<std::uint16_t>(v))); }
  void s32(int v) { u32(static_cast<std::uint32_t>(v)); }
  void raw(const QByteArray& b) { data_.append(b); }
  void zeros(int n) { data_.append(QByteArray(n, '\0')); }
  qsizetype size() const { return data_.size(); }
  QByteArray& data() { return data_; }

 private:
  bool big_;
  QByteArray data_;
};

QByteArray WithQt(const QImage& image, const char* format, int quality = -1) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) return {};
  return out;
}

// Windows COLORREF: red in the low byte.
std::uint32_t ColorRef(QRgb c) {
  return static_cast<std::uint32_t>(qRed(c)) | (static_cast<std::uint32_t>(qGreen(c)) << 8) |
         (static_cast<std::uint32_t>(qBlue(c)) << 16);
}

QRgb FirstPixel(const QImage& image) {
  return image.isNull() ? qRgb(255, 255, 255) : image.pixel(0, 0);
}

}  // namespace

QStringList SupportedPictureFormats() {
  return {QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("png"),
          QStringLiteral("bmp"),  QStringLiteral("gif"),  QStringLiteral("tif"),
          QStringLiteral("tiff"), QStringLiteral("psd"),  QStringLiteral("wmf"),
          QStringLiteral("emf")};
}

QByteArray EncodePicture(const QImage& image, const QString& format) {
  QString f = format.toLower();
  if (f.startsWith(QLatin1Char('.'))) f.remove(0, 1);
  if (image.isNull()) return {};
  if (f == u"jpg" || f == u"jpeg")
    return WithQt(image.convertToFormat(QImage::Format_RGB32), "JPEG", 90);
  if (f == u"png") return WithQt(image, "PNG");
  if (f == u"bmp") return WithQt(image.convertToFormat(QImage::Format_RGB32), "BMP");
  if (f == u"gif") return EncodeGif(image);
  if (f == u"tif" || f == u"tiff") return EncodeTiff(image);
  if (f == u"psd") return EncodePsd(image);
  if (f == u"wmf") return EncodeWmf(image.width(), image.height(), FirstPixel(image));
  if (f == u"emf") return EncodeEmf(image.width(), image.height(), FirstPixel(image));
  return {};
}

QByteArray EncodeGif(const QImage& image) {
  if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF) return {};
  // Qt's own palette reduction is deterministic, so the same picture gives the same file.
  const QImage indexed = image.convertToFormat(QImage::Format_RGB32)
                             .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
  QList<QRgb> table = indexed.colorTable();
  table.resize(256, qRgb(0, 0, 0));

  Bytes out;
  out.raw(QByteArrayLiteral("GIF87a"));
  out.u16(static_cast<unsigned>(image.width()));
  out.u16(static_cast<unsigned>(image.height()));
  out.u8(0xF7);  // global colour table of 2^(7+1) entries, 8 bits per primary
  out.u8(0);     // background colour index
  out.u8(0);     // no aspect ratio
  for (QRgb c : table) {
    out.u8(static_cast<unsigned>(qRed(c)));
    out.u8(static_cast<unsigned>(qGreen(c)));
    out.u8(static_cast<unsigned>(qBlue(c)));
  }
  out.u8(0x2C);  // image descriptor
  out.u16(0);
  out.u16(0);
  out.u16(static_cast<unsigned>(image.width()));
  out.u16(static_cast<unsigned>(image.height()));
  out.u8(0);  // no local table, not interlaced
  out.u8(8);  // LZW minimum code size

  // Every pixel is sent as a literal 9-bit code. After a clear code the decoder adds one table
  // entry per code from the second on and widens its codes when entry 511 has been added; a
  // clear after at most 254 literals keeps the width at 9 bits. 250 leaves some margin.
  constexpr unsigned kClear = 256;
  constexpr unsigned kEnd = 257;
  QByteArray stream;
  std::uint32_t bitBuffer = 0;
  int bitCount = 0;
  auto put = [&](unsigned code) {
    bitBuffer |= code << bitCount;
    bitCount += 9;
    while (bitCount >= 8) {
      stream.append(static_cast<char>(bitBuffer & 0xFF));
      bitBuffer >>= 8;
      bitCount -= 8;
    }
  };
  int literals = 0;
  put(kClear);
  for (int y = 0; y < indexed.height(); ++y) {
    const uchar* line = indexed.constScanLine(y);
    for (int x = 0; x < indexed.width(); ++x) {
      if (literals == 250) {
        put(kClear);
        literals = 0;
      }
      put(line[x]);
      ++literals;
    }
  }
  put(kEnd);
  if (bitCount > 0) stream.append(static_cast<char>(bitBuffer & 0xFF));

  for (qsizetype pos = 0; pos < stream.size(); pos += 255) {
    const QByteArray block = stream.mid(pos, 255);
    out.u8(static_cast<unsigned>(block.size()));
    out.raw(block);
  }
  out.u8(0);     // block terminator
  out.u8(0x3B);  // trailer
  return out.data();
}

QByteArray EncodeTiff(const QImage& image, bool bigEndian, bool shortDimensions) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  const auto w = static_cast<std::uint32_t>(rgb.width());
  const auto h = static_cast<std::uint32_t>(rgb.height());
  if (shortDimensions && (w > 0xFFFF || h > 0xFFFF)) return {};
  const std::uint32_t dataSize = w * h * 3;

  Bytes out(bigEndian);
  out.raw(bigEndian ? QByteArrayLiteral("MM") : QByteArrayLiteral("II"));
  out.u16(42);
  // Layout: header, pixel data, the extra values (bits per sample, resolutions), directory.
  const std::uint32_t dataOffset = 8;
  std::uint32_t extraOffset = dataOffset + dataSize;
  if (extraOffset % 2) ++extraOffset;
  const std::uint32_t bitsOffset = extraOffset;     // 3 SHORTs
  const std::uint32_t xResOffset = bitsOffset + 6;  // RATIONAL
  const std::uint32_t yResOffset = xResOffset + 8;  // RATIONAL
  const std::uint32_t ifdOffset = yResOffset + 8;
  out.u32(ifdOffset);
  for (int y = 0; y < rgb.height(); ++y)
    out.raw(QByteArray(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                       static_cast<qsizetype>(w) * 3));
  if (out.size() < extraOffset) out.u8(0);
  out.u16(8);
  out.u16(8);
  out.u16(8);
  out.u32(96);
  out.u32(1);
  out.u32(96);
  out.u32(1);

  struct Entry {
    unsigned tag;
    unsigned type;  // 3 SHORT, 4 LONG, 5 RATIONAL
    std::uint32_t count;
    std::uint32_t value;
  };
  const unsigned dimType = shortDimensions ? 3 : 4;
  const Entry entries[] = {
      {256, dimType, 1, w},  {257, dimType, 1, h},    {258, 3, 3, bitsOffset}, {259, 3, 1, 1},
      {262, 3, 1, 2},        {273, 4, 1, dataOffset}, {277, 3, 1, 3},          {278, 4, 1, h},
      {279, 4, 1, dataSize}, {282, 5, 1, xResOffset}, {283, 5, 1, yResOffset}, {296, 3, 1, 2},
  };
  out.u16(static_cast<unsigned>(std::size(entries)));
  for (const Entry& e : entries) {
    out.u16(e.tag);
    out.u16(e.type);
    out.u32(e.count);
    if (e.type == 3 && e.count == 1) {
      out.u16(e.value);  // a SHORT sits at the start of the value field
      out.u16(0);
    } else {
      out.u32(e.value);
    }
  }
  out.u32(0);  // no further directory
  return out.data();
}

QByteArray EncodePsd(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  Bytes out(true);
  out.raw(QByteArrayLiteral("8BPS"));
  out.u16(1);  // version
  out.zeros(6);
  out.u16(3);  // channels
  out.u32(static_cast<std::uint32_t>(rgb.height()));
  out.u32(static_cast<std::uint32_t>(rgb.width()));
  out.u16(8);  // bits per channel
  out.u16(3);  // RGB
  out.u32(0);  // colour mode data
  out.u32(0);  // image resources
  out.u32(0);  // layers and masks
  out.u16(0);  // raw image data
  for (int channel = 0; channel < 3; ++channel) {
    for (int y = 0; y < rgb.height(); ++y) {
      const uchar* line = rgb.constScanLine(y);
      for (int x = 0; x < rgb.width(); ++x) out.u8(line[x * 3 + channel]);
    }
  }
  return out.data();
}

QByteArray EncodeWmf(int width, int height, QRgb fill) {
  if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return {};
  Bytes placeable;
  placeable.u32(0x9AC6CDD7u);
  placeable.u16(0);  // metafile handle, always 0 in a file
  placeable.s16(0);
  placeable.s16(0);
  placeable.s16(width);
  placeable.s16(height);
  placeable.u16(96);  // units per inch: one unit per pixel at 96 dpi
  placeable.u32(0);
  unsigned checksum = 0;
  for (int i = 0; i < 20; i += 2)
    checksum ^= static_cast<unsigned char>(placeable.data()[i]) |
                (static_cast<unsigned>(static_cast<unsigned char>(placeable.data()[i + 1])) << 8);
  placeable.u16(checksum);

  Bytes records;
  auto record = [&](std::uint32_t words, unsigned function) {
    records.u32(words);
    records.u16(function);
  };
  record(5, 0x020B);  // SETWINDOWORG y, x
  records.s16(0);
  records.s16(0);
  record(5, 0x020C);  // SETWINDOWEXT y, x
  records.s16(height);
  records.s16(width);
  record(7, 0x02FC);  // CREATEBRUSHINDIRECT solid
  records.u16(0);
  records.u32(ColorRef(fill));
  records.u16(0);
  record(4, 0x012D);  // SELECTOBJECT 0
  records.u16(0);
  record(7, 0x041B);  // RECTANGLE bottom, right, top, left
  records.s16(height);
  records.s16(width);
  records.s16(0);
  records.s16(0);
  record(4, 0x01F0);  // DELETEOBJECT 0
  records.u16(0);
  record(3, 0x0000);  // end of file

  Bytes header;
  header.u16(1);       // in a file
  header.u16(9);       // header size in words
  header.u16(0x0300);  // version
  header.u32(static_cast<std::uint32_t>((18 + records.size()) / 2));
  header.u16(1);  // objects
  header.u32(7);  // largest record in words
  header.u16(0);

  QByteArray out = placeable.data();
  out.append(header.data());
  out.append(records.data());
  return out;
}

QByteArray EncodeEmf(int width, int height, QRgb fill) {
  if (width <= 0 || height <= 0) return {};
  Bytes records;
  records.u32(39);  // CREATEBRUSHINDIRECT
  records.u32(24);
  records.u32(1);
  records.u32(0);
  records.u32(ColorRef(fill));
  records.u32(0);
  records.u32(37);  // SELECTOBJECT 1
  records.u32(12);
  records.u32(1);
  records.u32(43);  // RECTANGLE
  records.u32(24);
  records.s32(0);
  records.s32(0);
  records.s32(width - 1);
  records.s32(height - 1);
  records.u32(37);  // SELECTOBJECT WHITE_BRUSH, so that brush 1 can be deleted
  records.u32(12);
  records.u32(0x80000000u);
  records.u32(40);  // DELETEOBJECT 1
  records.u32(12);
  records.u32(1);
  records.u32(14);  // EOF
  records.u32(20);
  records.u32(0);
  records.u32(16);
  records.u32(20);
  const std::uint32_t headerSize = 88;
  const std::uint32_t recordCount = 7;

  Bytes out;
  out.u32(1);  // HEADER
  out.u32(headerSize);
  out.s32(0);  // bounds in device units, inclusive
  out.s32(0);
  out.s32(width - 1);
  out.s32(height - 1);
  out.s32(0);  // frame in 0.01 mm at 96 dpi
  out.s32(0);
  out.s32(width * 2540 / 96);
  out.s32(height * 2540 / 96);
  out.u32(0x464D4520u);  // " EMF"
  out.u32(0x00010000u);
  out.u32(static_cast<std::uint32_t>(headerSize + records.size()));
  out.u32(recordCount);
  out.u16(2);  // handles, the first reserved
  out.u16(0);
  out.u32(0);  // no description
  out.u32(0);
  out.u32(0);  // no palette
  out.s32(1920);
  out.s32(1080);
  out.s32(508);
  out.s32(286);
  QByteArray bytes = out.data();
  bytes.append(records.data());
  return bytes;
}

}  // namespace examora::sample
