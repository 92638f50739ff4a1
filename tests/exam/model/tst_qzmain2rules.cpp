#include <QTest>

#include "TestRegistry.h"
#include "exam/model/QZMain2Rules.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

// A 1280 × 1024 screen with a 23-px caption; a maximised window reaches down to 1010 and a
// full-screen client area is 964 high, so a maximised window has 46 px of bars around it.
ScreenMetrics CompactMetrics() {
  ScreenMetrics m;
  m.cxScreen = 1280;
  m.cyScreen = 1024;
  m.cyCaption = 23;
  m.cyMaximized = 1010;
  m.cyFullScreen = 964;
  return m;
}

}  // namespace

class TestQZMain2Rules : public QObject {
  Q_OBJECT

 private slots:
  void titles_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("patternName");
    QTest::addColumn<bool>("practice");
    QTest::addColumn<QString>("title2");
    QTest::addColumn<QString>("endCaption");
    QTest::newRow("named pattern")
        << u"2"_s << u"標準"_s << false << u"実技　標準"_s << u"試験終了"_s;
    // No pattern name: the pattern letter stands in.
    QTest::newRow("pattern letter")
        << u"2"_s << QString() << false << u"実技　Aパターン"_s << u"試験終了"_s;
    QTest::newRow("practice") << u"2"_s << QString() << true << u"実技　Aパターン 操作練習"_s
                              << u"練習終了"_s;
    QTest::newRow("web-style") << u"3"_s << u"標準"_s << false << u"標準 (第2版) 実技"_s
                               << u"試験終了"_s;
    QTest::newRow("web-style letter")
        << u"3"_s << QString() << false << u"Aパターン (第2版) 実技"_s << u"試験終了"_s;
  }
  void titles() {
    QFETCH(QString, examType);
    QFETCH(QString, patternName);
    QFETCH(bool, practice);
    SystemIni system;
    system.bookletName = u"冊子"_s;
    system.pattern = u"A"_s;
    system.patternName = patternName;
    system.versionName = u"第2版"_s;
    const CompactWindowTitles titles =
        CompactTitles(system, u"実技"_s, u"補足"_s, examType, practice);
    QCOMPARE(titles.title1, u"冊子"_s);
    QTEST(titles.title2, "title2");
    QCOMPARE(titles.supplement, u"補足"_s);
    QTEST(titles.endCaption, "endCaption");
  }

  void initialBounds_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QRect>("bounds");
    const QRect saved(10, 20, 500, 70);
    QTest::newRow("type 2: top left, below a caption")
        << u"2"_s << false << saved << QRect(0, 23, 433, 61);
    // 1024 - 76 - 46: the strip's bottom edge is where a maximised window's client area ends.
    QTest::newRow("type 3: bottom right") << u"3"_s << false << saved << QRect(847, 902, 433, 76);
    QTest::newRow("saved layout") << u"3"_s << true << saved << saved;
    QTest::newRow("saved zeros") << u"2"_s << true << QRect(0, 0, 0, 0) << QRect(0, 23, 433, 61);
  }
  void initialBounds() {
    QFETCH(QString, examType);
    QFETCH(bool, restore);
    QFETCH(QRect, saved);
    QTEST(CompactInitialBounds(examType, restore, saved, CompactMetrics()), "bounds");
  }

  void moveClamp_data() {
    QTest::addColumn<QPoint>("moved");
    QTest::addColumn<QPoint>("kept");
    QTest::newRow("inside") << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("far left") << QPoint(-400, 100) << QPoint(-252, 100);
    QTest::newRow("above") << QPoint(100, -5) << QPoint(100, 0);
    QTest::newRow("far right") << QPoint(1200, 100) << QPoint(1028, 100);
    QTest::newRow("below") << QPoint(100, 1000) << QPoint(100, 964);
  }
  void moveClamp() {
    QFETCH(QPoint, moved);
    QTEST(ClampCompactMove(moved, CompactMetrics()), "kept");
  }
};

EXAMORA_TEST(TestQZMain2Rules)
#include "tst_qzmain2rules.moc"
