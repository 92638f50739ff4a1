#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "Fixture.h"
#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "flow/QZTP0060.h"
#include "flow/QZTP0070.h"
#include "flow/ScreenFrame.h"
#include "flow/model/FrameRules.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

// A screen that takes its size while it is being set up, as the screens whose lines need more
// room than their design height do.
class GrowingScreen : public ScreenFrame {
 public:
  GrowingScreen() : ScreenFrame(nullptr, {.formCode = u"QZTP0120"_s}) {}

 protected:
  void SetUpScreen() override { resize(468, 195); }
};

}  // namespace

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

  // Painted once at the size the screen had before it was set up, the bands stopped a hundred
  // pixels in and left the rest of the title and button bands blank.
  void bandsReachTheEdgesOfAScreenSizedDuringSetUp() {
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    fx.writePicture(u"system/Image/bg_main_top.jpg"_s, 40, 122);
    fx.writePicture(u"system/Image/bg_main_bottom.jpg"_s, 40, 80);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    GrowingScreen screen;
    screen.SetPartCode(u"1"_s);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.width(), 468);
    for (const QLabel* band : {screen.TitleBandPicture(), screen.BottomBandPicture()}) {
      QCOMPARE(band->width(), 468 + 2);
      QCOMPARE(band->pixmap().size(), band->size());
    }
    screen.hide();
    SetExeFolder(QString());
  }

  // Screens open at the centre of the screen, also when they belong to a small window at its
  // edge (the compact exam window's start notice), rather than centred over that window.
  void opensAtTheScreenCentreWhateverItsOwner() {
    FixtureInstallation fx;
    fx.knowledgePart(u"1"_s);
    QVERIFY2(fx.ok(), qPrintable(fx.error()));
    fx.setExeFolder();
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    owner.setGeometry(0, 24, 433, 61);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    TfrmQZTP0070 notice(&owner);
    GrowingScreen growing;  // and centred at the size it has taken
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (ScreenFrame* frame : std::initializer_list<ScreenFrame*>{&notice, &growing}) {
      frame->SetPartCode(u"1"_s);
      frame->show();
      QVERIFY(QTest::qWaitForWindowExposed(frame));
      QVERIFY2(qAbs(frame->geometry().center().x() - screen.center().x()) <= 1 &&
                   qAbs(frame->geometry().center().y() - screen.center().y()) <= 1,
               qPrintable(u"%1 at %2,%3"_s.arg(frame->FormCode()).arg(frame->x()).arg(frame->y())));
      frame->hide();
    }
    SetExeFolder(QString());
  }
};

EXAMORA_TEST(TestScreenFrame)
#include "tst_screenframe.moc"
