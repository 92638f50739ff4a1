#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace examora;

Q_DECLARE_METATYPE(PartEndState)

// Each test writes the INI files it needs into a fresh installation folder.
class TestExamData : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;

  void Write(const QString& relative, const QString& text) {
    const QString path = dir_->filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    f.write(ToCp932(crlf));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    SetExeFolder(dir_->path());
  }
  void cleanup() {
    SetExeFolder(QString());
    dir_.reset();
  }

  void integers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QStringLiteral("50") << 50;
    QTest::newRow("signs") << QStringLiteral("-3") << -3;
    QTest::newRow("plus") << QStringLiteral("+7") << 7;
    QTest::newRow("empty") << QString() << 99;
    QTest::newRow("letters") << QStringLiteral("5a") << 99;
    QTest::newRow("only a sign") << QStringLiteral("-") << 99;
    QTest::newRow("full-width digits") << QStringLiteral("５０") << 99;
    QTest::newRow("int max") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("int min") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("overflow") << QStringLiteral("2147483648") << 99;
    QTest::newRow("long overflow") << QStringLiteral("99999999999999999999999") << 99;
  }
  void integers() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(IniInteger(text, 99), value);
  }

  void timeLimit_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("extensionLimit");
    QTest::newRow("all + add") << QStringLiteral("[試験時間]\nall=50\nadd=10\nnow=3\n") << 60 << 50;
    QTest::newRow("no section: 1 minute") << QString() << 1 << 0;
    QTest::newRow("empty all: 1 + add") << QStringLiteral("[試験時間]\nall=\nadd=5\n") << 6 << 0;
    QTest::newRow("non-numeric all and add")
        << QStringLiteral("[試験時間]\nall=x\nadd=y\n") << 1 << 0;
    QTest::newRow("all 0 stays 0") << QStringLiteral("[試験時間]\nall=0\nadd=2\n") << 2 << 0;
  }
  void timeLimit() {
    QFETCH(QString, section);
    QFETCH(int, limit);
    QFETCH(int, extensionLimit);
    Write(QStringLiteral("system/1/setup.ini"),
          QStringLiteral("[基本情報]\n部種名称=知識\n") + section);
    const SetupIni s = ReadSetupIni(QStringLiteral("1"));
    QCOMPARE(s.TimeLimitMinutes(), limit);
    QCOMPARE(s.ExtensionLimitMinutes(), extensionLimit);
  }

  void setupDefaultsAndValues() {
    Write(QStringLiteral("system/Z1/setup.ini"),
          QStringLiteral(
              "[基本情報]\n試験区分=1\n受験タイプ=3\n部種名称=知識（練習）\n全体=1\n問題別=0\n"
              "設問別=yes\n試験時間テキスト=\"５０分 (休憩なし)\",２行目\n"
              "[試験時間]\nall=30\nnow=12\n[画面情報]\n位置=4\n左=-8\n幅=300\n"));
    const SetupIni s = ReadSetupIni(SetupFolderCode(QStringLiteral("1"), true));
    QVERIFY(s.IsKnowledge());
    QCOMPARE(s.examType, QStringLiteral("3"));
    QCOMPARE(s.partName, QStringLiteral("知識（練習）"));
    QVERIFY(s.wholePaper);
    QVERIFY(!s.byQuestion);
    QVERIFY(!s.bySubQuestion);  // only "1" is on
    QCOMPARE(s.ExamTimeLines(),
             (QStringList{QStringLiteral("５０分 (休憩なし)"), QStringLiteral("２行目")}));
    QCOMPARE(s.now, 12);
    QCOMPARE(s.add, 0);
    QCOMPARE(s.layoutCode, QStringLiteral("4"));
    QCOMPARE(s.left, -8);
    QCOMPARE(s.top, 0);
    QVERIFY(s.HasStoredRect());
    QVERIFY(!ReadSetupIni(QStringLiteral("1")).HasStoredRect());  // missing file: all defaults
  }

  void examTimeLinesEmpty_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << QString();
    QTest::newRow("one empty quoted item") << QStringLiteral("\"\"");
    QTest::newRow("blanks") << QStringLiteral("  ");
  }
  void examTimeLinesEmpty() {
    QFETCH(QString, value);
    SetupIni s;
    s.examTimeText = value;
    QVERIFY(s.ExamTimeLines().isEmpty());
  }

  void normalEnd_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<PartEndState>("state");
    QTest::newRow("empty") << QString() << PartEndState::Fresh;
    QTest::newRow("E") << QStringLiteral("E") << PartEndState::Ended;
    QTest::newRow("T") << QStringLiteral("T") << PartEndState::TimeOver;
    QTest::newRow("X like E") << QStringLiteral("X") << PartEndState::Ended;
    QTest::newRow("lower-case t like E") << QStringLiteral("t") << PartEndState::Ended;
  }
  void normalEnd() {
    QFETCH(QString, value);
    QFETCH(PartEndState, state);
    QCOMPARE(ClassifyNormalEnd(value), state);
  }

  void systemIniDefaults() {
    Write(QStringLiteral("system/system.ini"), QStringLiteral("[基本情報]\n試験名=検定\n"));
    const SystemIni s = ReadSystemIni(2031);
    QCOMPARE(s.examName, QStringLiteral("検定"));
    QCOMPARE(s.partCount, 0);
    QVERIFY(!s.sampleExam);
    QVERIFY(!s.timeControl);
    QCOMPARE(s.birthYearFirst, 1900);
    QCOMPARE(s.birthYearLast, 2031);
    QVERIFY(s.eras.isEmpty());
  }

  void systemIniValues() {
    Write(
        QStringLiteral("system/system.ini"),
        QStringLiteral("[基本情報]\n部数=2\nサンプル問題=1\nタイムコントロール=1\n級コード=K2\n"
                       "[年度]\n1926=昭和\n元年=x\n1989=平成\n[生年月日]\n開始=1950\n終了=abc\n"));
    const SystemIni s = ReadSystemIni(2024);
    QCOMPARE(s.partCount, 2);
    QVERIFY(s.sampleExam);
    QVERIFY(s.timeControl);
    QCOMPARE(s.gradeCode, QStringLiteral("K2"));
    QCOMPARE(s.eras.size(), 2);  // the key that is not a year is left out
    QCOMPARE(s.eras.at(1).name, QStringLiteral("平成"));
    QCOMPARE(s.birthYearFirst, 1950);
    QCOMPARE(s.birthYearLast, 2024);  // not a number: the current year
  }

  void birthYearLabel_data() {
    QTest::addColumn<QList<Era>>("eras");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("label");
    const QList<Era> two{{1926, QStringLiteral("昭和")}, {1989, QStringLiteral("平成")}};
    QTest::newRow("no eras") << QList<Era>{} << 1989 << QStringLiteral("1989 年");
    QTest::newRow("first year of second era") << two << 1989 << QStringLiteral("1989 (平成01)年");
    QTest::newRow("last year of first era") << two << 1988 << QStringLiteral("1988 (昭和63)年");
    QTest::newRow("before the first era") << two << 1925 << QStringLiteral("1925 年");
    QTest::newRow("era year past 99 keeps two digits")
        << QList<Era>{{1900, QStringLiteral("X")}} << 2000 << QStringLiteral("2000 (X01)年");
    // Not sorted: the last era in list order that has started wins.
    QTest::newRow("file order, not largest")
        << QList<Era>{{1989, QStringLiteral("平成")}, {1926, QStringLiteral("昭和")}} << 2000
        << QStringLiteral("2000 (昭和75)年");
  }
  void birthYearLabel() {
    QFETCH(QList<Era>, eras);
    QFETCH(int, year);
    QFETCH(QString, label);
    QCOMPARE(BirthYearLabel(year, eras), label);
  }

  void birthYearItems() {
    const QList<BirthYearItem> items = BirthYearItems({}, 1998, 2000);
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.first().value, QStringLiteral("2000"));
    QCOMPARE(items.last().label, QStringLiteral("1998 年"));
    QVERIFY(BirthYearItems({}, 2000, 1999).isEmpty());
  }

  void subQuestionCounts_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("2, 1, 1") << QStringLiteral("1-1=4\n1-2=4\n2-1=5\n3-1=3\n")
                             << QList<int>{2, 1, 1};
    QTest::newRow("gap ends the question") << QStringLiteral("1-1=4\n1-3=4\n") << QList<int>{1};
    QTest::newRow("empty value ends it")
        << QStringLiteral("1-1=4\n1-2=\n2-1=4\n") << QList<int>{1, 1};
    QTest::newRow("file order does not matter")
        << QStringLiteral("2-1=4\n1-1=4\n") << QList<int>{1, 1};
    QTest::newRow("no keys: one empty question") << QString() << QList<int>{0};
  }
  void subQuestionCounts() {
    QFETCH(QString, keys);
    QFETCH(QList<int>, counts);
    Write(QStringLiteral("system/1/setup.ini"), QStringLiteral("[選択数]\n") + keys);
    QCOMPARE(ReadSubQuestionCounts(QStringLiteral("1")), counts);
  }

  void choiceCountAndFirstKey() {
    Write(QStringLiteral("system/1/setup.ini"), QStringLiteral("[選択数]\n2-1=5\n2-2=x\n"));
    QCOMPARE(ReadChoiceCount(QStringLiteral("1"), 2, 1), 5);
    QCOMPARE(ReadChoiceCount(QStringLiteral("1"), 2, 2), 0);
    QCOMPARE(ReadChoiceCount(QStringLiteral("1"), 9, 9), 0);
    const ChoiceKey first = ReadFirstChoiceKey(QStringLiteral("1"));
    QCOMPARE(first.question, QStringLiteral("2"));
    QCOMPARE(first.subQuestion, QStringLiteral("1"));
    QCOMPARE(ReadFirstChoiceKey(QStringLiteral("2")).question, QString());
  }

  void shikenAndLinkMode() {
    Write(QStringLiteral("system/shiken.ini"),
          QStringLiteral(
              "[受験者情報]\n会場コード=01234\n姓=山田\n連携=2\n[試験情報]\n試験日=20240105\n"));
    const ShikenIni s = ReadShikenIni();
    QCOMPARE(s.venueCode, QStringLiteral("01234"));
    QCOMPARE(s.familyName, QStringLiteral("山田"));
    QCOMPARE(s.examDate, QStringLiteral("20240105"));
    QVERIFY(LinkModeStartsNextPart(s.linkMode));
    QVERIFY(!LinkModeStartsSubmissionTool(s.linkMode));
    QVERIFY(!LinkModeStartsNextPart(QStringLiteral("1")));
    QVERIFY(LinkModeStartsSubmissionTool(QString()));
  }

  void answerKeyInFileOrder() {
    Write(QStringLiteral("system/seito[1].ini"),
          QStringLiteral("[1_1]\n正答=00100\n配点=4\n[1_2]\n正答=11111\n[2_1]\n配点=x\n"));
    const QList<AnswerKeyRow> rows = ReadAnswerKey(QStringLiteral("1"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).correct, QStringLiteral("00100"));
    QCOMPARE(rows.at(0).points, QStringLiteral("4"));
    QCOMPARE(rows.at(1).section, QStringLiteral("1_2"));
    QCOMPARE(rows.at(2).points, QStringLiteral("x"));
  }

  void updateCheckPathsUseSlash() {
    Write(QStringLiteral("system/2/update_check.ini"),
          QStringLiteral("[更新チェック]\nf1=site\\css\\style.css\nf2=material\\元データ.xlsx\n"));
    QCOMPARE(ReadUpdateCheckExclusions(QStringLiteral("2")),
             (QStringList{QStringLiteral("site/css/style.css"),
                          QStringLiteral("material/元データ.xlsx")}));
  }

  void isPartEndedFeedsNextPart() {
    Write(QStringLiteral("system/system.ini"), QStringLiteral("[基本情報]\n部数=3\n"));
    Write(QStringLiteral("system/2/setup.ini"), QStringLiteral("[基本情報]\n正常終了=E\n"));
    Write(QStringLiteral("system/3/setup.ini"), QStringLiteral("[基本情報]\n正常終了=\n"));
    const NextPartResult r =
        NextPart(QStringLiteral("1"), ReadSystemIni(2024).partCount, IsPartEnded);
    QCOMPARE(r.kind, NextPartResult::Kind::Part);
    QCOMPARE(r.number, 3);
  }

  void stateWritersRoundTrip() {
    Write(QStringLiteral("system/1/setup.ini"), QStringLiteral("[基本情報]\n部種名称=知識\n"));
    QDir().mkpath(dir_->filePath(QStringLiteral("system/Z1")));
    QVERIFY(WriteExamStarted(QStringLiteral("1"), true).ok);
    QVERIFY(WriteNormalEnd(QStringLiteral("1"), QStringLiteral("T")).ok);
    QVERIFY(WriteExtensionEnded(QStringLiteral("1")).ok);
    QVERIFY(WriteExtensionMinutes(QStringLiteral("1"), 15).ok);
    QVERIFY(WriteLayoutCode(QStringLiteral("1"), QStringLiteral("4")).ok);
    QVERIFY(WriteWindowRect(QStringLiteral("1"), 10, 20, 300, 400).ok);
    QVERIFY(WriteElapsedMinutes(QStringLiteral("Z1"), 7).ok);

    const SetupIni s = ReadSetupIni(QStringLiteral("1"));
    QCOMPARE(s.partName, QStringLiteral("知識"));
    QVERIFY(s.IsExamStarted());
    QCOMPARE(s.EndState(), PartEndState::TimeOver);
    QCOMPARE(s.extensionEnded, QStringLiteral("1"));
    QCOMPARE(s.add, 15);
    QCOMPARE(s.now, 0);  // the practice clock wrote the practice folder's file
    QCOMPARE(ReadSetupIni(QStringLiteral("Z1")).now, 7);
    QCOMPARE(s.width, 300);
    QCOMPARE(s.height, 400);

    QVERIFY(WriteExamStarted(QStringLiteral("1"), false).ok);
    QVERIFY(WriteNormalEnd(QStringLiteral("1"), QString()).ok);
    QVERIFY(!ReadSetupIni(QStringLiteral("1")).IsExamStarted());
    QCOMPARE(ReadSetupIni(QStringLiteral("1")).EndState(), PartEndState::Fresh);
  }

  void shikenWriters() {
    QDir().mkpath(dir_->filePath(QStringLiteral("system")));
    QVERIFY(WriteCandidateInfo(QStringLiteral("受験番号"), QStringLiteral("0012")).ok);
    QVERIFY(WriteLinkMode(QStringLiteral("1")).ok);
    QVERIFY(WriteExamStartStamp(QDateTime(QDate(2024, 1, 5), QTime(9, 3, 7))).ok);
    const ShikenIni s = ReadShikenIni();
    QCOMPARE(s.candidateNumber, QStringLiteral("0012"));
    QCOMPARE(s.linkMode, QStringLiteral("1"));
    QCOMPARE(s.examDate, QStringLiteral("20240105"));
    QCOMPARE(s.examStartTime, QStringLiteral("2024/01/05 09:03:07"));
  }

  void writeIntoMissingPartFolderFails() {
    const WriteResult r = WriteExamStarted(QStringLiteral("9"), false);
    QVERIFY(!r.ok);
  }

  void paths() {
    const QString exe = dir_->path();
    QCOMPARE(SetupFolderCode(QStringLiteral("2"), false), QStringLiteral("2"));
    QCOMPARE(SetupFolderCode(QStringLiteral("2"), true), QStringLiteral("Z2"));
    QCOMPARE(WholePaperPage(QStringLiteral("Z1")),
             exe + QStringLiteral("/system/Z1/html/q/all/index.html"));
    QCOMPARE(SubQuestionPage(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")),
             exe + QStringLiteral("/system/1/html/q/setsumon/2-3/index.html"));
    QCOMPARE(AnswerFilePath(QStringLiteral("1")), exe + QStringLiteral("/system/1/a.csv"));
    QCOMPARE(AnswerKeyIniPath(QStringLiteral("1")), QStringLiteral("system/seito[1].ini"));
    QCOMPARE(ExecutablePath(SubmissionExecutableName(2)),
             exe + QStringLiteral("/[3]提出用ファイル作成.exe"));
    QCOMPARE(InstallationFolderName(), QFileInfo(exe).fileName());
    QCOMPARE(PathFromIniValue(QStringLiteral("site\\css\\a.css")),
             QStringLiteral("site/css/a.css"));

    const QList<FolderWindowTitles> titles = WorkFolderWindowTitles(WorkFolder::Practical);
    QCOMPARE(titles.size(), 6);
    QCOMPARE(titles.at(0).name, QStringLiteral("実技用"));
    QCOMPARE(titles.at(0).fullPath, QDir::toNativeSeparators(exe + QStringLiteral("/実技用")));
    QCOMPARE(titles.at(3).name, QStringLiteral("css"));
    QCOMPARE(titles.at(3).fullPath,
             QDir::toNativeSeparators(exe + QStringLiteral("/実技用/site/css")));
    QCOMPARE(
        WorkFolderTree(WorkFolder::KnowledgePractice),
        (QStringList{QStringLiteral("知識操作練習用"), QStringLiteral("知識操作練習用/question")}));
  }
};

EXAMORA_TEST(TestExamData)
#include "tst_examdata.moc"
