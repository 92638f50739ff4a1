#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "Fixture.h"
#include "SessionDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/IniAccess.h"
#include "flow/ExamWindows.h"
#include "flow/QZBG0010.h"
#include "platform/Shell.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

const QString kSetup = u"system/1/setup.ini"_s;

// Everything the run log holds for a part, event texts only.
QStringList LogEvents(const FixtureInstallation& fx, const QString& part = u"1"_s) {
  QStringList events;
  const QString text = FromCp932(fx.readBytes(u"system/"_s + part + u"/log.txt"_s));
  for (const QString& line : text.split(u"\r\n"_s)) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() == 3) events << fields.at(2);
  }
  return events;
}

// Writes an executable stand-in for another part that leaves a marker file when started.
void WriteStandIn(FixtureInstallation& fx, const QString& name, const QString& marker) {
  const QString path = fx.path(name);
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/" + marker.toUtf8() + "\"\n");
  file.close();
  QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser));
}

// A program the session started has run by the time one started after it has: start a
// stand-in and wait for its marker before looking for the absence of another.
void WaitForStartedPrograms(FixtureInstallation& fx) {
  WriteStandIn(fx, QStringLiteral("sentinel.exe"), QStringLiteral("sentinel"));
  QVERIFY(StartExecutable(fx.path(QStringLiteral("sentinel.exe")).toStdString()).ok);
  QTRY_VERIFY_WITH_TIMEOUT(fx.exists(QStringLiteral("sentinel")), 5000);
}

}  // namespace

class TestSession : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void walksTheWizardForwardAndBack();
  void closingTheCandidateScreenEndsWithoutHandOver();
  void endedPartIsRefused();
  void timeOverNoticeEndsTheProgram();
  void failedFirstWriteEndsTheProgram();
  void handOver_data();
  void handOver();
  void secondInstanceExitsWithoutWriting();
  void examWindowEndingTheProgramSkipsHandOver();

 private:
  // Runs the session of part 1 until the background window has closed.
  void RunSession(const QString& exeName = u"[1]知識.exe"_s);
  // From the candidate screen through notes, explanation and start; start pressed.
  void WalkToStart(QWidget* candidate);

  std::unique_ptr<FixtureInstallation> fx_;
  QString savedPath_;
};

void TestSession::init() {
  fx_ = std::make_unique<FixtureInstallation>();
  savedPath_ = qEnvironmentVariable("PATH");
}

void TestSession::cleanup() {
  qputenv("PATH", savedPath_.toLocal8Bit());
  UnregisterScreenRunner(u"TfrmQZMain"_s);
  SetApplicationMainWindow(nullptr);
  SetExeFolder(QString());
  if (fx_) QFile::setPermissions(fx_->path(kSetup), QFile::ReadOwner | QFile::WriteOwner);
  fx_.reset();
}

void TestSession::RunSession(const QString& exeName) {
  QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
  fx_->setExeFolder();
  TfrmQZBG0010 background(exeName, {});
  QVERIFY(background.FormCreate());
  SetApplicationMainWindow(&background);
  QSignalSpy finished(&background, &TfrmQZBG0010::sessionFinished);
  background.show();
  QVERIFY(finished.count() == 1 || finished.wait(60000));
  SetApplicationMainWindow(nullptr);
}

void TestSession::WalkToStart(QWidget* candidate) {
  FillCandidate(candidate);
  WhenModal(IsScreen("examora::TfrmQZTP0030"), [](QWidget* notes) {
    WhenModal(IsScreen("examora::TfrmQZQZ0030"), [](QWidget* explanation) {
      WhenModal(IsScreen("examora::TfrmQZTP0060"),
                [](QWidget* start) { Click(start, "ShikenStartBtn"); });
      Click(explanation, "EndBtn");
    });
    // Page on until the last page hands over to the explanation (the notes screen is hidden
    // from then on).
    for (int i = 0; i < 10 && notes->isVisible(); ++i) Click(notes, "NextBtn");
  });
  Click(candidate, "NextBtn");
}

void TestSession::walksTheWizardForwardAndBack() {
  fx_->fromSample();
  // The wizard alone: without the operation practice the exam start leads to the exam window.
  QVERIFY(QDir(fx_->path(u"system/Z1"_s)).removeRecursively());
  QStringList seen;
  // Forward to the start screen, then back one step at a time to the candidate screen, then
  // forward again and start.
  WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidate) {
    seen << u"candidate"_s;
    FillCandidate(candidate);
    WhenModal(IsScreen("examora::TfrmQZTP0030"), [&](QWidget* notes) {
      seen << u"notes"_s;
      WhenModal(IsScreen("examora::TfrmQZQZ0030"), [&](QWidget* explanation) {
        seen << u"explanation"_s;
        WhenModal(IsScreen("examora::TfrmQZTP0060"), [&](QWidget* start) {
          seen << u"start"_s;
          WhenModal(IsScreen("examora::TfrmQZQZ0030"), [&](QWidget* again) {
            seen << u"explanation again"_s;
            WhenModal(IsScreen("examora::TfrmQZTP0030"), [&](QWidget* notesAgain) {
              seen << u"notes again"_s;
              WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidateAgain) {
                seen << u"candidate again"_s;
                WalkToStart(candidateAgain);
              });
              for (int i = 0; i < 3; ++i) Click(notesAgain, "BackBtn");
            });
            Click(again, "BackBtn");
          });
          Click(start, "BackBtn");
        });
        Click(explanation, "EndBtn");
      });
      for (int i = 0; i < 3; ++i) Click(notes, "NextBtn");
    });
    Click(candidate, "NextBtn");
  });
  RunSession();

  QCOMPARE(seen, QStringList({u"candidate"_s, u"notes"_s, u"explanation"_s, u"start"_s,
                              u"explanation again"_s, u"notes again"_s, u"candidate again"_s}));
  const QStringList log = LogEvents(*fx_);
  QVERIFY(log.contains(u"QZBG0010：起動"_s));
  QVERIFY(std::any_of(log.begin(), log.end(),
                      [](const QString& e) { return e.startsWith(u"information："_s); }));
  QCOMPARE(log.count(u"QZBG0010：試験開始"_s), 1);
  QCOMPARE(log.count(u"QZTP0030：戻る"_s), 3);
  // No exam window in this build: nothing may claim that an exam ran.
  QCOMPARE(fx_->readIni(kSetup, u"基本情報"_s, u"試験開始"_s), u"0"_s);
  QCOMPARE(fx_->readIni(kSetup, u"画面情報"_s, u"位置"_s), u"4"_s);
  QVERIFY(log.contains(u"QZBG0010：TfrmQZMain はこのプログラムでは使用できません。"_s));
  QCOMPARE(fx_->readIni(u"system/shiken.ini"_s, u"受験者情報"_s, u"会場コード"_s), u"01234"_s);
}

void TestSession::closingTheCandidateScreenEndsWithoutHandOver() {
  fx_->knowledgePart(u"1"_s);
  fx_->knowledgePart(u"2"_s);
  WriteStandIn(*fx_, u"[2]知識.exe"_s, u"started-2"_s);
  WhenModal(IsScreen("examora::TfrmQZTP0020"), [](QWidget* candidate) {
    WhenModal(IsScreen("QMessageBox"), ClickButton(QMessageBox::Yes));
    Click(candidate, "CloseBtn");
  });
  RunSession();
  WaitForStartedPrograms(*fx_);
  QVERIFY(!fx_->exists(u"started-2"_s));
  QCOMPARE(fx_->readIni(kSetup, u"基本情報"_s, u"試験開始"_s), u"0"_s);
}

void TestSession::endedPartIsRefused() {
  fx_->knowledgePart(u"1"_s);
  fx_->writeIni(kSetup, u"[基本情報]\n試験区分=1\n受験タイプ=1\n正常終了=E\n"_s);
  QString shown;
  WhenModal(IsScreen("QMessageBox"), [&](QWidget* box) {
    shown = static_cast<QMessageBox*>(box)->text();
    ClickButton(QMessageBox::Ok)(box);
  });
  RunSession();
  QCOMPARE(shown, u"試験は終了しています。"_s);
  QCOMPARE(fx_->readIni(kSetup, u"基本情報"_s, u"試験開始"_s), u"1"_s);
  const QStringList log = LogEvents(*fx_);
  QVERIFY(!log.contains(u"QZBG0010：起動"_s));
  QVERIFY(!log.contains(u"QZTP0020：開始"_s));
}

void TestSession::timeOverNoticeEndsTheProgram() {
  fx_->knowledgePart(u"1"_s);
  fx_->writeIni(kSetup, u"[基本情報]\n試験区分=1\n受験タイプ=1\n正常終了=T\n"_s);
  bool noticeShown = false;
  WhenModal(IsScreen("examora::TfrmQZTP0220"), [&](QWidget* notice) {
    noticeShown = true;
    Click(notice, "OkBtn");
  });
  RunSession();
  QVERIFY(noticeShown);
  const QStringList log = LogEvents(*fx_);
  QVERIFY(log.contains(u"QZTP0220：開始"_s));
  QVERIFY(!log.contains(u"QZBG0010：起動"_s));
  QCOMPARE(fx_->readIni(kSetup, u"基本情報"_s, u"正常終了"_s), u"T"_s);
}

void TestSession::failedFirstWriteEndsTheProgram() {
  fx_->knowledgePart(u"1"_s);
  QVERIFY(QFile::setPermissions(fx_->path(kSetup), QFile::ReadOwner | QFile::ReadUser));
  const QByteArray before = fx_->readBytes(kSetup);
  QString shown;
  WhenModal(
      IsScreen("QMessageBox"),
      [&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        ClickButton(QMessageBox::Ok)(box);
      },
      10000);
  RunSession();
  const QString head = u"システム情報の書き込みに失敗しました。\r\n\r\n"_s;
  QVERIFY2(shown.startsWith(head) && shown.size() > head.size(), qPrintable(shown));
  const QString error = shown.mid(head.size());
  QVERIFY(
      LogEvents(*fx_).contains(u"QZBG0010：E11システム情報の書き込みに失敗しました。"_s + error));
  QCOMPARE(fx_->readBytes(kSetup), before);
}

void TestSession::handOver_data() {
  QTest::addColumn<QString>("linkMode");
  QTest::addColumn<bool>("nextExists");
  QTest::addColumn<QString>("marker");   // file the started stand-in leaves, "" for none
  QTest::addColumn<QString>("message");  // the message shown, "" for none
  QTest::addColumn<bool>("folderOpened");
  QTest::newRow("3 starts the next part") << u"3"_s << true << u"started-2"_s << QString() << false;
  QTest::newRow("2 starts the next part") << u"2"_s << true << u"started-2"_s << QString() << false;
  QTest::newRow("1 announces the next part")
      << u"1"_s << true << QString()
      << (u"「知識」を終了しました。続けて「知識」を行う場合は、試験監督官の指示にしたがい、\r\n"
          u"【"_s +
          u"%1"_s +
          u"】フォルダー内の「[2]知識.exe」ファイルを実行（ダブルクリック）してください。 "_s)
      << true;
  QTest::newRow("missing next part")
      << u"3"_s << false << QString() << u"試験EXEが存在しません。"_s << false;
}

void TestSession::handOver() {
  QFETCH(QString, linkMode);
  QFETCH(bool, nextExists);
  QFETCH(QString, marker);
  QFETCH(QString, message);
  QFETCH(bool, folderOpened);

  fx_->knowledgePart(u"1"_s);
  fx_->knowledgePart(u"2"_s);
  fx_->writeIni(u"system/shiken.ini"_s, u"[受験者情報]\n連携="_s + linkMode + u"\n"_s);
  if (nextExists) WriteStandIn(*fx_, u"[2]知識.exe"_s, u"started-2"_s);
  // A file manager stand-in that notes which folder it was asked to open.
  QDir().mkpath(fx_->path(u"bin"_s));
  WriteStandIn(*fx_, u"bin/xdg-open"_s, u"../folder-opened"_s);
  qputenv("PATH", (fx_->path(u"bin"_s) + u':' + savedPath_).toLocal8Bit());
  // The exam window stands in for the knowledge window of a later build: it records the start.
  RegisterScreenRunner(u"TfrmQZMain"_s, [](QWidget*, const ExamWindowRequest& request) {
    if (!request.practiceMode) {
      (void)WriteIni(u"system\\1\\setup.ini"_s, u"基本情報"_s, u"試験開始"_s, u"1"_s);
    }
    return ScreenOutcome::Closed;
  });

  QString shown;
  WhenModal(IsScreen("examora::TfrmQZTP0020"), [&](QWidget* candidate) {
    if (!message.isEmpty()) {
      WhenModal(
          IsScreen("QMessageBox"),
          [&](QWidget* box) {
            shown = static_cast<QMessageBox*>(box)->text();
            ClickButton(QMessageBox::Ok)(box);
          },
          60000);
    }
    WalkToStart(candidate);
  });
  RunSession();

  if (!marker.isEmpty()) QTRY_VERIFY_WITH_TIMEOUT(fx_->exists(marker), 5000);
  const QString folderName = QDir(fx_->root()).dirName();
  if (message.contains(u"%1"_s)) message = message.arg(folderName);
  QCOMPARE(shown, message);
  if (folderOpened) QTRY_VERIFY_WITH_TIMEOUT(fx_->exists(u"folder-opened"_s), 5000);
  QVERIFY(!(!folderOpened && fx_->exists(u"folder-opened"_s)));
}

void TestSession::secondInstanceExitsWithoutWriting() {
  fx_->knowledgePart(u"1"_s);
  QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
  const QString exe = fx_->path(u"[1]知識.exe"_s);
  QVERIFY(QFile::copy(QStringLiteral(EXAMORA_EXECUTABLE), exe));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

  QProcess first;
  first.setProcessEnvironment(env);
  first.setWorkingDirectory(fx_->root());
  first.start(exe, {});
  QVERIFY(first.waitForStarted());
  // The first instance is up once its candidate screen has set itself up: the install folder
  // line is the last one the screen writes when it opens.
  QTRY_VERIFY_WITH_TIMEOUT(LogEvents(*fx_).join(u'\n').contains(u"QZTP0020：起動位置："_s), 20000);
  const QByteArray setupBefore = fx_->readBytes(kSetup);
  const QByteArray logBefore = fx_->readBytes(u"system/1/log.txt"_s);

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(exe, {});
  QVERIFY(second.waitForFinished(20000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(fx_->readBytes(kSetup), setupBefore);
  QCOMPARE(fx_->readBytes(u"system/1/log.txt"_s), logBefore);

  first.kill();
  first.waitForFinished(5000);
}

// A window that ends the program (its paper could not be shown) after the part was marked
// started must not start the next part.
void TestSession::examWindowEndingTheProgramSkipsHandOver() {
  fx_->knowledgePart(u"1"_s);
  fx_->knowledgePart(u"2"_s);
  WriteStandIn(*fx_, u"[2]知識.exe"_s, u"started-2"_s);
  RegisterScreenRunner(u"TfrmQZMain"_s, [](QWidget*, const ExamWindowRequest&) {
    (void)WriteIni(u"system\\1\\setup.ini"_s, u"基本情報"_s, u"試験開始"_s, u"1"_s);
    return ScreenOutcome::EndProgram;
  });
  WhenModal(IsScreen("examora::TfrmQZTP0020"),
            [this](QWidget* candidate) { WalkToStart(candidate); });
  RunSession();
  WaitForStartedPrograms(*fx_);
  QVERIFY(!fx_->exists(u"started-2"_s));
}

EXAMORA_TEST(TestSession)
#include "tst_session.moc"
