#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "viewers/QZQZ0010.h"
#include "widgets/RoundButton.h"

using namespace examora;
using namespace Qt::StringLiterals;

// The finished-sample viewer on real page files: paging at both ends, zoom limits, pages that
// went away or are no pictures, and what it draws.
class TestQZQZ0010 : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;

  void WritePage(const QString& name, QColor colour, QSize size = QSize(200, 150)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(fx_->path(u"system/1/html/s/"_s + name), "JPG", 95));
  }
  // A viewer on part 1's pages, shown and laid out.
  QPointer<TfrmQZQZ0010> Open(int startPage = 0) {
    QPointer<TfrmQZQZ0010> viewer = new TfrmQZQZ0010();
    viewer->SetupFolderCode = u"1"_s;
    viewer->BaseCaption = u"見本"_s;
    viewer->StartPage = startPage;
    viewer->KeepOnTop = false;
    viewer->InitialBounds = QRect(10, 10, 640, 480);
    viewer->show();
    return viewer;
  }
  // Presses a page button at the end of the pages; returns the message it showed.
  static QString PageMessage(const std::function<void()>& press) {
    QString text;
    test::WhenModalAppears([&](QWidget* m) {
      text = static_cast<QMessageBox*>(m)->text();
      test::ClickButton(QMessageBox::Ok)(m);
    });
    press();
    return text;
  }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
    fx_->makeDir(u"system/1/html/s"_s);
  }
  void cleanup() {
    fx_.reset();
    SetExeFolder(QString());
  }

  void pagingAtBothEnds() {
    WritePage(u"p1.jpeg"_s, Qt::red);
    WritePage(u"p2.jpeg"_s, Qt::green);
    WritePage(u"p3.jpeg"_s, Qt::blue);
    fx_->writeFile(u"system/1/html/s/notes.txt"_s, "not a page");
    QPointer<TfrmQZQZ0010> v = Open(2);
    QCOMPARE(v->PageCount(), 3);
    QCOMPARE(v->windowTitle(), u"見本(３／３)"_s);
    QVERIFY(v->BackBtn->isEnabled());
    QVERIFY(!v->NextBtn->isEnabled());
    QCOMPARE(PageMessage([&] { v->NextBtnClick(); }), u"最終頁です。"_s);
    QCOMPARE(v->PageIndex, 2);
    v->BackBtnClick();
    v->BackBtnClick();
    QCOMPARE(v->windowTitle(), u"見本(１／３)"_s);
    QVERIFY(!v->BackBtn->isEnabled());
    QVERIFY(v->NextBtn->isEnabled());
    QCOMPARE(PageMessage([&] { v->BackBtnClick(); }), u"先頭頁です。"_s);
    const QString log = FromCp932(fx_->readBytes(u"system/1/log.txt"_s));
    QCOMPARE(log.count(u"QZQZ0010：前頁ボタン押下"_s), 3);
    QCOMPARE(log.count(u"QZQZ0010：次頁ボタン押下"_s), 1);
    QVERIFY(log.contains(u"QZQZ0010：開始"_s));
    v->close();
  }

  // The page is drawn from the picture: the middle of the control has the page's colour.
  void drawsThePage() {
    WritePage(u"p1.jpeg"_s, QColor(0, 0, 255));
    QPointer<TfrmQZQZ0010> v = Open();
    QCOMPARE(v->MihonImg()->size(), QSize(200, 150));
    const QColor centre = v->MihonImg()->grab().toImage().pixelColor(100, 75);
    QVERIFY2(centre.blue() > 200 && centre.red() < 40, qPrintable(centre.name()));
    v->close();
  }

  void zoomLimits_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("size");
    // 200 × 150 at the percentage, fractions cut off.
    QTest::newRow("拡大 from 100") << u"ZoomIn"_s << 100 << 110 << QSize(220, 165);
    QTest::newRow("縮小 from 15") << u"ZoomOut"_s << 15 << 5 << QSize(10, 7);
    QTest::newRow("縮小 from 5 stops at 1") << u"ZoomOut"_s << 5 << 1 << QSize(2, 1);
    QTest::newRow("縮小 at 1 stays") << u"ZoomOut"_s << 1 << 1 << QSize(2, 1);
    QTest::newRow("標準") << u"ZoomNone"_s << 37 << 100 << QSize(200, 150);
  }
  void zoomLimits() {
    QFETCH(QString, button);
    QFETCH(int, from);
    WritePage(u"p1.jpeg"_s, Qt::gray);
    QPointer<TfrmQZQZ0010> v = Open();
    v->ZoomPercent = from;
    if (button == u"ZoomIn")
      v->ZoomInBtnClick();
    else if (button == u"ZoomOut")
      v->ZoomOutBtnClick();
    else
      v->ZoomNoneBtnClick();
    QTEST(v->ZoomPercent, "percent");
    QTEST(v->MihonImg()->size(), "size");
    QVERIFY(!v->FitMode);
    v->close();
  }

  // 1600 × 1200 in an 800 × 500 box: min(0.5, 0.416…) → 41.
  void fitPercent() {
    QCOMPARE(FitPercent(QSize(800, 500), QSize(1600, 1200)), 41);
    QCOMPARE(FitPercent(QSize(300, 300), QSize(100, 50)), 300);
  }

  // A page that is no picture, and one deleted while the viewer is open, show as empty pages;
  // the counter goes on and the zoom buttons leave them alone.
  void brokenAndDeletedPagesShowEmpty() {
    WritePage(u"p1.jpeg"_s, Qt::red);
    fx_->writeFile(u"system/1/html/s/p2.jpeg"_s, QByteArray("GIF89a this is no jpeg", 22));
    WritePage(u"p3.jpeg"_s, Qt::blue);
    QPointer<TfrmQZQZ0010> v = Open();
    QVERIFY(QFile::remove(fx_->path(u"system/1/html/s/p3.jpeg"_s)));
    v->NextBtnClick();
    QCOMPARE(v->windowTitle(), u"見本(２／３)"_s);
    QVERIFY(v->ImageSize().isEmpty());
    v->ZoomInBtnClick();
    v->ImgWindowBtnClick();
    v->NextBtnClick();
    QCOMPARE(v->windowTitle(), u"見本(３／３)"_s);
    QVERIFY(v->ImageSize().isEmpty());
    v->ZoomOutBtnClick();
    QCOMPARE(v->ZoomPercent, 100);
    v->resize(500, 400);
    v->BackBtnClick();
    v->BackBtnClick();
    QCOMPARE(v->ImageSize(), QSize(200, 150));
    v->close();
  }

  void noPageFolder() {
    QVERIFY(QDir(fx_->path(u"system/1/html/s"_s)).removeRecursively());
    QPointer<TfrmQZQZ0010> v = Open();
    QCOMPARE(v->windowTitle(), u"見本(０／０)"_s);
    QCOMPARE(PageMessage([&] { v->NextBtnClick(); }), u"最終頁です。"_s);
    // After either answer the other button still answers.
    QCOMPARE(PageMessage([&] { v->BackBtnClick(); }), u"先頭頁です。"_s);
    QVERIFY(v->NextBtn->isEnabled());
    QCOMPARE(PageMessage([&] { v->NextBtnClick(); }), u"最終頁です。"_s);
    v->ZoomInBtnClick();
    QCOMPARE(v->ZoomPercent, 100);
    v->close();
  }

  // The close hands back where the viewer was and which page it showed.
  void closeHandsBackBoundsAndPage() {
    WritePage(u"p1.jpeg"_s, Qt::red);
    WritePage(u"p2.jpeg"_s, Qt::green);
    QPointer<TfrmQZQZ0010> v = Open(7);  // beyond the pages: the last one
    QCOMPARE(v->PageIndex, 1);
    QRect bounds;
    int page = -1;
    v->HandBack = [&](const QRect& b, int p) {
      bounds = b;
      page = p;
    };
    v->setGeometry(30, 40, 500, 300);
    v->close();
    QTRY_VERIFY(!v);
    QCOMPARE(bounds, QRect(30, 40, 500, 300));
    QCOMPARE(page, 1);
  }

  // Only the picture turns the wheel into scrolling, one line a notch.
  void wheelOverThePictureOnly() {
    WritePage(u"p1.jpeg"_s, Qt::red, QSize(300, 2000));
    QPointer<TfrmQZQZ0010> v = Open();
    QScrollBar* bar = v->ScrollBox()->verticalScrollBar();
    const int start = bar->value();
    QWheelEvent down(QPointF(10, 10), v->MihonImg()->mapToGlobal(QPointF(10, 10)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->MihonImg(), &down);
    QCOMPARE(bar->value(), start + bar->singleStep());
    QWheelEvent overPanel(QPointF(10, 10), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->BackBtn, &overPanel);
    QCOMPARE(bar->value(), start + bar->singleStep());
    v->close();
  }
};

EXAMORA_TEST(TestQZQZ0010)
#include "tst_qzqz0010.moc"
