#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTest>

#include "Fixture.h"
#include "ManualClock.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/QZMain3.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace Qt::StringLiterals;

namespace {

// The windows of ours still on the screen, other than the exam window.
QStringList VisibleWindows(const QWidget* except) {
  QStringList names;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != except && w->isVisible()) names << w->objectName();
  return names;
}

}  // namespace

// Exam windows that must end without the candidate's confirmation: the forced end at the time
// limit ends the part whatever the candidate has open (nothing of the ended part may stay on
// the screen, and nothing may end it a second time), and a paper the window cannot show ends
// the program.
class TestExamWindowEnds : public QObject {
  Q_OBJECT

 private slots:
  void closesWhatIsOpen_data() {
    QTest::addColumn<bool>("answerOnly");
    QTest::addColumn<QString>("open");  // the screen up when the limit comes
    QTest::newRow("answer-only window, confirmation") << true << u"TfrmQZQZ0020"_s;
    QTest::newRow("answer-only window, notes cover") << true << u"TfrmQZTP0030"_s;
    QTest::newRow("knowledge window, notes cover") << false << u"TfrmQZTP0030"_s;
  }
  void closesWhatIsOpen() {
    QFETCH(bool, answerOnly);
    QFETCH(QString, open);
    test::FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    const QString setup = SetupIniPath(u"1"_s);
    QVERIFY(WriteIni(setup, u"基本情報"_s, u"強制終了"_s, u"1"_s).ok);
    QVERIFY(WriteIni(setup, u"基本情報"_s, u"受験タイプ"_s, answerOnly ? u"3"_s : u"1"_s).ok);
    QVERIFY(WriteIni(setup, u"試験時間"_s, u"all"_s, u"1"_s).ok);
    // A sample exam is scored at its end: a second end would score it again.
    QVERIFY(WriteIni(SystemIniPath(), u"基本情報"_s, u"サンプル問題"_s, u"1"_s).ok);

    test::ManualClock clock;
    std::unique_ptr<QDialog> window;
    ExamClock* examClock = nullptr;
    std::function<void()> openScreen;
    if (answerOnly) {
      auto* w = new TfrmQZMain3(nullptr, &clock);
      w->SetPart(u"1"_s, false);
      window.reset(w);
      openScreen = [w, open] {
        if (open == u"TfrmQZTP0030")
          w->TyuiBtnClick();
        else
          w->EndBtnClick();
      };
    } else {
      auto* w = new TfrmQZMain(nullptr, &clock);
      w->SetPart(u"1"_s, false);
      w->setGeometry(0, 0, 1024, 768);
      window.reset(w);
      openScreen = [w] { w->findChild<QAbstractButton*>(u"TyuiBtn"_s)->click(); };
    }
    window->show();
    QVERIFY(QTest::qWaitFor(
        [&] {
          if (auto* w = qobject_cast<TfrmQZMain3*>(window.get())) {
            if (w->FirstActivation) w->FormActivate();
            examClock = w->Clock();
            return !w->FirstActivation;
          }
          auto* w = static_cast<TfrmQZMain*>(window.get());
          examClock = w->Clock();
          return !w->FirstActivation;
        },
        10000));

    int scored = 0;
    QStringList leftOpen;
    test::WhenModal(
        [open](QWidget* w) { return w->objectName() == open; },
        [&](QWidget* screen) {
          test::WhenModal(
              [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
              [&](QWidget* box) {
                test::WhenModal(
                    [](QWidget* w) { return qobject_cast<TfrmQZTP0040*>(w) != nullptr; },
                    [&](QWidget* s) {
                      ++scored;
                      static_cast<TfrmQZTP0040*>(s)->EndBtn->click();
                    });
                test::ClickButton(QMessageBox::Ok)(box);
              });
          clock.ms += 60'000;
          examClock->ShikenTimerTimer();
          // The forced end has run its course (message, scoring) within the tick.
          leftOpen = VisibleWindows(window.get());
          if (auto* confirm = qobject_cast<TfrmQZQZ0020*>(screen);
              confirm && confirm->isVisible()) {
            // What a candidate would do with a confirmation left on the screen.
            test::WhenModal([](QWidget* w) { return qobject_cast<TfrmQZTP0040*>(w) != nullptr; },
                            [&](QWidget* s) {
                              ++scored;
                              static_cast<TfrmQZTP0040*>(s)->EndBtn->click();
                            });
            confirm->OKBtn->click();
          }
          CloseOwnedWindows(window.get());  // unwinds what the window left open
        },
        10000);
    openScreen();
    QTRY_VERIFY(!window->isVisible());
    QVERIFY2(leftOpen.isEmpty(), qPrintable(leftOpen.join(u", "_s)));
    QCOMPARE(scored, 1);
    QVERIFY(VisibleWindows(window.get()).isEmpty());
    SetExeFolder(QString());
  }

  // A paper the answer sheet cannot hold ends the program after its message, as in the
  // knowledge window; it must not run as an exam that records nothing.
  void answerOnlyPaperOverTheSheet() {
    test::FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);  // 2, 3 and 4 sub-questions
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    const QString setup = SetupIniPath(u"1"_s);
    QVERIFY(WriteIni(setup, u"基本情報"_s, u"受験タイプ"_s, u"3"_s).ok);
    // 3 heading rows and 2 + 3 + 96 sub-questions: 104 rows.
    for (int s = 5; s <= 96; ++s)
      QVERIFY(WriteIni(setup, u"選択数"_s, u"3-%1"_s.arg(s), u"4"_s).ok);
    TfrmQZMain3 window;
    window.SetPart(u"1"_s, true);
    QString message;
    test::WhenModal([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                    [&](QWidget* box) {
                      message = static_cast<QMessageBox*>(box)->text();
                      test::ClickButton(QMessageBox::Ok)(box);
                    });
    window.show();
    QTRY_VERIFY(!window.isVisible());
    QVERIFY2(message.contains(u"解答欄を作成できません"_s), qPrintable(message));
    QVERIFY(window.EndProgramRequested);
    SetExeFolder(QString());
  }

  // The answer-only window's title band is painted once, as wide as the screen: widened by
  // the candidate (or restored wider), the window shows the band to its right edge.
  void answerOnlyTitleBandCoversAWiderWindow() {
    test::FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    fx.makeDir(u"system/Image"_s);
    QImage band(64, 90, QImage::Format_RGB32);
    band.fill(QColor(250, 10, 10));
    QVERIFY(band.save(fx.path(u"system/Image/main_top_z.jpg"_s), "JPEG"));
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    QVERIFY(WriteIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"受験タイプ"_s, u"3"_s).ok);
    TfrmQZMain3 window;
    window.SetPart(u"1"_s, true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(480, window.height());
    const QImage drawn = window.grab().toImage();
    const QColor right = drawn.pixelColor(window.width() - 5, 30);
    QVERIFY2(right.red() > 200 && right.green() < 60, qPrintable(right.name()));
    SetExeFolder(QString());
  }
};

EXAMORA_TEST(TestExamWindowEnds)
#include "tst_examwindowends.moc"
