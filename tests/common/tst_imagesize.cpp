#include "TestRegistry.h"
#include "common/ImageSize.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace examora;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes2(int first, int second) {
  const char b[2] = {char(first & 0xFF), char(second & 0xFF)};
  return QByteArray(b, 2);
}
QByteArray Le16(int v) {
  return Bytes2(v, v >> 8);
}
QByteArray Be16(int v) {
  return Bytes2(v >> 8, v);
}
QByteArray Le32(qint64 v) {
  return Le16(int(v & 0xFFFF)) + Le16(int((v >> 16) & 0xFFFF));
}
QByteArray Be32(qint64 v) {
  return Be16(int((v >> 16) & 0xFFFF)) + Be16(int(v & 0xFFFF));
}
QByteArray Zeros(int n) {
  return QByteArray(n, '\0');
}

QByteArray Bmp(qint64 width, qint64 height, qint64 headerSize = 40) {
  return "BM" + Le32(54 + 16) + Le32(0) + Le32(54) + Le32(headerSize) + Le32(width) + Le32(height) +
         Le16(1) + Le16(24) + Zeros(24) + Zeros(16);
}
QByteArray BmpCore(int width, int height) {
  return "BM" + Le32(26 + 12) + Le32(0) + Le32(26) + Le32(12) + Le16(width) + Le16(height) +
         Le16(1) + Le16(24) + Zeros(12);
}

QByteArray JpegSegment(int marker, int payload) {
  return Be16(marker) + Be16(payload + 2) + QByteArray(payload, '\x11');
}
QByteArray JpegFrame(int marker, int width, int height) {
  return Be16(marker) + Be16(17) + '\x08' + Be16(height) + Be16(width) + '\x03' + Zeros(9);
}
QByteArray Jpeg(const QByteArray& body) {
  return Be16(0xFFD8) + body + Be16(0xFFDA) + Be16(8) + Zeros(6) + "\x12\x34" + Be16(0xFFD9);
}

QByteArray Wmf(int right, int bottom, int checksumDelta = 0) {
  QByteArray h = Le32(0x9AC6CDD7) + Le16(0) + Le16(0) + Le16(0) + Le16(right) + Le16(bottom) +
                 Le16(1440) + Le32(0);
  int sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= (uchar(h[i]) | (uchar(h[i + 1]) << 8));
  return h + Le16(sum + checksumDelta) + Zeros(18);
}

QByteArray Emf(qint64 right, qint64 bottom, qint64 type = 1, const char* signature = " EMF") {
  return Le32(type) + Le32(108) + Le32(0) + Le32(0) + Le32(right) + Le32(bottom) + Zeros(16) +
         QByteArray(signature) + Le32(0x10000) + Zeros(60);
}

QByteArray Gif(const char* version, int width, int height) {
  return "GIF" + QByteArray(version) + Le16(width) + Le16(height) + Zeros(3) + ";";
}

QByteArray Png(qint64 width, qint64 height, const char* chunk = "IHDR") {
  return "\x89PNG\r\n\x1A\n" + Be32(13) + QByteArray(chunk) + Be32(width) + Be32(height) +
         "\x08\x02" + Zeros(3) + Zeros(4);
}

QByteArray Psd(qint64 width, qint64 height, int version = 1) {
  return "8BPS" + Be16(version) + Zeros(6) + Be16(3) + Be32(height) + Be32(width) + Be16(8) +
         Be16(3) + Zeros(4);
}

struct TiffEntry {
  int tag;
  int type;
  qint64 value;
};
// A TIFF with its first directory at offset 8.
QByteArray Tiff(bool bigEndian, const QList<TiffEntry>& entries, int count = -1) {
  auto u16 = [&](int v) { return bigEndian ? Be16(v) : Le16(v); };
  auto u32 = [&](qint64 v) { return bigEndian ? Be32(v) : Le32(v); };
  QByteArray t = (bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4)) + u32(8);
  t += u16(count < 0 ? int(entries.size()) : count);
  for (const TiffEntry& e : entries) {
    t += u16(e.tag) + u16(e.type) + u32(1);
    // A short is stored at the start of the 4-byte value field in the file's byte order.
    t += e.type == 3 ? u16(int(e.value)) + Zeros(2) : u32(e.value);
  }
  return t + u32(0);
}

QString Invalid(const QString& path, const char* format) {
  return path + QStringLiteral(" \r\n不正な ") + QLatin1String(format) +
         QStringLiteral(" ファイルです。");
}
QString Zero(const QString& path) {
  return path + QStringLiteral("\r\n画像サイズがゼロです。");
}
QString NoSize(const QString& path) {
  return path + QStringLiteral(" \r\nサイズの取得に失敗しました。");
}
QString Unsupported(const QString& path) {
  return path + QStringLiteral(
                    "\r\nには対応していません。 対応しているファイルは\r\n*.bmp, *.jpg, *.jpeg, "
                    "*.png, *.psd, *.wmf, *.emf, *.gif, *.tif, *.tiff のみです。");
}

}  // namespace

class TestImageSize : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  // Runs the memory parse and the file reader on the same bytes; both must agree.
  void check(const QString& name, const QByteArray& bytes, bool ok, int width, int height,
             const QString& errorKind) {
    const QString path = dir_.filePath(name);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    QString expectedError;
    if (errorKind == u"zero")
      expectedError = Zero(path);
    else if (errorKind == u"nosize")
      expectedError = NoSize(path);
    else if (errorKind == u"unsupported")
      expectedError = Unsupported(path);
    else if (!errorKind.isEmpty())
      expectedError = Invalid(path, qPrintable(errorKind));

    for (int fromFile = 0; fromFile < 2; ++fromFile) {
      const ImageSizeResult r = fromFile ? GetImageSize(path) : GetImageSizeFromBytes(bytes, path);
      QCOMPARE(r.error, expectedError);
      QCOMPARE(r.ok, ok);
      QCOMPARE(r.width, ok ? width : 0);
      QCOMPARE(r.height, ok ? height : 0);
    }
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void readsHeaders_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("error");  // "", zero, nosize, unsupported or the format name
    auto good = [](const char* row, const char* name, const QByteArray& b, int w, int h) {
      QTest::newRow(row) << QString::fromUtf8(name) << b << true << w << h << QString();
    };
    auto bad = [](const char* row, const char* name, const QByteArray& b, const char* err) {
      QTest::newRow(row) << QString::fromUtf8(name) << b << false << 0 << 0
                         << QString::fromLatin1(err);
    };

    good("bmp", "a.bmp", Bmp(640, 480), 640, 480);
    good("bmp v5 header", "a.bmp", Bmp(3, 2, 124), 3, 2);
    good("bmp OS/2 16-bit", "a.bmp", BmpCore(0x1234, 0xFFFF), 0x1234, 0xFFFF);
    good("bmp top-down height as stored", "a.bmp", Bmp(640, -480), 640, -480);
    bad("bmp header size 11", "a.bmp", Bmp(640, 480, 11), "BMP");
    bad("bmp named .bmp starting BA", ".bmp", "BA" + Bmp(1, 1).mid(2), "BMP");
    bad("bmp zero height", "a.bmp", Bmp(640, 0), "zero");

    const QByteArray app0 = JpegSegment(0xFFE0, 14);
    const QByteArray dqt = JpegSegment(0xFFDB, 65);
    const QByteArray dht = JpegSegment(0xFFC4, 28);
    good("jpg baseline", "a.jpg", Jpeg(app0 + dqt + dht + JpegFrame(0xFFC0, 1024, 768)), 1024, 768);
    good("JPEG extension in capitals", "photo.JPEG", Jpeg(app0 + JpegFrame(0xFFC0, 5, 7)), 5, 7);
    good("jpg progressive", "a.jpg", Jpeg(app0 + JpegFrame(0xFFC2, 300, 200)), 300, 200);
    good("jpg C8 and CC are segments, not frames", "a.jpg",
         Jpeg(JpegSegment(0xFFC8, 4) + JpegSegment(0xFFCC, 4) + JpegFrame(0xFFC1, 9, 8)), 9, 8);
    good("jpg longest segment skipped", "a.jpg",
         Jpeg(JpegSegment(0xFFE1, 0xFFFD) + JpegFrame(0xFFC0, 2, 3)), 2, 3);
    bad("jpg only Huffman tables", "a.jpg", Be16(0xFFD8) + dht + dht, "JPG");
    bad("jpg end of image before a frame", "a.jpg", Jpeg(app0) + JpegFrame(0xFFC0, 4, 4), "JPG");
    bad("jpg no start of image", "a.jpg", Jpeg(JpegFrame(0xFFC0, 4, 4)).mid(2), "JPG");
    // Followed naively, a length of 0 steps back two bytes and reads the next frame marker.
    bad("jpg segment length 0", "a.jpg",
        Be16(0xFFD8) + Be16(0xFFE0) + Be16(0) + Be16(2) + JpegFrame(0xFFC0, 4, 4), "JPG");
    bad("jpg segment length 1", "a.jpg",
        Be16(0xFFD8) + Be16(0xFFE0) + Be16(1) + JpegFrame(0xFFC0, 4, 4), "JPG");
    bad("jpg zero width", "a.jpg", Jpeg(JpegFrame(0xFFC0, 0, 4)), "zero");

    good("wmf", "a.wmf", Wmf(400, 300), 400, 300);
    good("wmf signed bounds", "a.wmf", Wmf(0x8000, 300), -32768, 300);
    bad("wmf checksum mismatch", "a.wmf", Wmf(400, 300, 1), "WMF");
    bad("wmf not placeable", "a.wmf", Le32(0x00090001) + Wmf(400, 300).mid(4), "WMF");

    good("emf", "a.emf", Emf(99, 49), 100, 50);
    bad("emf wrong record", "a.emf", Emf(99, 49, 2), "EMF");
    bad("emf wrong signature", "a.emf", Emf(99, 49, 1, " EMX"), "EMF");
    bad("emf bounds -1", "a.emf", Emf(-1, 49), "zero");

    good("gif87a", "a.gif", Gif("87a", 320, 0x1FF), 320, 0x1FF);
    good("gif89a", "a.gif", Gif("89a", 0xFFFF, 1), 0xFFFF, 1);
    bad("gif90a", "a.gif", Gif("90a", 320, 200), "GIF");

    good("png", "a.png", Png(800, 600), 800, 600);
    good("png extension in capitals", "IMAGE.PNG", Png(1, 2), 1, 2);
    bad("png 1x0", "a.png", Png(1, 0), "zero");
    bad("png first chunk not IHDR", "a.png", Png(1, 1, "IDAT"), "PNG");
    bad("png broken signature", "a.png", "\x89PNG\n" + Png(1, 1).mid(5), "PNG");

    good("psd", "a.psd", Psd(1200, 900), 1200, 900);
    bad("psd version 2", "a.psd", Psd(1200, 900, 2), "PSD");

    good("tif little-endian", "a.tif", Tiff(false, {{256, 4, 640}, {257, 3, 480}}), 640, 480);
    good("TIFF extension in capitals", "scan.TIFF",
         Tiff(false, {{254, 4, 0}, {257, 4, 70000}, {258, 3, 8}, {256, 3, 50}}), 50, 70000);
    good("tif big-endian short width", "a.tif", Tiff(true, {{256, 3, 0x1234}, {257, 4, 99}}),
         0x1234, 99);
    good("tif stops at the second tag", "a.tif", Tiff(false, {{256, 3, 5}, {257, 3, 6}}, 60000), 5,
         6);
    bad("tif rational width", "a.tif", Tiff(true, {{256, 5, 640}, {257, 3, 480}}), "zero");
    bad("tif entries end before both tags", "a.tif", Tiff(false, {{256, 3, 5}, {258, 3, 8}}),
        "nosize");
    bad("tif no entries", "a.tif", Tiff(false, {}), "nosize");
    bad("tif entry count beyond the file", "a.tif", Tiff(false, {{256, 3, 5}}, 60000), "TIF");
    bad("tif directory beyond the file", "a.tif",
        QByteArray("II*\0", 4) + Le32(0xFFFFFFF0) + Zeros(20), "TIF");
    bad("tif wrong byte-order mark", "a.tif",
        QByteArray("IM*\0", 4) + Tiff(false, {{256, 3, 5}, {257, 3, 6}}).mid(4), "TIF");

    bad("jpe is not supported", "pic.jpe", Jpeg(JpegFrame(0xFFC0, 4, 4)), "unsupported");
    bad("no extension", "picture", Png(1, 1), "unsupported");
    bad("dot only in the folder name", "dir.png/picture", Png(1, 1), "unsupported");
    bad("empty file", "a.png", QByteArray(), "PNG");
  }
  void readsHeaders() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, error);
    check(name, bytes, ok, width, height, error);
  }

  // Every prefix of a good file shorter than the header the reader needs is an invalid file;
  // from that length on the size is read. No prefix may crash or give a different size.
  void truncatedFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("needed");
    QTest::newRow("bmp") << u"t.bmp"_s << Bmp(7, 9) << u"BMP"_s << 26;
    QTest::newRow("bmp OS/2") << u"t.bmp"_s << BmpCore(7, 9) << u"BMP"_s << 22;
    QTest::newRow("jpg") << u"t.jpg"_s << Jpeg(JpegSegment(0xFFE0, 14) + JpegFrame(0xFFC0, 7, 9))
                         << u"JPG"_s << 2 + 18 + 9;
    QTest::newRow("wmf") << u"t.wmf"_s << Wmf(7, 9) << u"WMF"_s << 22;
    QTest::newRow("emf") << u"t.emf"_s << Emf(6, 8) << u"EMF"_s << 44;
    QTest::newRow("gif") << u"t.gif"_s << Gif("89a", 7, 9) << u"GIF"_s << 10;
    QTest::newRow("png") << u"t.png"_s << Png(7, 9) << u"PNG"_s << 24;
    QTest::newRow("psd") << u"t.psd"_s << Psd(7, 9) << u"PSD"_s << 22;
    QTest::newRow("tif") << u"t.tif"_s << Tiff(true, {{256, 3, 7}, {300, 3, 1}, {257, 4, 9}})
                         << u"TIF"_s << 8 + 2 + 3 * 12;
  }
  void truncatedFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, format);
    QFETCH(int, needed);
    QVERIFY(needed <= bytes.size());
    for (int n = 0; n <= bytes.size(); ++n) {
      const ImageSizeResult r = GetImageSizeFromBytes(bytes.left(n), name);
      if (n < needed) {
        QVERIFY2(!r.ok, qPrintable(QString::number(n)));
        QCOMPARE(r.error, Invalid(name, qPrintable(format)));
      } else {
        QVERIFY2(r.ok, qPrintable(QString::number(n) + u' ' + r.error));
        QCOMPARE(r.width, 7);
        QCOMPARE(r.height, 9);
      }
    }
  }

  void readsPicturesWrittenByQImage_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("jpg") << u"real.jpg"_s;
    QTest::newRow("png") << u"real.png"_s;
    QTest::newRow("bmp") << u"real.bmp"_s;
  }
  void readsPicturesWrittenByQImage() {
    QFETCH(QString, name);
    QImage image(37, 23, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir_.filePath(name);
    QVERIFY(image.save(path));
    const ImageSizeResult r = GetImageSize(path);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.width, 37);
    QCOMPARE(r.height, 23);
  }

  void missingFileIsAFailure() {
    const QString path = dir_.filePath(u"missing.png"_s);
    const ImageSizeResult r = GetImageSize(path);
    QVERIFY(!r.ok);
    QVERIFY(r.error.startsWith(path + u"\r\n"));
  }
};

EXAMORA_TEST(TestImageSize)
#include "tst_imagesize.moc"
