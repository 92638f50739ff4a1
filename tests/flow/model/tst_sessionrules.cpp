#include <QTest>

#include "TestRegistry.h"
#include "flow/model/SessionRules.h"

using namespace examora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(examora::ExamWindowKind)
Q_DECLARE_METATYPE(examora::HandOverPlan::Kind)

class TestSessionRules : public QObject {
  Q_OBJECT

 private slots:
  void examWindowByTypeAndCategory_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("category");
    QTest::addColumn<ExamWindowKind>("kind");
    QTest::addColumn<bool>("partEnd");
    QTest::newRow("type 1 knowledge") << u"1"_s << u"1"_s << ExamWindowKind::Knowledge << false;
    QTest::newRow("type 1 practical: knowledge window")
        << u"1"_s << u"2"_s << ExamWindowKind::Knowledge << false;
    QTest::newRow("type 2 any") << u"2"_s << u"1"_s << ExamWindowKind::Compact << false;
    QTest::newRow("type 3 practical") << u"3"_s << u"2"_s << ExamWindowKind::Compact << true;
    QTest::newRow("type 3 knowledge") << u"3"_s << u"1"_s << ExamWindowKind::AnswerOnly << true;
    QTest::newRow("type 3 other category")
        << u"3"_s << u"9"_s << ExamWindowKind::Knowledge << false;
    QTest::newRow("type empty") << u""_s << u""_s << ExamWindowKind::Knowledge << false;
  }
  void examWindowByTypeAndCategory() {
    QFETCH(QString, examType);
    QFETCH(QString, category);
    QFETCH(ExamWindowKind, kind);
    QFETCH(bool, partEnd);
    const ExamWindowChoice choice = ChooseExamWindow(examType, category);
    QCOMPARE(choice.kind, kind);
    QCOMPARE(choice.partEndScreen, partEnd);
  }

  void practiceAndStartMode() {
    QCOMPARE(ChoosePractice(QStringLiteral("3")), PracticeKind::Guide);
    QCOMPARE(ChoosePractice(QStringLiteral("2")), PracticeKind::CompactWindow);
    QCOMPARE(ChoosePractice(QStringLiteral("1")), PracticeKind::KnowledgeWindow);
    QCOMPARE(StartModeAfterPractice(QStringLiteral("1")), QStringLiteral("1"));
    QCOMPARE(StartModeAfterPractice(QStringLiteral("2")), QStringLiteral("3"));
  }

  void handOver_data() {
    QTest::addColumn<QString>("partCode");
    QTest::addColumn<int>("partCount");
    QTest::addColumn<QString>("endedParts");  // digits of ended parts
    QTest::addColumn<QString>("linkMode");
    QTest::addColumn<HandOverPlan::Kind>("kind");
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("message");

    const QString nextAnnounce = QStringLiteral(
        "Q11「知識」を終了しました。続けて「実技」を行う場合は、試験監督官の指示にしたがい、\r\n"
        "【exam】フォルダー内の「[2]実技.exe」ファイルを実行（ダブルクリック）してください。 ");
    const QString toolAnnounce3 = QStringLiteral(
        "Q11「知識」を終了しました。続けて「提出用ファイル」の作成を行います。\r\n"
        "試験監督官の指示にしたがい、【exam】フォルダー内の「[3]提出用ファイル作成."
        "exe」ファイルを実行"
        "（ダブルクリック）してください。");
    QTest::newRow("next part, automatic (3)")
        << u"1"_s << 2 << u""_s << u"3"_s << HandOverPlan::Kind::Start << u"[2]実技.exe"_s
        << u"E11試験EXEが存在しません。"_s;
    QTest::newRow("next part, automatic (empty)")
        << u"1"_s << 2 << u""_s << u""_s << HandOverPlan::Kind::Start << u"[2]実技.exe"_s
        << u"E11試験EXEが存在しません。"_s;
    QTest::newRow("next part, automatic between parts (2)")
        << u"1"_s << 2 << u""_s << u"2"_s << HandOverPlan::Kind::Start << u"[2]実技.exe"_s
        << u"E11試験EXEが存在しません。"_s;
    QTest::newRow("next part, by hand (1)")
        << u"1"_s << 2 << u""_s << u"1"_s << HandOverPlan::Kind::Announce << u"[2]実技.exe"_s
        << nextAnnounce;
    QTest::newRow("last part, automatic: submission tool")
        << u"2"_s << 2 << u""_s << u"3"_s << HandOverPlan::Kind::Start
        << u"[3]提出用ファイル作成.exe"_s << u"E11提出用EXEが存在しません。"_s;
    QTest::newRow("last part, 2: announced")
        << u"2"_s << 2 << u""_s << u"2"_s << HandOverPlan::Kind::Announce
        << u"[3]提出用ファイル作成.exe"_s
        << QString(toolAnnounce3).replace(QStringLiteral("「知識」"), QStringLiteral("「実技」"));
    QTest::newRow("later part already ended is skipped")
        << u"1"_s << 2 << u"2"_s << u"1"_s << HandOverPlan::Kind::Announce
        << u"[3]提出用ファイル作成.exe"_s << toolAnnounce3;
    QTest::newRow("no part count: tool [1]")
        << u"1"_s << 0 << u""_s << u"3"_s << HandOverPlan::Kind::Start
        << u"[1]提出用ファイル作成.exe"_s << u"E11提出用EXEが存在しません。"_s;
    QTest::newRow("part code not a number: nothing")
        << u"x"_s << 2 << u""_s << u"3"_s << HandOverPlan::Kind::Nothing << u""_s << u""_s;
  }
  void handOver() {
    QFETCH(QString, partCode);
    QFETCH(int, partCount);
    QFETCH(QString, endedParts);
    QFETCH(QString, linkMode);
    QFETCH(HandOverPlan::Kind, kind);
    QFETCH(QString, executable);
    QFETCH(QString, message);

    HandOverInput input;
    input.partCode = partCode;
    input.partCount = partCount;
    input.isPartEnded = [&](int n) { return endedParts.contains(QString::number(n)); };
    input.partName = [](int n) { return n == 1 ? QStringLiteral("知識") : QStringLiteral("実技"); };
    input.thisPartName = partCode == u"2" ? QStringLiteral("実技") : QStringLiteral("知識");
    input.linkMode = linkMode;
    input.installationFolderName = QStringLiteral("exam");
    const HandOverPlan plan = PlanHandOver(input);
    QCOMPARE(plan.kind, kind);
    QCOMPARE(plan.executableName, executable);
    const QString shown =
        kind == HandOverPlan::Kind::Announce ? plan.announcement : plan.missingMessage;
    QCOMPARE(shown, message);
  }
};

EXAMORA_TEST(TestSessionRules)
#include "tst_sessionrules.moc"
