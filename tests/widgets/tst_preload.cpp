#include "TestRegistry.h"
#include "widgets/Preload.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace examora;

class TestPreload : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QStringList files_;  // distinct pictures, 0 .. 11

  QString Missing() const { return dir_.filePath(QStringLiteral("missing.png")); }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    for (int i = 0; i < 12; ++i) {
      QImage picture(40 + i, 30, QImage::Format_RGB32);
      picture.fill(QColor::fromHsv(i * 30, 200, 200));
      files_ << dir_.filePath(QStringLiteral("p%1.png").arg(i));
      QVERIFY(picture.save(files_.last()));
    }
  }

  // Whatever was preloaded, and whenever it is asked for, a picture is the file's picture as
  // QImage reads it, a missing file included; a preloaded picture is handed over once, and
  // a second request decodes the file again.
  void sameAsTheFile_data() {
    QTest::addColumn<bool>("preloader");
    QTest::addColumn<QList<int>>("preloaded");  // indexes into files_, -1 the missing file
    QTest::addColumn<QList<int>>("asked");
    QTest::newRow("first of the preloaded") << true << QList{0, 1, 2} << QList{0, 1, 2};
    QTest::newRow("last first, maybe still queued") << true << QList{0, 1, 2} << QList{2, 1, 0};
    QTest::newRow("not preloaded") << true << QList{0} << QList{3};
    QTest::newRow("missing file") << true << QList{-1, 0} << QList{-1, 0};
    QTest::newRow("asked twice") << true << QList{0} << QList{0, 0};
    QTest::newRow("preloaded twice") << true << QList{0, 0, 1} << QList{0, 1, 0};
    QTest::newRow("many, in reverse") << true << QList{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                                      << QList{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    QTest::newRow("without a preloader") << false << QList{0, 1} << QList{1, 0};
  }
  void sameAsTheFile() {
    QFETCH(bool, preloader);
    QFETCH(QList<int>, preloaded);
    QFETCH(QList<int>, asked);
    auto path = [this](int i) { return i < 0 ? Missing() : files_.at(i); };
    std::unique_ptr<Preloader> thread;
    if (preloader) thread = std::make_unique<Preloader>();
    QStringList paths;
    for (int i : preloaded) paths << path(i);
    PreloadPictures(paths);
    for (int i : asked) {
      const QImage picture = LoadPicture(path(i));
      QCOMPARE(picture, QImage(path(i)));
      QCOMPARE(picture.isNull(), i < 0);
    }
  }

  // A preloader ended with pictures still queued ends at once and leaves nothing behind: the
  // next preloader hands over the files' pictures, not the earlier one's.
  void endsWithPicturesQueued() {
    {
      Preloader preloader;
      PreloadPictures(files_);
    }
    Preloader preloader;
    for (const QString& file : files_) QCOMPARE(LoadPicture(file), QImage(file));
  }
};

EXAMORA_TEST(TestPreload)
#include "tst_preload.moc"
