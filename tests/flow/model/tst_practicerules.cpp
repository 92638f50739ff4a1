#include <QTest>

#include "TestRegistry.h"
#include "common/Cp932.h"
#include "flow/model/PracticeRules.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

class TestPracticeRules : public QObject {
  Q_OBJECT

 private slots:
  // Expected lines are worked out by hand from the CP932 byte counts: every kana, kanji and
  // bracket here is two bytes, every ASCII character one.
  void wrapFolderMessage_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("firstLimit");
    QTest::addColumn<int>("furtherLimit");
    QTest::addColumn<QStringList>("lines");

    // 63 bytes; 49 end exactly after "納".
    QTest::newRow("C:\\exam, cut between characters")
        << FolderMessage(u"実技操作練習用"_s, u"C:\\exam\\"_s) << 49 << 47
        << QStringList{u"※「実技操作練習用」フォルダーは「C:\\exam」に格納"_s, u"されています。"_s};
    // One byte more: byte 49 is the first half of "納", which moves to the next line.
    QTest::newRow("C:\\exams, lead byte at the limit")
        << FolderMessage(u"実技操作練習用"_s, u"C:\\exams"_s) << 49 << 47
        << QStringList{u"※「実技操作練習用」フォルダーは「C:\\exams」に格"_s,
                       u"納されています。"_s};
    // "メ" is 83 81: its second byte looks like a lead byte. At the limit it still ends a
    // character, so the line keeps it.
    QTest::newRow("second byte in the lead range at the limit")
        << u"abcdメメ"_s << 6 << 6 << QStringList{u"abcdメ"_s, u"メ"_s};
    // The prefix "※「知識用」フォルダーは「" is 26 bytes; 300 more bytes of path would need
    // seven lines, only five are shown.
    QTest::newRow("six lines and more keep five")
        << FolderMessage(u"知識用"_s, QString(300, u'a')) << 56 << 54
        << QStringList{u"※「知識用」フォルダーは「"_s + QString(30, u'a'), QString(54, u'a'),
                       QString(54, u'a'), QString(54, u'a'), QString(54, u'a')};
    // A limit smaller than one character must not loop for ever or drop the text.
    QTest::newRow("limit below a character's width")
        << u"格納"_s << 1 << 1 << QStringList{u"格"_s, u"納"_s};
  }
  void wrapFolderMessage() {
    QFETCH(QString, message);
    QFETCH(int, firstLimit);
    QFETCH(int, furtherLimit);
    QFETCH(QStringList, lines);
    const WrappedFolderMessage wrapped = WrapFolderMessage(message, firstLimit, furtherLimit);
    QCOMPARE(wrapped.lines, lines);
    for (qsizetype i = 0; i < wrapped.lines.size(); ++i) {
      QVERIFY(Cp932Length(wrapped.lines[i]) <= std::max(2, i == 0 ? firstLimit : furtherLimit));
    }
  }
};

EXAMORA_TEST(TestPracticeRules)
#include "tst_practicerules.moc"
