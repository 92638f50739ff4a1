#include <QAccessible>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "Fixture.h"
#include "SessionDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/QZMain3.h"
#include "flow/ExamWindows.h"
#include "flow/QZBG0010.h"
#include "flow/QZTP0120.h"
#include "flow/QZTP0130.h"
#include "flow/QZTP0140.h"
#include "flow/QZTP0160.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

// Last: Xlib defines names (Always, None, Bool) that the headers above use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

// Runs action once condition holds, polled through whatever event loop is running then (the
// practice dialogs are not modal, so the modal waits do not see them).
void WebWhen(std::function<bool()> condition, std::function<void()> action) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, waited, condition, action] {
    if (!condition()) {
      if (++*waited > 2000) {
        timer->stop();
        timer->deleteLater();
        QTest::qFail("condition never held", __FILE__, __LINE__);
      }
      return;
    }
    timer->stop();
    timer->deleteLater();
    action();
  });
  timer->start();
}

QStringList WebLogEvents(const FixtureInstallation& fx) {
  QStringList events;
  const QString text = FromCp932(fx.readBytes(u"system/1/log.txt"_s));
  for (const QString& line : text.split(u"\r\n"_s)) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() == 3) events << fields.at(2);
  }
  return events;
}

// True when every expected event appears in the log in this order (others may lie between).
bool InOrder(const QStringList& events, const QStringList& expected, QString* missing) {
  qsizetype at = 0;
  for (const QString& event : expected) {
    at = events.indexOf(event, at);
    if (at < 0) {
      *missing = event;
      return false;
    }
    ++at;
  }
  return true;
}

}  // namespace

// A web-style knowledge part on the session controller with the registered windows: the
// operation practice, the answer-only window and the part end notice, with a real X11 window
// standing in for the file manager's window of the paper's folder.
class TestWebPart : public QObject {
  Q_OBJECT

 private:
  QProcess server_;
  QByteArray savedDisplay_;
  QString savedPath_;
  Display* display_ = nullptr;

 private slots:
  void initTestCase() {
    savedDisplay_ = qgetenv("DISPLAY");
    savedPath_ = qEnvironmentVariable("PATH");
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (xvfb.isEmpty()) QSKIP("Xvfb not installed: the folder window needs an X server");
    server_.start(xvfb, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s,
                         u"640x480x24"_s});
    QVERIFY(server_.waitForStarted());
    QByteArray number;
    while (!number.endsWith('\n') && server_.waitForReadyRead(20000))
      number += server_.readAllStandardOutput();
    QVERIFY(number.endsWith('\n'));
    const QByteArray name = ':' + number.trimmed();
    // The program's window functions talk to this server; the screens stay offscreen.
    qputenv("DISPLAY", name);
    display_ = XOpenDisplay(name.constData());
    QVERIFY(display_);
  }
  void cleanupTestCase() {
    if (display_) XCloseDisplay(display_);
    qputenv("DISPLAY", savedDisplay_);
    qputenv("PATH", savedPath_.toLocal8Bit());
    if (server_.state() != QProcess::NotRunning) {
      server_.terminate();
      server_.waitForFinished(5000);
    }
  }
  void cleanup() {
    for (const char* name : {"TfrmQZMain3", "TfrmQZTP0120", "TfrmQZTP0180", "TfrmQZMain"})
      UnregisterScreenRunner(QString::fromLatin1(name));
    SetApplicationMainWindow(nullptr);
    SetExeFolder(QString());
  }

  void walksThePart_data() {
    QTest::addColumn<bool>("extended");
    QTest::newRow("practice, then the exam") << false;
    QTest::newRow("after an extension, no practice") << true;
  }
  void walksThePart() {
    QFETCH(bool, extended);
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);  // 2, 3 and 4 sub-questions: rows 1 h, 2-3, 4 h, 5-7, 8 h, 9-12
    QString setup = FromCp932(fx.readBytes(u"system/1/setup.ini"_s));
    setup.replace(u"\r\n"_s, u"\n"_s).replace(u"受験タイプ=1"_s, u"受験タイプ=3"_s);
    if (extended) setup.replace(u"延長終了="_s, u"延長終了=1"_s);
    fx.writeIni(u"system/1/setup.ini"_s, setup);
    fx.writeIni(
        u"system/Z1/setup.ini"_s,
        u"[基本情報]\n試験区分=1\n受験タイプ=3\n部種名称=知識練習\n\n[試験時間]\nall=5\n"_s);
    fx.makeDir(u"知識用/question"_s);
    fx.makeDir(u"知識操作練習用/question"_s);
    // The file manager stand-in notes every folder it is asked to open.
    fx.makeDir(u"bin"_s);
    fx.writeFile(u"bin/xdg-open"_s,
                 "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/../opened.txt\"\n");
    QFile::setPermissions(fx.path(u"bin/xdg-open"_s),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", (fx.path(u"bin"_s) + u':' + savedPath_).toLocal8Bit());
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    RegisterExamWindows();

    // The file manager's window of the paper's folder, titled with its full path.
    const QByteArray title = ToNativeSeparators(fx.path(u"知識用/question"_s)).toUtf8();
    const Window folderWindow =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 80, 60, 0, 0, 0);
    XChangeProperty(display_, folderWindow, XInternAtom(display_, "_NET_WM_NAME", False),
                    XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.constData()), int(title.size()));
    Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, folderWindow, &deleteWindow, 1);
    XMapWindow(display_, folderWindow);
    XSync(display_, False);

    bool practiceSeen = false;
    bool dialogsHiddenDuringNotice = false;
    bool answerFileAfterPractice = true;
    bool examGuideSeen = false;
    bool folderWindowThereAtPartEnd = false;
    QByteArray whileRunning;

    auto runExam = [&](QWidget* widget) {
      auto* window = static_cast<TfrmQZMain3*>(widget);
      QVERIFY(!window->PracticeMode);
      if (window->FirstActivation) window->FormActivate();
      QTRY_VERIFY(window->StartPageGuide() && window->StartPageGuide()->isVisible());
      examGuideSeen = window->StartPageGuide()->OkBtn->text() == u"閉じる"_s &&
                      !window->StartPageGuide()->RensyuPnl->isVisibleTo(window->StartPageGuide());
      window->StartPageGuide()->OkBtn->click();
      window->RadioButton(2, 2)->click();  // 1-1 イ
      window->RadioButton(5, 1)->click();  // 2-1 ア
      // 3-4 エ through an assistive tool's toggle, which checks the button without a click.
      QAccessibleInterface* choice =
          QAccessible::queryAccessibleInterface(window->RadioButton(12, 4));
      QVERIFY(choice && choice->actionInterface());
      choice->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
      whileRunning = fx.readBytes(u"system/1/a.csv"_s);
      WhenModal(IsScreen("examora::TfrmQZQZ0020"), [&](QWidget* confirm) {
        WhenModal(
            IsScreen("examora::TfrmQZTP0180"),
            [&](QWidget* notice) {
              XSync(display_, False);
              folderWindowThereAtPartEnd = true;
              // The hand-over that follows finds no later part and no submission tool.
              WhenModal(IsScreen("QMessageBox"), ClickButton(QMessageBox::Ok), 20000);
              Click(notice, "OkBtn");
            },
            20000);
        static_cast<TfrmQZQZ0020*>(confirm)->OKBtn->click();
      });
      Click(window, "EndBtn");
    };

    auto startAgain = [&](QWidget* start) {
      answerFileAfterPractice = fx.exists(u"system/1/a.csv"_s) || fx.exists(u"system/Z1/a.csv"_s);
      WhenModal(IsScreen("examora::TfrmQZMain3"), runExam, 20000);
      Click(start, "ShikenStartBtn");
    };

    auto runPractice = [&](QWidget* widget) {
      auto* guide = static_cast<TfrmQZTP0120*>(widget);
      practiceSeen = true;
      WebWhen([guide] { return guide->Step0130() && guide->Step0130()->isVisible(); },
              [&, guide] {
                guide->Step0130()->OkBtn->click();
                WebWhen(
                    [guide] {
                      return guide->Window() && guide->Step0140() && guide->Step0140()->isVisible();
                    },
                    [&, guide] {
                      auto* window = dynamic_cast<TfrmQZMain3*>(guide->Window());
                      QVERIFY(window && window->PracticeMode);
                      if (window->FirstActivation) window->FormActivate();
                      // A practice answer is never recorded.
                      window->RadioButton(2, 1)->click();
                      // The end button before the practice's last step only explains itself.
                      WhenModal(IsScreen("examora::TfrmQZTP0150"), [&, guide](QWidget* notice) {
                        dialogsHiddenDuringNotice = !guide->Step0140()->isVisible();
                        Click(notice, "OkBtn");
                      });
                      Click(window, "EndBtn");
                      QVERIFY(guide->Step0140()->isVisible());
                      guide->Step0140()->OkBtn->click();
                      QVERIFY(guide->Step0160()->isVisible());
                      WhenModal(IsScreen("examora::TfrmQZTP0060"), startAgain, 20000);
                      WhenModal(IsScreen("examora::TfrmQZTP0090"), ClickButton(u"はい"_s));
                      guide->Step0160()->OkBtn->click();
                    });
              });
      guide->OkBtn->click();
    };

    WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidate) {
      FillCandidate(candidate);
      WhenModal(IsScreen("examora::TfrmQZTP0030"), [&](QWidget* notes) {
        WhenModal(IsScreen("examora::TfrmQZQZ0030"), [&](QWidget* explanation) {
          WhenModal(IsScreen("examora::TfrmQZTP0060"), [&](QWidget* start) {
            if (extended) {
              WhenModal(IsScreen("examora::TfrmQZMain3"), runExam, 20000);
            } else {
              WhenModal(IsScreen("examora::TfrmQZTP0120"), runPractice, 20000);
            }
            Click(start, "ShikenStartBtn");
          });
          Click(explanation, "EndBtn");
        });
        for (int i = 0; i < 10 && notes->isVisible(); ++i) Click(notes, "NextBtn");
      });
      Click(candidate, "NextBtn");
    });

    // A name of its own: the instance lock is machine-wide, and other runs use "[1]知識.exe".
    TfrmQZBG0010 background(u"[1]Web知識.exe"_s, {});
    QVERIFY(background.FormCreate());
    SetApplicationMainWindow(&background);
    QSignalSpy finished(&background, &TfrmQZBG0010::sessionFinished);
    background.show();
    QVERIFY(finished.count() == 1 || finished.wait(90000));
    SetApplicationMainWindow(nullptr);

    QCOMPARE(practiceSeen, !extended);
    QVERIFY(examGuideSeen);
    QVERIFY(folderWindowThereAtPartEnd);
    // Grade code, part code, venue code, candidate number, then the nine sub-questions.
    QCOMPARE(whileRunning, ToCp932(u"T3,1,01234,1001,2,,1,,,,,,4"_s) + "\r\n");
    QCOMPARE(fx.readBytes(u"system/1/a.csv"_s), whileRunning);
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s), u"E"_s);
    QVERIFY(!fx.exists(u"system/Z1/a.csv"_s));

    // The part end notice asked the folder's window to close.
    bool closeRequested = false;
    XSync(display_, False);
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == ClientMessage && event.xclient.window == folderWindow &&
          Atom(event.xclient.data.l[0]) == deleteWindow)
        closeRequested = true;
    }
    XDestroyWindow(display_, folderWindow);
    XSync(display_, False);
    QVERIFY(closeRequested);

    const QStringList events = WebLogEvents(fx);
    QString missing;
    QStringList expected{u"QZBG0010：試験開始"_s};
    if (!extended) {
      QVERIFY(!answerFileAfterPractice);
      QVERIFY(dialogsHiddenDuringNotice);
      expected << u"QZBG0010：操作練習開始"_s << u"QZTP0120：開始"_s << u"QZTP0120：次へ"_s
               << u"QZTP0120：練習用フォルダパスを取得"_s << u"QZTP0120：練習用フォルダを開く"_s
               << u"QZTP0120：練習用フォルダ処理完了"_s << u"QZTP0130：開始"_s
               << u"QZTP0130：次へ >"_s << u"QZTP0140：開始"_s << u"QZMain：開始"_s
               << u"QZTP0150：開始"_s << u"QZTP0140：次へ"_s << u"QZTP0160：開始"_s
               << u"QZTP0160：次へ"_s << u"QZMain：操作練習終了処理"_s;
    } else {
      QVERIFY(!events.contains(u"QZBG0010：操作練習開始"_s));
    }
    expected << u"QZMain：開始"_s << u"QZTP0130：開始"_s << u"QZMain：初期表示完了"_s
             << u"QZMain：操作開始"_s << u"QZTP0130：閉じる"_s << u"QZMain：設問ラジオボタン押下"_s
             << u"QZMain：試験終了ボタン押下"_s << u"QZMain：知識試験終了処理1"_s
             << u"QZMain：知識試験終了処理2"_s << u"QZTP0180：開始"_s;
    QVERIFY2(InOrder(events, expected, &missing), qPrintable(missing));
    // The practice clicked once, the exam three times.
    QCOMPARE(events.count(u"QZMain：設問ラジオボタン押下"_s), 3);
    // The stand-in runs detached: its notes arrive a little later.
    const auto opened = [&fx] { return QString::fromUtf8(fx.readBytes(u"opened.txt"_s)); };
    QTRY_VERIFY_WITH_TIMEOUT(opened().contains(fx.path(u"知識用"_s)), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(opened().contains(fx.path(u"知識操作練習用"_s)), !extended, 5000);
  }
};

EXAMORA_TEST(TestWebPart)
#include "tst_webpart.moc"
