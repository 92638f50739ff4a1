#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "Fixture.h"
#include "ManualClock.h"
#include "ModalDriver.h"
#include "ScriptedOffice.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "completion/QZTP0050.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/QZMainRules.h"
#include "flow/QZQZ0050.h"
#include "flow/QZTP0200.h"
#include "widgets/NumericEdit.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace Qt::StringLiterals;

namespace {

using FakeClock = test::ManualClock;

template <typename T>
test::ModalMatch Is() {
  return [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; };
}

QStringList ListLines(const TfrmQZQZ0020* confirm) {
  QStringList lines;
  for (int i = 0; i < confirm->kaitoBox->count(); ++i) lines << confirm->kaitoBox->item(i)->text();
  return lines;
}

}  // namespace

// How the knowledge window ends: the confirmation, what is recorded, the sample scoring, the
// time-over end with the proctor's extension, the forced end, the practice end.
class TestQZMainEnding : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;
  FakeClock clock_;

  std::unique_ptr<TfrmQZMain> MakeWindow(bool practice = false, bool debug = false) {
    auto w = std::make_unique<TfrmQZMain>(nullptr, &clock_);
    w->SetPart(u"1"_s, debug);
    w->VenueCode = u"01234"_s;
    w->CandidateNumber = u"1001"_s;
    w->PracticeMode = practice;
    w->setGeometry(0, 0, 1024, 768);
    return w;
  }
  std::unique_ptr<TfrmQZMain> StartedWindow(bool practice = false, bool debug = false) {
    auto w = MakeWindow(practice, debug);
    w->show();
    if (!QTest::qWaitFor([&] { return !w->FirstActivation; }, 10000)) return nullptr;
    return w;
  }
  QString Log(const QString& part = u"1"_s) const {
    return FromCp932(fx_->readBytes(u"system/"_s + part + u"/log.txt"_s));
  }
  QString NormalEnd() const {
    return fx_->readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s);
  }
  void SetIni(const QString& path, const QString& section, const QString& key,
              const QString& value) {
    QVERIFY(WriteIni(path, section, key, value).ok);
  }
  void CopyPracticeFolder() {
    const QString from = fx_->path(u"system/1"_s);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      QFile f(file);
      QVERIFY(f.open(QIODevice::ReadOnly));
      fx_->writeFile(u"system/Z1/"_s + QDir(from).relativeFilePath(file), f.readAll());
    }
  }
  // Moves the clock on and runs one tick, as the timer would.
  void Tick(TfrmQZMain* w, qint64 seconds) {
    clock_.ms += seconds * 1000;
    w->Clock()->ShikenTimerTimer();
  }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() {
    fx_.reset();
    SetExeFolder(QString());
  }

  void rules_data() {
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<bool>("debug");
    QTest::addColumn<bool>("sample");
    QTest::addColumn<QString>("recorded");
    QTest::newRow("before time") << false << false << false << u"E"_s;
    QTest::newRow("after time-over") << true << false << false << u"T"_s;
    QTest::newRow("debug") << true << true << false << QString();
    QTest::newRow("sample exam") << false << false << true << QString();
  }
  void rules() {
    QFETCH(bool, timeOver);
    QFETCH(bool, debug);
    QFETCH(bool, sample);
    QFETCH(QString, recorded);
    QCOMPARE(NormalEndToRecord(timeOver, debug, sample), recorded);

    const QuestionTree tree({2, 3, 4}, false);
    QCOMPARE(TopLevelNodeAt(tree, 0), 0);
    QCOMPARE(TopLevelNodeAt(tree, 1), 3);
    QCOMPARE(TopLevelNodeAt(tree, 2), 7);
    QCOMPARE(TopLevelNodeAt(tree, 3), -1);
    QCOMPARE(TopLevelNodeAt(tree, -1), -1);
  }

  // The confirmation lists the answer status of the window's answers; "はい" ends the part
  // and records the end unless it is a debug run; a sample exam records nothing and shows
  // its score first.
  void confirmedEnd_data() {
    QTest::addColumn<bool>("debug");
    QTest::addColumn<bool>("sample");
    QTest::addColumn<QString>("recorded");
    QTest::newRow("exam") << false << false << u"E"_s;
    QTest::newRow("-debug") << true << false << QString();
    QTest::newRow("sample exam") << false << true << QString();
  }
  void confirmedEnd() {
    QFETCH(bool, debug);
    QFETCH(bool, sample);
    QFETCH(QString, recorded);
    if (sample) SetIni(SystemIniPath(), u"基本情報"_s, u"サンプル問題"_s, u"1"_s);
    auto w = StartedWindow(false, debug);
    QVERIFY(w);
    w->RadioButton(3, 2)->click();
    for (int row = 9; row <= 12; ++row) w->RadioButton(row, 1)->click();

    QStringList lines;
    bool scored = false;
    QString total;
    test::WhenModal(Is<TfrmQZQZ0020>(), [&](QWidget* m) {
      auto* confirm = static_cast<TfrmQZQZ0020*>(m);
      lines = ListLines(confirm);
      QVERIFY(!confirm->TimeOver);
      QVERIFY(confirm->CancelBtn->isVisible());
      if (sample) {
        test::WhenModal(Is<TfrmQZTP0040>(), [&](QWidget* s) {
          scored = true;
          QVERIFY(!w->isVisible());
          total = static_cast<TfrmQZTP0040*>(s)->GokeiLbl->text();
          static_cast<TfrmQZTP0040*>(s)->EndBtn->click();
        });
      }
      confirm->OKBtn->click();
    });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();

    QCOMPARE(lines, QStringList({u"問題 1  2問中 1問解答済み　"_s, u"問題 2  3問　未解答"_s,
                                 u"問題 3  4問中全問解答済み　"_s}));
    QVERIFY(!w->isVisible());
    QVERIFY(!w->Clock()->IsRunning());
    QVERIFY(!w->EndProgramRequested);
    QCOMPARE(NormalEnd(), recorded);
    QVERIFY(Log().contains(u"QZMain：知識試験終了処理1"_s));
    QVERIFY(Log().contains(u"QZMain：知識試験終了処理2"_s));
    QCOMPARE(scored, sample);
    if (sample) QVERIFY2(total.startsWith(u"合計　"_s), qPrintable(total));
    QVERIFY(!w->ConfirmForm);
  }

  // "いいえ" returns to the running exam; a double-click on a line shows that question.
  void refusedAndJump() {
    auto w = StartedWindow();
    QVERIFY(w);
    test::WhenModal(Is<TfrmQZQZ0020>(),
                    [](QWidget* m) { static_cast<TfrmQZQZ0020*>(m)->CancelBtn->click(); });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(w->isVisible());
    QVERIFY(w->Clock()->IsRunning());
    QVERIFY(NormalEnd().isEmpty());

    test::WhenModal(Is<TfrmQZQZ0020>(), [](QWidget* m) {
      // The screen's own tests double-click the list; here the line's handler is enough.
      static_cast<TfrmQZQZ0020*>(m)->KaitoBoxDblClick(2);
    });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(w->isVisible());
    QCOMPARE(w->Tree()->currentItem(), w->Tree()->topLevelItem(2));
    QVERIFY(Log().contains(u"QZMain：知識試験終了キャンセル＞画面スクロール処理"_s));
    QVERIFY(NormalEnd().isEmpty());
    QVERIFY(w->Clock()->IsRunning());
  }

  // Time control: at the limit the compulsory confirmation comes; the proctor's extension in
  // it resumes the exam with the time re-read; at the new limit the candidate ends with "T".
  void timeOverWithExtension() {
    SetIni(SystemIniPath(), u"基本情報"_s, u"タイムコントロール"_s, u"1"_s);
    SetIni(SetupIniPath(u"1"_s), u"試験時間"_s, u"all"_s, u"3"_s);
    auto w = StartedWindow();
    QVERIFY(w);

    bool compulsory = false;
    test::WhenModal(Is<TfrmQZQZ0020>(), [&](QWidget* m) {
      auto* confirm = static_cast<TfrmQZQZ0020*>(m);
      compulsory = confirm->TimeOver && !confirm->CancelBtn->isVisible() &&
                   confirm->OKBtn->text() == u"試験終了"_s;
      test::WhenModal(Is<TfrmQZTP0200>(), [](QWidget* input) {
        // The result screen follows the stored extension.
        test::WhenModal({}, [](QWidget* result) { static_cast<QDialog*>(result)->done(1); });
        static_cast<TfrmQZTP0200*>(input)->TimeNEdt->setText(u"2"_s);
        static_cast<TfrmQZTP0200*>(input)->OkBtn->click();
      });
      // Ctrl+Shift+T; the screen's own tests press the keys.
      confirm->ShortCutSCTExecute();
    });
    Tick(w.get(), 3 * 60 + 1);
    QVERIFY(compulsory);
    QVERIFY(w->isVisible());
    QVERIFY(!w->TimeOver());
    QVERIFY(w->Clock()->IsRunning());
    QCOMPARE(w->Clock()->TotalMinutes, 5);
    QCOMPARE(w->findChild<QLabel*>(u"TimeProgress2"_s)->text(), u" 5分"_s);
    QVERIFY(NormalEnd().isEmpty());

    // Counted on from the stored minute against the new limit.
    test::WhenModal(Is<TfrmQZQZ0020>(), [&](QWidget* m) {
      QVERIFY(static_cast<TfrmQZQZ0020*>(m)->TimeOver);
      static_cast<TfrmQZQZ0020*>(m)->OKBtn->click();
    });
    Tick(w.get(), 2 * 60);
    QVERIFY(!w->isVisible());
    QCOMPARE(NormalEnd(), u"T"_s);
    QVERIFY(Log().contains(u"QZMain：試験時間終了処理"_s));
  }

  // A confirmation already open at the limit is left alone; the clock counts on.
  void limitWhileConfirmationOpen() {
    SetIni(SystemIniPath(), u"基本情報"_s, u"タイムコントロール"_s, u"1"_s);
    SetIni(SetupIniPath(u"1"_s), u"試験時間"_s, u"all"_s, u"1"_s);
    auto w = StartedWindow();
    QVERIFY(w);
    bool stayed = false;
    test::WhenModal(Is<TfrmQZQZ0020>(), [&](QWidget* m) {
      auto* confirm = static_cast<TfrmQZQZ0020*>(m);
      Tick(w.get(), 90);
      stayed = !w->TimeOver() && w->Clock()->IsRunning() && confirm->isVisible() &&
               QApplication::activeModalWidget() == confirm;
      confirm->CancelBtn->click();
    });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(stayed);
    QVERIFY(w->isVisible());
    QVERIFY(NormalEnd().isEmpty());
  }

  // Forced end: the Q11 message, "E", the scoring screen, no confirmation, program end.
  // The forced end also comes through while the candidate has the confirmation open.
  void forcedEnd_data() {
    QTest::addColumn<bool>("confirmationOpen");
    QTest::newRow("exam running") << false;
    QTest::newRow("confirmation open") << true;
  }
  void forcedEnd() {
    QFETCH(bool, confirmationOpen);
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"強制終了"_s, u"1"_s);
    SetIni(SetupIniPath(u"1"_s), u"試験時間"_s, u"all"_s, u"1"_s);
    auto w = StartedWindow();
    QVERIFY(w);
    QString message;
    bool scored = false;
    test::WhenModal(Is<QMessageBox>(), [&](QWidget* box) {
      message = static_cast<QMessageBox*>(box)->text();
      test::WhenModal(Is<TfrmQZTP0040>(), [&](QWidget* s) {
        scored = true;
        static_cast<TfrmQZTP0040*>(s)->EndBtn->click();
      });
      test::ClickButton(QMessageBox::Ok)(box);
    });
    if (confirmationOpen) {
      test::WhenModal(Is<TfrmQZQZ0020>(), [&](QWidget*) { Tick(w.get(), 60); });
      w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    } else {
      Tick(w.get(), 60);
    }
    QVERIFY(message.contains(u"制限時間が来ましたので、受験プログラムを終了します。"_s));
    QVERIFY(scored);
    QVERIFY(!w->isVisible());
    QVERIFY(w->EndProgramRequested);
    QCOMPARE(NormalEnd(), u"E"_s);
    QCOMPARE(Log().contains(u"QZQZ0020：開始"_s), confirmationOpen);
    QVERIFY(!w->ConfirmForm);
    QVERIFY(!w->Clock()->IsRunning());
  }

  // The practice ends through its own confirmation and leaves its layout for the real exam,
  // unless the question area is collapsed.
  void practiceEnd_data() {
    QTest::addColumn<bool>("collapsed");
    QTest::newRow("question area shown") << false;
    QTest::newRow("collapsed") << true;
  }
  void practiceEnd() {
    QFETCH(bool, collapsed);
    CopyPracticeFolder();
    auto w = StartedWindow(true);
    QVERIFY(w);
    w->QuestionAreaCollapsed = collapsed;
    w->CurrentPosition = u"3"_s;
    w->setGeometry(10, 20, 900, 700);

    test::WhenModal(Is<TfrmQZQZ0050>(),
                    [](QWidget* m) { static_cast<TfrmQZQZ0050*>(m)->CancelBtn->click(); });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(w->isVisible());

    test::WhenModal(Is<TfrmQZQZ0050>(),
                    [](QWidget* m) { static_cast<TfrmQZQZ0050*>(m)->OKBtn->click(); });
    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(!w->isVisible());
    QVERIFY(Log().contains(u"QZMain：操作練習終了処理"_s));
    QVERIFY(NormalEnd().isEmpty());
    const auto layout = [&](const QString& key) {
      return fx_->readIni(u"system/1/setup.ini"_s, u"画面情報"_s, key);
    };
    if (collapsed) {
      QVERIFY(layout(u"左"_s).isEmpty());
    } else {
      QCOMPARE(layout(u"位置"_s), u"3"_s);
      QCOMPARE(layout(u"左"_s), u"10"_s);
      QCOMPARE(layout(u"上"_s), u"20"_s);
      QCOMPARE(layout(u"幅"_s), u"900"_s);
      QCOMPARE(layout(u"高さ"_s), u"700"_s);
    }
  }

  // A knowledge window is held on the whole work area, except in a debug run.
  void heldAtTheWorkArea_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("exam") << false;
    QTest::newRow("-debug") << true;
  }
  void heldAtTheWorkArea() {
    QFETCH(bool, debug);
    auto w = MakeWindow(false, debug);
    w->WorkArea = QRect(0, 0, 1000, 700);
    w->show();
    w->setGeometry(40, 50, 600, 400);
    QCOMPARE(w->geometry() == QRect(0, 0, 1000, 700), !debug);
  }

  // A practical part in this window: its initial layout on the right, kept reachable when
  // moved, the on-top guard running from the first activation, and the modeless
  // confirmation that leaves the exam running.
  void practicalPartPlacementAndGuard() {
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"試験区分"_s, u"2"_s);
    auto w = MakeWindow();
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    const ScreenMetrics metrics = CurrentScreenMetrics();
    QCOMPARE(w->CurrentPosition, u"4"_s);
    QCOMPARE(w->geometry().right() + 1, metrics.cxScreen);
    QCOMPARE(w->minimumWidth(), w->Placement().minTrackWidth);
    QVERIFY(w->Guard()->NotOpMostTimer.isActive());
    QVERIFY(w->Guard()->ErrDialogCheckTimer.isActive());

    w->move(-2000, 100000);
    QCOMPARE(w->pos(), QPoint(-252, metrics.cyScreen - 140));

    w->findChild<QPushButton*>(u"EndBtn"_s)->click();
    QVERIFY(w->ConfirmForm);
    QVERIFY(w->ConfirmForm->isVisible());
    QVERIFY(w->isVisible());
    QVERIFY(!w->Guard()->NotOpMostTimer.isActive());
    QVERIFY(w->Clock()->IsRunning());
    // Confirmed in the confirmation: the part ends and records "E".
    w->ConfirmAndClose();
    QVERIFY(!w->isVisible());
    QCOMPARE(NormalEnd(), u"E"_s);
    QVERIFY(!w->Guard()->ErrDialogCheckTimer.isActive());
  }

  // The controller runs the window as an application-modal dialog: that run is not a dialog
  // of ours over the window, so the guard keeps raising it and the dialog watch keeps it on top.
  void guardedUnderItsOwnModalRun() {
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"試験区分"_s, u"2"_s);
    auto w = MakeWindow();
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    QTRY_VERIFY(!w->FirstActivation);
    QCOMPARE(QApplication::activeModalWidget(), w.get());
    w->Guard()->ErrDialogCheckTimer.setInterval(20);
    const int first = w->Guard()->NotOpMostTimer.interval();
    QTRY_VERIFY(w->Guard()->NotOpMostTimer.interval() > first + 100);  // raised, backing off
    QTest::qWait(100);
    QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!Log().contains(u"エラーダイアログ存在"_s));
  }

  // A practical part with an expected office version: the right one running lets the set-up
  // go on without a word; none running brings up the check dialog, whose "終了する" ends the
  // program before the exam starts.
  void officeApplicationCheckAtSetUp_data() {
    QTest::addColumn<QString>("expected");  // APPVERチェック文字
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("inDialog");  // "", "end", "start"
    QTest::newRow("right version running") << u"16.0"_s << true << QString();
    QTest::newRow("not running, candidate ends") << u"16.0"_s << false << u"end"_s;
    QTest::newRow("not running, candidate starts it") << u"16.0"_s << false << u"start"_s;
    QTest::newRow("no version to check") << QString() << false << QString();
  }
  void officeApplicationCheckAtSetUp() {
    QFETCH(QString, expected);
    QFETCH(bool, running);
    QFETCH(QString, inDialog);
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"試験区分"_s, u"2"_s);
    SetIni(u"system/system.ini"_s, u"基本情報"_s, u"APP"_s, u"Excel.Application"_s);
    SetIni(u"system/system.ini"_s, u"基本情報"_s, u"APPVERチェック文字"_s, expected);
    SetIni(u"system/system.ini"_s, u"基本情報"_s, u"APP検索名"_s, u"XLMAIN"_s);
    test::ScriptedOffice::Script script;
    script.hasWindow = running;
    script.objectReachable = running;
    test::ScriptedOffice office(script);
    test::ScriptedOffice startedLater(test::ScriptedOffice::Script{});
    // The background window covers the screen; the check wants the application seen.
    QWidget background;
    SetApplicationMainWindow(&background);
    background.show();
    auto w = MakeWindow();
    w->Office = &office;
    std::shared_ptr<test::ModalWait> dialog;
    if (!inDialog.isEmpty()) {
      dialog = test::WhenModal([](QWidget* m) { return m->objectName() == u"TfrmQZTP0050"_s; },
                               [&](QWidget* m) {
                                 auto* check = static_cast<TfrmQZTP0050*>(m);
                                 if (inDialog == u"start") {
                                   check->Environment = &startedLater;
                                   check->OkBtn->click();
                                   return;
                                 }
                                 test::WhenModalAppears(test::ClickButton(QMessageBox::Yes));
                                 check->EndBtn->click();
                               });
    }
    w->show();
    if (inDialog == u"end") {
      QTRY_VERIFY(dialog->fired());
      QTRY_VERIFY(!w->isVisible());
      QVERIFY(w->EndProgramRequested);
      QVERIFY(!w->SetupDone);
      // The program ends from a window with no width left at the top of the screen.
      QCOMPARE(w->width(), 0);
      QCOMPARE(w->y(), 0);
    } else {
      QTRY_VERIFY(w->SetupDone);
      QVERIFY(!w->EndProgramRequested);
      QVERIFY(w->isVisible());
      if (dialog) QVERIFY(dialog->fired());
    }
    QCOMPARE(w->AppCheckPassed, running);
    QCOMPARE(w->AppCheckState, expected.isEmpty() ? QString() : u"3"_s);
    QVERIFY(background.isHidden());
    QVERIFY(Log().contains(u"QZMain：起動ソフト確認"_s));
    SetApplicationMainWindow(nullptr);
  }
  void knowledgePartRunsNoGuard() {
    auto w = StartedWindow();
    QVERIFY(w);
    QVERIFY(!w->Guard()->NotOpMostTimer.isActive());
    QVERIFY(!w->Guard()->ErrDialogCheckTimer.isActive());
  }
};

EXAMORA_TEST(TestQZMainEnding)
#include "tst_qzmainending.moc"
