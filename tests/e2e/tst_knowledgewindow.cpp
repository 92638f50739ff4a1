#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "Fixture.h"
#include "SessionDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "exam/QZMain.h"
#include "flow/ExamWindows.h"
#include "flow/QZBG0010.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

// A fresh knowledge part from the wizard into the exam window, answered and ended there.
class TestKnowledgeWindow : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    UnregisterScreenRunner(u"TfrmQZMain"_s);
    SetApplicationMainWindow(nullptr);
    SetExeFolder(QString());
  }

  void wizardOpensTheWindowAndAnswersReachTheFile_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("exam") << false;
    QTest::newRow("-debug") << true;
  }
  void wizardOpensTheWindowAndAnswersReachTheFile() {
    QFETCH(bool, debug);
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    RegisterExamWindows();

    QByteArray whileRunning;
    bool windowSeen = false;
    int confirmLines = 0;
    WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidate) {
      FillCandidate(candidate);
      WhenModal(IsScreen("examora::TfrmQZTP0030"), [&](QWidget* notes) {
        WhenModal(IsScreen("examora::TfrmQZQZ0030"), [&](QWidget* explanation) {
          WhenModal(IsScreen("examora::TfrmQZTP0060"), [&](QWidget* start) {
            WhenModal(
                IsScreen("examora::TfrmQZMain"),
                [&](QWidget* widget) {
                  auto* window = static_cast<TfrmQZMain*>(widget);
                  windowSeen = true;
                  QCOMPARE(window->DebugMode, debug);
                  QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), !debug);
                  QTRY_VERIFY(!window->FirstActivation);
                  window->RadioButton(3, 2)->click();
                  window->RadioButton(9, 1)->click();
                  whileRunning = fx.readBytes(u"system/1/a.csv"_s);
                  // No later part and no submission tool here: the hand-over says so.
                  // The answer status confirmation, then the hand-over: no later part and no
                  // submission tool here, and the hand-over says so.
                  WhenModal(IsScreen("examora::TfrmQZQZ0020"), [&](QWidget* confirm) {
                    confirmLines = static_cast<TfrmQZQZ0020*>(confirm)->kaitoBox->count();
                    WhenModal(IsScreen("QMessageBox"), ClickButton(QMessageBox::Ok), 20000);
                    static_cast<TfrmQZQZ0020*>(confirm)->OKBtn->click();
                  });
                  Click(window, "EndBtn");
                },
                20000);
            Click(start, "ShikenStartBtn");
          });
          Click(explanation, "EndBtn");
        });
        for (int i = 0; i < 10 && notes->isVisible(); ++i) Click(notes, "NextBtn");
      });
      Click(candidate, "NextBtn");
    });

    TfrmQZBG0010 background(u"[1]知識.exe"_s, debug ? QStringList{u"-debug"_s} : QStringList());
    QVERIFY(background.FormCreate());
    SetApplicationMainWindow(&background);
    QSignalSpy finished(&background, &TfrmQZBG0010::sessionFinished);
    background.show();
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    SetApplicationMainWindow(nullptr);

    QVERIFY(windowSeen);
    // Grade code, part code, venue code, candidate number, one field per sub-question.
    QCOMPARE(whileRunning, ToCp932(u"T3,1,01234,1001,,2,,,,1,,,"_s) + "\r\n");
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"試験開始"_s), u"1"_s);
    QCOMPARE(confirmLines, 3);
    // A debug run never records the end of the part.
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s),
             debug ? QString() : u"E"_s);
  }
};

EXAMORA_TEST(TestKnowledgeWindow)
#include "tst_knowledgewindow.moc"
