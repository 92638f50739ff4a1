#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include "Fixture.h"
#include "ManualClock.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "viewers/QZQZ0010.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"

using namespace examora;
using namespace Qt::StringLiterals;

namespace {

using PracticalFakeClock = test::ManualClock;

// Worked out by hand from the header rows of a column with 上下ボタン = "1", three mode
// buttons and the sample button: mode row 10 + 3 × 74 + 2 × 5 = 242 (the button row at 43 is as
// wide), + EndBtn 74 + 26 = 342; layout row 6 + 24 (label) + 8 + 4 × 36 + 3 × 2 = 188,
// + FirstPrintBtn 64 + AlignHiddenBtn 46 + AlignHidden1Lbl 24 + 40 = 362. The wider, 362, is
// over 356, so the column is 362 + 16 wide.
constexpr int kColumnWidth = 378;

}  // namespace

// The practical form of the exam window: its layout, the layout buttons, the on-top check box,
// the finished-sample viewer and the time-over beside the open confirmation.
class TestQZMainPractical : public QObject {
  Q_OBJECT

  std::unique_ptr<test::FixtureInstallation> fx_;
  PracticalFakeClock clock_;
  QStringList opened_;

  void SetIni(const QString& path, const QString& section, const QString& key,
              const QString& value) {
    QVERIFY(WriteIni(path, section, key, value).ok);
  }
  std::unique_ptr<TfrmQZMain> StartedWindow() {
    auto w = std::make_unique<TfrmQZMain>(nullptr, &clock_);
    w->SetPart(u"1"_s, false);
    w->VenueCode = u"01234"_s;
    w->CandidateNumber = u"1001"_s;
    w->OpenWorkFolder = [this](const QString& folder) { opened_ << folder; };
    w->setGeometry(0, 0, 1024, 768);
    w->show();
    if (!QTest::qWaitFor([&] { return !w->FirstActivation; }, 10000)) return nullptr;
    return w;
  }
  QString Log() const { return FromCp932(fx_->readBytes(u"system/1/log.txt"_s)); }
  QString Layout(const QString& key) const {
    return fx_->readIni(u"system/1/setup.ini"_s, u"画面情報"_s, key);
  }
  static void Click(TfrmQZMain* w, const QString& name) {
    auto* button = w->findChild<RoundButton*>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
  }
  static QString Caption(TfrmQZMain* w, const QString& name) {
    return w->findChild<RoundButton*>(name)->text();
  }
  // A picture of one colour, so that what the window paints can be told apart by its pixels.
  void WriteSolidPicture(const QString& relativePath, QColor colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(fx_->path(relativePath), "JPG", 95));
  }

 private slots:
  void init() {
    fx_ = std::make_unique<test::FixtureInstallation>();
    fx_->knowledgePart(u"1"_s);
    QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
    fx_->setExeFolder();
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"試験区分"_s, u"2"_s);
    SetIni(SetupIniPath(u"1"_s), u"基本情報"_s, u"見本ボタン名"_s, u"見本"_s);
    SetIni(SystemIniPath(), u"基本情報"_s, u"上下ボタン"_s, u"1"_s);
    fx_->makeDir(u"実技用"_s);
    opened_.clear();
  }
  void cleanup() {
    fx_.reset();
    SetExeFolder(QString());
  }

  void practicalLayout() {
    fx_->makeDir(u"system/Image"_s);
    WriteSolidPicture(u"system/Image/main_top_t.jpg"_s, QColor(220, 0, 0), QSize(64, 64));
    WriteSolidPicture(u"system/Image/main_top_z.jpg"_s, QColor(0, 200, 0), QSize(64, 64));
    QFile::remove(fx_->path(u"system/1/a.csv"_s));
    auto w = StartedWindow();
    QVERIFY(w);
    QVERIFY(!QFileInfo::exists(fx_->path(u"system/1/a.csv"_s)));
    QVERIFY(!w->RadioButton(1, 1));
    for (const QString& hidden : {u"Panel5"_s, u"QuestionPanel"_s, u"QuestionBtn"_s,
                                  u"B_ZoomInBtn"_s, u"JokyoLbl"_s, u"Mozi1Lbl"_s})
      QVERIFY2(w->findChild<QWidget*>(hidden)->isHidden(), qPrintable(hidden));
    for (const QString& shown : {u"AlignTopBtn"_s, u"AlignLeftBtn"_s, u"FirstPrintBtn"_s,
                                 u"T_ZoomInBtn"_s, u"MihonBtn"_s, u"MoziLbl"_s})
      QVERIFY2(!w->findChild<QWidget*>(shown)->isHidden(), qPrintable(shown));
    QCOMPARE(Caption(w.get(), u"AlignHiddenBtn"_s), u"非表示"_s);
    QCOMPARE(Caption(w.get(), u"MihonBtn"_s), u"見本"_s);
    QCOMPARE(w->Placement().minTrackWidth, kColumnWidth);
    // The band is the practical one.
    const QImage band = w->findChild<QLabel*>(u"TImg"_s)->pixmap().toImage();
    const QColor middle = band.pixelColor(40, 40);
    QVERIFY2(middle.green() > 150 && middle.red() < 60, qPrintable(middle.name()));
    // A real exam opens the work folder once.
    QCOMPARE(opened_.size(), 1);
    QVERIFY(opened_.first().endsWith(u"実技用"_s));
  }

  void layoutButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("position");
    const ScreenMetrics m = CurrentScreenMetrics();
    const int columnHeight = m.cyMaximized - m.cyCaption - 7;
    QTest::newRow("左") << u"AlignLeftBtn"_s << u"QZMain：左ボタン押下"_s
                        << QRect(0, m.cyCaption, kColumnWidth, columnHeight) << u"3"_s;
    QTest::newRow("右") << u"AlignRightBtn"_s << u"QZMain：右ボタン押下"_s
                        << QRect(m.cxScreen - kColumnWidth, m.cyCaption, kColumnWidth, columnHeight)
                        << u"4"_s;
    QTest::newRow("上") << u"AlignTopBtn"_s << u"QZMain：上ボタン押下"_s
                        << QRect(0, m.cyCaption, m.cxScreen + 4, 180) << u"1"_s;
    QTest::newRow("下") << u"AlignBottomBtn"_s << u"QZMain：下ボタン押下"_s
                        << QRect(0, m.cyMaximized - 180 - 16, m.cxScreen + 4, 180) << u"2"_s;
  }
  void layoutButtons() {
    QFETCH(QString, button);
    QFETCH(QString, logLine);
    auto w = StartedWindow();
    QVERIFY(w);
    w->move(30, 40);
    Click(w.get(), button);
    QTEST(w->geometry(), "bounds");
    QTEST(w->CurrentPosition, "position");
    QVERIFY(Log().trimmed().endsWith(logLine));
    QCOMPARE(Caption(w.get(), u"AlignHiddenBtn"_s), u"非表示"_s);
    QCOMPARE(w->minimumWidth(), w->Placement().minTrackWidth);
  }

  void layoutRowWithoutUpDownButtons() {
    SetIni(SystemIniPath(), u"基本情報"_s, u"上下ボタン"_s, u"0"_s);
    auto w = StartedWindow();
    QVERIFY(w);
    QVERIFY(w->findChild<QWidget*>(u"AlignTopBtn"_s)->isHidden());
    QVERIFY(w->findChild<QWidget*>(u"AlignBottomBtn"_s)->isHidden());
    // The row starts with 左 right after its label: 6 + 24 + 8.
    QCOMPARE(w->findChild<QWidget*>(u"AlignLeftBtn"_s)->x(), 38);
    // Layout row 38 + 2 × 36 + 2 = 112, + 64 + 46 + 24 + 40 = 286; the button rows need 342:
    // under 356, so the narrowest column.
    QCOMPARE(w->Placement().minTrackWidth, 356);
  }

  // Collapse writes the layout it leaves, then restore gives the same size back; in a strip
  // the collapse narrows the window to its header.
  void collapseWritesTheLayoutThenRestores() {
    auto w = StartedWindow();
    QVERIFY(w);
    const ScreenMetrics m = CurrentScreenMetrics();
    const QRect before = w->geometry();
    Click(w.get(), u"AlignHiddenBtn"_s);
    QVERIFY(Log().trimmed().endsWith(u"QZMain：表示・非表示ボタン押下"_s));
    QCOMPARE(Layout(u"位置"_s), u"4"_s);
    QCOMPARE(Layout(u"左"_s), QString::number(before.left()));
    QCOMPARE(Layout(u"上"_s), QString::number(before.top()));
    QCOMPARE(Layout(u"幅"_s), QString::number(before.width()));
    QCOMPARE(Layout(u"高さ"_s), QString::number(before.height()));
    QCOMPARE(w->geometry(), QRect(before.topLeft(), QSize(before.width(), 2 * m.cyFrame + 169)));
    QCOMPARE(Caption(w.get(), u"AlignHiddenBtn"_s), u"表示"_s);
    QVERIFY(w->QuestionAreaCollapsed);
    Click(w.get(), u"AlignHiddenBtn"_s);
    QCOMPARE(w->geometry(), before);
    QCOMPARE(Caption(w.get(), u"AlignHiddenBtn"_s), u"非表示"_s);
    QVERIFY(!w->QuestionAreaCollapsed);

    Click(w.get(), u"AlignTopBtn"_s);
    const QRect strip = w->geometry();
    Click(w.get(), u"AlignHiddenBtn"_s);
    // The strip's header is as wide as the column measured it: 378 − 2 × frame; the window
    // adds the frame and takes 4 off.
    QCOMPARE(w->geometry(), QRect(strip.topLeft(), QSize(kColumnWidth - 4, strip.height())));
    QCOMPARE(Layout(u"位置"_s), u"1"_s);
    Click(w.get(), u"AlignHiddenBtn"_s);
    QCOMPARE(w->geometry(), strip);
  }

  void firstPrintAfterMoves() {
    auto w = StartedWindow();
    QVERIFY(w);
    const QRect start = w->geometry();
    Click(w.get(), u"AlignLeftBtn"_s);
    Click(w.get(), u"AlignHiddenBtn"_s);
    w->move(200, 150);
    Click(w.get(), u"AlignBottomBtn"_s);
    Click(w.get(), u"AlignHiddenBtn"_s);
    Click(w.get(), u"FirstPrintBtn"_s);
    QVERIFY(Log().trimmed().endsWith(u"QZMain：初期表示ボタン押下"_s));
    QCOMPARE(w->geometry(), start);
    QCOMPARE(w->CurrentPosition, u"4"_s);
    QCOMPARE(Caption(w.get(), u"AlignHiddenBtn"_s), u"非表示"_s);
  }

  // The viewer opens where it was closed, on the page it showed.
  void sampleViewerRemembersBoundsAndPage() {
    for (int page = 1; page <= 3; ++page)
      fx_->writePicture(u"system/1/html/s/page%1.jpeg"_s.arg(page), 64, 48, u"jpg"_s);
    auto w = StartedWindow();
    QVERIFY(w);
    Click(w.get(), u"MihonBtn"_s);
    QVERIFY(Log().contains(u"QZMain：仕上り見本ボタン押下＞開く"_s));
    QPointer<TfrmQZQZ0010> viewer = w->SampleViewer;
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), u"見本(１／３)"_s);
    viewer->NextBtnClick();
    viewer->setGeometry(50, 60, 500, 400);
    Click(w.get(), u"MihonBtn"_s);
    QVERIFY(Log().trimmed().endsWith(u"QZMain：仕上り見本ボタン押下＞閉じる"_s));
    QTRY_VERIFY(!viewer);
    QVERIFY(!w->SampleViewer);
    Click(w.get(), u"MihonBtn"_s);
    QVERIFY(w->SampleViewer);
    QCOMPARE(w->SampleViewer->geometry(), QRect(50, 60, 500, 400));
    QCOMPARE(w->SampleViewer->windowTitle(), u"見本(２／３)"_s);
    // The check box covers the viewer and the window; the guard waits while the viewer is up.
    QVERIFY(w->SampleViewer->windowFlags() & Qt::WindowStaysOnTopHint);
    w->findChild<QCheckBox*>(u"TopMostChk"_s)->setChecked(false);
    QVERIFY(!(w->SampleViewer->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
  }

  // The time runs out while the candidate has the confirmation open beside the exam: it gives
  // way to the compulsory one, and ending there records "T".
  void timeOverWhileTheConfirmationIsOpen() {
    SetIni(SystemIniPath(), u"基本情報"_s, u"タイムコントロール"_s, u"1"_s);
    SetIni(SetupIniPath(u"1"_s), u"試験時間"_s, u"all"_s, u"1"_s);
    auto w = StartedWindow();
    QVERIFY(w);
    Click(w.get(), u"EndBtn"_s);
    QPointer<TfrmQZQZ0020> modeless = w->ConfirmForm;
    QVERIFY(modeless && modeless->isVisible());
    bool compulsory = false;
    auto wait =
        test::WhenModal([](QWidget* m) { return qobject_cast<TfrmQZQZ0020*>(m) != nullptr; },
                        [&](QWidget* m) {
                          auto* confirm = static_cast<TfrmQZQZ0020*>(m);
                          compulsory = confirm->TimeOver && !confirm->CancelBtn->isVisible();
                          confirm->done(1);
                        });
    clock_.ms += 61 * 1000;
    w->Clock()->ShikenTimerTimer();
    QTRY_VERIFY(wait->fired());
    QVERIFY(compulsory);
    QTRY_VERIFY(!modeless);
    QVERIFY(!w->isVisible());
    QCOMPARE(fx_->readIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"正常終了"_s), u"T"_s);
    QVERIFY(Log().contains(u"QZMain：試験時間終了処理"_s));
  }
};

EXAMORA_TEST(TestQZMainPractical)
#include "tst_qzmainpractical.moc"
