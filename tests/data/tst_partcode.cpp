#include "TestRegistry.h"
#include "data/PartCode.h"

#include <QSet>
#include <QTest>

using namespace examora;

Q_DECLARE_METATYPE(NextPartResult::Kind)

class TestPartCode : public QObject {
  Q_OBJECT

 private slots:
  void partCode_data() {
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("debug");
    const QString exe = QStringLiteral("[2]知識.exe");
    const QString dbg = QStringLiteral("-debug");
    QTest::newRow("from the file name") << exe << QStringList{} << QStringLiteral("2") << false;
    QTest::newRow("argument replaces")
        << exe << QStringList{QStringLiteral("3")} << QStringLiteral("3") << false;
    QTest::newRow("argument then -debug")
        << exe << QStringList{QStringLiteral("3"), dbg} << QStringLiteral("3") << true;
    QTest::newRow("-debug alone") << exe << QStringList{dbg} << QStringLiteral("2") << true;
    QTest::newRow("last argument wins")
        << exe << QStringList{QStringLiteral("3"), dbg, QStringLiteral("4")} << QStringLiteral("4")
        << true;
    QTest::newRow("-DEBUG is a part code")
        << exe << QStringList{QStringLiteral("-DEBUG")} << QStringLiteral("-DEBUG") << false;
    QTest::newRow("short name") << QStringLiteral("a") << QStringList{} << QString() << false;
  }
  void partCode() {
    QFETCH(QString, exe);
    QFETCH(QStringList, args);
    QFETCH(QString, code);
    QFETCH(bool, debug);
    QCOMPARE(PartCodeFrom(exe, args), code);
    QCOMPARE(IsDebugRun(args), debug);
  }

  void nextPart_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("partCount");
    QTest::addColumn<QList<int>>("ended");
    QTest::addColumn<NextPartResult::Kind>("kind");
    QTest::addColumn<int>("number");
    using K = NextPartResult::Kind;
    QTest::newRow("next part") << QStringLiteral("1") << 3 << QList<int>{} << K::Part << 2;
    QTest::newRow("ended later part skipped")
        << QStringLiteral("1") << 3 << QList<int>{2} << K::Part << 3;
    QTest::newRow("all later ended")
        << QStringLiteral("1") << 3 << QList<int>{2, 3} << K::None << 0;
    QTest::newRow("last part") << QStringLiteral("3") << 3 << QList<int>{} << K::None << 0;
    QTest::newRow("part count 0") << QStringLiteral("1") << 0 << QList<int>{} << K::None << 0;
    QTest::newRow("earlier parts not considered")
        << QStringLiteral("2") << 3 << QList<int>{3} << K::None << 0;
    QTest::newRow("non-numeric part code")
        << QStringLiteral("a") << 3 << QList<int>{} << K::Impossible << 0;
    QTest::newRow("practice code")
        << QStringLiteral("Z1") << 3 << QList<int>{} << K::Impossible << 0;
    QTest::newRow("empty part code") << QString() << 3 << QList<int>{} << K::Impossible << 0;
    QTest::newRow("negative code searches from part 1")
        << QStringLiteral("-5") << 2 << QList<int>{} << K::Part << 1;
  }
  void nextPart() {
    QFETCH(QString, current);
    QFETCH(int, partCount);
    QFETCH(QList<int>, ended);
    QFETCH(NextPartResult::Kind, kind);
    QFETCH(int, number);
    const NextPartResult r = NextPart(current, partCount, [&](int n) { return ended.contains(n); });
    QCOMPARE(r.kind, kind);
    QCOMPARE(r.number, number);
  }

  void executableNames() {
    QCOMPARE(PartExecutableName(2, QStringLiteral("実技")), QStringLiteral("[2]実技.exe"));
    QCOMPARE(SubmissionExecutableName(0), QStringLiteral("[1]提出用ファイル作成.exe"));
    QCOMPARE(SubmissionExecutableName(2), QStringLiteral("[3]提出用ファイル作成.exe"));
  }
};

EXAMORA_TEST(TestPartCode)
#include "tst_partcode.moc"
