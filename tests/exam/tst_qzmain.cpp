#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>
#include <cstdio>

#include "Fixture.h"
#include "ManualClock.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/model/QZMainRules.h"
#include "flow/ExamWindows.h"
#include "widgets/RoundButton.h"
#include "widgets/TransparentOverlay.h"

using namespace examora;
using namespace Qt::StringLiterals;

namespace {

using FakeClock = test::ManualClock;

QVariant Eval(QWebEnginePage* page, const QString& script) {
  QVariant result;
  QEventLoop loop;
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  page->runJavaScript(script, [&](const QVariant& v) {
    result = v;
    loop.quit();
  });
  loop.exec();
  return result;
}

// The answer line the sheet writes for part 1 of the fixture ({2, 3, 4} sub-questions).
QByteArray ExpectedRecord(const QStringList& answers) {
  QStringList fields = {QStringLiteral("T3"), QStringLiteral("1"), QStringLiteral("01234"),
                        QStringLiteral("1001")};
  fields += answers;
  return ToCp932(fields.join(u',')) + "\r\n";
}

}  // namespace

class TestQZMain : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;
  FakeClock clock_;

  std::unique_ptr<TfrmQZMain> MakeWindow(bool practice = false, bool debug = true) {
    auto w = std::make_unique<TfrmQZMain>(nullptr, &clock_);
    w->SetPart(QStringLiteral("1"), debug);
    w->VenueCode = QStringLiteral("01234");
    w->CandidateNumber = QStringLiteral("1001");
    w->PracticeMode = practice;
    w->setGeometry(0, 0, 1024, 768);
    return w;
  }
  QString Log() const { return FromCp932(fx_->readBytes(QStringLiteral("system/1/log.txt"))); }
  void CopyPracticeFolder() {
    const QString from = fx_->path(QStringLiteral("system/1"));
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      const QString rel = QStringLiteral("system/Z1/") + QDir(from).relativeFilePath(file);
      QFile f(file);
      QVERIFY(f.open(QIODevice::ReadOnly));
      fx_->writeFile(rel, f.readAll());
    }
  }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(QStringLiteral("1"));
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }

  void titlesFollowPatternNameAndPractice_data() {
    QTest::addColumn<QString>("patternName");
    QTest::addColumn<bool>("practice");
    QTest::addColumn<QString>("title2");
    QTest::addColumn<QString>("endCaption");
    QTest::newRow("pattern name") << QStringLiteral("PN") << false
                                  << QStringLiteral("知識　PN(VN) ") << QStringLiteral("試験終了");
    QTest::newRow("no pattern name") << QString() << false << QStringLiteral("知識　Aパターン(VN) ")
                                     << QStringLiteral("試験終了");
    QTest::newRow("practice") << QString() << true
                              << QStringLiteral("知識　Aパターン(VN)  操作練習")
                              << QStringLiteral("練習終了");
  }
  void titlesFollowPatternNameAndPractice() {
    QFETCH(QString, patternName);
    QFETCH(bool, practice);
    QFETCH(QString, title2);
    QFETCH(QString, endCaption);
    SystemIni system;
    system.bookletName = QStringLiteral("冊子");
    system.pattern = QStringLiteral("A");
    system.patternName = patternName;
    system.version = QStringLiteral("V");
    system.versionName = QStringLiteral("VN");
    const ExamWindowTitles t = ExamTitles(system, QStringLiteral("知識"), practice);
    QCOMPARE(t.caption, QStringLiteral("冊子 Aパターン(V) 知識"));
    QCOMPARE(t.title1, QStringLiteral("冊子"));
    QCOMPARE(t.title2, title2);
    QCOMPARE(t.endCaption, endCaption);
  }

  // The proctor's link-mode signal is on the titles as soon as the window is up, before the
  // notes were ever opened. Seen in the drawn title: no white text left where it is coloured.
  void titlesShowTheLinkModeAtSetUp_data() {
    QTest::addColumn<QString>("linkMode");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("1: no automatic hand-over") << u"1"_s << QColor(0x32, 0xCD, 0x32);
    QTest::newRow("2: automatic between parts") << u"2"_s << QColor(0xFF, 0xA5, 0x00);
    QTest::newRow("3: fully automatic") << u"3"_s << QColor(Qt::white);
  }
  void titlesShowTheLinkModeAtSetUp() {
    QFETCH(QString, linkMode);
    QFETCH(QColor, colour);
    QVERIFY(WriteIni(ShikenIniPath(), u"受験者情報"_s, u"連携"_s, linkMode).ok);
    auto w = MakeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (const char* name : {"ShikenTitle1Lbl", "ShikenTitle2Lbl"}) {
      auto* label = w->findChild<QLabel*>(QLatin1String(name));
      QVERIFY(label && !label->text().isEmpty());
      const QImage drawn = label->grab().toImage();
      int inColour = 0;
      for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) inColour += drawn.pixelColor(x, y) == colour;
      QVERIFY2(inColour > 10, name);
    }
  }

  // 試験区分 is "1" for a knowledge part and anything else, an empty value included, for a
  // practical one: the layout and the ending must agree on it.
  void onlyCategoryOneIsKnowledge_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("answerSheet");
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("2") << u"2"_s << false;
    QTest::newRow("empty") << QString() << false;
  }
  void onlyCategoryOneIsKnowledge() {
    QFETCH(QString, category);
    QFETCH(bool, answerSheet);
    QVERIFY(WriteIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"試験区分"_s, category).ok);
    auto w = MakeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->findChild<QWidget*>(u"Panel5"_s)->isVisibleTo(w.get()), answerSheet);
    w->close();
  }

  void setUpLogsInOrderAndRecordsTheStart() {
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    const QString log = Log();
    qsizetype at = 0;
    for (const QString& line :
         {QStringLiteral("QZMain：開始"), QStringLiteral("QZMain：初期表示中間1"),
          QStringLiteral("QZMain：初期表示中間2"), QStringLiteral("QZMain：初期表示中間3"),
          QStringLiteral("QZMain：初期表示中間4"), QStringLiteral("QZMain：初期表示完了"),
          QStringLiteral("QZMain：操作開始")}) {
      const qsizetype found = log.indexOf(line, at);
      QVERIFY2(found >= 0, qPrintable(line));
      at = found + line.size();
    }
    QVERIFY(w->Clock()->IsRunning());
    QVERIFY(w->SetupDone && w->ExamShown);
    QCOMPARE(fx_->readIni(QStringLiteral("system/1/setup.ini"), QStringLiteral("基本情報"),
                          QStringLiteral("試験開始")),
             QStringLiteral("1"));
    const QString date = fx_->readIni(QStringLiteral("system/shiken.ini"),
                                      QStringLiteral("試験情報"), QStringLiteral("試験日"));
    QCOMPARE(date.size(), 8);
    QCOMPARE(w->ExamDate, date);
    QVERIFY(!fx_->readIni(QStringLiteral("system/shiken.ini"), QStringLiteral("試験情報"),
                          QStringLiteral("試験時間"))
                 .isEmpty());
    QCOMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), QByteArray("\r\n"));
    QVERIFY(!w->findChild<QWidget*>(QStringLiteral("RensyuPnl"))->isVisible());
    QVERIFY(!w->findChild<QWidget*>(QStringLiteral("MihonBtn"))->isVisible());
    // A second show after hiding does not set up again.
    const qsizetype starts = Log().count(QStringLiteral("QZMain：開始"));
    w->hide();
    w->show();
    QCOMPARE(Log().count(QStringLiteral("QZMain：開始")), starts);
  }

  void storedExamDateIsKept() {
    QVERIFY(WriteIni(ShikenIniPath(), QStringLiteral("試験情報"), QStringLiteral("試験日"),
                     QStringLiteral("20240102"))
                .ok);
    auto w = MakeWindow();
    w->show();
    QCOMPARE(w->ExamDate, QStringLiteral("20240102"));
    QVERIFY(fx_->readIni(QStringLiteral("system/shiken.ini"), QStringLiteral("試験情報"),
                         QStringLiteral("試験時間"))
                .isEmpty());
  }

  void choicesAreWrittenOnlyAfterActivation() {
    auto w = MakeWindow();
    w->show();  // activation is delivered by the event loop, after this
    QVERIFY(w->FirstActivation);
    QVERIFY(w->RadioButton(3, 2));
    w->RadioButton(3, 2)->click();
    QCOMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), QByteArray("\r\n"));
    QVERIFY(!w->RadioButton(3, 2)->isChecked());
    QVERIFY(!Log().contains(kLogAnswerClicked));

    QTRY_VERIFY(!w->FirstActivation);
    w->RadioButton(3, 2)->click();
    QStringList answers(9);
    answers[1] = QStringLiteral("2");
    QCOMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), ExpectedRecord(answers));
    QVERIFY(Log().contains(kLogAnswerClicked));

    // Question 1 turns black once both its sub-questions are answered; question 2 stays red.
    QTreeWidgetItem* q1 = w->Tree()->topLevelItem(0);
    QCOMPARE(q1->foreground(0).color(), QColor(Qt::red));
    w->RadioButton(2, 4)->click();
    answers[0] = QStringLiteral("4");
    QCOMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), ExpectedRecord(answers));
    QCOMPARE(q1->foreground(0).color(), QColor(Qt::black));
    QCOMPARE(q1->child(0)->foreground(0).color(), QColor(Qt::black));
    QCOMPARE(w->Tree()->topLevelItem(1)->foreground(0).color(), QColor(Qt::red));
    // Radio buttons past the choice count are hidden.
    QVERIFY(w->RadioButton(2, 4)->isVisible());
    QVERIFY(!w->RadioButton(2, 5)->isVisible());
  }

  void restartShowsStoredAnswersAndContinuesTheClock() {
    QStringList stored(9);
    stored[0] = QStringLiteral("1");
    stored[4] = QStringLiteral("3");
    fx_->writeFile(QStringLiteral("system/1/a.csv"), ExpectedRecord(stored));
    QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("試験時間"),
                     QStringLiteral("now"), QStringLiteral("25"))
                .ok);
    auto w = MakeWindow();
    w->show();
    // Rows: 1 heading, 2-3 question 1, 4 heading, 5-7 question 2.
    QVERIFY(w->RadioButton(2, 1)->isChecked());
    QVERIFY(w->RadioButton(7, 3)->isChecked());
    QVERIFY(!w->RadioButton(3, 1)->isChecked());
    auto* progress = w->findChild<QLabel*>(QStringLiteral("TimeProgress1"));
    QCOMPARE(progress->text(), QStringLiteral(" 0/"));
    QTRY_VERIFY(!w->FirstActivation);
    clock_.ms += 1000;
    w->Clock()->ShikenTimerTimer();
    QCOMPARE(progress->text(), QStringLiteral("25/"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("TimeProgress2"))->text(),
             QStringLiteral("30分"));
    // Restoring wrote nothing.
    QCOMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), ExpectedRecord(stored));
  }

  // Run in a child process by killedProcessKeepsEveryRecordedAnswer: answers steadily through
  // the real window until it is killed. Skipped in a normal run.
  void childAnswersUntilKilled() {
    const QString root = qEnvironmentVariable("EXAMORA_ANSWER_CHILD");
    if (root.isEmpty()) QSKIP("runs only as the child of killedProcessKeepsEveryRecordedAnswer");
    SetExeFolder(root);
    TfrmQZMain w(nullptr);
    w.SetPart(QStringLiteral("1"), true);
    w.VenueCode = QStringLiteral("01234");
    w.CandidateNumber = QStringLiteral("1001");
    w.setGeometry(0, 0, 1024, 768);
    w.show();
    QTRY_VERIFY(!w.FirstActivation);
    const int rows[] = {2, 3, 5, 6, 7, 9, 10, 11, 12};
    for (int n = 0; n < 100000; ++n) {
      const int row = rows[n % 9];
      const int choice = n / 9 % 4 + 1;
      w.RadioButton(row, choice)->click();
      std::printf("clicked %d\n", n);
      std::fflush(stdout);
      QTest::qWait(20);
    }
  }

  // The real window in another process, killed with SIGKILL while answering: the file always
  // holds one complete record, and a restarted window shows exactly those answers and goes on
  // from the stored minutes.
  void killedProcessKeepsEveryRecordedAnswer() {
#ifndef Q_OS_UNIX
    QSKIP("needs SIGKILL");
#else
    QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("試験時間"),
                     QStringLiteral("now"), QStringLiteral("25"))
                .ok);
    for (int cycle = 0; cycle < 3; ++cycle) {
      QProcess child;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert(QStringLiteral("EXAMORA_ANSWER_CHILD"), fx_->root());
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
      child.setProcessEnvironment(env);
      child.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("TestQZMain::childAnswersUntilKilled")});
      QVERIFY(child.waitForStarted());
      QByteArray out;
      const int wanted = 5 + cycle * 7;
      QTRY_VERIFY_WITH_TIMEOUT((out += child.readAllStandardOutput()).count("clicked") >= wanted,
                               30000);
      child.kill();  // SIGKILL
      QVERIFY(child.waitForFinished(5000));

      const QByteArray bytes = fx_->readBytes(QStringLiteral("system/1/a.csv"));
      QVERIFY2(bytes.endsWith("\r\n") && bytes.count("\r\n") == 1, bytes.constData());
      const AnswerRecord record = ParseAnswerLine(FromCp932(bytes.chopped(2)));
      QCOMPARE(record.answers.size(), 9);
      QCOMPARE(record.candidateNumber, QStringLiteral("1001"));
      QVERIFY(std::any_of(record.answers.begin(), record.answers.end(),
                          [](const QString& a) { return !a.isEmpty(); }));

      auto w = MakeWindow();
      w->show();
      const int rows[] = {2, 3, 5, 6, 7, 9, 10, 11, 12};
      for (int i = 0; i < 9; ++i) {
        for (int c = 1; c <= 4; ++c) {
          QCOMPARE(w->RadioButton(rows[i], c)->isChecked(),
                   record.answers.at(i) == QString::number(c));
        }
      }
      QTRY_VERIFY(!w->FirstActivation);
      clock_.ms += 1000;
      w->Clock()->ShikenTimerTimer();
      QCOMPARE(w->findChild<QLabel*>(QStringLiteral("TimeProgress1"))->text(),
               QStringLiteral("25/"));
    }
#endif
  }

  void practiceUsesItsOwnFolderAndRecordsNoStart() {
    CopyPracticeFolder();
    auto w = MakeWindow(true);
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    QCOMPARE(w->SetupFolderCode, QStringLiteral("Z1"));
    QVERIFY(w->findChild<QWidget*>(QStringLiteral("RensyuPnl"))->isVisible());
    QCOMPARE(w->findChild<QPushButton*>(QStringLiteral("EndBtn"))->text(),
             QStringLiteral("練習終了"));
    QVERIFY(!fx_->exists(QStringLiteral("system/1/a.csv")));
    w->RadioButton(5, 1)->click();
    QStringList answers(9);
    answers[2] = QStringLiteral("1");
    QCOMPARE(fx_->readBytes(QStringLiteral("system/Z1/a.csv")), ExpectedRecord(answers));
    QVERIFY(!fx_->exists(QStringLiteral("system/1/a.csv")));
    QCOMPARE(fx_->readIni(QStringLiteral("system/1/setup.ini"), QStringLiteral("基本情報"),
                          QStringLiteral("試験開始")),
             QStringLiteral("0"));
    for (const QString& key : {QStringLiteral("試験日"), QStringLiteral("試験時間")}) {
      QVERIFY(fx_->readIni(QStringLiteral("system/shiken.ini"), QStringLiteral("試験情報"), key)
                  .isEmpty());
    }
  }

  void windowSystemCloseDoesNotEndTheExam() {
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    w->close();
    QVERIFY(w->isVisible());
  }

  void questionButtonTogglesTheTree() {
    auto w = MakeWindow();
    w->show();
    auto* panel = w->findChild<QWidget*>(QStringLiteral("QuestionPanel"));
    QVERIFY(panel->isVisible());
    const int pageLeft = w->Browser()->mapTo(w.get(), QPoint(0, 0)).x();
    w->findChild<QPushButton*>(QStringLiteral("QuestionBtn"))->click();
    QVERIFY(!panel->isVisible());
    QVERIFY(w->Browser()->mapTo(w.get(), QPoint(0, 0)).x() < pageLeft);
    // The overlay follows the page.
    auto* overlay = w->findChild<QWidget*>(QStringLiteral("NkTransparent"));
    QCOMPARE(overlay->geometry(), w->Browser()->geometry());
    QVERIFY(Log().contains(QStringLiteral("QZMain：解答状況ボタン押下")));
  }

  // The question tree has the keyboard once it is built, and again at every page turn.
  void treeHasTheKeyboardAtSetUpAndWhenPaging() {
    auto w = MakeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* tree = w->findChild<QWidget*>(u"QuestionTree"_s);
    QVERIFY(tree);
    QCOMPARE(w->focusWidget(), tree);
    w->findChild<QPushButton*>(u"PrintToiBtn"_s)->click();
    w->Browser()->setFocus();
    QVERIFY(w->focusWidget() != tree);
    w->findChild<QPushButton*>(u"NextBtn"_s)->click();
    QCOMPARE(w->focusWidget(), tree);
  }

  void modeButtonsFilterTheSheet() {
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    QVERIFY(w->SheetRow(9)->isVisibleTo(w.get()));  // whole paper: every row
    w->findChild<QPushButton*>(QStringLiteral("PrintToiBtn"))->click();
    QCOMPARE(w->Display()->DisplayMode(), int(kModeByQuestion));
    QVERIFY(w->SheetRow(2)->isVisibleTo(w.get()));
    QVERIFY(!w->SheetRow(9)->isVisibleTo(w.get()));
    w->findChild<QPushButton*>(QStringLiteral("NextBtn"))->click();
    QCOMPARE(w->Display()->CurrentQuestion(), 2);
    QVERIFY(w->SheetRow(5)->isVisibleTo(w.get()));
    QVERIFY(!w->SheetRow(2)->isVisibleTo(w.get()));
    QVERIFY(Log().contains(kLogModeByQuestion));
    QVERIFY(Log().contains(kLogNextByQuestion));
  }

  void livePageGetsZoomAndFolderName() {
    fx_->writePage(QStringLiteral("system/1/html/q/all/index.html"),
                   QStringLiteral("<p>問題 <span id=\"f\" name=\"FOLDER\"></span></p>"));
    auto w = MakeWindow();
    QSignalSpy ready(w.get(), &TfrmQZMain::pageReady);
    w->show();
    QVERIFY(ready.wait(15000));
    QTRY_VERIFY(!w->FirstActivation);
    QWebEnginePage* page = w->Browser()->page();
    QTRY_COMPARE_WITH_TIMEOUT(
        Eval(page, QStringLiteral("document.getElementById('f').textContent")).toString(),
        InstallationFolderName(), 5000);
    w->findChild<QPushButton*>(QStringLiteral("B_ZoomInBtn"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(Eval(page, QStringLiteral("document.body.style.zoom")).toString(),
                              QStringLiteral("1.1"), 5000);
    QVERIFY(Log().contains(kLogZoomIn));
  }

  void notesReopenTheTimeAndExplanationDoesNot_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QString>("limitAfter");
    QTest::newRow("notes") << QStringLiteral("TyuiBtn") << QStringLiteral("examora::TfrmQZTP0030")
                           << QStringLiteral("QZMain：注意事項ボタン押下")
                           << QStringLiteral("40分");
    QTest::newRow("explanation") << QStringLiteral("OpeExplanaBtn")
                                 << QStringLiteral("examora::TfrmQZQZ0030")
                                 << QStringLiteral("QZMain：操作説明ボタン押下")
                                 << QStringLiteral("30分");
  }
  void notesReopenTheTimeAndExplanationDoesNot() {
    QFETCH(QString, button);
    QFETCH(QString, screen);
    QFETCH(QString, logLine);
    QFETCH(QString, limitAfter);
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    bool opened = false;
    const QByteArray screenClass = screen.toLatin1();
    test::WhenModal(
        [screenClass](QWidget* m) { return m && m->inherits(screenClass.constData()); },
        [&](QWidget* m) {
          opened = true;
          // The proctor extends the time while the screen is open.
          QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("試験時間"),
                           QStringLiteral("add"), QStringLiteral("10"))
                      .ok);
          static_cast<QDialog*>(m)->done(2);
        });
    w->findChild<QPushButton*>(button)->click();
    QVERIFY(opened);
    QVERIFY(Log().contains(logLine));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("TimeProgress2"))->text(), limitAfter);
  }

  void topMostUnlessDebug_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("exam") << false;
    QTest::newRow("debug") << true;
  }
  void topMostUnlessDebug() {
    QFETCH(bool, debug);
    auto w = MakeWindow(false, debug);
    w->show();
    QCOMPARE(bool(w->windowFlags() & Qt::WindowStaysOnTopHint), !debug);
  }

  void overlayKeepsTheMouseOffThePageButScrollsIt() {
    QString tall;
    for (int i = 0; i < 200; ++i) tall += QStringLiteral("<p>行%1</p>").arg(i);
    fx_->writePage(QStringLiteral("system/1/html/q/all/index.html"), tall);
    auto w = MakeWindow();
    QSignalSpy ready(w.get(), &TfrmQZMain::pageReady);
    w->show();
    QVERIFY(ready.wait(15000));
    auto* overlay = w->findChild<TransparentOverlay*>(QStringLiteral("NkTransparent"));
    QVERIFY(overlay && overlay->isVisible());
    // It stops short of the page's vertical scroll bar (measured in the page itself), which
    // stays free for the mouse; there is no horizontal bar, so it covers the full height.
    const int bar = Eval(w->Browser()->page(),
                         QStringLiteral("window.innerWidth - document.documentElement.clientWidth"))
                        .toInt();
    QVERIFY(bar > 0);
    const QRect page = w->Browser()->geometry();
    QTRY_COMPARE(overlay->geometry(), page.adjusted(0, 0, -bar, 0));
    const QPoint onBar = w->Browser()->mapTo(w.get(), QPoint(page.width() - bar / 2, 20));
    QVERIFY(w->childAt(onBar) != overlay);
    // A click lands on the overlay, not on the page, and gives the page the focus.
    const QPoint centre = overlay->rect().center();
    QCOMPARE(w->childAt(overlay->mapTo(w.get(), centre)), overlay);
    QSignalSpy pressed(overlay, &TransparentOverlay::pressed);
    QTest::mouseClick(overlay, Qt::LeftButton, {}, centre);
    QCOMPARE(pressed.count(), 1);
    // Wheel down over the overlay scrolls the page one line.
    QWheelEvent wheel(QPointF(centre), QPointF(overlay->mapToGlobal(centre)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(overlay, &wheel);
    QTRY_COMPARE_WITH_TIMEOUT(Eval(w->Browser()->page(), QStringLiteral("window.scrollY")).toInt(),
                              TransparentOverlay::kLinePixels, 5000);
  }

  // Moving the bar between the page and the sheet refits the overlay: a page that becomes too
  // narrow for its content gains a horizontal scroll bar, which stays free for the mouse.
  void movedSplitterRefitsTheOverlay() {
    auto w = MakeWindow();
    QSignalSpy ready(w.get(), &TfrmQZMain::pageReady);
    w->show();
    QVERIFY(ready.wait(15000));
    QWebEnginePage* page = w->Browser()->page();
    QVERIFY(Eval(page,
                 u"var d=document.createElement('div');d.style.width="
                 u"(window.innerWidth-40)+'px';d.style.height='10px';"
                 u"document.body.appendChild(d);true"_s)
                .toBool());
    auto* overlay = w->findChild<TransparentOverlay*>(u"NkTransparent"_s);
    auto* splitter = w->findChild<QWidget*>(u"Splitter1"_s);
    QVERIFY(overlay && splitter && splitter->isVisible());
    const int pageWidth = w->Browser()->width();
    QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(1, 50));
    QTest::mouseMove(splitter, QPoint(1 - 100, 50));
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(1 - 100, 50));
    QCOMPARE(w->Browser()->width(), pageWidth - 100);
    QCOMPARE(splitter->x(), w->Browser()->geometry().right() + 1);
    const auto bottomBar = [page] {
      return Eval(page, u"window.innerHeight-document.documentElement.clientHeight"_s).toInt();
    };
    QTRY_VERIFY_WITH_TIMEOUT(bottomBar() > 0, 5000);
    QTRY_COMPARE(overlay->height(), w->Browser()->height() - bottomBar());
  }

  // One wheel message moves the tree by one node and the sheet by one row, however far the
  // wheel was turned. (Over a choice the system's wheel message climbs to the sheet; the
  // desktop walk turns the real wheel there.)
  void wheelMovesOneLinePerMessage_data() {
    QTest::addColumn<QString>("over");
    QTest::newRow("question tree") << u"tree"_s;
    QTest::newRow("answer sheet") << u"sheet"_s;
  }
  void wheelMovesOneLinePerMessage() {
    QFETCH(QString, over);
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    w->resize(1024, 260);
    auto* tree = w->findChild<QTreeWidget*>(u"QuestionTree"_s);
    auto* sheet = w->findChild<QScrollArea*>(u"KaitoScrollBox"_s);
    const bool onTree = over == u"tree";
    // The line at the top: a node of the tree, or the first row of the sheet in full view.
    const auto topLine = [&]() -> const void* {
      if (onTree) return tree->itemAt(QPoint(4, 2));
      for (int r = 1; w->SheetRow(r); ++r) {
        if (w->SheetRow(r)->mapTo(sheet->viewport(), QPoint(0, 0)).y() >= 0) return w->SheetRow(r);
      }
      return nullptr;
    };
    const auto lineBelow = [&](const void* line) -> const void* {
      if (onTree) return tree->itemBelow(static_cast<const QTreeWidgetItem*>(line));
      for (int r = 1; w->SheetRow(r); ++r) {
        if (w->SheetRow(r) == line) return w->SheetRow(r + 1);
      }
      return nullptr;
    };
    QWidget* target = onTree ? tree->viewport() : sheet->viewport();
    const auto turn = [&](int delta) {
      const QPointF at(target->width() / 2.0, target->height() / 2.0);
      QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(target, &wheel);
    };
    const void* first = topLine();
    QVERIFY(first && lineBelow(first));
    turn(-360);  // three notches in one message
    QCOMPARE(topLine(), lineBelow(first));
    turn(120);
    QCOMPARE(topLine(), first);
  }

  void paperThatCannotBeShownEndsTheWindow_data() {
    QTest::addColumn<bool>("noModes");
    QTest::addColumn<QString>("message");
    QTest::newRow("no display mode")
        << true << QStringLiteral("表示方法が一つも選択されていません。");
    QTest::newRow("too many rows")
        << false << QStringLiteral("問題数が多すぎるため、解答欄を作成できません。");
  }
  void paperThatCannotBeShownEndsTheWindow() {
    QFETCH(bool, noModes);
    QFETCH(QString, message);
    if (noModes) {
      for (const QString& key :
           {QStringLiteral("全体"), QStringLiteral("問題別"), QStringLiteral("設問別")}) {
        QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("基本情報"), key,
                         QStringLiteral("0"))
                    .ok);
      }
    } else {
      fx_->knowledgePart(QStringLiteral("1"), {60, 60});
    }
    QString shown;
    test::WhenModal([](QWidget* m) { return qobject_cast<QMessageBox*>(m) != nullptr; },
                    [&](QWidget* box) {
                      shown = static_cast<QMessageBox*>(box)->text();
                      test::ClickButton(QMessageBox::Ok)(box);
                    });
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(shown.contains(message));
    QVERIFY(w->EndProgramRequested);
    QVERIFY(w->FirstActivation);  // the exam never started
    QCOMPARE(w->LastCloseReason(), CloseReason::SetupFailed);
  }

  void failedSaveIsShownAndTheChoiceKept() {
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    // A folder where the answer file should be: the save cannot replace it.
    fx_->removeFile(QStringLiteral("system/1/a.csv"));
    fx_->makeDir(QStringLiteral("system/1/a.csv/x"));
    QString shown;
    test::WhenModal([](QWidget* m) { return qobject_cast<QMessageBox*>(m) != nullptr; },
                    [&](QWidget* box) {
                      shown = static_cast<QMessageBox*>(box)->text();
                      test::ClickButton(QMessageBox::Ok)(box);
                    });
    w->RadioButton(2, 3)->click();
    QVERIFY2(shown.contains(QStringLiteral("解答の保存に失敗しました。")), qPrintable(shown));
    QVERIFY(w->RadioButton(2, 3)->isChecked());
    QCOMPARE(w->Sheet().Answer(1), QStringLiteral("3"));
  }

  // Mouse, keyboard and an assistive tool's actions all record the choice, and the sheet never
  // shows a choice the answer file does not hold.
  void everyWayOfChoosingRecordsTheAnswer_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"mouse", "space", "arrow key", "accessible press", "accessible toggle"})
      QTest::newRow(way) << QString::fromLatin1(way);
  }
  void everyWayOfChoosingRecordsTheAnswer() {
    QFETCH(QString, way);
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    QRadioButton* radio = w->RadioButton(3, 2);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(radio);
    QVERIFY(a);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("問題1-2 イ"));
    if (way == u"mouse") {
      QTest::mouseClick(radio, Qt::LeftButton);
    } else if (way == u"space") {
      radio->setFocus();
      QTest::keyClick(radio, Qt::Key_Space);
    } else if (way == u"arrow key") {
      w->RadioButton(3, 1)->click();
      w->RadioButton(3, 1)->setFocus();
      QTest::keyClick(w->RadioButton(3, 1), Qt::Key_Right);
    } else {
      QVERIFY(a->actionInterface());
      a->actionInterface()->doAction(way == u"accessible press"
                                         ? QAccessibleActionInterface::pressAction()
                                         : QAccessibleActionInterface::toggleAction());
    }
    QStringList answers(9);
    answers[1] = QStringLiteral("2");
    QTRY_COMPARE(fx_->readBytes(QStringLiteral("system/1/a.csv")), ExpectedRecord(answers));
    QVERIFY(radio->isChecked());
    // The tree says in words what its colour says.
    QTreeWidgetItem* q1 = w->Tree()->topLevelItem(0);
    QCOMPARE(q1->child(1)->data(0, Qt::AccessibleDescriptionRole).toString(),
             QStringLiteral("解答済み"));
    QCOMPARE(q1->data(0, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("未解答"));
  }

  // The fifth choice lies inside the sheet, left of its scroll bar, where a click reaches it.
  // A display zoom (Windows' 125 % or 150 %, QT_SCALE_FACTOR here) scales every window as a
  // whole, so what it changes for the layout is the screen size in device-independent pixels.
  void fifthChoiceIsReachable_data() {
    QTest::addColumn<QSize>("window");
    QTest::newRow("1280 x 1024") << QSize(1280, 1024);
    QTest::newRow("1024 x 768") << QSize(1024, 768);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
    QTest::newRow("1280 x 1024 at 125 %") << QSize(1024, 819);
    QTest::newRow("1920 x 1080 at 125 %") << QSize(1536, 864);
    QTest::newRow("1920 x 1080 at 150 %") << QSize(1280, 720);
    QTest::newRow("1366 x 768 at 125 %") << QSize(1093, 614);
  }
  void fifthChoiceIsReachable() {
    QFETCH(QSize, window);
    fx_->knowledgePart(QStringLiteral("1"), {2, 3, 4}, 5);
    auto w = MakeWindow();
    w->setGeometry(QRect(QPoint(0, 0), window));
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    for (int row : {2, 3}) {
      QRadioButton* fifth = w->RadioButton(row, 5);
      QVERIFY(fifth->isVisible());
      const QPoint centre = fifth->mapTo(w.get(), fifth->rect().center());
      QCOMPARE(w->childAt(centre), fifth);
    }
    auto* letter = w->findChild<QLabel*>(QStringLiteral("Setu5Lbl1"));
    QVERIFY(letter && letter->isVisible());
    const QWidget* viewport =
        w->findChild<QScrollArea*>(QStringLiteral("KaitoScrollBox"))->viewport();
    QVERIFY(
        viewport->rect().contains(QRect(letter->mapTo(viewport, QPoint(0, 0)), letter->size())));
  }

  // With only sub-questions in the sheet (no question headings), a strip above it names the
  // columns; otherwise the heading rows do.
  void columnCaptionsAboveTheSheet_data() {
    QTest::addColumn<QString>("subQuestionsOnly");
    QTest::addColumn<int>("choices");
    QTest::addColumn<QStringList>("captions");
    const QStringList four = {QStringLiteral("ア"), QStringLiteral("イ"), QStringLiteral("ウ"),
                              QStringLiteral("エ")};
    QTest::newRow("headings in the sheet") << "0" << 4 << QStringList();
    QTest::newRow("sub-questions only") << "1" << 4 << four;
    QTest::newRow("sub-questions only, five choices")
        << "1" << 5 << (four + QStringList{QStringLiteral("オ")});
  }
  void columnCaptionsAboveTheSheet() {
    QFETCH(QString, subQuestionsOnly);
    QFETCH(int, choices);
    QFETCH(QStringList, captions);
    fx_->knowledgePart(QStringLiteral("1"), {2, 3, 4}, choices);
    QVERIFY(WriteIni(SetupIniPath(QStringLiteral("1")), QStringLiteral("基本情報"),
                     QStringLiteral("設問表示のみ"), subQuestionsOnly));
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    auto* strip = w->findChild<QWidget*>(QStringLiteral("KaitoLabelPnl"));
    QStringList shown;
    if (strip && strip->isVisible()) {
      for (int c = 1; c <= 5; ++c) {
        auto* letter = strip->findChild<QLabel*>(QStringLiteral("Kaito%1Lbl").arg(c));
        if (letter && letter->isVisible()) shown << letter->text();
      }
      // The sheet starts below the strip.
      auto* sheet = w->findChild<QScrollArea*>(QStringLiteral("KaitoScrollBox"));
      QCOMPARE(sheet->y(), strip->geometry().bottom() + 1);
    }
    QCOMPARE(shown, captions);
  }

  void runnerIsRegistered() {
    RegisterExamWindows();
    QVERIFY(FindScreenRunner(QStringLiteral("TfrmQZMain")));
  }
};

EXAMORA_TEST(TestQZMain)
#include "tst_qzmain.moc"
