#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include "Fixture.h"
#include "SessionDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/QZMain2.h"
#include "flow/ExamWindows.h"
#include "flow/QZBG0010.h"
#include "flow/QZTP0070.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

// Last: Xlib defines macros that Qt headers must not see.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

QStringList CompactLogEvents(const FixtureInstallation& fx) {
  QStringList events;
  const QString text = FromCp932(fx.readBytes(u"system/1/log.txt"_s));
  for (const QString& line : text.split(u"\r\n"_s)) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() == 3) events << fields.at(2);
  }
  return events;
}

QString ClockText(QWidget* window) {
  return Control<QLabel>(window, "TimeProgress1")->text();
}

}  // namespace

// A practical part worked in outside applications, from the wizard into the compact window
// and out through the practical confirmation to the hand-over.
class TestCompactWindow : public QObject {
  Q_OBJECT

 private slots:
  void init() { savedPath_ = qEnvironmentVariable("PATH"); }
  void cleanup() {
    qputenv("PATH", savedPath_.toLocal8Bit());
    UnregisterScreenRunner(u"TfrmQZMain"_s);
    UnregisterScreenRunner(u"TfrmQZMain2"_s);
    SetApplicationMainWindow(nullptr);
    SetExeFolder(QString());
  }

  void wizardToHandOver_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("exam") << false;
    QTest::newRow("-debug") << true;
  }
  void wizardToHandOver() {
    QFETCH(bool, debug);
    FixtureInstallation fx;
    fx.practicalPart(u"1"_s, u"2"_s);
    // A restarted part: 25 minutes had passed.
    fx.writeIni(u"system/1/setup.ini"_s,
                u"[基本情報]\n試験区分=2\n受験タイプ=2\n部種名称=実技\n注意事項表示=1\n"
                u"補足説明=補足\n試験開始=0\n正常終了=\n延長終了=\n\n"
                u"[試験時間]\nall=40\nadd=0\nnow=25\n"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    // The file manager is a script that notes what it was asked to show.
    QTemporaryDir bin;
    QFile opener(bin.filePath(u"xdg-open"_s));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf '%s' \"$1\" > \"" + fx.path(u"opened"_s).toUtf8() + "\"\n");
    opener.close();
    QVERIFY(opener.setPermissions(opener.permissions() | QFile::ExeOwner));
    qputenv("PATH", (bin.path() + u':' + savedPath_).toLocal8Bit());
    RegisterExamWindows();

    bool windowSeen = false;
    WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidate) {
      FillCandidate(candidate);
      WhenModal(IsScreen("examora::TfrmQZTP0030"), [&](QWidget* notes) {
        WhenModal(IsScreen("examora::TfrmQZQZ0030"), [&](QWidget* explanation) {
          WhenModal(IsScreen("examora::TfrmQZTP0060"), [&](QWidget* start) {
            WhenModal(
                IsScreen("examora::TfrmQZMain2"),
                [&](QWidget* widget) {
                  DriveExam(static_cast<TfrmQZMain2*>(widget), debug, &windowSeen);
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

    TfrmQZBG0010 background(u"[1]実技.exe"_s, debug ? QStringList{u"-debug"_s} : QStringList());
    QVERIFY(background.FormCreate());
    SetApplicationMainWindow(&background);
    QSignalSpy finished(&background, &TfrmQZBG0010::sessionFinished);
    background.show();
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    SetApplicationMainWindow(nullptr);

    QVERIFY(windowSeen);
    QTRY_VERIFY(fx.exists(u"opened"_s));
    QCOMPARE(QString::fromUtf8(fx.readBytes(u"opened"_s)), fx.path(u"実技用"_s));
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"試験開始"_s), u"1"_s);
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s),
             debug ? QString() : u"E"_s);
    const QStringList events = CompactLogEvents(fx);
    for (const QString& line :
         {u"QZMain2：問題表示無し版開始"_s, u"QZMain2：操作開始"_s, u"QZMain2：最小化ボタン押下"_s,
          u"QZMain2：解答確認"_s, u"QZMain2：試験終了"_s})
      QVERIFY2(events.contains(line), qPrintable(line));
  }

  // The supplementary line is read whole beside the clock and the buttons: the strip widens
  // for it, and a web-style part's strip still keeps to the screen's right edge.
  void supplementIsReadWhole_data() {
    QTest::addColumn<QString>("examType");
    QTest::newRow("office part") << u"2"_s;
    QTest::newRow("web-style part") << u"3"_s;
  }
  void supplementIsReadWhole() {
    QFETCH(QString, examType);
    FixtureInstallation fx;
    fx.practicalPart(u"1"_s, examType);
    fx.makeDir(u"system/Z1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    const QString text = u"作成したファイルは「実技用」フォルダー内に保存してください。"_s;
    QVERIFY(WriteIni(SetupIniPath(u"Z1"_s), u"基本情報"_s, u"補足説明"_s, text).ok);
    TfrmQZMain2 strip;
    strip.SetPart(u"1"_s, true);
    strip.PracticeMode = true;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    auto* line = Control<QLabel>(&strip, "HosokuLbl");
    QCOMPARE(line->text(), text);
    QVERIFY(line->width() >= line->fontMetrics().horizontalAdvance(text));
    for (const char* neighbour : {"TimeLbl", "TimeProgress1", "TyuiBtn", "SaisyoBtn", "EndBtn"})
      QVERIFY2(!line->geometry().intersects(Control<QWidget>(&strip, neighbour)->geometry()),
               neighbour);
    if (examType == u"3") QCOMPARE(strip.geometry().right(), strip.screen()->geometry().right());
  }

  // The practice of a type-2 part: "< 戻る" on the end confirmation goes on practising; "はい >"
  // ends it and leaves the strip's layout in the part's own setup.ini for the exam, where the
  // next run opens it.
  void practiceEndKeepsTheLayoutForTheExam() {
    FixtureInstallation fx;
    fx.practicalPart(u"1"_s, u"2"_s);
    fx.makeDir(u"system/Z1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    const QRect moved(120, 200, 500, 61);
    {
      TfrmQZMain2 practice;
      practice.SetPart(u"1"_s, true);
      practice.PracticeMode = true;
      practice.show();
      QVERIFY(QTest::qWaitForWindowExposed(&practice));
      practice.setGeometry(moved);
      WhenModal(IsScreen("examora::TfrmQZQZ0050"),
                [](QWidget* confirm) { Click(confirm, "CancelBtn"); });
      Click(&practice, "EndBtn");
      QVERIFY(practice.isVisible());
      WhenModal(IsScreen("examora::TfrmQZQZ0050"),
                [](QWidget* confirm) { Click(confirm, "OKBtn"); });
      Click(&practice, "EndBtn");
      QVERIFY(!practice.isVisible());
    }
    const QString setup = u"system/1/setup.ini"_s;
    const QRect saved(fx.readIni(setup, u"画面情報"_s, u"左"_s).toInt(),
                      fx.readIni(setup, u"画面情報"_s, u"上"_s).toInt(),
                      fx.readIni(setup, u"画面情報"_s, u"幅"_s).toInt(),
                      fx.readIni(setup, u"画面情報"_s, u"高さ"_s).toInt());
    QCOMPARE(saved, moved);
    // The practice is no exam: the part is not marked as started.
    QCOMPARE(fx.readIni(setup, u"基本情報"_s, u"試験開始"_s), u"0"_s);

    TfrmQZMain2 exam;
    exam.SetPart(u"1"_s, true);
    exam.RestoreLayout = true;
    exam.SavedLayout = saved;
    exam.show();
    QVERIFY(QTest::qWaitForWindowExposed(&exam));
    QCOMPARE(exam.geometry(), moved);
    exam.AnswersConfirmed = true;
    exam.close();
  }

  // The practice of a web-style part runs beside the guide's dialogs: before the guide has
  // reached its end the end button only explains itself; then the guide's ending asks for the
  // confirmation, and only a confirmed end lets the guide close the window.
  void webPracticeEndsThroughTheGuide() {
    FixtureInstallation fx;
    fx.practicalPart(u"1"_s, u"3"_s);
    fx.makeDir(u"system/Z1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    struct Guide : PracticeGuide {
      QList<bool> visibility;
      PracticeWindow* window = nullptr;
      void SetPracticeDialogsVisible(bool visible) override { visibility << visible; }
      void PracticeWindowChanged(PracticeWindow* w) override { window = w; }
    } guide;
    {
      TfrmQZMain2 practice;
      practice.SetPart(u"1"_s, true);
      practice.PracticeMode = true;
      practice.Guide = &guide;
      practice.show();
      QVERIFY(QTest::qWaitForWindowExposed(&practice));
      QCOMPARE(guide.window, static_cast<PracticeWindow*>(&practice));

      bool noticeShown = false;
      WhenModal(IsScreen("examora::TfrmQZTP0150"), [&](QWidget* notice) {
        noticeShown = true;
        Click(notice, "OkBtn");
      });
      Click(&practice, "EndBtn");
      QVERIFY(noticeShown);
      QCOMPARE(guide.visibility, QList<bool>({false, true}));
      QVERIFY(practice.isVisible());

      guide.window->SetPracticeStepsDone(true);
      WhenModal(IsScreen("examora::TfrmQZTP0090"),
                [](QWidget* confirm) { Click(confirm, "OKBtn"); });
      guide.window->ConfirmAndClose();
      QVERIFY(practice.isVisible());
      QVERIFY(guide.window->PracticeEndConfirmed());
      guide.window->ClosePracticeWindow();
      QVERIFY(!practice.isVisible());
    }
    QCOMPARE(guide.window, nullptr);
    QVERIFY(!fx.readIni(u"system/1/setup.ini"_s, u"画面情報"_s, u"幅"_s).isEmpty());
  }

  // The end of a web-style practical part closes the file-manager windows of the work folder,
  // whether they are titled by the folder's name or by its full path; other windows stay.
  void webPartEndClosesTheFolderWindows() {
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (xvfb.isEmpty()) QSKIP("Xvfb not installed (Debian package xvfb)");
    QProcess server;
    server.start(xvfb, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s,
                        u"640x480x24"_s});
    QVERIFY(server.waitForStarted());
    QByteArray number;
    while (!number.endsWith('\n') && server.waitForReadyRead(20000))
      number += server.readAllStandardOutput();
    QVERIFY(number.endsWith('\n'));
    const QByteArray name = ':' + number.trimmed();
    const QByteArray oldDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", name);
    Display* display = XOpenDisplay(name.constData());
    QVERIFY(display);

    FixtureInstallation fx;
    fx.practicalPart(u"1"_s, u"3"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();

    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    auto createWindow = [&](const QString& title) {
      const Window window =
          XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 80, 60, 0, 0, 0);
      const QByteArray text = title.toUtf8();
      for (Atom property : {XInternAtom(display, "_NET_WM_NAME", False), Atom(XA_WM_NAME)})
        XChangeProperty(display, window, property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.constData()), int(text.size()));
      Atom protocols = deleteWindow;
      XSetWMProtocols(display, window, &protocols, 1);
      XMapWindow(display, window);
      return window;
    };
    QMap<Window, QString> folderWindows;
    for (const QString& relative :
         {u"実技用"_s, u"実技用/site"_s, u"実技用/material"_s, u"実技用/site/css"_s,
          u"実技用/site/images"_s, u"実技用/site/js"_s}) {
      const QString path = QDir::toNativeSeparators(fx.path(relative));
      folderWindows.insert(createWindow(relative.section(u'/', -1)), relative);
      folderWindows.insert(createWindow(path), path);
    }
    const Window bystander = createWindow(u"実技用 - メモ帳"_s);
    XSync(display, False);

    {
      TfrmQZMain2 window;
      window.SetPart(u"1"_s, false);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      // At the right edge of the screen, out of the browser's way.
      QCOMPARE(window.geometry().right(), window.screen()->geometry().right());
      window.ConfirmAndClose();
      QVERIFY(!window.isVisible());
    }

    XSync(display, False);
    QSet<Window> asked;
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == ClientMessage && Atom(event.xclient.data.l[0]) == deleteWindow)
        asked.insert(event.xclient.window);
    }
    for (auto it = folderWindows.cbegin(); it != folderWindows.cend(); ++it)
      QVERIFY2(asked.contains(it.key()), qPrintable(it.value()));
    QVERIFY(!asked.contains(bystander));
    QCOMPARE(fx.readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s), u"E"_s);

    XCloseDisplay(display);
    qputenv("DISPLAY", oldDisplay);
    server.terminate();
    server.waitForFinished(5000);
  }

 private:
  void DriveExam(TfrmQZMain2* window, bool debug, bool* seen) {
    *seen = true;
    QCOMPARE(window->DebugMode, debug);
    // Made top-most at show except in a debug run.
    QCOMPARE(window->KeepOnTop, !debug);
    QTRY_VERIFY(!window->FirstActivation);
    // The start notice stands beside the window.
    QTRY_VERIFY(window->StartNotice && window->StartNotice->isVisible());
    QVERIFY(window->StartNotice->inherits("examora::TfrmQZTP0070"));
    // A debug run is still kept above the office application by the guard.
    QTRY_VERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);

    // The restarted part counts on from 25 minutes.
    window->Clock()->ShikenTimerTimer();
    QCOMPARE(ClockText(window), u"25 分"_s);
    QCOMPARE(window->ApplicationTitle(), u"受験プログラム"_s);
    // Escape is no way out of the exam.
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(window->isVisible());
    QVERIFY(!window->ConfirmForm);
    // 最小化 takes the whole program to the task bar, the start notice with the strip, and
    // the strip brings it back.
    Click(window, "SaisyoBtn");
    QTRY_VERIFY(window->isMinimized());
    QTRY_VERIFY(window->StartNotice->isMinimized());
    window->Clock()->ShikenTimerTimer();
    QCOMPARE(window->ApplicationTitle(), u"25 分"_s);
    window->showNormal();
    QTRY_VERIFY(!window->isMinimized());
    QTRY_VERIFY(!window->StartNotice->isMinimized());
    window->Clock()->ShikenTimerTimer();
    QCOMPARE(window->ApplicationTitle(), u"受験プログラム"_s);

    // "いいえ" returns to the exam with the clock running; the next press asks afresh.
    Click(window, "EndBtn");
    QTRY_VERIFY(window->ConfirmForm && window->ConfirmForm->isVisible());
    QPointer<TfrmQZQZ0020> first = window->ConfirmForm.data();
    first->CancelBtn->click();
    QTRY_VERIFY(!first || !first->isVisible());
    QVERIFY(window->isVisible());
    QVERIFY(window->Clock()->IsRunning());

    Click(window, "EndBtn");
    QTRY_VERIFY(window->ConfirmForm && window->ConfirmForm->isVisible());
    TfrmQZQZ0020* confirm = window->ConfirmForm.data();
    QVERIFY(confirm != first.data() || !first);
    // Only "はい" ends the part.
    QVERIFY(window->isVisible());
    confirm->CloseFileChk->setChecked(true);
    confirm->FilePrintChk->setChecked(true);
    // No later part and no submission tool here: the hand-over says so.
    WhenModal(IsScreen("QMessageBox"), ClickButton(QMessageBox::Ok), 20000);
    confirm->OKBtn->click();
  }

  QString savedPath_;
};

EXAMORA_TEST(TestCompactWindow)
#include "tst_compactwindow.moc"
