#include <QTest>

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

#include "TestRegistry.h"
#include "platform/CpuLoad.h"

using namespace examora;
using namespace std::chrono_literals;

class TestCpuLoad : public QObject {
  Q_OBJECT

 private slots:
  void counterPaths() {
    QCOMPARE(QString::fromStdString(std::string(kTotalCpuCounterPath)),
             QStringLiteral("\\Processor(_Total)\\% Processor Time"));
    QCOMPARE(QString::fromStdString(ProcessCpuCounterPath("[1]知識")),
             QStringLiteral("\\Process([1]知識)\\% Processor Time"));
  }

  void parseProcStat_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qulonglong>("busy");
    QTest::addColumn<qulonglong>("idle");
    QTest::newRow("current kernel")
        << QByteArray("cpu  100 20 30 1000 50 5 6 7 40 0\ncpu0 50 10 15 500 25 2 3 3 20 0\n")
        << true << 168ULL << 1050ULL;  // guest (40) is inside user already
    QTest::newRow("old kernel, four fields")
        << QByteArray("cpu 10 2 3 400\n") << true << 15ULL << 400ULL;
    QTest::newRow("summary line not first")
        << QByteArray("intr 1 2\ncpu  1 1 1 10 0 0 0 0\n") << true << 3ULL << 10ULL;
    QTest::newRow("only per-processor lines")
        << QByteArray("cpu0 1 2 3 4\n") << false << 0ULL << 0ULL;
    QTest::newRow("too few numbers") << QByteArray("cpu 1 2 3\n") << false << 0ULL << 0ULL;
    QTest::newRow("empty") << QByteArray() << false << 0ULL << 0ULL;
  }
  void parseProcStat() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(qulonglong, busy);
    QFETCH(qulonglong, idle);
    const auto times = ParseProcStatCpuLine(std::string_view(text.constData(), text.size()));
    QCOMPARE(times.has_value(), valid);
    if (!valid) return;
    QCOMPARE(qulonglong(times->busy), busy);
    QCOMPARE(qulonglong(times->idle), idle);
  }

  void parsePidStat_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qulonglong>("ticks");
    QTest::newRow("plain")
        << QByteArray(
               "4242 (tst_platform) R 1 4242 4242 0 -1 4194304 500 0 0 0 170 30 0 0 20 0 "
               "1 0 100 1000 50\n")
        << true << 200ULL;
    QTest::newRow("name with blanks and parentheses")
        << QByteArray("7 (a) b (c) S 1 7 7 0 -1 0 0 0 0 0 11 22 0 0 20 0 1 0 5 6 7\n") << true
        << 33ULL;
    QTest::newRow("truncated") << QByteArray("7 (x) S 1 7 7 0 -1 0 0 0 0 0 11") << false << 0ULL;
    QTest::newRow("no name") << QByteArray("garbage") << false << 0ULL;
  }
  void parsePidStat() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(qulonglong, ticks);
    const auto value = ParseProcPidStatCpuTicks(std::string_view(text.constData(), text.size()));
    QCOMPARE(value.has_value(), valid);
    if (valid) QCOMPARE(qulonglong(*value), ticks);
  }

  // Total: busy share of all processors' ticks. Process: its processor time over the wall
  // interval, not divided by the processor count.
  void loadBetween_data() {
    QTest::addColumn<qulonglong>("busy");     // delta
    QTest::addColumn<qulonglong>("idle");     // delta
    QTest::addColumn<qulonglong>("process");  // delta ticks at 100 per second
    QTest::addColumn<qlonglong>("wallMs");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("processLoad");
    QTest::newRow("quarter busy") << 500ULL << 1500ULL << 50ULL << 5000LL << true << 25.0 << 10.0;
    QTest::newRow("two processors busy in this process")
        << 1000ULL << 0ULL << 1000ULL << 5000LL << true << 100.0 << 200.0;
    QTest::newRow("no time passed") << 1ULL << 1ULL << 0ULL << 0LL << false << 0.0 << 0.0;
    QTest::newRow("no ticks counted") << 0ULL << 0ULL << 0ULL << 5000LL << false << 0.0 << 0.0;
  }
  void loadBetween() {
    QFETCH(qulonglong, busy);
    QFETCH(qulonglong, idle);
    QFETCH(qulonglong, process);
    QFETCH(qlonglong, wallMs);
    QFETCH(bool, valid);
    QFETCH(double, total);
    QFETCH(double, processLoad);
    const CpuSample first{{1000, 9000}, 300, 1s};
    const CpuSample second{{1000 + busy, 9000 + idle},
                           300 + process,
                           std::chrono::nanoseconds(1s) + std::chrono::milliseconds(wallMs)};
    const auto load = CpuLoadBetween(first, second, 100);
    QCOMPARE(load.has_value(), valid);
    if (!valid) return;
    QCOMPARE(load->total, total);
    QCOMPARE(load->process, processLoad);
  }

  // iowait can step back on some kernels: that part counts as nothing, not as a huge number.
  void idleGoingBackwards() {
    const CpuSample first{{1000, 9000}, 0, 0s};
    const CpuSample second{{1300, 8990}, 0, 5s};
    const auto load = CpuLoadBetween(first, second, 100);
    QVERIFY(load);
    QCOMPARE(load->total, 100.0);
  }

#ifdef __linux__
  // The real meter: a busy loop of this process shows as the share of the wall time the
  // kernel gave it, whatever else the machine is doing. The loop runs until the process has
  // used 300 ms of processor time by its own clock, which is the measure to compare with.
  void realSample() {
    const auto processTime = [] {
      timespec t{};
      clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
      return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    };
    const std::unique_ptr<CpuLoadMeter> meter = CreateCpuLoadMeter("[1]test");
    const auto wallStart = std::chrono::steady_clock::now();
    const auto cpuStart = processTime();
    QVERIFY(meter->Start());
    volatile unsigned long spin = 0;
    while (processTime() - cpuStart < 300ms) spin = spin + 1;
    const auto load = meter->Next();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = std::chrono::duration<double>(processTime() - cpuStart).count();
    QVERIFY(load);
    QVERIFY2(load->total > 0 && load->total <= 100, qPrintable(QString::number(load->total)));
    // The kernel counts the process's time in whole ticks (user and system apart): up to two
    // ticks of 10 ms either way, spread over the interval.
    const double expected = cpu / wall * 100.0;
    const double slack = 0.03 / wall * 100.0 + 2.0;
    QVERIFY2(load->process > 0 && std::abs(load->process - expected) <= slack,
             qPrintable(QStringLiteral("%1 against %2").arg(load->process).arg(expected)));
  }
#endif
};

EXAMORA_TEST(TestCpuLoad)
#include "tst_cpuload.moc"
