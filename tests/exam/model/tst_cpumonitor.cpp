#include <QTest>

#include <stdexcept>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "exam/model/CpuMonitor.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

// Hands out prepared loads; records what the monitor asked for.
struct Script {
  bool startOk = true;
  std::string instance;
  QList<std::optional<CpuLoad>> loads;  // std::nullopt: a failed sample
  bool throwOnNext = false;
  int destroyed = 0;
};

class FakeMeter final : public CpuLoadMeter {
 public:
  explicit FakeMeter(Script& script) : script_(script) {}
  ~FakeMeter() override { ++script_.destroyed; }
  bool Start() override { return script_.startOk; }
  std::optional<CpuLoad> Next() override {
    if (script_.throwOnNext) throw std::runtime_error("counter gone");
    return script_.loads.isEmpty() ? std::nullopt : script_.loads.takeFirst();
  }

 private:
  Script& script_;
};

CpuMonitor::MeterFactory FactoryFor(Script& script) {
  return [&script](const std::string& instance) {
    script.instance = instance;
    return std::make_unique<FakeMeter>(script);
  };
}

}  // namespace

class TestCpuMonitor : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;

  QString CpuLog() const { return FromCp932(fx_->readBytes(u"system/1/cpu.txt"_s)); }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() { fx_.reset(); }

  void cpuLoadLine_data() {
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("process");
    QTest::addColumn<QString>("line");
    QTest::newRow("example") << 37.2 << 11.6 << u"CPU使用率：37/12"_s;
    QTest::newRow("halves to even") << 36.5 << 37.5 << u"CPU使用率：36/38"_s;
    QTest::newRow("half below one") << 0.5 << 99.5 << u"CPU使用率：0/100"_s;
    QTest::newRow("several processors") << 100.0 << 250.4 << u"CPU使用率：100/250"_s;
    QTest::newRow("idle") << 0.0 << 0.0 << u"CPU使用率：0/0"_s;
  }
  void cpuLoadLine() {
    QFETCH(double, total);
    QFETCH(double, process);
    QFETCH(QString, line);
    QCOMPARE(CpuLoadLine(total, process), line);
  }

  // The process is named after the executable: "[1]知識" for part 1 named 知識.
  void startsWithExecutableInstanceAndLogs() {
    Script script;
    script.loads = {CpuLoad{36.5, 37.5}, std::nullopt, CpuLoad{12.0, 3.0}};
    CpuMonitor monitor(nullptr, FactoryFor(script));
    monitor.StartCpuMonitor(u"1"_s);
    QCOMPARE(QString::fromStdString(script.instance), u"[1]知識"_s);
    QVERIFY(monitor.IsOn());
    QVERIFY(monitor.CpuCheckTimer.isActive());
    QCOMPARE(monitor.CpuCheckTimer.interval(), 5000);
    monitor.LogCpuLoad();
    monitor.LogCpuLoad();  // failed sample: no line
    monitor.LogCpuLoad();
    const QStringList lines = CpuLog().split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);  // header + two loads
    QVERIFY(lines[1].endsWith(u"\tCPU使用率：36/38"_s));
    QVERIFY(lines[2].endsWith(u"\tCPU使用率：12/3"_s));
    QVERIFY(!fx_->exists(u"system/1/log.txt"_s));
  }

  // A meter that cannot start leaves the monitor off without a trace.
  void failedStartStaysOff_data() {
    QTest::addColumn<bool>("noMeter");
    QTest::newRow("counters refused") << false;
    QTest::newRow("no meter on this platform") << true;
  }
  void failedStartStaysOff() {
    QFETCH(bool, noMeter);
    Script script;
    script.startOk = false;
    script.loads = {CpuLoad{50, 50}};
    CpuMonitor monitor(nullptr, noMeter ? CpuMonitor::MeterFactory([](const std::string&) {
                         return std::unique_ptr<CpuLoadMeter>();
                       })
                                        : FactoryFor(script));
    monitor.StartCpuMonitor(u"1"_s);
    QVERIFY(!monitor.IsOn());
    QVERIFY(!monitor.CpuCheckTimer.isActive());
    monitor.LogCpuLoad();
    QVERIFY(!fx_->exists(u"system/1/cpu.txt"_s));
  }

  // A failing sample is swallowed and the monitor keeps running.
  void throwingSampleIsIgnored() {
    Script script;
    script.throwOnNext = true;
    CpuMonitor monitor(nullptr, FactoryFor(script));
    monitor.StartCpuMonitor(u"1"_s);
    monitor.LogCpuLoad();
    QVERIFY(monitor.IsOn());
    QVERIFY(!fx_->exists(u"system/1/cpu.txt"_s));
  }

  // A second start closes the counters of the first before opening new ones.
  void restartReplacesMeter() {
    Script script;
    CpuMonitor monitor(nullptr, FactoryFor(script));
    monitor.StartCpuMonitor(u"1"_s);
    QCOMPARE(script.destroyed, 0);
    monitor.StartCpuMonitor(u"1"_s);
    QCOMPARE(script.destroyed, 1);
    QVERIFY(monitor.IsOn());
  }
};

EXAMORA_TEST(TestCpuMonitor)
#include "tst_cpumonitor.moc"
