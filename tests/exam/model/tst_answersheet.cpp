#include <QDir>
#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/QZMessage.h"
#include "data/InstallPaths.h"
#include "exam/model/AnswerSheet.h"
#include "exam/model/ExamStructure.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

ExamStructure Structure(const QList<int>& counts, bool subQuestionsOnly = false, int choices = 5) {
  ExamStructureResult r =
      BuildExamStructure(counts, subQuestionsOnly, [choices](int, int) { return choices; });
  return r.structure;
}

AnswerSheet Sheet(const QList<int>& counts, bool subQuestionsOnly = false) {
  AnswerSheet sheet(Structure(counts, subQuestionsOnly));
  sheet.SetRecordHeader(u"G"_s, u"1"_s, u"12345"_s, u"1001"_s);
  return sheet;
}

}  // namespace

class TestAnswerSheet : public QObject {
  Q_OBJECT

 private slots:
  void countSubQuestions_data() {
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("plain") << 2 << QStringList{u"1-1"_s, u"1-2"_s, u"2-1"_s} << QList<int>{2, 1};
    QTest::newRow("outside the paper ignored")
        << 2 << QStringList{u"0-1"_s, u"9-1"_s, u"x-1"_s, u"-1"_s, u"2-1"_s} << QList<int>{0, 1};
    QTest::newRow("name without dash")
        << 3 << QStringList{u"3"_s, u"3.txt"_s} << QList<int>{0, 0, 1};
    QTest::newRow("two-digit question")
        << 10 << QStringList{u"10-1"_s, u"10-2"_s} << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
  }
  void countSubQuestions() {
    QFETCH(int, questions);
    QFETCH(QStringList, entries);
    QList<int> counts(questions, 0);
    CountSubQuestions(counts, entries);
    QFETCH(QList<int>, expected);
    QCOMPARE(counts, expected);
  }

  // The structure comes from the folders, stray setsumon entries are ignored, and the choice
  // counts come from the part's setup.ini even for the practice content.
  void structureFromFolders() {
    test::FixtureInstallation fx;
    fx.knowledgePart(u"1"_s, {2, 1}, 4);
    for (const char* stray : {"0-1", "9-1", "x-1"})
      fx.makeDir(u"system/1/html/q/setsumon/"_s + QLatin1String(stray));
    fx.writeText(u"system/1/html/q/setsumon/1-3.txt"_s, u"file entries count too\n"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();

    QCOMPARE(SubQuestionCountsFromFolders(u"1"_s), (QList<int>{3, 1}));
    fx.removeFile(u"system/1/html/q/setsumon/1-3.txt"_s);

    const ExamStructureResult r = ReadExamStructure(u"1"_s, u"1"_s, false);
    QVERIFY(r.ok);
    const ExamStructure& s = r.structure;
    QCOMPARE(s.SubQuestionCounts(), (QList<int>{2, 1}));
    QCOMPARE(s.RowKinds().mid(0, 6), (QStringList{u"1"_s, u"2"_s, u"2"_s, u"1"_s, u"2"_s, u"3"_s}));
    QCOMPARE(s.RowKinds().size(), 100);
    QStringList captions;
    for (const SheetRow& row : s.Rows()) captions << row.caption;
    QCOMPARE(captions, (QStringList{u" 問題 1"_s, u"問題 1-1"_s, u"問題 1-2"_s, u" 問題 2"_s,
                                    u"問題 2-1"_s}));
    QCOMPARE(s.Row(3)->choiceCount, 4);
    QCOMPARE(s.Row(5)->answerIndex, 3);

    // Practice content: its own folders, the part's [選択数].
    fx.makeDir(u"system/Z1/html/q/mondai/1"_s);
    fx.makeDir(u"system/Z1/html/q/setsumon/1-1"_s);
    fx.writeIni(u"system/Z1/setup.ini"_s, u"[選択数]\n1-1=2\n"_s);
    QVERIFY(fx.ok());
    const ExamStructureResult z = ReadExamStructure(u"Z1"_s, u"1"_s, false);
    QCOMPARE(z.structure.SubQuestionCounts(), (QList<int>{1}));
    QCOMPARE(z.structure.Row(2)->choiceCount, 4);
  }

  void captionsAndChoices() {
    QList<int> counts(10, 0);
    counts[9] = 3;
    const ExamStructureResult r = BuildExamStructure(counts, false, [](int, int s) {
      return s == 1 ? 7 : s == 2 ? -1 : 3;  // out of range, negative, plain
    });
    QVERIFY(r.ok);
    const SheetRow* last = r.structure.Row(static_cast<int>(r.structure.Rows().size()));
    QCOMPARE(last->caption, u"問題10-3"_s);
    QCOMPARE(r.structure.Row(10)->caption, u" 問題10"_s);
    QCOMPARE(r.structure.Row(11)->choiceCount, 5);
    QCOMPARE(r.structure.Row(12)->choiceCount, 0);
    QCOMPARE(last->choiceCount, 3);

    const ExamStructure only = Structure({3, 2}, true);
    QCOMPARE(only.Rows().size(), 5);  // every question's sub-questions, no heading rows
    QCOMPARE(only.Row(1)->caption, u"問題1"_s);
    QCOMPARE(only.Row(4)->caption, u"問題1"_s);
    QCOMPARE(only.RowKindText(1), u"2"_s);
  }

  // A paper that does not fit the 100 rows is refused whole instead of losing answers.
  void sheetLimit_data() {
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<bool>("subQuestionsOnly");
    QTest::addColumn<bool>("ok");
    QTest::newRow("50 x 1 = 100 rows") << QList<int>(50, 1) << false << true;
    QTest::newRow("34 x 2 = 102 rows") << QList<int>(34, 2) << false << false;
    QTest::newRow("1 x 100 + heading") << QList<int>{100} << false << false;
    QTest::newRow("only: 100 rows") << QList<int>{100} << true << true;
    QTest::newRow("only: 101 rows") << QList<int>{60, 41} << true << false;
  }
  void sheetLimit() {
    QFETCH(QList<int>, counts);
    QFETCH(bool, subQuestionsOnly);
    QFETCH(bool, ok);
    const ExamStructureResult r = BuildExamStructure(counts, subQuestionsOnly, {});
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.message, ok ? QString() : msg::kTooManyQuestions);
  }

  void recordOnlyWhileClockRuns() {
    AnswerSheet sheet = Sheet({2, 1});
    QVERIFY(!sheet.Record(3, 2, false));
    QCOMPARE(sheet.Answer(2), QString());
    QVERIFY(!sheet.Record(1, 2, true));  // heading row
    QVERIFY(!sheet.Record(3, 6, true));  // no such button

    const auto record = sheet.Record(3, 2, true);  // イ on 1-2
    QVERIFY(record);
    QCOMPARE(BuildAnswerLine(*record), u"G,1,12345,1001,,2,"_s);
    QCOMPARE(sheet.Answer(2), u"2"_s);
    // Re-clicking the checked button rewrites the same record.
    QCOMPARE(BuildAnswerLine(*sheet.Record(3, 2, true)), u"G,1,12345,1001,,2,"_s);
  }

  void saveWritesWholeRecordAndSurvivesFailure() {
    test::FixtureInstallation fx;
    fx.makeDir(u"system/1"_s);
    QVERIFY(fx.ok());
    const QString path = fx.path(u"system/1/a.csv"_s);
    AnswerSheet sheet = Sheet({2, 1});
    QVERIFY(sheet.Record(2, 3, true));
    QVERIFY(sheet.Save(path).ok);

    // The file is blocked: the write fails, the old record stays, the choice is kept.
    const QByteArray before = fx.readBytes(u"system/1/a.csv"_s);
    QVERIFY(QDir().rename(path, path + u".held"_s));
    QVERIFY(QDir().mkdir(path));
    QVERIFY(sheet.Record(5, 1, true));
    QVERIFY(!sheet.Save(path).ok);
    QCOMPARE(sheet.Answer(3), u"1"_s);

    // The next save writes every answer, not only the last click.
    QVERIFY(QDir().rmdir(path));
    QVERIFY(sheet.Record(3, 4, true));
    QVERIFY(sheet.Save(path).ok);
    QCOMPARE(before, ToCp932(u"G,1,12345,1001,3,,\r\n"_s));
    QCOMPARE(fx.readBytes(u"system/1/a.csv"_s), ToCp932(u"G,1,12345,1001,3,4,1\r\n"_s));
  }

  void loadAnswers_data() {
    QTest::addColumn<QByteArray>("file");  // null: no file
    QTest::addColumn<QList<int>>("checked");
    QTest::newRow("stored line") << ToCp932(u"G,1,12345,1001,3,,5\r\n"_s) << QList<int>{3, 0, 5};
    QTest::newRow("short line") << ToCp932(u"G,1,12345,1001,2\r\n"_s) << QList<int>{2, 0, 0};
    QTest::newRow("header only") << ToCp932(u"G,1,12345,1001\r\n"_s) << QList<int>{0, 0, 0};
    QTest::newRow("empty line") << QByteArray("\r\n") << QList<int>{0, 0, 0};
    QTest::newRow("empty file") << QByteArray("") << QList<int>{0, 0, 0};
    QTest::newRow("no file") << QByteArray() << QList<int>{0, 0, 0};
    QTest::newRow("garbage answer") << ToCp932(u"G,1,1,1,9,x,1\r\n"_s) << QList<int>{0, 0, 1};
    QTest::newRow("second line ignored")
        << ToCp932(u"G,1,1,1,,,\r\nG,1,1,1,1,1,1\r\n"_s) << QList<int>{0, 0, 0};
  }
  void loadAnswers() {
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, checked);
    test::FixtureInstallation fx;
    fx.makeDir(u"system/1"_s);
    if (!file.isNull()) fx.writeFile(u"system/1/a.csv"_s, file);
    QVERIFY(fx.ok());
    AnswerSheet sheet = Sheet({3});
    sheet.LoadAnswersFromFile(fx.path(u"system/1/a.csv"_s));
    QList<int> got;
    for (int row = 2; row <= 4; ++row) got << sheet.CheckedChoice(row);
    QCOMPARE(got, checked);
    QCOMPARE(sheet.CheckedChoice(1), 0);  // heading row
  }

  void filterAnswerRows_data() {
    QTest::addColumn<bool>("subQuestionsOnly");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("q");
    QTest::addColumn<int>("s");
    QTest::addColumn<QList<int>>("rows");
    // Rows of {2, 1}: 1 heading 1, 2 1-1, 3 1-2, 4 heading 2, 5 2-1.
    QTest::newRow("whole paper") << false << 1 << -1 << -1 << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("question 1") << false << 2 << 1 << 2 << QList<int>{1, 2, 3};
    QTest::newRow("question 2") << false << 2 << 2 << -1 << QList<int>{4, 5};
    QTest::newRow("headings shown") << false << 2 << -1 << -1 << QList<int>{};
    QTest::newRow("sub 1-? first") << false << 3 << 1 << -1 << QList<int>{1, 2};
    QTest::newRow("sub 1-2") << false << 3 << 1 << 2 << QList<int>{1, 3};
    QTest::newRow("sub 2-1") << false << 3 << 2 << 1 << QList<int>{4, 5};
    // Sub-questions only, rows: 1-1, 1-2, 2-1.
    QTest::newRow("only whole") << true << 1 << 1 << -1 << QList<int>{1, 2, 3};
    QTest::newRow("only by question") << true << 2 << 1 << 2 << QList<int>{1, 2};
    QTest::newRow("only sub 2") << true << 3 << 1 << 2 << QList<int>{2};
  }
  void filterAnswerRows() {
    QFETCH(bool, subQuestionsOnly);
    QFETCH(int, mode);
    QFETCH(int, q);
    QFETCH(int, s);
    QFETCH(QList<int>, rows);
    const SheetView view = Sheet({2, 1}, subQuestionsOnly).FilterAnswerRows(mode, q, s);
    QCOMPARE(view.visibleRows, rows);
    QCOMPARE(view.scrollRange, 32 * static_cast<int>(rows.size()));
    if (!rows.isEmpty())
      QCOMPARE(view.RowTop(rows.last()), 32 * (static_cast<int>(rows.size()) - 1));
  }

  void scrollToSelection_data() {
    QTest::addColumn<bool>("subQuestionsOnly");
    QTest::addColumn<int>("q");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("position");
    QTest::newRow("question 1") << false << 1 << -1 << 0;
    QTest::newRow("1-2") << false << 1 << 2 << 64;
    QTest::newRow("question 2") << false << 2 << -1 << 96;
    QTest::newRow("2-1") << false << 2 << 1 << 128;
    QTest::newRow("only 2") << true << 1 << 2 << 32;
  }
  void scrollToSelection() {
    QFETCH(bool, subQuestionsOnly);
    QFETCH(int, q);
    QFETCH(int, s);
    QFETCH(int, position);
    QCOMPARE(Sheet({2, 1}, subQuestionsOnly).ScrollPositionForNode(TreeNode{q, s}), position);
  }

  void answeredMarks() {
    AnswerSheet sheet = Sheet({2, 0, 1});
    sheet.LoadAnswers(ParseAnswerLine(u"G,1,1,1,,4,"_s));
    QVERIFY(!sheet.IsAnswered({1, 1}));
    QVERIFY(sheet.IsAnswered({1, 2}));
    QVERIFY(!sheet.IsAnswered({1, -1}));  // one sub-question still open
    QVERIFY(sheet.IsAnswered({2, -1}));   // nothing to answer
    QVERIFY(!sheet.IsAnswered({3, 1}));
    QVERIFY(!sheet.Record(5, 1, true));  // rows: h1, 1-1, 1-2, h2, h3, 3-1
    QVERIFY(!sheet.IsAnswered({3, -1}));
    QVERIFY(sheet.Record(6, 1, true));
    QVERIFY(sheet.IsAnswered({3, -1}));

    AnswerSheet only = Sheet({3}, true);
    only.LoadAnswers(ParseAnswerLine(u"G,1,1,1,,2"_s));
    QVERIFY(!only.IsAnswered({1, 1}));
    QVERIFY(only.IsAnswered({1, 2}));
  }
};

EXAMORA_TEST(TestAnswerSheet)
#include "tst_answersheet.moc"
