#include <QTest>

#include <unistd.h>

#include <ctime>
#include <string>

#include "ProcTree.h"
#include "TestRegistry.h"

using namespace examora::bench;

class TestProcTree : public QObject {
  Q_OBJECT

 private slots:
  void statLineFieldsCountFromTheLastParenthesis_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("pid");
    QTest::addColumn<int>("ppid");
    QTest::addColumn<qlonglong>("ticks");
    const QString tail = QStringLiteral(" S 77 1 1 0 -1 4194560 100 0 0 0 11 22 33 44 20 0 1");
    QTest::newRow("plain name") << (QStringLiteral("1234 (examora)") + tail) << true << 1234 << 77
                                << 110LL;
    QTest::newRow("blanks and parentheses in the name")
        << (QStringLiteral("42 (Chrome_) (x) y)") + tail) << true << 42 << 77 << 110LL;
    QTest::newRow("no name") << QStringLiteral("42 S 77") << false << 0 << 0 << 0LL;
    QTest::newRow("cut short") << QStringLiteral("42 (a) S 77 1 1") << false << 0 << 0 << 0LL;
    QTest::newRow("empty") << QString() << false << 0 << 0 << 0LL;
  }
  void statLineFieldsCountFromTheLastParenthesis() {
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(int, pid);
    QFETCH(int, ppid);
    QFETCH(qlonglong, ticks);
    ProcStat stat;
    const std::string text = line.toStdString();
    QCOMPARE(ParseProcStat(text, stat), ok);
    if (!ok) return;
    QCOMPARE(stat.pid, pid);
    QCOMPARE(stat.ppid, ppid);
    QCOMPARE(stat.cpuTicks, ticks);
  }

  void statusValueIsTheWholeKey() {
    const std::string status = "Name:\tx\nVmHWMx:\t1 kB\nVmHWM:\t  2048 kB\nVmRSS:\t1024 kB\n";
    QCOMPARE(StatusValueKb(status, "VmHWM"), 2048LL);
    QCOMPARE(StatusValueKb(status, "VmRSS"), 1024LL);
    QCOMPARE(StatusValueKb(status, "VmSwap"), -1LL);
  }

  // A process that ended between the snapshots must not take time off the others, and one that
  // started in between counts all of its time.
  void cpuBetweenSnapshotsCountsOnlyWhatIsAliveAtTheEnd() {
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    const std::map<int, long long> before{{1, 100}, {2, 500}};
    const std::map<int, long long> after{{1, 100 + perSecond}, {3, 2 * perSecond}};
    QCOMPARE(CpuSecondsBetween(before, after), 3.0);
  }

  void ownTreeShowsBusyTimeAndMemory() {
    const int self = static_cast<int>(::getpid());
    QCOMPARE(ProcessTree(self).front(), self);
    const auto before = TreeCpuTicks(self);
    // Busy for 0.3 s of this process's own CPU time, however loaded the machine is.
    const std::clock_t start = std::clock();
    volatile unsigned spin = 0;
    while (std::clock() - start < CLOCKS_PER_SEC * 3 / 10) spin = spin + 1;
    const double used = CpuSecondsBetween(before, TreeCpuTicks(self));
    QVERIFY2(used >= 0.25 && used <= 1.0, qPrintable(QString::number(used)));
    QVERIFY(TreeStatusKb(self, "VmHWM") > 0);
  }
};

EXAMORA_TEST(TestProcTree)
#include "tst_proctree.moc"
