#include "TestRegistry.h"
#include "common/StepTable.h"

#include <QTest>

using namespace examora;
using namespace Qt::Literals::StringLiterals;

class TestStepTable : public QObject {
  Q_OBJECT

 private slots:
  void caption_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("expected");
    // Single-part types ignore the part.
    QTest::newRow("1 info") << u"1"_s << u"1"_s << u"frmQZTP0020"_s << u"02 受験者情報入力"_s;
    QTest::newRow("1 info part 2 ignored")
        << u"1"_s << u"2"_s << u"frmQZTP0020"_s << u"02 受験者情報入力"_s;
    QTest::newRow("1 notes") << u"1"_s << u"1"_s << u"frmQZTP0030"_s << u"03 実技試験注意事項"_s;
    QTest::newRow("1 explanation")
        << u"1"_s << u"1"_s << u"frmQZQZ0030"_s << u"04 実技試験操作説明"_s;
    QTest::newRow("3 notes") << u"3"_s << u"1"_s << u"frmQZTP0030"_s << u"03 実技問題注意事項"_s;
    QTest::newRow("5 explanation")
        << u"5"_s << u""_s << u"frmQZQZ0030"_s << u"04 実技問題操作説明"_s;
    QTest::newRow("5 info") << u"5"_s << u"9"_s << u"frmQZTP0020"_s << u"02 受験者情報入力"_s;
    // Two-part types.
    QTest::newRow("2/1 info") << u"2"_s << u"1"_s << u"frmQZTP0020"_s << u"02 受験者情報入力"_s;
    QTest::newRow("2/2 info") << u"2"_s << u"2"_s << u"frmQZTP0020"_s << u"06 受験者情報確認"_s;
    QTest::newRow("2/1 notes") << u"2"_s << u"1"_s << u"frmQZTP0030"_s << u"03 知識試験注意事項"_s;
    QTest::newRow("2/2 notes") << u"2"_s << u"2"_s << u"frmQZTP0030"_s << u"07 実技試験注意事項"_s;
    QTest::newRow("2/1 explanation")
        << u"2"_s << u"1"_s << u"frmQZQZ0030"_s << u"04 知識試験操作説明"_s;
    QTest::newRow("2/2 explanation")
        << u"2"_s << u"2"_s << u"frmQZQZ0030"_s << u"08 実技試験操作説明"_s;
    QTest::newRow("4/2 info") << u"4"_s << u"2"_s << u"frmQZTP0020"_s << u"06 受験者情報確認"_s;
    QTest::newRow("4/1 notes") << u"4"_s << u"1"_s << u"frmQZTP0030"_s << u"03 知識問題注意事項"_s;
    QTest::newRow("6/2 notes") << u"6"_s << u"2"_s << u"frmQZTP0030"_s << u"07 実技問題注意事項"_s;
    QTest::newRow("6/1 explanation")
        << u"6"_s << u"1"_s << u"frmQZQZ0030"_s << u"04 知識問題操作説明"_s;
    QTest::newRow("4/2 explanation")
        << u"4"_s << u"2"_s << u"frmQZQZ0030"_s << u"08 実技問題操作説明"_s;
    // No row.
    QTest::newRow("exam start has no title") << u"4"_s << u"2"_s << u"frmQZTP0060"_s << QString();
    QTest::newRow("exam start single part") << u"1"_s << u"1"_s << u"frmQZTP0060"_s << QString();
    QTest::newRow("type empty") << QString() << u"1"_s << u"frmQZTP0020"_s << QString();
    QTest::newRow("type 7") << u"7"_s << u"1"_s << u"frmQZTP0020"_s << QString();
    QTest::newRow("type 12") << u"12"_s << u"1"_s << u"frmQZTP0020"_s << QString();
    QTest::newRow("two-part type, part 3") << u"2"_s << u"3"_s << u"frmQZTP0020"_s << QString();
    QTest::newRow("two-part type, no part") << u"6"_s << QString() << u"frmQZTP0030"_s << QString();
    QTest::newRow("unknown form") << u"1"_s << u"1"_s << u"frmQZTP0040"_s << QString();
    QTest::newRow("form name is case-sensitive")
        << u"1"_s << u"1"_s << u"FRMQZTP0020"_s << QString();
  }
  void caption() {
    QFETCH(QString, type);
    QFETCH(QString, part);
    QFETCH(QString, form);
    QFETCH(QString, expected);
    QCOMPARE(StepCaption(type, part, form), expected);
  }

  void image_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("inWizard");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1 info, part ignored")
        << u"1"_s << u"2"_s << u"frmQZTP0020"_s << false << u"procedure02.jpg"_s;
    QTest::newRow("3 notes") << u"3"_s << u"1"_s << u"frmQZTP0030"_s << false
                             << u"procedure03.jpg"_s;
    QTest::newRow("5 explanation, flag ignored")
        << u"5"_s << u"1"_s << u"frmQZQZ0030"_s << true << u"procedure04.jpg"_s;
    QTest::newRow("1 start in wizard")
        << u"1"_s << u"1"_s << u"frmQZTP0060"_s << true << u"procedure05.jpg"_s;
    QTest::newRow("5 start after practice")
        << u"5"_s << u"2"_s << u"frmQZTP0060"_s << false << u"procedure05_1.jpg"_s;
    QTest::newRow("2/1 info") << u"2"_s << u"1"_s << u"frmQZTP0020"_s << false
                              << u"procedure02.jpg"_s;
    QTest::newRow("4/1 start after practice")
        << u"4"_s << u"1"_s << u"frmQZTP0060"_s << false << u"procedure05_1.jpg"_s;
    QTest::newRow("6/1 start in wizard")
        << u"6"_s << u"1"_s << u"frmQZTP0060"_s << true << u"procedure05.jpg"_s;
    QTest::newRow("2/2 info") << u"2"_s << u"2"_s << u"frmQZTP0020"_s << false
                              << u"procedure06.jpg"_s;
    QTest::newRow("6/2 notes") << u"6"_s << u"2"_s << u"frmQZTP0030"_s << false
                               << u"procedure07.jpg"_s;
    QTest::newRow("4/2 explanation")
        << u"4"_s << u"2"_s << u"frmQZQZ0030"_s << true << u"procedure08.jpg"_s;
    QTest::newRow("4/2 start in wizard")
        << u"4"_s << u"2"_s << u"frmQZTP0060"_s << true << u"procedure09.jpg"_s;
    QTest::newRow("4/2 start after practice")
        << u"4"_s << u"2"_s << u"frmQZTP0060"_s << false << u"procedure09_1.jpg"_s;
    QTest::newRow("type empty") << QString() << u"1"_s << u"frmQZTP0020"_s << false << QString();
    QTest::newRow("type 7") << u"7"_s << u"1"_s << u"frmQZTP0060"_s << true << QString();
    QTest::newRow("type 2, part 3") << u"2"_s << u"3"_s << u"frmQZTP0060"_s << true << QString();
    QTest::newRow("unknown form") << u"1"_s << u"1"_s << u"frmQZQZ0020"_s << false << QString();
  }
  void image() {
    QFETCH(QString, type);
    QFETCH(QString, part);
    QFETCH(QString, form);
    QFETCH(bool, inWizard);
    QFETCH(QString, expected);
    QCOMPARE(StepImageFile(type, part, form, inWizard), expected);
  }
};

EXAMORA_TEST(TestStepTable)
#include "tst_steptable.moc"
