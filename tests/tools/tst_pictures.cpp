#include <QImage>
#include <QTest>

#include "PictureEncoders.h"
#include "SamplePictures.h"
#include "TestRegistry.h"

using namespace examora::sample;
using namespace Qt::StringLiterals;

namespace {

unsigned U16(const QByteArray& b, qsizetype at, bool big) {
  const auto lo = static_cast<unsigned char>(b[at]);
  const auto hi = static_cast<unsigned char>(b[at + 1]);
  return big ? (lo << 8 | hi) : (hi << 8 | lo);
}
quint32 U32(const QByteArray& b, qsizetype at, bool big) {
  return big ? (quint32(U16(b, at, true)) << 16 | U16(b, at + 2, true))
             : (quint32(U16(b, at + 2, false)) << 16 | U16(b, at, false));
}

// Width and height as a reader of the file headers finds them; an invalid size when the
// header is not what the format prescribes.
QSize HeaderSize(const QByteArray& b, const QString& format) {
  if (format == u"tif") {
    const bool big = b.startsWith("MM\x00\x2A");
    if (!big && !b.startsWith("II\x2A\x00")) return {};
    const quint32 ifd = U32(b, 4, big);
    const unsigned count = U16(b, ifd, big);
    int w = 0, h = 0;
    for (unsigned i = 0; i < count; ++i) {
      const qsizetype e = ifd + 2 + i * 12;
      const unsigned tag = U16(b, e, big);
      const unsigned type = U16(b, e + 2, big);
      const int v = type == 3 ? int(U16(b, e + 8, big)) : type == 4 ? int(U32(b, e + 8, big)) : 0;
      if (tag == 256) w = v;
      if (tag == 257) h = v;
    }
    return {w, h};
  }
  if (format == u"psd") {
    if (!b.startsWith("8BPS") || U16(b, 4, true) != 1) return {};
    return {int(U32(b, 18, true)), int(U32(b, 14, true))};
  }
  if (format == u"wmf") {
    if (U32(b, 0, false) != 0x9AC6CDD7u) return {};
    unsigned x = 0;
    for (int i = 0; i < 20; i += 2) x ^= U16(b, i, false);
    if (x != U16(b, 20, false)) return {};
    return {int(qint16(U16(b, 10, false))), int(qint16(U16(b, 12, false)))};
  }
  if (format == u"emf") {
    if (U32(b, 0, false) != 1 || b.mid(40, 4) != " EMF") return {};
    return {int(U32(b, 16, false)) + 1, int(U32(b, 20, false)) + 1};
  }
  return {};
}

}  // namespace

class TestPictureEncoders : public QObject {
  Q_OBJECT

 private slots:
  void everyFormatHasTheRightSize_data() {
    QTest::addColumn<QString>("format");
    for (const QString& f : SupportedPictureFormats()) QTest::newRow(qPrintable(f)) << f;
  }
  void everyFormatHasTheRightSize() {
    QFETCH(QString, format);
    const QByteArray bytes = EncodePicture(TestPattern(37, 23), u"."_s + format.toUpper());
    QVERIFY(!bytes.isEmpty());
    const QString base = format == u"jpeg" ? u"jpg"_s : format == u"tiff" ? u"tif"_s : format;
    const QImage decoded = QImage::fromData(bytes);
    if (!decoded.isNull()) {
      QCOMPARE(decoded.size(), QSize(37, 23));
    } else {
      // Formats Qt cannot read here: check the header fields a size probe reads.
      QVERIFY2(base != u"jpg" && base != u"png" && base != u"bmp" && base != u"gif",
               "Qt reads this format and must decode it");
      QCOMPARE(HeaderSize(bytes, base), QSize(37, 23));
    }
  }

  void unknownFormatGivesNothing() {
    QVERIFY(EncodePicture(TestPattern(4, 4), u"jpe"_s).isEmpty());
    QVERIFY(EncodePicture(QImage(), u"png"_s).isEmpty());
  }

  void gifKeepsEveryPixelOverManyClearCodes() {
    // 300 x 20 pixels need many clear codes and many 255-byte data blocks.
    const QImage source = TestPattern(300, 20);
    const QImage decoded = QImage::fromData(EncodeGif(source), "GIF");
    QVERIFY(!decoded.isNull());
    const QImage expected = source.convertToFormat(QImage::Format_RGB32)
                                .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)
                                .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), expected);
  }

  void tiffVariants_data() {
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<bool>("shortDimensions");
    QTest::newRow("II short") << false << true;
    QTest::newRow("II long") << false << false;
    QTest::newRow("MM short") << true << true;
    QTest::newRow("MM long") << true << false;
  }
  void tiffVariants() {
    QFETCH(bool, bigEndian);
    QFETCH(bool, shortDimensions);
    const QByteArray b = EncodeTiff(TestPattern(301, 7), bigEndian, shortDimensions);
    QCOMPARE(HeaderSize(b, u"tif"_s), QSize(301, 7));
    // The strip holds the pixels: first pixel of the pattern at offset 8.
    const QRgb first = TestPattern(301, 7).pixel(0, 0);
    QCOMPARE(static_cast<unsigned char>(b[8]), static_cast<unsigned char>(qRed(first)));
    QCOMPARE(b.size(), 8 + 301 * 7 * 3 + 1 + 22 + 2 + 12 * 12 + 4);
  }

  void psdIsPlanar() {
    const QImage image = TestPattern(5, 3);
    const QByteArray b = EncodePsd(image);
    QCOMPARE(b.size(), 26 + 4 + 4 + 4 + 2 + 3 * 5 * 3);
    const int dataStart = 40;
    QCOMPARE(static_cast<unsigned char>(b[dataStart + 15]), qGreen(image.pixel(0, 0)));  // G plane
  }

  void metafilesStateTheirSize() {
    const QByteArray wmf = EncodeWmf(640, 480, qRgb(1, 2, 3));
    QCOMPARE(HeaderSize(wmf, u"wmf"_s), QSize(640, 480));
    QCOMPARE(qsizetype(U32(wmf, 22 + 6, false)) * 2, wmf.size() - 22);  // metafile size in words
    const QByteArray emf = EncodeEmf(640, 480, qRgb(1, 2, 3));
    QCOMPARE(HeaderSize(emf, u"emf"_s), QSize(640, 480));
    QCOMPARE(qsizetype(U32(emf, 48, false)), emf.size());  // total bytes
    QCOMPARE(U32(emf, emf.size() - 20, false), 14u);       // ends with the EOF record
  }
};

EXAMORA_TEST(TestPictureEncoders)
#include "tst_pictures.moc"
