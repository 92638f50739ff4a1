#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "flow/QZTP0200.h"
#include "flow/QZTP0220.h"
#include "flow/TimeExtension.h"
#include "widgets/NumericEdit.h"
#include "widgets/RoundButton.h"

using namespace examora;
using namespace examora::test;

namespace {

ModalMatch Named(const QString& objectName) {
  return [objectName](QWidget* w) { return w->objectName() == objectName; };
}

QString LogText(const FixtureInstallation& fixture, const QString& part) {
  return FromCp932(
      fixture.readBytes(QStringLiteral("system/") + part + QStringLiteral("/log.txt")));
}

// Types minutes into the input dialog and confirms; when a result dialog is expected, reads
// its line and closes it.
ModalAction EnterMinutes(const QString& minutes, QString* resultText = nullptr) {
  return [minutes, resultText](QWidget* w) {
    auto* input = static_cast<TfrmQZTP0200*>(w);
    if (resultText) {
      WhenModal(Named(QStringLiteral("TfrmQZTP0210")), [resultText](QWidget* r) {
        *resultText = static_cast<TfrmQZTP0210*>(r)->MesLbl->text();
        static_cast<TfrmQZTP0210*>(r)->OkBtn->click();
      });
    }
    input->TimeNEdt->setText(minutes);
    input->OkBtn->click();
  };
}

}  // namespace

class TestTimeExtension : public QObject {
  Q_OBJECT

 private:
  FixtureInstallation* fixture_ = nullptr;

  void setAdd(int minutes) { QVERIFY(WriteExtensionMinutes(QStringLiteral("1"), minutes)); }
  QString add() const {
    return fixture_->readIni(QStringLiteral("system/1/setup.ini"), QStringLiteral("試験時間"),
                             QStringLiteral("add"));
  }
  QString normalEnd() const {
    return fixture_->readIni(QStringLiteral("system/1/setup.ini"), QStringLiteral("基本情報"),
                             QStringLiteral("正常終了"));
  }

 private slots:
  void init() {
    fixture_ = new FixtureInstallation;
    fixture_->knowledgePart(QStringLiteral("1"), {2}, 4, 50);
    QVERIFY2(fixture_->ok(), qPrintable(fixture_->error()));
    fixture_->setExeFolder();
  }
  void cleanup() {
    delete fixture_;
    fixture_ = nullptr;
  }

  void inputRefusesMoreThanAllAndAcceptsAll() {
    TfrmQZTP0200 input(nullptr);
    input.SetPartCode(QStringLiteral("1"));
    QString shown;
    QString addWhileRefused;
    WhenModal(Named(QStringLiteral("TfrmQZTP0200")), [&](QWidget*) {
      QCOMPARE(input.TimeNEdt->text(), QStringLiteral("0"));
      WhenModal({}, [&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        addWhileRefused = add();
        FindButton(box, QMessageBox::Ok)->click();
      });
      input.TimeNEdt->setText(QStringLiteral("51"));
      input.OkBtn->click();
      // Still open for correction; Enter in the box acts as the button.
      QVERIFY(input.isVisible());
      input.TimeNEdt->setText(QStringLiteral("50"));
      QTest::keyClick(input.TimeNEdt, Qt::Key_Return);
    });
    QCOMPARE(input.ShowModal(), ModalResult::Ok);
    QVERIFY2(shown.contains(QStringLiteral("50分以上は設定できません。")), qPrintable(shown));
    QCOMPARE(addWhileRefused, QStringLiteral("0"));
    QCOMPARE(add(), QStringLiteral("50"));
    QVERIFY(LogText(*fixture_, QStringLiteral("1")).contains(QStringLiteral("QZTP0200：開始")));
  }

  void inputCloseLeavesAddUnchanged() {
    setAdd(7);
    const ExtensionOutcome outcome = [&] {
      WhenModal(Named(QStringLiteral("TfrmQZTP0200")), [](QWidget* w) {
        auto* input = static_cast<TfrmQZTP0200*>(w);
        QCOMPARE(input->TimeNEdt->text(), QStringLiteral("7"));
        input->TimeNEdt->setText(QStringLiteral("9"));
        input->plButton1->click();
      });
      return RunTimeExtension(nullptr, QStringLiteral("1"));
    }();
    QVERIFY(outcome.ran);
    QVERIFY(!outcome.stored);
    QVERIFY(!outcome.Changed());
    QCOMPARE(add(), QStringLiteral("7"));
  }

  void resultTexts_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("text");
    QTest::newRow("first extension") << 0 << "5"
                                     << "試験時間を5分延長しました。";
    QTest::newRow("changed") << 10 << "15"
                             << "試験時間の延長を15分に変更しました。";
    QTest::newRow("removed") << 10 << "0"
                             << "試験時間の延長を解除しました。";
  }
  void resultTexts() {
    QFETCH(int, before);
    QFETCH(QString, entered);
    QFETCH(QString, text);
    setAdd(before);
    QString shown;
    WhenModal(Named(QStringLiteral("TfrmQZTP0200")), EnterMinutes(entered, &shown));
    const ExtensionOutcome outcome = RunTimeExtension(nullptr, QStringLiteral("1"));
    QVERIFY(outcome.Changed());
    QCOMPARE(outcome.oldMinutes, before);
    QCOMPARE(outcome.newMinutes, entered.toInt());
    QCOMPARE(shown, text);
    QVERIFY(LogText(*fixture_, QStringLiteral("1")).contains(QStringLiteral("QZTP0210：開始")));
  }

  void sameValueShowsNoResult() {
    setAdd(10);
    WhenModal(Named(QStringLiteral("TfrmQZTP0200")), EnterMinutes(QStringLiteral("10")));
    const ExtensionOutcome outcome = RunTimeExtension(nullptr, QStringLiteral("1"));
    QVERIFY(outcome.stored);
    QVERIFY(!outcome.Changed());
    QVERIFY(!LogText(*fixture_, QStringLiteral("1")).contains(QStringLiteral("QZTP0210")));
  }

  void timeControlOffIgnoresTheShortcut() {
    QVERIFY(WriteIni(SystemIniPath(), QStringLiteral("基本情報"),
                     QStringLiteral("タイムコントロール"), QStringLiteral("11")));
    const ExtensionOutcome outcome = RunTimeExtension(nullptr, QStringLiteral("1"));
    QVERIFY(!outcome.ran);
    QVERIFY(!LogText(*fixture_, QStringLiteral("1")).contains(QStringLiteral("QZTP0200")));
  }

  void timeOverNotice_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("normalEnd");
    QTest::newRow("extension lets the part go on") << 0 << "10" << 2 << "";
    QTest::newRow("removing keeps time-over") << 10 << "0" << 2 << "T";
    QTest::newRow("no change, OK ends") << 10 << "10" << 1 << "T";
  }
  void timeOverNotice() {
    QFETCH(int, before);
    QFETCH(QString, entered);
    QFETCH(int, result);
    QFETCH(QString, normalEnd);
    setAdd(before);
    QVERIFY(WriteNormalEnd(QStringLiteral("1"), QStringLiteral("T")));

    TfrmQZTP0220 notice(nullptr);
    notice.SetPartCode(QStringLiteral("1"));
    bool hiddenDuringInput = false;
    QString resultLine;
    bool active = false;
    WhenModal(Named(QStringLiteral("TfrmQZTP0220")), [&](QWidget*) {
      QCOMPARE(notice.TitleLabel()->text(), QStringLiteral("試験時間経過による知識試験終了"));
      QCOMPARE(notice.MesLbl->text(),
               QStringLiteral("試験時間経過により、知識試験は終了しています。"));
      WhenModal(Named(QStringLiteral("TfrmQZTP0200")), [&](QWidget* w) {
        hiddenDuringInput = !notice.isVisible();
        EnterMinutes(entered, entered.toInt() != before ? &resultLine : nullptr)(w);
      });
      // The shortcut needs the notice to be the active window; never leave it waiting.
      active = QTest::qWaitForWindowActive(&notice);
      if (active) {
        QTest::keyClick(&notice, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
      } else {
        notice.ShortCutSCT->trigger();
      }
      // Without a change the notice is back and waits for OK.
      if (notice.isVisible()) notice.OkBtn->click();
    });
    QCOMPARE(notice.ShowModal(), result);
    QVERIFY(active);
    QVERIFY(hiddenDuringInput);
    QCOMPARE(this->normalEnd(), normalEnd);
    QCOMPARE(add(), entered);
    QVERIFY(LogText(*fixture_, QStringLiteral("1")).contains(QStringLiteral("QZTP0220：開始")));
  }

  void timeOverPracticalTexts() {
    fixture_->practicalPart(QStringLiteral("2"));
    TfrmQZTP0220 notice(nullptr);
    notice.SetPartCode(QStringLiteral("2"));
    notice.show();
    QCOMPARE(notice.TitleLabel()->text(), QStringLiteral("試験時間経過による実技試験終了"));
    QCOMPARE(notice.MesLbl->text(),
             QStringLiteral("試験時間経過により、実技試験は終了しています。"));
    QCOMPARE(notice.size(), QSize(408, 174));
    notice.close();
  }
};

EXAMORA_TEST(TestTimeExtension)
#include "tst_timeextension.moc"
