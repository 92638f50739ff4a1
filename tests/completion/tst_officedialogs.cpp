#include "Fixture.h"
#include "ModalDriver.h"
#include "ScriptedOffice.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/QZMessage.h"
#include "completion/QZQZ0060.h"
#include "completion/QZTP0050.h"
#include "data/IniAccess.h"
#include "widgets/RoundButton.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

class TestOfficeDialogs : public QObject {
  Q_OBJECT

 private:
  FixtureInstallation* fixture_ = nullptr;

  QString log() const { return FromCp932(fixture_->readBytes(u"system/2/log.txt"_s)); }
  void setApp(const QString& app, const QString& windowClass) {
    QVERIFY(WriteIni(u"system/system.ini"_s, u"基本情報"_s, u"APP"_s, app));
    QVERIFY(WriteIni(u"system/system.ini"_s, u"基本情報"_s, u"APPVERチェック文字"_s, u"16.0"_s));
    QVERIFY(WriteIni(u"system/system.ini"_s, u"基本情報"_s, u"APP検索名"_s, windowClass));
  }

 private slots:
  void init() {
    fixture_ = new FixtureInstallation;
    fixture_->practicalPart(u"2"_s);
    QVERIFY2(fixture_->ok(), qPrintable(fixture_->error()));
    fixture_->setExeFolder();
    setApp(u"Excel.Application"_s, u"XLMAIN"_s);
  }
  void cleanup() {
    delete fixture_;
    fixture_ = nullptr;
  }

  void rightVersionPassesWithOneOk() {
    ScriptedOffice::Script script;
    script.documents = 1;
    ScriptedOffice office(script);
    TfrmQZTP0050 dialog(nullptr);
    dialog.SetPartCode(u"2"_s);
    dialog.Environment = &office;
    QTimer::singleShot(0, dialog.OkBtn, &QPushButton::click);
    QCOMPARE(dialog.ShowModal(), 1);
    QVERIFY(office.Calls().empty());
  }

  // The spreadsheet of another version: the message, the log line, both workbooks closed last
  // first and the application asked to quit; the dialog stays for the right version.
  void otherVersionIsClosedAndTheDialogStays() {
    ScriptedOffice::Script script;
    script.documents = 2;
    script.version = "15.0";
    ScriptedOffice office(script);
    TfrmQZTP0050 dialog(nullptr);
    dialog.SetPartCode(u"2"_s);
    dialog.Environment = &office;
    dialog.show();
    QString shown;
    auto wait = WhenModalAppears([&shown](QWidget* box) {
      if (auto* message = qobject_cast<QMessageBox*>(box)) shown = message->text();
      ClickButton(QMessageBox::Ok)(box);
    });
    dialog.OkBtn->click();
    QTRY_VERIFY(wait->fired());
    QVERIFY(dialog.isVisible());
    QCOMPARE(u"E11"_s + shown, msg::kOfficeVersionDiffers);
    QVERIFY(log().contains(u"QZTP0050：Excelのバージョンが異なります"_s));
    QCOMPARE(office.Calls(), (std::vector<std::string>{"Workbooks.Item(2).Close()",
                                                       "Workbooks.Item(1).Close()", "Quit()"}));
    QVERIFY(!office.Running());
  }

  void endAsksFirst() {
    TfrmQZTP0050 dialog(nullptr);
    dialog.SetPartCode(u"2"_s);
    auto no = WhenModalAppears(ClickButton(QMessageBox::No));
    dialog.show();
    dialog.EndBtn->click();
    QVERIFY(no->fired());
    QVERIFY(dialog.isVisible());
    WhenModalAppears(ClickButton(QMessageBox::Yes));
    QTimer::singleShot(0, dialog.EndBtn, &QPushButton::click);
    QCOMPARE(dialog.ShowModal(), 2);
  }

  // The word processor that keeps answering but never quits: 11 rounds, then the exam ends.
  void shutdownGivesUpAfterElevenCalls() {
    setApp(u"Word.Application"_s, u"OpusApp"_s);
    ScriptedOffice::Script script;
    script.programId = "Word.Application";
    script.windowClass = "OpusApp";
    script.neverGoesAway = true;
    ScriptedOffice office(script);
    TfrmQZQZ0060 dialog(nullptr);
    dialog.SetPartCode(u"2"_s);
    dialog.Environment = &office;
    QTimer::singleShot(0, dialog.OKBtn, &QPushButton::click);
    QCOMPARE(dialog.ShowModal(), 1);
    QCOMPARE(office.Calls().size(), std::size_t(kMaxShutdownCalls));
    QCOMPARE(dialog.Label2->text(), u"[はい]ボタンをクリックすると、Wordが自動終了し、実技試験"_s);
    QCOMPARE(dialog.size(), QSize(473, 178));
    const QString text = log();
    QVERIFY(text.indexOf(u"QZQZ0060：開始"_s) < text.indexOf(u"QZQZ0060：初期表示完了"_s));
  }

  void noLeavesTheApplicationAlone() {
    ScriptedOffice::Script script;
    script.documents = 1;
    ScriptedOffice office(script);
    TfrmQZQZ0060 dialog(nullptr);
    dialog.SetPartCode(u"2"_s);
    dialog.Environment = &office;
    QTimer::singleShot(0, dialog.CancelBtn, &QPushButton::click);
    QCOMPARE(dialog.ShowModal(), 2);
    QVERIFY(office.Calls().empty());
    QCOMPARE(office.OpenDocuments(), 1);
  }
};

EXAMORA_TEST(TestOfficeDialogs)
#include "tst_officedialogs.moc"
