#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "flow/QZTP0060.h"
#include "flow/model/FrameRules.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

class TestScreenFrame : public QObject {
  Q_OBJECT

 private slots:
  void titleColourByLinkMode_data() {
    QTest::addColumn<QString>("linkMode");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("1 lime green") << u"1"_s << QColor(0x32, 0xCD, 0x32);
    QTest::newRow("2 orange") << u"2"_s << QColor(0xFF, 0xA5, 0x00);
    QTest::newRow("3 white") << u"3"_s << QColor(Qt::white);
    QTest::newRow("empty white") << QString() << QColor(Qt::white);
    QTest::newRow("unexpected white") << u"9"_s << QColor(Qt::white);
  }
  void titleColourByLinkMode() {
    QFETCH(QString, linkMode);
    QFETCH(QColor, colour);
    QCOMPARE(QColor(TitleColourRule(linkMode)), colour);
  }

  void centredLeftRoundsHalvesToEven() {
    QCOMPARE(CentredLeft(1024, 1.0), 512);  // 511.5 -> 512
    QCOMPARE(CentredLeft(1026, 1.0), 512);  // 512.5 -> 512
    QCOMPARE(CentredLeft(726, 683.0), 22);  // 21.5 -> 22
  }

  // The footer notice shares the bottom band with the buttons and must not run under them.
  void footerNoticeLeavesTheButtonsFree() {
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    TfrmQZTP0060 start(nullptr);
    start.SetPartCode(u"1"_s);
    start.StartMode = u"1"_s;
    start.show();
    QVERIFY(QTest::qWaitForWindowExposed(&start));
    const auto* footer = start.findChild<QLabel*>(u"CRLbl"_s);
    QVERIFY(footer);
    QVERIFY(!footer->text().isEmpty());
    for (const char* name : {"ShikenStartBtn", "BackBtn"}) {
      const auto* button = start.findChild<QAbstractButton*>(QString::fromLatin1(name));
      QVERIFY(button);
      QVERIFY2(!footer->geometry().intersects(button->geometry()), name);
    }
    start.hide();
    SetExeFolder(QString());
  }
};

EXAMORA_TEST(TestScreenFrame)
#include "tst_screenframe.moc"
