#include <QtTest>

#include "TestRegistry.h"
#include "common/QZMessage.h"
#include "flow/model/CandidateInfo.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(examora::CandidateField)
Q_DECLARE_METATYPE(examora::CandidateInput)
Q_DECLARE_METATYPE(examora::CandidateRecord)
Q_DECLARE_METATYPE(examora::Era)

class TestCandidateInfo : public QObject {
  Q_OBJECT

 private slots:
  void yearLabels_data();
  void yearLabels();
  void yearRangeReversedIsEmpty();
  void monthList();
  void dayList_data();
  void dayList();
  void keptDayIndex_data();
  void keptDayIndex();
  void venueCode_data();
  void venueCode();
  void candidateNumber_data();
  void candidateNumber();
  void checkOrder_data();
  void checkOrder();
  void storedEntries_data();
  void storedEntries();
  void patternVersion_data();
  void patternVersion();
  void examTime_data();
  void examTime();
  void pictureScaling();
};

void TestCandidateInfo::yearLabels_data() {
  QTest::addColumn<QList<Era>>("eras");
  QTest::addColumn<int>("year");
  QTest::addColumn<QString>("label");
  const QList<Era> eras = {{1926, QStringLiteral("昭和")}, {1989, QStringLiteral("平成")}};
  QTest::newRow("first year of an era") << eras << 1989 << QStringLiteral("1989 (平成01)年");
  QTest::newRow("last year of the previous era")
      << eras << 1988 << QStringLiteral("1988 (昭和63)年");
  QTest::newRow("before the first era") << eras << 1925 << QStringLiteral("1925 年");
  QTest::newRow("no eras at all") << QList<Era>{} << 2000 << QStringLiteral("2000 年");
}

void TestCandidateInfo::yearLabels() {
  QFETCH(QList<Era>, eras);
  QFETCH(int, year);
  QFETCH(QString, label);
  const QList<ListItem> items = YearItems(eras, year, year);
  QCOMPARE(items.size(), 1);
  QCOMPARE(items.first().label, label);
  QCOMPARE(items.first().value, QString::number(year));
}

void TestCandidateInfo::yearRangeReversedIsEmpty() {
  QVERIFY(YearItems({}, 2000, 1999).isEmpty());
  const QList<ListItem> items = YearItems({}, 1998, 2000);
  QCOMPARE(items.size(), 3);
  QCOMPARE(items.first().value, QStringLiteral("2000"));  // newest first
  QCOMPARE(items.last().value, QStringLiteral("1998"));
}

void TestCandidateInfo::monthList() {
  const QList<ListItem> months = MonthItems();
  QCOMPARE(months.size(), 12);
  QCOMPARE(months.first(), (ListItem{QStringLiteral("01月"), QStringLiteral("1")}));
  QCOMPARE(months.last(), (ListItem{QStringLiteral("12月"), QStringLiteral("12")}));
}

void TestCandidateInfo::dayList_data() {
  QTest::addColumn<QString>("year");
  QTest::addColumn<QString>("month");
  QTest::addColumn<int>("days");
  QTest::newRow("January") << QStringLiteral("2001") << QStringLiteral("1") << 31;
  QTest::newRow("April") << QStringLiteral("2001") << QStringLiteral("4") << 30;
  QTest::newRow("February, common year") << QStringLiteral("2001") << QStringLiteral("2") << 28;
  QTest::newRow("February, leap year") << QStringLiteral("2000") << QStringLiteral("2") << 29;
  QTest::newRow("February 1900") << QStringLiteral("1900") << QStringLiteral("2") << 28;
  QTest::newRow("no year selected") << QString() << QStringLiteral("2") << 0;
  QTest::newRow("no month selected") << QStringLiteral("2000") << QString() << 0;
}

void TestCandidateInfo::dayList() {
  QFETCH(QString, year);
  QFETCH(QString, month);
  QFETCH(int, days);
  const QList<ListItem> items = DayItems(year, month);
  QCOMPARE(items.size(), days);
  if (days > 0) {
    QCOMPARE(items.first(), (ListItem{QStringLiteral("01日"), QStringLiteral("1")}));
    QCOMPARE(items.last().value, QString::number(days));
    QCOMPARE(items.last().label, QString::number(days) + QStringLiteral("日"));
  }
}

void TestCandidateInfo::keptDayIndex_data() {
  QTest::addColumn<int>("previous");
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("kept");
  QTest::newRow("31st into February") << 30 << 28 << 27;
  QTest::newRow("31st into April") << 30 << 30 << 29;
  QTest::newRow("fits") << 14 << 28 << 14;
  QTest::newRow("nothing selected") << -1 << 31 << -1;
  QTest::newRow("list emptied") << 10 << 0 << -1;
}

void TestCandidateInfo::keptDayIndex() {
  QFETCH(int, previous);
  QFETCH(int, count);
  QFETCH(int, kept);
  QCOMPARE(KeptDayIndex(previous, count), kept);
}

void TestCandidateInfo::venueCode_data() {
  QTest::addColumn<QString>("code");
  QTest::addColumn<bool>("valid");
  QTest::newRow("01234") << QStringLiteral("01234") << true;
  QTest::newRow("99999") << QStringLiteral("99999") << true;
  QTest::newRow("signed") << QStringLiteral("+1234") << true;
  QTest::newRow("four characters") << QStringLiteral("1234") << false;
  QTest::newRow("six characters") << QStringLiteral("123456") << false;
  QTest::newRow("full-width digits") << QStringLiteral("１２３４５") << false;
  QTest::newRow("letters") << QStringLiteral("ABCDE") << false;
  QTest::newRow("hexadecimal") << QStringLiteral("$1A2B") << false;
  QTest::newRow("leading blank") << QStringLiteral(" 1234") << false;
  QTest::newRow("half-width katakana") << QStringLiteral("ｱｲｳｴｵ") << false;
}

void TestCandidateInfo::venueCode() {
  QFETCH(QString, code);
  QFETCH(bool, valid);
  QCOMPARE(IsValidVenueCode(code), valid);
}

void TestCandidateInfo::candidateNumber_data() {
  QTest::addColumn<QString>("number");
  QTest::addColumn<bool>("valid");
  QTest::newRow("digits") << QStringLiteral("123456") << true;
  QTest::newRow("leading zeros") << QStringLiteral("000123") << true;
  QTest::newRow("int max") << QStringLiteral("2147483647") << true;
  QTest::newRow("above int") << QStringLiteral("2147483648") << false;
  QTest::newRow("trailing letter") << QStringLiteral("12a") << false;
  QTest::newRow("full-width") << QStringLiteral("１２３") << false;
  QTest::newRow("blank inside") << QStringLiteral("12 3") << false;
}

void TestCandidateInfo::candidateNumber() {
  QFETCH(QString, number);
  QFETCH(bool, valid);
  QCOMPARE(IsValidCandidateNumber(number), valid);
}

namespace {

CandidateInput CompleteInput() {
  CandidateInput in;
  in.venueCode = QStringLiteral("01234");
  in.candidateNumber = QStringLiteral("0042");
  in.familyName = QStringLiteral("山田");
  in.givenName = QStringLiteral("花子");
  in.yearIndex = 3;
  in.monthIndex = 0;
  in.dayIndex = 30;
  in.woman = true;
  return in;
}

}  // namespace

void TestCandidateInfo::checkOrder_data() {
  QTest::addColumn<CandidateInput>("input");
  QTest::addColumn<int>("passed");
  QTest::addColumn<QString>("message");
  QTest::addColumn<CandidateField>("focus");

  CandidateInput in = CompleteInput();
  QTest::newRow("all pass") << in << 6 << QString() << CandidateField::None;

  // Each row breaks one item of an otherwise complete input, plus an earlier-breaking one
  // where the order matters.
  in = CompleteInput();
  in.venueCode.clear();
  in.familyName.clear();
  QTest::newRow("venue code empty first")
      << in << 0 << msg::kVenueCodeEmpty << CandidateField::VenueCode;
  in = CompleteInput();
  in.venueCode = QStringLiteral("1234");
  QTest::newRow("venue code short")
      << in << 0 << msg::kVenueCodeFormat << CandidateField::VenueCode;
  in = CompleteInput();
  in.candidateNumber.clear();
  QTest::newRow("number empty") << in << 1 << msg::kCandidateNumberEmpty
                                << CandidateField::CandidateNumber;
  in = CompleteInput();
  in.candidateNumber = QStringLiteral("12a");
  QTest::newRow("number not numeric")
      << in << 1 << msg::kCandidateNumberNotNumeric << CandidateField::CandidateNumber;
  in = CompleteInput();
  in.familyName.clear();
  in.givenName.clear();
  QTest::newRow("family name") << in << 2 << msg::kFamilyNameEmpty << CandidateField::FamilyName;
  in = CompleteInput();
  in.givenName.clear();
  QTest::newRow("given name") << in << 3 << msg::kGivenNameEmpty << CandidateField::GivenName;
  in = CompleteInput();
  in.yearIndex = -1;
  in.dayIndex = -1;
  QTest::newRow("no year") << in << 4 << msg::kBirthDateNotSelected << CandidateField::Year;
  in = CompleteInput();
  in.monthIndex = -1;
  in.dayIndex = -1;
  QTest::newRow("no month") << in << 4 << msg::kBirthDateNotSelected << CandidateField::Month;
  in = CompleteInput();
  in.dayIndex = -1;
  QTest::newRow("no day") << in << 4 << msg::kBirthDateNotSelected << CandidateField::Day;
  in = CompleteInput();
  in.woman = false;
  QTest::newRow("no sex") << in << 5 << msg::kSexNotSelected << CandidateField::None;
  in.man = true;
  QTest::newRow("man") << in << 6 << QString() << CandidateField::None;
}

void TestCandidateInfo::checkOrder() {
  QFETCH(CandidateInput, input);
  QFETCH(int, passed);
  QFETCH(QString, message);
  QFETCH(CandidateField, focus);
  const CheckOutcome outcome = CheckCandidateInput(input);
  QCOMPARE(outcome.passed, passed);
  QCOMPARE(outcome.message, message);
  QCOMPARE(outcome.focus, focus);
  QCOMPARE(outcome.ok(), message.isEmpty());
}

void TestCandidateInfo::storedEntries_data() {
  QTest::addColumn<CandidateRecord>("record");
  QTest::addColumn<QStringList>("keys");
  QTest::addColumn<QStringList>("values");

  CandidateRecord full{QStringLiteral("01234"),
                       QStringLiteral("0042"),
                       QStringLiteral("山田"),
                       QStringLiteral("花子"),
                       QStringLiteral("1990"),
                       QStringLiteral("1"),
                       QStringLiteral("31"),
                       false,
                       true};
  QTest::newRow("complete") << full
                            << QStringList{u"会場コード"_s, u"受験番号"_s, u"姓"_s, u"名"_s,
                                           u"年"_s,         u"月"_s,       u"日"_s, u"性別"_s}
                            << QStringList{u"01234"_s, u"0042"_s, u"山田"_s, u"花子"_s,
                                           u"1990"_s,  u"1"_s,    u"31"_s,   u"2"_s};
  CandidateRecord half;
  half.familyName = QStringLiteral("山田");
  half.year = QStringLiteral("1990");
  half.man = true;
  QTest::newRow("half filled: empty texts kept, unselected parts left out")
      << half << QStringList{u"会場コード"_s, u"受験番号"_s, u"姓"_s, u"名"_s, u"年"_s, u"性別"_s}
      << QStringList{QString(), QString(), u"山田"_s, QString(), u"1990"_s, u"1"_s};
}

void TestCandidateInfo::storedEntries() {
  QFETCH(CandidateRecord, record);
  QFETCH(QStringList, keys);
  QFETCH(QStringList, values);
  QStringList gotKeys;
  QStringList gotValues;
  for (const IniEntry& e : CandidateEntries(record)) {
    gotKeys << e.key;
    gotValues << e.value;
  }
  QCOMPARE(gotKeys, keys);
  QCOMPARE(gotValues, values);
}

void TestCandidateInfo::patternVersion_data() {
  QTest::addColumn<QString>("examType");
  QTest::addColumn<QString>("patternName");
  QTest::addColumn<QString>("text");
  QTest::newRow("pattern letter") << u"1"_s << QString() << u"知識　Bパターン(2021版)"_s;
  QTest::newRow("pattern name") << u"2"_s << u"標準"_s << u"知識　標準(2021版)"_s;
  QTest::newRow("web style without part name") << u"3"_s << QString() << u"Bパターン(2021版)"_s;
}

void TestCandidateInfo::patternVersion() {
  QFETCH(QString, examType);
  QFETCH(QString, patternName);
  QFETCH(QString, text);
  QCOMPARE(PatternVersionText(examType, u"知識"_s, u"B"_s, patternName, u"2021版"_s), text);
}

void TestCandidateInfo::examTime_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QString>("all");
  QTest::addColumn<int>("add");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("captionTop");
  QTest::addColumn<QString>("picture");
  const QString one = u"juken_info_input1.jpg"_s;
  QTest::newRow("computed") << QStringList{} << u"50"_s << 0 << u"50分"_s << 255 << one;
  QTest::newRow("computed with extension")
      << QStringList{} << u"50"_s << 10 << u"50分 ＋ 延長10分"_s << 255 << one;
  QTest::newRow("all not a number") << QStringList{} << u"x"_s << 0 << u"0分"_s << 255 << one;
  QTest::newRow("one empty item") << QStringList{QString()} << u"40"_s << 0 << u"40分"_s << 255
                                  << one;
  QTest::newRow("one line") << QStringList{u"知識 30分"_s} << u"40"_s << 5 << u"知識 30分\r\n"_s
                            << 255 << one;
  QTest::newRow("two lines") << QStringList{u"知識 30分"_s, u"実技 60分"_s} << u"90"_s << 0
                             << u"知識 30分\r\n実技 60分\r\n"_s << 268
                             << u"juken_info_input2.jpg"_s;
}

void TestCandidateInfo::examTime() {
  QFETCH(QStringList, lines);
  QFETCH(QString, all);
  QFETCH(int, add);
  QFETCH(QString, text);
  QFETCH(int, captionTop);
  QFETCH(QString, picture);
  const ExamTimeDisplay d = ExamTimeText(lines, all, add);
  QCOMPARE(d.text, text);
  QCOMPARE(d.captionTop, captionTop);
  QCOMPARE(d.inputPicture, picture);
}

void TestCandidateInfo::pictureScaling() {
  // Wide exam picture: limited by the width (439 / 878 = 0.5).
  const ScaledPicture exam = ScaleExamPicture(878, 30);
  QCOMPARE(exam.x, 2.0);
  QCOMPARE(exam.width, 439.0);
  QCOMPARE(exam.height, 15.0);
  // Tall one: limited by the height (20 / 40); a negative (bottom-up) height counts as its size.
  const ScaledPicture tall = ScaleExamPicture(101, -40);
  QCOMPARE(tall.width, 50.5);
  QCOMPARE(tall.height, 20.0);
  // The grade picture follows the exam picture's rounded width: 50.5 rounds to 50 (even).
  const ScaledPicture grade = ScaleGradePicture(300, 20, tall);
  QCOMPARE(grade.x, 62.0);
  QCOMPARE(grade.width, 100.0);
  QCOMPARE(grade.height, 100.0 * 20 / 300);
  QCOMPARE(GradeLabelLeft(40, grade), 40 + 62 + 100 + 10);
  QCOMPARE(GradeLabelLeft(40, tall), 40 + 2 + 50 + 10);
}

EXAMORA_TEST(TestCandidateInfo)
#include "tst_candidateinfo.moc"
