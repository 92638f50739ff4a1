#include "TestRegistry.h"
#include "widgets/StartWarmUp.h"

#include <QTemporaryDir>
#include <QTest>

using namespace examora;

namespace {

QImage Filled(QColor colour) {
  QImage picture(24, 8, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

}  // namespace

class TestStartWarmUp : public QObject {
  Q_OBJECT

 private slots:
  // A picture handed over by the warm-up is the file's picture, handed over once: a screen that
  // reads the file again after it changed sees the change; a missing file never blocks a reader.
  void picturesHandedOverOnce_data() {
    QTest::addColumn<bool>("preloaded");
    QTest::addColumn<bool>("exists");
    QTest::newRow("preloaded") << true << true;
    QTest::newRow("not preloaded") << false << true;
    QTest::newRow("preloaded, missing") << true << false;
  }
  void picturesHandedOverOnce() {
    QFETCH(bool, preloaded);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("band.png"));
    if (exists) QVERIFY(Filled(Qt::red).save(path));
    const QImage expected = exists ? QImage(path) : QImage();

    StartWarmUp warmUp(preloaded ? QStringList{path} : QStringList{});
    const QImage first = LoadPicture(path);
    QCOMPARE(first.isNull(), !exists);
    if (exists) QCOMPARE(first, expected);

    QVERIFY(Filled(Qt::blue).save(path));
    QCOMPARE(LoadPicture(path), QImage(path));
  }
};

EXAMORA_TEST(TestStartWarmUp)
#include "tst_startwarmup.moc"
