#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "TestRegistry.h"
#include "exam/model/Placement.h"
#include "widgets/ScreenMetrics.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

// A 1280 × 1024 screen with a 23-px caption and 4-px sizing borders; a maximised window
// reaches down to 1010.
ScreenMetrics Metrics() {
  ScreenMetrics m;
  m.cxScreen = 1280;
  m.cyScreen = 1024;
  m.cyCaption = 23;
  m.cyMaximized = 1010;
  m.cxFrame = 4;
  m.cyFrame = 4;
  return m;
}

constexpr int kColumnWidth = 400;
const QRect kFullScreen(0, 0, 1280, 1024);

// Applies the codes one after the other, each to the bounds the previous one gave.
QRect ApplyAll(const QStringList& codes, PlacementState& state, QRect current = kFullScreen) {
  for (const QString& code : codes)
    current = ApplyPositionBounds(code, Metrics(), current, kColumnWidth, state);
  return current;
}

}  // namespace

class TestPlacement : public QObject {
  Q_OBJECT

 private slots:
  void boundsOfEachLayout_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("position");
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<int>("minHeight");
    QTest::addColumn<bool>("collapsed");
    // A column: min height 2 × 4 + 173 − 4; height 1010 − 23 − 7.
    QTest::newRow("3 left column")
        << QStringList{u"3"_s} << QRect(0, 23, 400, 980) << u"3"_s << 400 << 177 << false;
    QTest::newRow("4 right column")
        << QStringList{u"4"_s} << QRect(880, 23, 400, 980) << u"4"_s << 400 << 177 << false;
    // A strip with the header width never measured: 2 × 4 + 485 − 4.
    QTest::newRow("1 top strip") << QStringList{u"1"_s} << QRect(0, 23, 1284, 180) << u"1"_s << 489
                                 << 180 << false;
    QTest::newRow("2 bottom strip")
        << QStringList{u"2"_s} << QRect(0, 814, 1284, 180) << u"2"_s << 489 << 180 << false;
    // The column measured the header: 400 − 2 × 4 = 392, so the strip's min width is 396.
    QTest::newRow("1 after a column")
        << QStringList{u"4"_s, u"1"_s} << QRect(0, 23, 1284, 180) << u"1"_s << 396 << 180 << false;
    QTest::newRow("6 collapses a column to its header")
        << QStringList{u"4"_s, u"6"_s} << QRect(880, 23, 400, 177) << u"4"_s << 400 << 177 << true;
    QTest::newRow("7 restores the column")
        << QStringList{u"4"_s, u"6"_s, u"7"_s} << QRect(880, 23, 400, 980) << u"4"_s << 400 << 177
        << false;
    QTest::newRow("6 collapses a strip to its header")
        << QStringList{u"1"_s, u"6"_s} << QRect(0, 23, 489, 180) << u"1"_s << 489 << 180 << true;
    QTest::newRow("7 restores the strip")
        << QStringList{u"1"_s, u"6"_s, u"7"_s} << QRect(0, 23, 1284, 180) << u"1"_s << 489 << 180
        << false;
    // Nothing to go back to: the window keeps its size instead of shrinking to nothing.
    QTest::newRow("7 without a collapse keeps the size")
        << QStringList{u"4"_s, u"7"_s} << QRect(880, 23, 400, 980) << u"4"_s << 400 << 177 << false;
    QTest::newRow("unknown code leaves the layout")
        << QStringList{u"3"_s, u"9"_s} << QRect(0, 23, 400, 980) << u"3"_s << 400 << 177 << false;
  }
  void boundsOfEachLayout() {
    QFETCH(QStringList, codes);
    QFETCH(QRect, bounds);
    PlacementState state;
    QCOMPARE(ApplyAll(codes, state), bounds);
    QTEST(state.currentPosition, "position");
    QTEST(state.minTrackWidth, "minWidth");
    QTEST(state.minTrackHeight, "minHeight");
    QTEST(state.collapsed, "collapsed");
  }

  void collapseThenRestoreReturnsTheSameSize_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("top") << u"1"_s;
    QTest::newRow("bottom") << u"2"_s;
    QTest::newRow("left") << u"3"_s;
    QTest::newRow("right") << u"4"_s;
  }
  void collapseThenRestoreReturnsTheSameSize() {
    QFETCH(QString, code);
    PlacementState state;
    // The candidate has dragged and resized the window after docking it.
    QRect before = ApplyAll({code}, state).adjusted(30, 40, -50, -10);
    before.setSize(before.size().expandedTo(QSize(500, 300)));
    const QRect collapsed = ApplyAll({u"6"_s}, state, before);
    QVERIFY(collapsed.size() != before.size());
    QCOMPARE(collapsed.topLeft(), before.topLeft());
    QCOMPARE(ApplyAll({u"7"_s}, state, collapsed), before);
  }

  void restoreLayoutAppliesTheSavedBoundsOnce() {
    PlacementState state;
    state.savedLayout = QRect(100, 50, 600, 300);
    state.restoreLayout = true;
    QCOMPARE(ApplyAll({u"4"_s}, state), QRect(100, 50, 600, 300));
    QVERIFY(!state.restoreLayout);
    QCOMPARE(state.headerWidth, 592);  // measured on the saved bounds
    QCOMPARE(ApplyAll({u"4"_s}, state), QRect(880, 23, 400, 980));
  }

  void savedLayoutWithoutSizeIsNotApplied_data() {
    QTest::addColumn<QRect>("saved");
    QTest::newRow("all zero") << QRect(0, 0, 0, 0);
    QTest::newRow("no width") << QRect(100, 50, 0, 300);
    QTest::newRow("no height") << QRect(100, 50, 600, 0);
  }
  void savedLayoutWithoutSizeIsNotApplied() {
    QFETCH(QRect, saved);
    PlacementState state;
    state.savedLayout = saved;
    state.restoreLayout = true;
    QCOMPARE(ApplyAll({u"4"_s}, state), QRect(880, 23, 400, 980));
    QVERIFY(!state.restoreLayout);
  }

  void initialLayout_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QRect>("savedAfter");
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<bool>("headerAtTop");
    QTest::newRow("right column, nothing saved")
        << u"4"_s << false << QRect() << QRect(880, 23, 400, 980) << QRect(880, 23, 400, 980) << 400
        << true;
    // The strip gets the header width the right-hand column measured first (392).
    QTest::newRow("top strip, nothing saved")
        << u"1"_s << false << QRect() << QRect(0, 23, 1284, 180) << QRect(0, 23, 1284, 180) << 396
        << false;
    QTest::newRow("bottom strip with the practised layout")
        << u"2"_s << true << QRect(10, 700, 900, 200) << QRect(10, 700, 900, 200)
        << QRect(10, 700, 900, 200) << 396 << false;
    QTest::newRow("left column with the practised layout")
        << u"3"_s << true << QRect(0, 23, 520, 900) << QRect(0, 23, 520, 900)
        << QRect(0, 23, 520, 900) << 400 << true;
    // Saved values that are not there (zeros) must not make the window vanish.
    QTest::newRow("restore asked but zeros saved")
        << u"4"_s << true << QRect(0, 0, 0, 0) << QRect(880, 23, 400, 980)
        << QRect(880, 23, 400, 980) << 400 << true;
  }
  void initialLayout() {
    QFETCH(QString, initial);
    QFETCH(bool, restore);
    QFETCH(QRect, saved);
    QFETCH(QRect, bounds);
    PlacementState state;
    state.restoreLayout = restore;
    state.savedLayout = saved;
    QCOMPARE(InitialLayoutBounds(initial, Metrics(), kFullScreen, kColumnWidth, state), bounds);
    QTEST(state.savedLayout, "savedAfter");
    QTEST(state.minTrackWidth, "minWidth");
    QTEST(state.headerAtTop, "headerAtTop");
    QCOMPARE(state.currentPosition, initial);
    QVERIFY(!state.restoreLayout);
  }

  void firstPrintReturnsToTheStartLayout_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QRect>("saved");
    QTest::newRow("right column") << u"4"_s << false << QRect();
    QTest::newRow("top strip") << u"1"_s << false << QRect();
    QTest::newRow("practised bottom strip") << u"2"_s << true << QRect(10, 700, 900, 200);
  }
  void firstPrintReturnsToTheStartLayout() {
    QFETCH(QString, initial);
    QFETCH(bool, restore);
    QFETCH(QRect, saved);
    PlacementState state;
    state.restoreLayout = restore;
    state.savedLayout = saved;
    const QRect start = InitialLayoutBounds(initial, Metrics(), kFullScreen, kColumnWidth, state);
    // Several collapses, moves and other layouts.
    QRect now = ApplyAll({u"6"_s}, state, start);
    now = ApplyAll({u"3"_s, u"6"_s}, state, now.translated(200, 150));
    now = ApplyAll({u"7"_s, u"2"_s, u"6"_s}, state, now.translated(-40, 30));
    QCOMPARE(FirstPrintBounds(initial, Metrics(), now, kColumnWidth, state), start);
    QCOMPARE(state.currentPosition, initial);
    QVERIFY(!state.restoreLayout);
  }

  void columnMinTrackWidth_data() {
    QTest::addColumn<QList<int>>("widths");  // mode, button row, end, layout, first, hidden, lbl
    QTest::addColumn<int>("expected");
    QTest::newRow("narrow rows give 356") << QList<int>{120, 100, 74, 80, 60, 46, 40} << 356;
    QTest::newRow("355 gives 356") << QList<int>{255, 100, 74, 0, 0, 0, 0} << 356;
    QTest::newRow("356 gains 16") << QList<int>{256, 100, 74, 0, 0, 0, 0} << 372;
    QTest::newRow("button row wider than mode row") << QList<int>{200, 300, 74, 0, 0, 0, 0} << 416;
    QTest::newRow("layout row widest") << QList<int>{200, 200, 74, 200, 60, 46, 60} << 422;
  }
  void columnMinTrackWidth() {
    QFETCH(QList<int>, widths);
    QTEST(ColumnMinTrackWidth(widths[0], widths[1], widths[2], widths[3], widths[4], widths[5],
                              widths[6]),
          "expected");
  }

  void clampMove_data() {
    QTest::addColumn<QPoint>("moved");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("inside") << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("left edge exactly") << QPoint(-252, 0) << QPoint(-252, 0);
    QTest::newRow("far left") << QPoint(-1000, 50) << QPoint(-252, 50);
    QTest::newRow("above") << QPoint(10, -30) << QPoint(10, 0);
    QTest::newRow("top-left corner") << QPoint(-900, -900) << QPoint(-252, 0);
    QTest::newRow("far right") << QPoint(5000, 10) << QPoint(1028, 10);
    QTest::newRow("far down") << QPoint(10, 5000) << QPoint(10, 884);
    QTest::newRow("bottom-right corner") << QPoint(9999, 9999) << QPoint(1028, 884);
  }
  void clampMove() {
    QFETCH(QPoint, moved);
    QTEST(ClampMove(moved, Metrics()), "expected");
  }

  void knowledgeWindowIsHeldAtTheOrigin() {
    QCOMPARE(KnowledgeHoldBounds(QRect(0, 0, 1280, 1024)), QRect(0, 0, 1280, 1024));
    QCOMPARE(KnowledgeHoldBounds(QRect(50, 60, 800, 600)), QRect(0, 0, 800, 600));
  }

  void guardIntervalGrowsToTenSecondsAndStays() {
    int interval = 100;
    int ticks = 0;
    while (interval < 10000 && ticks < 1000) {
      const int next = NextGuardInterval(interval);
      QCOMPARE(next, interval + 100);
      interval = next;
      ++ticks;
    }
    QCOMPARE(ticks, 99);
    QCOMPARE(NextGuardInterval(10000), 10000);
  }

  void nativeMetricsAreScaledToWidgetPixels_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("cxScreen");
    QTest::addColumn<int>("cyMaximized");
    QTest::addColumn<int>("cxFrame");
    QTest::newRow("100 %") << 1.0 << 1920 << 1050 << 8;
    QTest::newRow("150 %") << 1.5 << 1280 << 700 << 5;
    QTest::newRow("no ratio") << 0.0 << 1920 << 1050 << 8;
  }
  void nativeMetricsAreScaledToWidgetPixels() {
    QFETCH(double, ratio);
    NativeMetrics native;
    native.cxScreen = 1920;
    native.cyScreen = 1080;
    native.cyMaximized = 1050;
    native.cxFrame = 8;
    const ScreenMetrics m = ScaleNativeMetrics(native, ratio);
    QTEST(m.cxScreen, "cxScreen");
    QTEST(m.cyMaximized, "cyMaximized");
    QTEST(m.cxFrame, "cxFrame");
  }

  void metricsFromTheScreenWhereTheSystemHasNone() {
    if (NativeSystemMetrics()) QSKIP("this system states its metrics itself");
    const QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    const ScreenMetrics m = CurrentScreenMetrics();
    QCOMPARE(m.cxScreen, screen->geometry().width());
    QCOMPARE(m.cyScreen, screen->geometry().height());
    QCOMPARE(m.cyMaximized, screen->availableGeometry().height());
    QVERIFY(m.cyCaption > 0);
    QCOMPARE(m.cxFrame, 4);
    QCOMPARE(m.cyFrame, 4);
  }
};

EXAMORA_TEST(TestPlacement)
#include "tst_placement.moc"
