#include "TestRegistry.h"
#include "widgets/Logo.h"

#include <QImage>
#include <QTest>

using namespace examora;

class TestLogo : public QObject {
  Q_OBJECT

 private slots:
  // Every place the logo is put in shows all of it: nothing drawn runs into an edge, where it
  // would be cut (the answer-only window's 110 x 31 panel showed "Exar" and half a mark).
  void wholeAtEverySize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("title band") << QSize(196, 70);
    QTest::newRow("office check dialog") << QSize(200, 50);
    QTest::newRow("answer-only window") << QSize(110, 31);
  }
  void wholeAtEverySize() {
    QFETCH(QSize, size);
    const QImage logo = LogoPixmap(size).toImage();
    QCOMPARE(logo.size(), size);
    int drawn = 0;
    for (int y = 0; y < logo.height(); ++y) {
      for (int x = 0; x < logo.width(); ++x) {
        if (qAlpha(logo.pixel(x, y)) == 0) continue;
        ++drawn;
        const bool edge = x == 0 || y == 0 || x == logo.width() - 1 || y == logo.height() - 1;
        QVERIFY2(!edge, qPrintable(QStringLiteral("drawn at the edge, %1,%2").arg(x).arg(y)));
      }
    }
    QVERIFY(drawn > logo.width() * logo.height() / 10);
  }
};

EXAMORA_TEST(TestLogo)
#include "tst_logo.moc"
