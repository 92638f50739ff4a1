#include <QTest>

#include "TestRegistry.h"
#include "completion/model/AnswerStatus.h"

using namespace examora;
using namespace Qt::StringLiterals;

class TestAnswerStatus : public QObject {
  Q_OBJECT

 private slots:
  void lines_data() {
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("subQuestionsOnly");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("all, some, none answered")
        << QList<int>{4, 4, 4}
        << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"1"_s, QString(), u"3"_s, u"4"_s} << false
        << QStringList{u"問題 1  4問中全問解答済み　"_s, u"問題 2  4問中 3問解答済み　"_s,
                       u"問題 3  4問　未解答"_s};

    QStringList twelve(12);
    for (int i = 0; i < 10; ++i) twelve[i] = QString::number(i % 5 + 1);
    QTest::newRow("12 sub-questions, 10 answered")
        << QList<int>{12} << twelve << false << QStringList{u"問題 1 12問中10問解答済み　"_s};

    QStringList allTwelve(12, u"2"_s);
    QTest::newRow("12 of 12 answered")
        << QList<int>{12} << allTwelve << false << QStringList{u"問題 1 12問中全問解答済み　"_s};

    QTest::newRow("5 counts as answered") << QList<int>{2} << QStringList{u"5"_s, QString()}
                                          << false << QStringList{u"問題 1  2問中 1問解答済み　"_s};

    QTest::newRow("sub-questions only")
        << QList<int>{8, 2} << (QStringList(8, u"1"_s) << u"2"_s) << true
        << QStringList{u" 8問中全問解答済み　"_s, u" 2問中 1問解答済み　"_s};

    QList<int> tenQuestions(10, 1);
    QStringList tenAnswers(10);
    tenAnswers[8] = u"3"_s;
    QStringList tenLines;
    for (int n = 1; n <= 10; ++n) {
      const QString prefix = n <= 9 ? u"問題 "_s + QString::number(n) : u"問題10"_s;
      tenLines << prefix + (n == 9 ? u"  1問中全問解答済み　"_s : u"  1問　未解答"_s);
    }
    QTest::newRow("question 10 keeps the width") << tenQuestions << tenAnswers << false << tenLines;

    QTest::newRow("anything but 1 to 5 is unanswered")
        << QList<int>{6} << QStringList{u"6"_s, u"x"_s, u"0"_s, u" 1"_s, u"11"_s, u"１"_s} << false
        << QStringList{u"問題 1  6問　未解答"_s};

    // The position runs on across questions: question 2 starts at the third answer.
    QTest::newRow("running position")
        << QList<int>{2, 3} << QStringList{QString(), u"4"_s, u"2"_s, QString(), u"1"_s} << false
        << QStringList{u"問題 1  2問中 1問解答済み　"_s, u"問題 2  3問中 2問解答済み　"_s};

    QTest::newRow("answers shorter than the sheet")
        << QList<int>{2, 2} << QStringList{u"1"_s, u"1"_s, u"1"_s} << false
        << QStringList{u"問題 1  2問中全問解答済み　"_s, u"問題 2  2問中 1問解答済み　"_s};

    QTest::newRow("no questions") << QList<int>{} << QStringList{u"1"_s} << false << QStringList{};
  }
  void lines() {
    QFETCH(QList<int>, counts);
    QFETCH(QStringList, answers);
    QFETCH(bool, subQuestionsOnly);
    QFETCH(QStringList, lines);
    QCOMPARE(AnswerStatusLines(counts, answers, subQuestionsOnly), lines);
  }
};

EXAMORA_TEST(TestAnswerStatus)
#include "tst_answerstatus.moc"
