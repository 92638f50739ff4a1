#include "TestRegistry.h"
#include "platform/OsInfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace examora;

class TestOsInfo : public QObject {
  Q_OBJECT

 private slots:
  void formatInformationValues_data() {
    QTest::addColumn<QString>("servicePack");
    QTest::addColumn<QString>("platformId");
    QTest::addColumn<qint64>("memory");  // -1: the query failed
    QTest::addColumn<QString>("expected");
    QTest::newRow("windows") << QStringLiteral("Service Pack 1") << QStringLiteral("2")
                             << qint64(17179869184)
                             << QStringLiteral("6,1,7601,Service Pack 1,2,17179869184");
    QTest::newRow("no service pack")
        << QString() << QStringLiteral("2") << qint64(1024) << QStringLiteral("6,1,7601,,2,1024");
    QTest::newRow("memory query failed")
        << QString() << QStringLiteral("2") << qint64(-1) << QStringLiteral("6,1,7601,,2,Error");
  }
  void formatInformationValues() {
    QFETCH(QString, servicePack);
    QFETCH(QString, platformId);
    QFETCH(qint64, memory);
    QFETCH(QString, expected);
    const OsInfo info{6, 1, 7601, servicePack.toStdString(), platformId.toStdString()};
    const std::optional<std::uint64_t> bytes =
        memory < 0 ? std::nullopt : std::optional<std::uint64_t>(memory);
    QCOMPARE(QString::fromStdString(FormatInformationValues(info, bytes)), expected);
  }

  void parseVersionNumbers_data() {
    QTest::addColumn<QString>("release");
    QTest::addColumn<uint>("major");
    QTest::addColumn<uint>("minor");
    QTest::addColumn<uint>("build");
    QTest::newRow("distribution kernel") << QStringLiteral("6.1.0-18-amd64") << 6u << 1u << 0u;
    QTest::newRow("two numbers") << QStringLiteral("5.15") << 5u << 15u << 0u;
    QTest::newRow("four numbers") << QStringLiteral("4.19.260.1") << 4u << 19u << 260u;
    QTest::newRow("suffix on minor") << QStringLiteral("6.8-rc1") << 6u << 8u << 0u;
    QTest::newRow("empty") << QString() << 0u << 0u << 0u;
    QTest::newRow("not a number") << QStringLiteral("unknown") << 0u << 0u << 0u;
    QTest::newRow("too large") << QStringLiteral("99999999999.1") << 0u << 0u << 0u;
  }
  void parseVersionNumbers() {
    QFETCH(QString, release);
    QFETCH(uint, major);
    QFETCH(uint, minor);
    QFETCH(uint, build);
    const VersionNumbers numbers = ParseVersionNumbers(release.toStdString());
    QCOMPARE(numbers.major, major);
    QCOMPARE(numbers.minor, minor);
    QCOMPARE(numbers.build, build);
  }

  void describesThisSystem() {
    const OsInfo info = QueryOsInfo();
    QVERIFY(info.major > 0);
    QVERIFY(!info.platformId.empty());
    // The numbers are the head of the release text kept as the service-pack text.
    const QString release = QString::fromStdString(info.servicePack);
    QVERIFY2(release.startsWith(QStringLiteral("%1.%2").arg(info.major).arg(info.minor)),
             qPrintable(release));
  }

  // The memory must be bytes, the same total the kernel reports in kB.
  void totalPhysicalMemoryIsInBytes() {
    const std::optional<std::uint64_t> memory = TotalPhysicalMemory();
    QVERIFY(memory.has_value());
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly)) QSKIP("/proc/meminfo not readable");
    const QString text = QString::fromLatin1(meminfo.readAll());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("MemTotal:\\s+(\\d+) kB")).match(text);
    QVERIFY(match.hasMatch());
    QCOMPARE(*memory, match.captured(1).toULongLong() * 1024);
  }
};

EXAMORA_TEST(TestOsInfo)
#include "tst_osinfo.moc"
