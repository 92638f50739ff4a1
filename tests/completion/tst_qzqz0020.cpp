#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTest>

#include "FileLockHolder.h"
#include "Fixture.h"
#include "ModalDriver.h"
#include "ScriptedOffice.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/QZMessage.h"
#include "completion/QZQZ0020.h"
#include "completion/model/OfficeCheck.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "flow/QZTP0200.h"
#include "widgets/NumericEdit.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

ModalMatch Named(const QString& objectName) {
  return [objectName](QWidget* w) { return w->objectName() == objectName; };
}

const QString kSetup = u"system/1/setup.ini"_s;

}  // namespace

class TestQZQZ0020 : public QObject {
  Q_OBJECT

 private:
  FixtureInstallation* fixture_ = nullptr;

  QString log() const { return FromCp932(fixture_->readBytes(u"system/1/log.txt"_s)); }
  void setIni(const QString& path, const QString& section, const QString& key,
              const QString& value) {
    QVERIFY(WriteIni(path, section, key, value));
  }
  void setExamType(const QString& examType) {
    setIni(kSetup, u"基本情報"_s, u"受験タイプ"_s, examType);
  }

  // A knowledge confirmation for part code "1": questions of 2, 3 and 4 sub-questions, question 1
  // all answered, question 2 partly, question 3 not at all.
  static void fill(TfrmQZQZ0020& screen, bool timeOver) {
    screen.SetPartCode(u"1"_s);
    screen.Category = u"1"_s;
    screen.TimeOver = timeOver;
    screen.SubQuestionCounts = {2, 3, 4};
    screen.Answers = QStringList{u"1"_s, u"5"_s, u"2"_s, QString(), QString()};
  }

  static void doubleClickLine(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

 private slots:
  void init() {
    fixture_ = new FixtureInstallation;
    fixture_->knowledgePart(u"1"_s, {2, 3, 4});
    QVERIFY2(fixture_->ok(), qPrintable(fixture_->error()));
    fixture_->setExeFolder();
  }
  void cleanup() {
    SetApplicationMainWindow(nullptr);
    delete fixture_;
    fixture_ = nullptr;
  }

  void knowledgeView_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label2");
    QTest::addColumn<bool>("keepOnTop");
    QTest::addColumn<bool>("subQuestionsOnly");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("exam window") << u"1"_s << u"提出用ファイルの確認"_s
                                 << u"試験を終了してよろしいですか。"_s << true << false
                                 << u"問題 1  2問中全問解答済み　"_s;
    QTest::newRow("web style, sub-questions only")
        << u"3"_s << u"解答状況の確認"_s << u"知識問題を終了してよろしいですか。"_s << false << true
        << u" 2問中全問解答済み　"_s;
  }
  void knowledgeView() {
    QFETCH(QString, examType);
    QFETCH(QString, title);
    QFETCH(QString, label2);
    QFETCH(bool, keepOnTop);
    QFETCH(bool, subQuestionsOnly);
    QFETCH(QString, firstLine);
    setExamType(examType);
    QWidget main;
    SetApplicationMainWindow(&main);
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    screen.KeepOnTop = keepOnTop;
    screen.SubQuestionsOnly = subQuestionsOnly;
    screen.show();

    QCOMPARE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint), keepOnTop);

    QCOMPARE(screen.width(), 520);
    QCOMPARE(screen.TitleLabel()->text(), title);
    QCOMPARE(screen.Label1->text(), u"解答状況は以下の通りです。"_s);
    QCOMPARE(screen.Label2->text(), label2);
    QVERIFY(screen.Label3->isHidden());
    QVERIFY(screen.CancelBtn->isVisible());
    QCOMPARE(screen.OKBtn->text(), u"はい"_s);
    QVERIFY(screen.OKBtn->x() < screen.CancelBtn->x());
    QVERIFY(!screen.Guard.NotOpMostTimer.isActive());

    QListWidget* list = screen.kaitoBox;
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), firstLine);
    QVERIFY(list->item(2)->text().endsWith(u" 4問　未解答"_s));
    // The list fills the body from 68 px down to the button band.
    const QRect inWindow(list->mapTo(&screen, QPoint(0, 0)), list->size());
    QCOMPARE(inWindow.top(), 70 + 68);
    QCOMPARE(inWindow.bottom() + 1, screen.BottomBand()->y());
    QCOMPARE(list->visualItemRect(list->item(1)).height(), 16);

    const QString text = log();
    QVERIFY(text.indexOf(u"QZQZ0020：開始"_s) >= 0);
    QVERIFY(text.indexOf(u"QZQZ0020：初期表示完了"_s) > text.indexOf(u"QZQZ0020：開始"_s));
    screen.close();
  }

  void timeOverIsTheCompulsoryEnd() {
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, true);
    WhenModal(Named(u"TfrmQZQZ0020"_s), [&](QWidget*) {
      QCOMPARE(screen.TitleLabel()->text(), u"試験時間経過による試験終了"_s);
      QCOMPARE(screen.Label1->text(), u"制限時間となりましたので、試験を終了します。"_s);
      QCOMPARE(screen.Label2->text(), u"解答状況は以下の通りです。"_s);
      QVERIFY(screen.Label3->isVisible());
      QCOMPARE(screen.Label3->text(), u"［試験終了］ボタンをクリックしてください。"_s);
      QVERIFY(!screen.CancelBtn->isVisible());
      QCOMPARE(screen.OKBtn->text(), u"試験終了"_s);
      QCOMPARE(screen.OKBtn->x() + screen.OKBtn->width(), screen.width() - 30);
      QCOMPARE(screen.kaitoBox->count(), 3);
      QVERIFY(screen.Guard.NotOpMostTimer.isActive());
      screen.OKBtn->click();
    });
    QCOMPARE(screen.ShowModal(), ModalResult::Ok);
    QVERIFY(!screen.Guard.NotOpMostTimer.isActive());
    QVERIFY(log().contains(u"QZQZ0020：はいボタン押下"_s));
  }

  void buttons_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("はい ends the part") << true << 1 << u"QZQZ0020：はいボタン押下"_s;
    QTest::newRow("いいえ goes back") << false << 2 << u"QZQZ0020：いいえボタン押下"_s;
  }
  void buttons() {
    QFETCH(bool, yes);
    QFETCH(int, result);
    QFETCH(QString, logLine);
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    WhenModal(Named(u"TfrmQZQZ0020"_s),
              [&](QWidget*) { (yes ? screen.OKBtn : screen.CancelBtn)->click(); });
    QCOMPARE(screen.ShowModal(), result);
    QVERIFY(log().contains(logLine));
    QCOMPARE(screen.JumpIndex, -1);
  }

  void doubleClick_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<bool>("jumps");
    QTest::newRow("exam window jumps") << u"1"_s << false << true;
    QTest::newRow("not after time-over") << u"1"_s << true << false;
    QTest::newRow("not in the web style") << u"3"_s << false << false;
  }
  void doubleClick() {
    QFETCH(QString, examType);
    QFETCH(bool, timeOver);
    QFETCH(bool, jumps);
    setExamType(examType);
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, timeOver);
    WhenModal(Named(u"TfrmQZQZ0020"_s), [&](QWidget*) {
      doubleClickLine(screen.kaitoBox, 2);
      if (screen.isVisible()) screen.OKBtn->click();
    });
    const int result = screen.ShowModal();
    QCOMPARE(result, jumps ? ModalResult::Yes : ModalResult::Ok);
    QCOMPARE(screen.JumpIndex, jumps ? 2 : -1);
    QCOMPARE(log().contains(u"QZQZ0020：解答状況ダブルクリック"_s), jumps);
  }

  // Shown beside a practical window (not modal), the confirmation stays where a modal run
  // would end with the jump.
  void doubleClickLeavesTheModelessConfirmation() {
    setExamType(u"2"_s);
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    doubleClickLine(screen.kaitoBox, 2);
    QVERIFY(screen.isVisible());
    screen.close();
  }

  void doubleClickBelowTheLinesDoesNothing() {
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    WhenModal(Named(u"TfrmQZQZ0020"_s), [&](QWidget*) {
      QListWidget* list = screen.kaitoBox;
      const QPoint below(20, list->viewport()->height() - 5);
      QVERIFY(list->itemAt(below) == nullptr);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
      if (screen.isVisible()) screen.CancelBtn->click();
    });
    QCOMPARE(screen.ShowModal(), ModalResult::Cancel);
    QCOMPARE(screen.JumpIndex, -1);
  }

  void timeExtensionShortcut_data() {
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<QString>("timeControl");
    QTest::addColumn<QString>("entered");  // empty: the input must not appear
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("add");
    // Without an extension the screen stays and "はい"/"試験終了" gives 1.
    QTest::newRow("before time-over") << false << u"1"_s << QString() << 1 << u"10"_s;
    QTest::newRow("time control off") << true << u"0"_s << QString() << 1 << u"10"_s;
    QTest::newRow("extension closes with 2") << true << u"1"_s << u"25"_s << 2 << u"25"_s;
    QTest::newRow("unchanged stays open") << true << u"1"_s << u"10"_s << 1 << u"10"_s;
  }
  void timeExtensionShortcut() {
    QFETCH(bool, timeOver);
    QFETCH(QString, timeControl);
    QFETCH(QString, entered);
    QFETCH(int, result);
    QFETCH(QString, add);
    QVERIFY(WriteExtensionMinutes(u"1"_s, 10));
    setIni(SystemIniPath(), u"基本情報"_s, u"タイムコントロール"_s, timeControl);

    TfrmQZQZ0020 screen(nullptr);
    fill(screen, timeOver);
    bool active = false;
    bool inputShown = false;
    WhenModal(Named(u"TfrmQZQZ0020"_s), [&](QWidget*) {
      auto input = WhenModal(Named(u"TfrmQZTP0200"_s), [&](QWidget* w) {
        inputShown = true;
        auto* dialog = static_cast<TfrmQZTP0200*>(w);
        if (entered != u"10") {
          // The result dialog follows a change.
          WhenModal(Named(u"TfrmQZTP0210"_s),
                    [](QWidget* r) { static_cast<TfrmQZTP0210*>(r)->OkBtn->click(); });
        }
        dialog->TimeNEdt->setText(entered.isEmpty() ? u"10"_s : entered);
        dialog->OkBtn->click();
      });
      active = QTest::qWaitForWindowActive(&screen);
      if (active) {
        QTest::keyClick(&screen, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
      } else {
        screen.ShortCutSCT->trigger();
      }
      if (!input->fired()) input->cancel();
      if (screen.isVisible()) screen.OKBtn->click();
    });
    QCOMPARE(screen.ShowModal(), result);
    QVERIFY(active);
    QCOMPARE(inputShown, !entered.isEmpty());
    QCOMPARE(fixture_->readIni(kSetup, u"試験時間"_s, u"add"_s), add);
  }

  void onTopGuardGrowsTo10Seconds() {
    QWidget main;
    SetApplicationMainWindow(&main);
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, true);
    screen.KeepOnTop = false;  // only the guard makes the application top-most here
    screen.show();
    QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(screen.Guard.NotOpMostTimer.isActive());
    QCOMPARE(screen.Guard.NotOpMostTimer.interval(), 100);
    screen.Guard.NotOpMostTimerTimer();
    screen.Guard.NotOpMostTimerTimer();
    QCOMPARE(screen.Guard.NotOpMostTimer.interval(), 300);
    QVERIFY(screen.Guard.NotOpMostTimer.isActive());
    QVERIFY(screen.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    screen.Guard.NotOpMostTimer.setInterval(9900);
    screen.Guard.NotOpMostTimerTimer();
    screen.Guard.NotOpMostTimerTimer();
    QCOMPARE(screen.Guard.NotOpMostTimer.interval(), 10000);
    screen.close();
  }

  void listScrollsToTheWidestLine() {
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    screen.show();
    QListWidget* list = screen.kaitoBox;
    const QString longLine(80, u'問');
    list->addItem(longLine);
    const int extent = screen.UpdateHorizontalExtent();
    QCOMPARE(extent, QFontMetrics(list->font()).horizontalAdvance(longLine) + 10);
    QTRY_COMPARE(list->horizontalScrollBar()->maximum(), extent - list->viewport()->width());
    screen.close();
  }

  void linesAreDrawnWithTheirColours() {
    TfrmQZQZ0020 screen(nullptr);
    fill(screen, false);
    screen.show();
    QListWidget* list = screen.kaitoBox;
    screen.LineColors = {QColor(Qt::red)};
    list->setCurrentRow(1);
    const QImage image = list->viewport()->grab().toImage();
    const QRect first = list->visualItemRect(list->item(0));
    const QRect second = list->visualItemRect(list->item(1));
    // The selected line is a blue bar; the first line's text is red.
    QCOMPARE(image.pixelColor(second.left() + 2, second.center().y()), QColor(51, 153, 255));
    bool red = false;
    for (int x = first.left(); x < first.right() && !red; ++x)
      for (int y = first.top(); y <= first.bottom() && !red; ++y)
        red = image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 80;
    QVERIFY(red);
    screen.close();
  }

  void practicalHandBack_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("extensionEnded");
    QTest::newRow("exam window confirms") << u"1"_s << false << true << 0 << QString();
    QTest::newRow("time-over ends here") << u"1"_s << true << false << 1 << u"1"_s;
    QTest::newRow("compact window confirms at time-over")
        << u"2"_s << true << true << 0 << QString();
  }
  void practicalHandBack() {
    QFETCH(QString, examType);
    QFETCH(bool, timeOver);
    QFETCH(bool, confirmed);
    QFETCH(int, result);
    QFETCH(QString, extensionEnded);
    fixture_->practicalPart(u"2"_s, examType);
    TfrmQZQZ0020 screen(nullptr);
    screen.SetPartCode(u"2"_s);
    screen.Category = u"2"_s;
    screen.TimeOver = timeOver;
    bool called = false;
    screen.ConfirmAndClose = [&] { called = true; };
    screen.show();
    QCOMPARE(screen.CancelBtn->isVisible(), !timeOver);
    QCOMPARE(screen.FileUpdateBtn->isVisible(), timeOver);
    screen.OKBtn->click();
    QCOMPARE(called, confirmed);
    QCOMPARE(screen.result(), result);
    QCOMPARE(fixture_->readIni(u"system/2/setup.ini"_s, u"基本情報"_s, u"延長終了"_s),
             extensionEnded);
    screen.close();
  }

  // Every practical confirmation of an exam with a compact practical part shows variant B,
  // whatever this part is (but a web-style part itself); the others follow time-over.
  void practicalVariant_data() {
    QTest::addColumn<QString>("otherPartType");
    QTest::addColumn<QString>("thisType");
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("label1");
    QTest::newRow("B") << u"2"_s << u"1"_s << false << QSize(514, 370)
                       << u"解答状況は以下の通りです。試験を終了してよろしいですか。"_s;
    QTest::newRow("B at time-over")
        << u"2"_s << u"1"_s << true << QSize(514, 370)
        << u"解答状況は以下の通りです。試験を終了してよろしいですか。"_s;
    QTest::newRow("A") << u"2"_s << u"3"_s << false << QSize(464, 422)
                       << u"実技問題の解答状況は以下の通りです。実技問題を終了してよろしい"_s;
    QTest::newRow("C") << u"1"_s << u"1"_s << true << QSize(514, 422)
                       << u"制限時間となりましたので、試験を終了します。"_s;
    QTest::newRow("D") << u"1"_s << u"1"_s << false << QSize(514, 422)
                       << u"解答状況は以下の通りでよろしいですか。"_s;
  }
  void practicalVariant() {
    QFETCH(QString, otherPartType);
    QFETCH(QString, thisType);
    QFETCH(bool, timeOver);
    QFETCH(QSize, size);
    QFETCH(QString, label1);
    FixtureInstallation exam;
    exam.practicalPart(u"1"_s, otherPartType);
    exam.practicalPart(u"2"_s, thisType);
    QVERIFY(exam.ok());
    exam.setExeFolder();
    TfrmQZQZ0020 screen(nullptr);
    screen.SetPartCode(u"2"_s);
    screen.Category = u"2"_s;
    screen.TimeOver = timeOver;
    screen.show();
    QCOMPARE(screen.size(), size);
    QCOMPARE(screen.Label1->text(), label1);
    QCOMPARE(screen.CloseFileChk->isVisible(), thisType == u"3");
    // The list shows the work file the fixture laid out (no start time recorded).
    QCOMPARE(screen.kaitoBox->count(), 1);
    QVERIFY(screen.kaitoBox->item(0)->text().startsWith(u"site\\index.html（更新日時："_s));
    screen.close();
    fixture_->setExeFolder();
  }

  // "はい" is refused while another process holds a work file, with the text naming the button
  // pressed; after it lets go, "表示の更新" shows the time and the end goes ahead.
  void fileHeldOpenRefusesTheEnd() {
    fixture_->practicalPart(u"2"_s, u"2"_s);
    TfrmQZQZ0020 screen(nullptr);
    screen.SetPartCode(u"2"_s);
    screen.Category = u"2"_s;
    screen.TimeOver = true;
    bool confirmed = false;
    screen.ConfirmAndClose = [&] { confirmed = true; };
    QProcess holder;
    QVERIFY(StartFileLockHolder(holder, fixture_->path(u"実技用/site/index.html"_s)));
    screen.show();
    QCOMPARE(screen.kaitoBox->item(0)->text(),
             u"site\\index.html（ファイルを保存して閉じてください）"_s);
    QString shown;
    auto box = WhenModalAppears([&shown](QWidget* w) {
      if (auto* message = qobject_cast<QMessageBox*>(w)) shown = message->text();
      ClickButton(QMessageBox::Ok)(w);
    });
    screen.OKBtn->click();
    QTRY_VERIFY(box->fired());
    QCOMPARE(u"E11"_s + shown, msg::kFileOpenPressEnd);
    QVERIFY(!confirmed);

    holder.kill();
    QVERIFY(holder.waitForFinished());
    screen.FileUpdateBtn->click();
    QVERIFY(screen.kaitoBox->item(0)->text().startsWith(u"site\\index.html（更新日時："_s));
    screen.OKBtn->click();
    QVERIFY(confirmed);
    screen.close();
  }

  // Web-style practical part: one box ticked shows the notice and keeps the screen; both go on.
  void confirmationBoxes() {
    fixture_->practicalPart(u"2"_s, u"3"_s);
    TfrmQZQZ0020 screen(nullptr);
    screen.SetPartCode(u"2"_s);
    screen.Category = u"2"_s;
    bool confirmed = false;
    screen.ConfirmAndClose = [&] { confirmed = true; };
    screen.show();
    screen.CloseFileChk->setChecked(true);
    QSize noticeSize;
    auto notice = WhenModalAppears([&noticeSize](QWidget* w) {
      noticeSize = w->size();
      ClickButton(u"閉じる"_s)(w);
    });
    screen.OKBtn->click();
    QTRY_VERIFY(notice->fired());
    QCOMPARE(noticeSize, QSize(455, 157));
    QVERIFY(!confirmed);
    QVERIFY(screen.isVisible());
    QVERIFY(FromCp932(fixture_->readBytes(u"system/2/log.txt"_s)).contains(u"QZTP0190：開始"_s));
    screen.FilePrintChk->setChecked(true);
    screen.OKBtn->click();
    QVERIFY(confirmed);
    screen.close();
  }

  // With an office application configured, "はい" asks QZQZ0060 first: "いいえ" there brings
  // this screen back and the exam goes on; "はい" closes the application and ends.
  void officeApplicationClosedBeforeTheEnd() {
    fixture_->practicalPart(u"2"_s, u"2"_s);
    setIni(u"system/system.ini"_s, u"基本情報"_s, u"APP"_s, u"Word.Application"_s);
    setIni(u"system/system.ini"_s, u"基本情報"_s, u"APP検索名"_s, u"OpusApp"_s);
    ScriptedOffice::Script script;
    script.programId = "Word.Application";
    script.windowClass = "OpusApp";
    script.documents = 1;
    ScriptedOffice office(script);
    TfrmQZQZ0020 screen(nullptr);
    screen.SetPartCode(u"2"_s);
    screen.Category = u"2"_s;
    screen.Office = &office;
    bool confirmed = false;
    screen.ConfirmAndClose = [&] { confirmed = true; };
    screen.show();

    auto no = WhenModalAppears(ClickButton(u"いいえ"_s));
    screen.OKBtn->click();
    QTRY_VERIFY(no->fired());
    QVERIFY(screen.isVisible());
    QVERIFY(!confirmed);
    QCOMPARE(office.OpenDocuments(), 1);

    auto yes = WhenModalAppears(ClickButton(u"はい"_s));
    screen.OKBtn->click();
    QTRY_VERIFY(yes->fired());
    QVERIFY(confirmed);
    QVERIFY(!office.Running());
    screen.close();
  }
};

EXAMORA_TEST(TestQZQZ0020)
#include "tst_qzqz0020.moc"
