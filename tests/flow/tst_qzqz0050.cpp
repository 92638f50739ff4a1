#include <QLabel>
#include <QTest>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "flow/QZQZ0050.h"
#include "widgets/RoundButton.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

class TestQZQZ0050 : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    fx_ = std::make_unique<FixtureInstallation>();
    fx_->practicalPart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
  }
  void cleanup() {
    SetExeFolder(QString());
    fx_.reset();
  }

  void buttonsGiveTheirResults_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("result");
    QTest::newRow("yes ends the practice") << u"はい >"_s << 1;
    QTest::newRow("back goes on practising") << u"< 戻る"_s << 2;
  }
  void buttonsGiveTheirResults() {
    QFETCH(QString, caption);
    TfrmQZQZ0050 screen(nullptr);
    screen.SetPartCode(u"1"_s);
    auto wait = WhenModalAppears(ClickButton(caption));
    QTEST(screen.ShowModal(), "result");
    QVERIFY(wait->fired());
    // The exam window logs the practice end; the dialog itself writes nothing.
    QVERIFY(!fx_->exists(u"system/1/log.txt"_s));
  }

  void texts() {
    TfrmQZQZ0050 screen(nullptr);
    screen.SetPartCode(u"1"_s);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.size(), QSize(429, 273));
    QCOMPARE(screen.TitleLabel()->text(), u"操作練習終了"_s);
    const QStringList lines{screen.MesLbl1->text(),  screen.Tyui1Lbl->text(),
                            screen.Tyui2Lbl->text(), screen.Tyui3Lbl->text(),
                            screen.Tyui4Lbl->text(), screen.Tyui5Lbl->text()};
    QCOMPARE(lines, (QStringList{u"操作練習を終了します。　よろしいですか？"_s,
                                 u"※ここで設定した問題表示ウィンドウの"_s,
                                 u"レイアウトが、本試験開始時に適用さ"_s, u"れます。"_s,
                                 u"※本試験開始後も、ウィンドウの位置や"_s,
                                 u"大きさの変更は可能です。"_s}));
    for (const QLabel* line : {screen.MesLbl1, screen.Tyui5Lbl})
      QVERIFY2(line->sizeHint().width() <= line->width(), qPrintable(line->text()));
    QVERIFY(screen.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    screen.hide();
  }

  void titleFollowsTheLinkMode() {
    fx_->writeIni(u"system/shiken.ini"_s, u"[受験者情報]\n連携=2\n"_s);
    TfrmQZQZ0050 screen(nullptr);
    screen.SetPartCode(u"1"_s);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY2(screen.TitleLabel()->styleSheet().contains(u"#ffa500"_s),
             qPrintable(screen.TitleLabel()->styleSheet()));
    screen.hide();
  }

 private:
  std::unique_ptr<FixtureInstallation> fx_;
};

EXAMORA_TEST(TestQZQZ0050)
#include "tst_qzqz0050.moc"
