#include <QTest>

#include <stdexcept>

#include "TestRegistry.h"
#include "exam/model/OnTopGuard.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kReleasedLine = u"QZMain：エラーダイアログ存在の為に、最前面表示を解除しました。"_s;

// The window as the guard sees it, and what the guard did to it.
struct FakeWindow {
  bool enabled = true;
  bool viewerOpen = false;
  bool throwOnRaise = false;
  int raises = 0;
  int releases = 0;
  QStringList log;
  std::function<void()> onRaise;

  OnTopGuardHooks Hooks() {
    return {
        [this] { return enabled; },
        [this] { return viewerOpen; },
        [this] {
          ++raises;
          if (onRaise) onRaise();
          if (throwOnRaise) throw std::runtime_error("window gone");
        },
        [this] { ++releases; },
        [this](const QString& line) { log << line; },
    };
  }
};

}  // namespace

class TestOnTopGuard : public QObject {
  Q_OBJECT

 private slots:
  void guardTick_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("viewerOpen");
    QTest::addColumn<int>("raises");
    QTest::addColumn<int>("interval");
    QTest::newRow("enabled window") << true << false << 1 << 200;
    // A message box of ours is up: neither raise over it nor count the tick.
    QTest::newRow("disabled window") << false << false << 0 << 100;
    QTest::newRow("sample viewer open") << true << true << 0 << 100;
  }
  void guardTick() {
    FakeWindow window;
    QFETCH(bool, enabled);
    QFETCH(bool, viewerOpen);
    window.enabled = enabled;
    window.viewerOpen = viewerOpen;
    OnTopGuard guard(window.Hooks());
    guard.Start();
    guard.NotOpMostTimerTimer();
    QTEST(window.raises, "raises");
    QTEST(guard.NotOpMostTimer.interval(), "interval");
    QVERIFY(guard.NotOpMostTimer.isActive());
  }

  void guardBacksOffToTenSeconds() {
    FakeWindow window;
    OnTopGuard guard(window.Hooks());
    for (int i = 0; i < 150; ++i) guard.NotOpMostTimerTimer();
    QCOMPARE(window.raises, 150);
    QCOMPARE(guard.NotOpMostTimer.interval(), 10000);
    // Starting again (the on-top box checked again) does not go back to 100 ms.
    guard.StopGuard();
    guard.StartGuard();
    QCOMPARE(guard.NotOpMostTimer.interval(), 10000);
  }

  void timersRunOnTheirOwn() {
    FakeWindow window;
    OnTopGuard guard(window.Hooks());
    QCOMPARE(guard.NotOpMostTimer.interval(), 100);
    QCOMPARE(guard.ErrDialogCheckTimer.interval(), 2000);
    guard.Start();
    QVERIFY(guard.ErrDialogCheckTimer.isActive());
    QTRY_VERIFY_WITH_TIMEOUT(window.raises >= 3, 3000);
    guard.Stop();
    const int raises = window.raises;
    // Stopped timers cannot fire again: nothing is pending, and no tick comes after this.
    QVERIFY(!guard.NotOpMostTimer.isActive());
    QVERIFY(!guard.ErrDialogCheckTimer.isActive());
    QCoreApplication::processEvents();
    QCOMPARE(window.raises, raises);
  }

  void guardStoppedDuringItsTickStaysStopped() {
    FakeWindow window;
    OnTopGuard guard(window.Hooks());
    window.onRaise = [&guard] { guard.StopGuard(); };
    guard.Start();
    guard.NotOpMostTimerTimer();
    QVERIFY(!guard.NotOpMostTimer.isActive());
    QVERIFY(guard.ErrDialogCheckTimer.isActive());
  }

  void guardSurvivesAFailingHook() {
    FakeWindow window;
    window.throwOnRaise = true;
    OnTopGuard guard(window.Hooks());
    guard.Start();
    guard.NotOpMostTimerTimer();
    QCOMPARE(window.raises, 1);
    QVERIFY(guard.NotOpMostTimer.isActive());
  }

  void dialogWatchGivesWayOncePerDialog() {
    FakeWindow window;
    OnTopGuard guard(window.Hooks());
    guard.Start();
    window.enabled = false;  // a message box comes up
    guard.ErrDialogCheckTimerTimer();
    guard.ErrDialogCheckTimerTimer();
    guard.ErrDialogCheckTimerTimer();
    QCOMPARE(window.log, QStringList{kReleasedLine});
    QCOMPARE(window.releases, 1);
    QVERIFY(guard.ErrorDialogSeen);
    QVERIFY(guard.ErrDialogCheckTimer.isActive());

    window.enabled = true;  // it was closed
    guard.ErrDialogCheckTimerTimer();
    QVERIFY(!guard.ErrorDialogSeen);
    QCOMPARE(window.releases, 1);

    window.enabled = false;  // the next one
    guard.ErrDialogCheckTimerTimer();
    QCOMPARE(window.log, (QStringList{kReleasedLine, kReleasedLine}));
    QCOMPARE(window.releases, 2);
  }
};

EXAMORA_TEST(TestOnTopGuard)
#include "tst_ontopguard.moc"
