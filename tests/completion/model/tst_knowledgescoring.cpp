#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "completion/model/KnowledgeScoring.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

AnswerKeyEntry Entry(const QString& section, const QString& correct = u"10000"_s,
                     const QString& points = u"2"_s) {
  return {section, correct, points};
}

// An answer line with the four leading fields and the given answers.
QString Line(const QStringList& answers) {
  return u"G2,1,12345,24010017,"_s + answers.join(u',');
}

}  // namespace

class TestKnowledgeScoring : public QObject {
  Q_OBJECT

 private slots:
  void groupsConsecutiveSections_data() {
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::newRow("two questions")
        << QStringList{u"1_1"_s, u"1_2"_s, u"2_1"_s} << QList<int>{2, 1} << 9 << 4 << 361;
    QTest::newRow("text after _ ignored")
        << QStringList{u"1_1"_s, u"1_x"_s, u"1_"_s} << QList<int>{3} << 5 << 5 << 382;
    QTest::newRow("a key seen again later starts a new question")
        << QStringList{u"1_1"_s, u"2_1"_s, u"1_2"_s} << QList<int>{1, 1, 1} << 13 << 3 << 340;
    QTest::newRow("name without _ is its own key")
        << QStringList{u"A"_s, u"A"_s, u"B_1"_s} << QList<int>{2, 1} << 9 << 4 << 361;
  }
  void groupsConsecutiveSections() {
    QFETCH(QStringList, sections);
    QFETCH(QList<int>, counts);
    QList<AnswerKeyEntry> key;
    for (const QString& s : sections) key << Entry(s);
    const KnowledgeScore score = ScoreKnowledge(key, QString());
    QList<int> actual;
    for (const ScoreQuestion& q : score.questions) actual << static_cast<int>(q.rows.size());
    QCOMPARE(actual, counts);
    QCOMPARE(score.totalSubQuestions, static_cast<int>(sections.size()));
    QTEST(score.columns(), "columns");
    QTEST(score.rows(), "rows");
    QTEST(ScoringWindowHeight(score.maxSubQuestions), "height");
  }

  void marksOneRow_data() {
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("correctCell");
    QTest::addColumn<QString>("answerCell");
    QTest::addColumn<QString>("scoreCell");
    QTest::newRow("right choice") << u"00100"_s << u"3"_s << u"ウ"_s << u"ウ"_s << u"5"_s;
    QTest::newRow("wrong choice") << u"00100"_s << u"2"_s << u"ウ"_s << u"イ"_s << u"0"_s;
    QTest::newRow("unanswered") << u"00100"_s << QString() << u"ウ"_s << QString() << u"0"_s;
    QTest::newRow("all choices, unanswered")
        << u"11111"_s << QString() << u"全"_s << QString() << u"5"_s;
    QTest::newRow("several, first named") << u"10100"_s << u"1"_s << u"ア"_s << u"ア"_s << u"5"_s;
    QTest::newRow("several, second named") << u"10100"_s << u"3"_s << u"ア"_s << u"ウ"_s << u"0"_s;
    QTest::newRow("four-character key") << u"0010"_s << u"3"_s << QString() << u"ウ"_s << u"0"_s;
    QTest::newRow("six-character key, one past オ")
        << u"000001"_s << u"5"_s << QString() << u"オ"_s << u"0"_s;
    QTest::newRow("answer out of range") << u"00100"_s << u"6"_s << u"ウ"_s << QString() << u"0"_s;
    // A key that names no choice must not reward a sub-question left unanswered.
    QTest::newRow("no choice named, unanswered")
        << u"00000"_s << QString() << QString() << QString() << u"0"_s;
    QTest::newRow("missing key, unanswered")
        << QString() << QString() << QString() << QString() << u"0"_s;
  }
  void marksOneRow() {
    QFETCH(QString, correct);
    QFETCH(QString, answer);
    QFETCH(QString, scoreCell);
    const KnowledgeScore s = ScoreKnowledge({Entry(u"1_1"_s, correct, u"5"_s)}, Line({answer}));
    QCOMPARE(s.questions.size(), qsizetype(1));
    const ScoreRow& row = s.questions[0].rows[0];
    QTEST(row.correct, "correctCell");
    QTEST(row.answer, "answerCell");
    QCOMPARE(row.points, u"5"_s);
    QCOMPARE(row.score, scoreCell);
    QCOMPARE(s.score, scoreCell == u"5" ? 5 : 0);
    QCOMPARE(s.maximum, 5);
  }

  void nonNumericPointsShownButCountedZero() {
    const KnowledgeScore s =
        ScoreKnowledge({Entry(u"1_1"_s, u"10000"_s, u"三"_s), Entry(u"1_2"_s, u"01000"_s, u"4"_s),
                        Entry(u"2_1"_s, u"00100"_s, QString())},
                       Line({u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(s.questions[0].rows[0].points, u"三"_s);
    QCOMPARE(s.questions[0].rows[0].score, u"三"_s);
    QCOMPARE(s.questions[1].rows[0].score, QString());
    QCOMPARE(s.score, 4);
    QCOMPARE(s.maximum, 4);
  }

  void totals_data() {
    QTest::addColumn<bool>("examType3");
    QTest::addColumn<QString>("text");
    QTest::newRow("web-style") << true << u"合計　4 / 6 点"_s;
    QTest::newRow("other types") << false << u"合計　4点"_s;
  }
  void totals() {
    QFETCH(bool, examType3);
    const KnowledgeScore s = ScoreKnowledge(
        {Entry(u"1_1"_s, u"10000"_s), Entry(u"1_2"_s, u"01000"_s), Entry(u"2_1"_s, u"00100"_s)},
        Line({u"1"_s, u"3"_s, u"3"_s}));
    QCOMPARE(s.score, 4);
    QCOMPARE(s.maximum, 6);
    QTEST(TotalText(s, examType3), "text");
  }

  void answersPairedByPosition_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("plain") << u"G2,1,12345,24010017,3,2,1"_s
                           << QStringList{u"ウ"_s, u"イ"_s, u"ア"_s};
    QTest::newRow("space in venue code")
        << u"G2,1,12 345,24010017,3,2,1"_s << QStringList{u"ウ"_s, u"イ"_s, u"ア"_s};
    QTest::newRow("unanswered in the middle")
        << u"G2,1,12345,24010017,3,,1"_s << QStringList{u"ウ"_s, QString(), u"ア"_s};
    QTest::newRow("fewer fields than sub-questions")
        << u"G2,1,12345,24010017,3"_s << QStringList{u"ウ"_s, QString(), QString()};
    QTest::newRow("empty line") << QString() << QStringList{QString(), QString(), QString()};
  }
  void answersPairedByPosition() {
    QFETCH(QString, line);
    QFETCH(QStringList, answers);
    const KnowledgeScore s =
        ScoreKnowledge({Entry(u"1_1"_s), Entry(u"1_2"_s), Entry(u"2_1"_s)}, line);
    const QStringList actual = {s.questions[0].rows[0].answer, s.questions[0].rows[1].answer,
                                s.questions[1].rows[0].answer};
    QCOMPARE(actual, answers);
  }

  void emptyKeyLeavesRowNumberColumn() {
    const KnowledgeScore s = ScoreKnowledge({}, Line({u"1"_s, u"2"_s}));
    QCOMPARE(s.columns(), 1);
    QCOMPARE(s.rows(), 2);
    QCOMPARE(s.score, 0);
    QCOMPARE(s.maximum, 0);
    QCOMPARE(TotalText(s, false), u"合計　0点"_s);
  }

  void readsTheInstallation_data() {
    QTest::addColumn<bool>("withKey");
    QTest::addColumn<QString>("answerFile");  // "-" leaves a.csv out
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("columns");
    QTest::newRow("key and answers") << true << u"G2,1,1,2,1,2,5\n"_s << 7 << 9 << 9;
    QTest::newRow("only the first line counts")
        << true << u"G2,1,1,2,2,3\nG2,1,1,2,1,3,5\n"_s << 5 << 9 << 9;
    QTest::newRow("empty a.csv: only the all-choices row") << true << QString() << 3 << 9 << 9;
    QTest::newRow("missing a.csv reads as unanswered") << true << u"-"_s << 3 << 9 << 9;
    QTest::newRow("missing key") << false << u"G2,1,1,2,1,2,5\n"_s << 0 << 0 << 1;
  }
  void readsTheInstallation() {
    QFETCH(bool, withKey);
    QFETCH(QString, answerFile);
    FixtureInstallation fx;
    if (withKey) {
      fx.writeIni(u"system/seito[1].ini"_s,
                  u"[1_1]\n正答=10000\n配点=4\n\n[1_2]\n正答=00100\n配点=2\n\n"
                  u"[2_1]\n正答=11111\n配点=3\n"_s);
    }
    fx.makeDir(u"system/1"_s);
    if (answerFile != u"-") fx.writeText(u"system/1/a.csv"_s, answerFile);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    const KnowledgeScore s = ScorePart(u"1"_s);
    QTEST(s.score, "score");
    QTEST(s.maximum, "maximum");
    QTEST(s.columns(), "columns");
  }

  void cellTexts_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("corner") << 0 << 0 << QString();
    QTest::newRow("sub-question 1") << 2 << 0 << u"1"_s;
    QTest::newRow("question 1 heading") << 0 << 1 << u"問題1"_s;
    QTest::newRow("heading spans the rest") << 0 << 2 << QString();
    QTest::newRow("question 2 heading") << 0 << 5 << u"問題2"_s;
    QTest::newRow("正答") << 1 << 1 << u"正答"_s;
    QTest::newRow("得点") << 1 << 8 << u"得点"_s;
    QTest::newRow("correct") << 3 << 1 << u"イ"_s;
    QTest::newRow("answer") << 3 << 2 << u"ウ"_s;
    QTest::newRow("points") << 3 << 3 << u"2"_s;
    QTest::newRow("score") << 3 << 4 << u"0"_s;
    QTest::newRow("shorter question has no row") << 3 << 5 << QString();
    QTest::newRow("past the grid") << 4 << 1 << QString();
  }
  void cellTexts() {
    QFETCH(int, row);
    QFETCH(int, column);
    const KnowledgeScore s =
        ScoreKnowledge({Entry(u"1_1"_s), Entry(u"1_2"_s, u"01000"_s), Entry(u"2_1"_s)},
                       Line({u"1"_s, u"3"_s, u"1"_s}));
    QTEST(ScoreCellText(s, row, column), "text");
  }

  void patternVersion_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("patternName");
    QTest::addColumn<QString>("text");
    QTest::newRow("no pattern name") << u"A"_s << QString() << u"Aパターン(第1版)"_s;
    QTest::newRow("pattern name wins") << u"A"_s << u"基本"_s << u"基本(第1版)"_s;
  }
  void patternVersion() {
    QFETCH(QString, pattern);
    QFETCH(QString, patternName);
    QTEST(PatternVersionText(pattern, u"第1版"_s, patternName), "text");
  }

  void bordersSeparateQuestions_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("leftBlack");
    QTest::addColumn<bool>("rightBlack");
    // Three questions: columns 1-4, 5-8, 9-12.
    QTest::newRow("row numbers") << 0 << false << false;
    QTest::newRow("first question starts") << 1 << false << false;
    QTest::newRow("inside a question") << 2 << false << false;
    QTest::newRow("first question ends") << 4 << false << true;
    QTest::newRow("second question starts") << 5 << true << false;
    QTest::newRow("second question ends") << 8 << false << true;
    QTest::newRow("third question starts") << 9 << true << false;
    QTest::newRow("grid's last column") << 12 << false << false;
  }
  void bordersSeparateQuestions() {
    QFETCH(int, column);
    const CellBorders b = ScoreGridBorders(column, 13);
    QTEST(b.leftBlack, "leftBlack");
    QTEST(b.rightBlack, "rightBlack");
  }
};

EXAMORA_TEST(TestKnowledgeScoring)
#include "tst_knowledgescoring.moc"
