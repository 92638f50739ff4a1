#include <QtTest>

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <memory>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "flow/QZTP0020.h"
#include "flow/QZTP0030.h"
#include "widgets/WindowOrder.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kShiken = u"system/shiken.ini"_s;

QString SystemIniText(const QString& examExt = {}, const QString& gradeExt = {}) {
  return u"[基本情報]\n冊子名称=テスト冊子\n委員会名=テスト委員会\n級名=３級\nパターン=B\n"
         u"パターン名=\nバージョン名=テスト版\n試験画像拡張子=%1\n級個人情報画像拡張子=%2\n"
         u"表示タイプ=1\n\n[年度]\n1926=昭和\n1989=平成\n\n[生年月日]\n開始=1990\n終了=2005\n"_s
             .arg(examExt, gradeExt);
}

// A PNG with pure white on the left half and the colour on the right half.
QByteArray HalfWhitePng(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int y = 0; y < height; ++y)
    for (int x = width / 2; x < width; ++x) image.setPixelColor(x, y, colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

template <class T>
T* Child(QWidget* screen, const QString& name) {
  T* w = screen->findChild<T*>(name);
  if (!w) qWarning("missing control %s", qPrintable(name));
  return w;
}

void Select(QWidget* screen, const QString& combo, const QString& labelStart) {
  auto* c = Child<QComboBox>(screen, combo);
  c->setCurrentIndex(labelStart.isEmpty() ? -1 : c->findText(labelStart, Qt::MatchStartsWith));
}

struct Entry {
  QString venue, number, family, given, year, month, day, sex;
};

void Fill(QWidget* s, const Entry& e) {
  Child<QLineEdit>(s, u"KaiCdEdt"_s)->setText(e.venue);
  Child<QLineEdit>(s, u"JuBanEdt"_s)->setText(e.number);
  Child<QLineEdit>(s, u"SeiEdt"_s)->setText(e.family);
  Child<QLineEdit>(s, u"MeiEdt"_s)->setText(e.given);
  Select(s, u"YearCmb"_s, e.year);
  Select(s, u"MonthCmb"_s, e.month);
  Select(s, u"DayCmb"_s, e.day);
  if (e.sex == u"1") Child<QRadioButton>(s, u"ManRdo"_s)->setChecked(true);
  if (e.sex == u"2") Child<QRadioButton>(s, u"WomanRdo"_s)->setChecked(true);
}

const Entry kValid{u"01234"_s, u"000123"_s, u"山田"_s, u"花子"_s,
                   u"1995"_s,  u"01月"_s,   u"31日"_s, u"2"_s};

// Runs press and answers the message box it shows with the button; returns the box's text
// ("" when no box appeared).
QString AnswerMessage(const std::function<void()>& press,
                      QMessageBox::StandardButton answer = QMessageBox::Ok) {
  QString text;
  auto wait = WhenModal([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                        [&](QWidget* w) {
                          text = static_cast<QMessageBox*>(w)->text();
                          ClickButton(answer)(w);
                        });
  press();
  if (!wait->fired()) wait->cancel();
  return text;
}

void ClickNext(QWidget* s) {
  Child<QPushButton>(s, u"NextBtn"_s)->click();
}
void ClickClose(QWidget* s) {
  Child<QPushButton>(s, u"CloseBtn"_s)->click();
}

}  // namespace

Q_DECLARE_METATYPE(Entry)

class TestQZTP0020 : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void checksFailInOrder_data();
  void checksFailInOrder();
  void enterInNameRunsTheChecks();
  void validInputIsStoredAndChainsToNotes();
  void backFromNotesShowsTheScreenAgain();
  void readOnlyCandidateFileKeepsTheScreen();
  void closeStoresThenAsks();
  void secondPartShowsStoredDetails();
  void examPicturesAndWebStyleLayout();
  void missingExamPictureLeavesGradeLabel();

 private:
  // Shows the screen for partCode, runs body on it while it is modal and returns its result;
  // the screen is closed with 99 if body leaves it open.
  int Run(const QString& partCode, const std::function<void(TfrmQZTP0020&)>& body);
  QStringList LogEvents(const QString& partCode = u"1"_s) const;
  QByteArray ShikenBytes() const { return fx_->readBytes(kShiken); }
  static QByteArray Line(const QString& keyValue) { return ToCp932(QString(keyValue + u"\r\n"_s)); }

  std::unique_ptr<FixtureInstallation> fx_;
};

void TestQZTP0020::init() {
  fx_ = std::make_unique<FixtureInstallation>();
  fx_->writeIni(u"system/system.ini"_s, SystemIniText());
  fx_->writeIni(u"system/1/setup.ini"_s,
                u"[基本情報]\n試験区分=1\n受験タイプ=1\n部種名称=知識\n\n[試験時間]\nall=50\n"_s);
  fx_->writeIni(u"system/2/setup.ini"_s,
                u"[基本情報]\n試験区分=2\n受験タイプ=2\n部種名称=実技\n\n[試験時間]\nall=60\n"
                u"add=15\n"_s);
  fx_->writeIni(kShiken, u"[受験者情報]\n連携=\n"_s);
  QVERIFY2(fx_->ok(), qPrintable(fx_->error()));
  fx_->setExeFolder();
}

void TestQZTP0020::cleanup() {
  QFile::setPermissions(fx_->path(kShiken), QFile::ReadOwner | QFile::WriteOwner);
  SetApplicationMainWindow(nullptr);
  SetExeFolder(QString());
  fx_.reset();
}

int TestQZTP0020::Run(const QString& partCode, const std::function<void(TfrmQZTP0020&)>& body) {
  TfrmQZTP0020 screen(nullptr);
  screen.SetPartCode(partCode);
  auto wait = WhenModal([&screen](QWidget* w) { return w == &screen; },
                        [&](QWidget*) {
                          body(screen);
                          if (screen.isVisible()) screen.done(99);
                        });
  return screen.ShowModal();
}

QStringList TestQZTP0020::LogEvents(const QString& partCode) const {
  QStringList events;
  const QString text = FromCp932(fx_->readBytes(u"system/"_s + partCode + u"/log.txt"_s));
  for (const QString& line : text.split(u"\r\n"_s)) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() == 3) events << fields.at(2);
  }
  return events;
}

void TestQZTP0020::checksFailInOrder_data() {
  QTest::addColumn<Entry>("entry");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("focus");  // "" = unchanged (stays on MeiEdt)
  QTest::addColumn<int>("passed");

  auto with = [](auto change) {
    Entry e = kValid;
    change(e);
    return e;
  };
  QTest::newRow("venue empty") << with([](Entry& e) { e.venue.clear(); }) << msg::kVenueCodeEmpty
                               << u"KaiCdEdt"_s << 0;
  QTest::newRow("venue 1234") << with([](Entry& e) { e.venue = u"1234"_s; })
                              << msg::kVenueCodeFormat << u"KaiCdEdt"_s << 0;
  QTest::newRow("venue full-width") << with([](Entry& e) { e.venue = u"１２３４５"_s; })
                                    << msg::kVenueCodeFormat << u"KaiCdEdt"_s << 0;
  QTest::newRow("venue ABCDE") << with([](Entry& e) { e.venue = u"ABCDE"_s; })
                               << msg::kVenueCodeFormat << u"KaiCdEdt"_s << 0;
  QTest::newRow("number empty") << with([](Entry& e) { e.number.clear(); })
                                << msg::kCandidateNumberEmpty << u"JuBanEdt"_s << 1;
  QTest::newRow("number 12a") << with([](Entry& e) { e.number = u"12a"_s; })
                              << msg::kCandidateNumberNotNumeric << u"JuBanEdt"_s << 1;
  QTest::newRow("family name") << with([](Entry& e) { e.family.clear(); }) << msg::kFamilyNameEmpty
                               << u"SeiEdt"_s << 2;
  QTest::newRow("given name") << with([](Entry& e) { e.given.clear(); }) << msg::kGivenNameEmpty
                              << u"MeiEdt"_s << 3;
  QTest::newRow("no year") << with([](Entry& e) { e.year.clear(); }) << msg::kBirthDateNotSelected
                           << u"YearCmb"_s << 4;
  QTest::newRow("no month") << with([](Entry& e) { e.month.clear(); }) << msg::kBirthDateNotSelected
                            << u"MonthCmb"_s << 4;
  QTest::newRow("no day") << with([](Entry& e) { e.day.clear(); }) << msg::kBirthDateNotSelected
                          << u"DayCmb"_s << 4;
  QTest::newRow("no sex") << with([](Entry& e) { e.sex.clear(); }) << msg::kSexNotSelected
                          << QString() << 5;
}

void TestQZTP0020::checksFailInOrder() {
  QFETCH(Entry, entry);
  QFETCH(QString, message);
  QFETCH(QString, focus);
  QFETCH(int, passed);
  const QByteArray before = ShikenBytes();
  QString shown;
  QString focused;
  bool stayed = false;
  Run(u"1"_s, [&](TfrmQZTP0020& s) {
    Fill(&s, entry);
    Child<QLineEdit>(&s, u"MeiEdt"_s)->setFocus();
    shown = AnswerMessage([&] { ClickNext(&s); });
    focused = s.focusWidget() ? s.focusWidget()->objectName() : QString();
    stayed = s.isVisible();
  });
  QCOMPARE(shown, message.mid(3));
  QCOMPARE(focused, focus.isEmpty() ? u"MeiEdt"_s : focus);
  QVERIFY(stayed);
  QCOMPARE(ShikenBytes(), before);  // nothing stored

  QStringList expected{u"QZTP0020：次へ"_s, u"QZTP0020：全チェック開始"_s};
  for (int n = 1; n <= passed; ++n)
    expected << u"QZTP0020：チェック"_s + QChar(char16_t(u'０' + n));
  const QStringList log = LogEvents();
  QCOMPARE(log.mid(log.indexOf(u"QZTP0020：次へ"_s)), expected);
}

void TestQZTP0020::enterInNameRunsTheChecks() {
  QString shown;
  QString focused;
  Run(u"1"_s, [&](TfrmQZTP0020& s) {
    auto* sei = Child<QLineEdit>(&s, u"SeiEdt"_s);
    sei->setFocus();
    shown = AnswerMessage([&] { QTest::keyClick(sei, Qt::Key_Return); });
    focused = s.focusWidget() ? s.focusWidget()->objectName() : QString();
  });
  QCOMPARE(shown, msg::kVenueCodeEmpty.mid(3));
  QCOMPARE(focused, u"KaiCdEdt"_s);
  QVERIFY(LogEvents().contains(u"QZTP0020：全チェック開始"_s));
}

void TestQZTP0020::validInputIsStoredAndChainsToNotes() {
  bool notesShown = false;
  QString notesPart;
  bool hiddenMeanwhile = false;
  const int result = Run(u"1"_s, [&](TfrmQZTP0020& s) {
    Fill(&s, kValid);
    auto notes = WhenModal([](QWidget* w) { return qobject_cast<TfrmQZTP0030*>(w) != nullptr; },
                           [&](QWidget* w) {
                             auto* n = static_cast<TfrmQZTP0030*>(w);
                             notesShown = true;
                             notesPart = n->PartCode();
                             hiddenMeanwhile = !s.isVisible();
                             n->done(1);
                           });
    ClickNext(&s);
  });
  QCOMPARE(result, 1);
  QVERIFY(notesShown);
  QCOMPARE(notesPart, u"1"_s);
  QVERIFY(hiddenMeanwhile);

  const QByteArray ini = ShikenBytes();
  for (const QString& line :
       {u"会場コード=01234"_s, u"受験番号=000123"_s, u"姓=山田"_s, u"名=花子"_s, u"年=1995"_s,
        u"月=1"_s, u"日=31"_s, u"性別=2"_s, u"連携="_s})
    QVERIFY2(ini.contains(Line(line)), qPrintable(line));

  const QStringList log = LogEvents();
  QCOMPARE(log.value(0), u"QZTP0020：開始"_s);
  QCOMPARE(log.value(1), u"QZTP0020：起動位置："_s + QDir::toNativeSeparators(fx_->root() + u'/'));
  QStringList checks;
  for (int n = 1; n <= 6; ++n) checks << u"QZTP0020：チェック"_s + QChar(char16_t(u'０' + n));
  QCOMPARE(log.mid(log.indexOf(u"QZTP0020：チェック１"_s), 6), checks);
}

void TestQZTP0020::backFromNotesShowsTheScreenAgain() {
  bool shownAgain = false;
  QString venueAgain;
  const int result = Run(u"1"_s, [&](TfrmQZTP0020& s) {
    Fill(&s, kValid);
    auto notes = WhenModal([](QWidget* w) { return qobject_cast<TfrmQZTP0030*>(w) != nullptr; },
                           [](QWidget* w) { static_cast<TfrmQZTP0030*>(w)->done(7); });
    ClickNext(&s);
    shownAgain = s.isVisible();
    venueAgain = s.VenueCode();
  });
  QCOMPARE(result, 99);  // still open after "back"; closed by the test
  QVERIFY(shownAgain);
  QCOMPARE(venueAgain, u"01234"_s);
  QCOMPARE(LogEvents().count(u"QZTP0020：開始"_s), 2);
}

void TestQZTP0020::readOnlyCandidateFileKeepsTheScreen() {
  QVERIFY(QFile::setPermissions(fx_->path(kShiken),
                                QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  const QByteArray before = ShikenBytes();
  QString shown;
  bool stayed = false;
  bool notesShown = false;
  Run(u"1"_s, [&](TfrmQZTP0020& s) {
    Fill(&s, kValid);
    auto notes = WhenModal([](QWidget* w) { return qobject_cast<TfrmQZTP0030*>(w) != nullptr; },
                           [&](QWidget* w) {
                             notesShown = true;
                             static_cast<TfrmQZTP0030*>(w)->done(2);
                           });
    shown = AnswerMessage([&] { ClickNext(&s); });
    if (!notes->fired()) notes->cancel();
    stayed = s.isVisible();
  });
  const QString head = msg::kSystemWriteFailed.mid(3) + u"\r\n\r\n"_s;
  QVERIFY2(shown.startsWith(head) && shown.size() > head.size(), qPrintable(shown));
  const QString error = shown.mid(head.size());
  QVERIFY(stayed);
  QVERIFY(!notesShown);
  QCOMPARE(ShikenBytes(), before);
  QVERIFY(LogEvents().contains(u"QZTP0020："_s + msg::kSystemWriteFailed + error));
}

void TestQZTP0020::closeStoresThenAsks() {
  QString question;
  bool openAfterNo = false;
  QByteArray afterNo;
  const int result = Run(u"1"_s, [&](TfrmQZTP0020& s) {
    Fill(&s, Entry{{}, {}, u"山田"_s, {}, u"1995"_s, {}, {}, {}});
    question = AnswerMessage([&] { ClickClose(&s); }, QMessageBox::No);
    openAfterNo = s.isVisible();
    afterNo = ShikenBytes();
    AnswerMessage([&] { ClickClose(&s); }, QMessageBox::Yes);
  });
  QCOMPARE(question, msg::kConfirmQuit.mid(3));
  QVERIFY(openAfterNo);
  QCOMPARE(result, 2);
  QVERIFY(afterNo.contains(Line(u"姓=山田"_s)));
  QVERIFY(afterNo.contains(Line(u"年=1995"_s)));
  QVERIFY(afterNo.contains(Line(u"会場コード="_s)));
  QVERIFY(!afterNo.contains(ToCp932(u"月="_s)));
  QVERIFY(!afterNo.contains(ToCp932(u"性別="_s)));
  QCOMPARE(LogEvents().count(u"QZTP0020：閉じる"_s), 2);
}

void TestQZTP0020::secondPartShowsStoredDetails() {
  fx_->writeIni(kShiken,
                u"[受験者情報]\n会場コード=01234\n受験番号=0042\n姓=山田\n名=太郎\n"
                u"年=2001\n月=1\n日=31\n性別=1\n連携=\n"_s);
  fx_->makeDir(u"system/2"_s);
  QWidget background;
  SetApplicationMainWindow(&background);
  QStringList texts;
  QString year, month, day, dayAfterFebruary;
  int februaryDays = 0;
  bool man = false;
  bool screenOnTop = false;
  Run(u"2"_s, [&](TfrmQZTP0020& s) {
    for (const char16_t* name : {u"KaiCdEdt", u"JuBanEdt", u"SeiEdt", u"MeiEdt"})
      texts << Child<QLineEdit>(&s, QString::fromUtf16(name))->text();
    texts << Child<QLabel>(&s, u"Midashi1Lbl"_s)->text() << s.windowTitle()
          << Child<QLabel>(&s, u"KyuPatVerLbl"_s)->text()
          << Child<QLabel>(&s, u"ShikenTimeLbl"_s)->text()
          << Child<QLabel>(&s, u"ShikenName2Lbl"_s)->text();
    year = Child<QComboBox>(&s, u"YearCmb"_s)->currentText();
    month = Child<QComboBox>(&s, u"MonthCmb"_s)->currentText();
    day = Child<QComboBox>(&s, u"DayCmb"_s)->currentText();
    man = Child<QRadioButton>(&s, u"ManRdo"_s)->isChecked();
    screenOnTop = s.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    Select(&s, u"MonthCmb"_s, u"02月"_s);
    auto* days = Child<QComboBox>(&s, u"DayCmb"_s);
    februaryDays = days->count();
    dayAfterFebruary = days->currentText();
  });
  QCOMPARE(texts, (QStringList{u"01234"_s, u"0042"_s, u"山田"_s, u"太郎"_s,
                               u"試験情報と、入力されている受験者情報を確認してください。"_s,
                               u"テスト冊子 [実技]"_s, u"実技　Bパターン(テスト版)"_s,
                               u"60分 ＋ 延長15分"_s, u"テスト冊子[実技]"_s}));
  QCOMPARE(year, u"2001 (平成13)年"_s);
  QCOMPARE(month, u"01月"_s);
  QCOMPARE(day, u"31日"_s);
  QVERIFY(man);
  QCOMPARE(februaryDays, 28);
  QCOMPARE(dayAfterFebruary, u"28日"_s);
  // The background window was lifted and let go again; the screen itself stays on top.
  QVERIFY(screenOnTop);
  QVERIFY(!background.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(LogEvents(u"2"_s).contains(u"QZTP0020：開始"_s));
}

void TestQZTP0020::examPicturesAndWebStyleLayout() {
  fx_->writeIni(u"system/system.ini"_s, SystemIniText(u".png"_s, u".png"_s));
  fx_->writeFile(u"system/Image/ShikenImage.png"_s, HalfWhitePng(400, 40, Qt::red));
  fx_->writeFile(u"system/Image/KyuInfoImage.png"_s, HalfWhitePng(200, 40, Qt::blue));
  fx_->writeIni(u"system/1/setup.ini"_s,
                u"[基本情報]\n試験区分=1\n受験タイプ=3\n部種名称=知識\n"
                u"試験時間テキスト=知識30分,\"実技 60分\"\n\n[試験時間]\nall=50\n"_s);
  QImage picture;
  QLabel *grade = nullptr, *pattern = nullptr, *part = nullptr, *caption = nullptr;
  QString gradeText, timeText, first, second;
  int gradeLeft = 0, partLeft = 0, partTop = 0, patternRight = 0, captionTop = 0, footerTop = 0;
  bool nameHidden = false, partVisible = false;
  Run(u"1"_s, [&](TfrmQZTP0020& s) {
    picture = Child<QLabel>(&s, u"ShikenImg"_s)->pixmap().toImage();
    grade = Child<QLabel>(&s, u"ShikenName3Lbl"_s);
    pattern = Child<QLabel>(&s, u"KyuPatVerLbl"_s);
    part = Child<QLabel>(&s, u"BuNmLbl"_s);
    caption = Child<QLabel>(&s, u"Lable2"_s);
    gradeText = grade->text();
    gradeLeft = grade->x();
    partLeft = part->x();
    partTop = part->y();
    partVisible = part->isVisible();
    patternRight = pattern->x() + pattern->width();
    timeText = Child<QLabel>(&s, u"ShikenTimeLbl"_s)->text();
    captionTop = caption->y();
    first = Child<QLabel>(&s, u"Midashi1Lbl"_s)->text();
    second = Child<QLabel>(&s, u"Midashi2Lbl"_s)->text();
    footerTop = s.FooterLabel()->y();
    nameHidden = !Child<QLabel>(&s, u"ShikenName2Lbl"_s)->isVisible();
  });
  // 400×40 fits 20 px high at half size: 200×20 at x 2; the grade picture (200×40 → 100×20)
  // follows at 2 + 200 + 10; white is transparent.
  QCOMPARE(picture.size(), QSize(524, 25));
  QCOMPARE(qAlpha(picture.pixel(50, 10)), 0);  // white half of the exam picture
  QCOMPARE(QColor(picture.pixel(150, 10)), QColor(Qt::red));
  QCOMPARE(qAlpha(picture.pixel(230, 10)), 0);  // white half of the grade picture
  QCOMPARE(QColor(picture.pixel(290, 10)), QColor(Qt::blue));
  QCOMPARE(qAlpha(picture.pixel(150, 22)), 0);  // below the 20-px pictures
  QVERIFY(nameHidden);
  QCOMPARE(gradeText, QString());  // a grade picture replaces the grade name
  QCOMPARE(gradeLeft, 40 + 212 + 100 + 10);
  QVERIFY(partVisible);
  QCOMPARE(partLeft, patternRight + 10);
  QCOMPARE(partTop, 218);
  QCOMPARE(timeText, u"知識30分\n実技 60分\n"_s);
  QCOMPARE(captionTop, 268);
  QCOMPARE(
      first,
      u"試験情報を確認し、受験者情報を入力してください（受験者情報の項目は全て必須入力です）。"_s);
  QCOMPARE(second, u"確認後、[次へ]ボタンをクリックしてください。"_s);
  QCOMPARE(footerTop, 26);
}

void TestQZTP0020::missingExamPictureLeavesGradeLabel() {
  fx_->writeIni(u"system/system.ini"_s, SystemIniText(u".png"_s));
  fx_->writeFile(u"system/Image/KyuInfoImage.png"_s, HalfWhitePng(200, 40, Qt::blue));
  QString gradeText;
  int gradeLeft = -1;
  QImage picture;
  Run(u"1"_s, [&](TfrmQZTP0020& s) {
    auto* grade = Child<QLabel>(&s, u"ShikenName3Lbl"_s);
    gradeText = grade->text();
    gradeLeft = grade->x();
    picture = Child<QLabel>(&s, u"ShikenImg"_s)->pixmap().toImage();
  });
  QCOMPARE(gradeText, QString());  // not filled with 級名
  QCOMPARE(gradeLeft, 300);        // not moved
  QCOMPARE(qAlpha(picture.pixel(10, 10)), 0);
}

EXAMORA_TEST(TestQZTP0020)
#include "tst_qztp0020.moc"
