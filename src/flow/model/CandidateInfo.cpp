#include "flow/model/CandidateInfo.h"

#include <algorithm>
#include <cstdlib>

#include "common/Cp932.h"
#include "common/Dates.h"
#include "common/Numbers.h"
#include "common/QZMessage.h"

namespace examora {

// ---- Birth date lists ----------------------------------------------------------------------

QList<ListItem> YearItems(const QList<Era>& eras, int firstYear, int lastYear) {
  QList<ListItem> items;
  for (const BirthYearItem& y : BirthYearItems(eras, firstYear, lastYear))
    items.append({y.label, y.value});
  return items;
}

QList<ListItem> MonthItems() {
  QList<ListItem> items;
  for (int m = 1; m <= 12; ++m) {
    const QString value = QString::number(m);
    items.append({PadDigits(value, 2) + QStringLiteral("月"), value});
  }
  return items;
}

QList<ListItem> DayItems(const QString& yearValue, const QString& monthValue) {
  int year = 0;
  int month = 0;
  if (!ParseIniInteger(yearValue, &year) || !ParseIniInteger(monthValue, &month)) return {};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return {};
  const QString last = LastDayOfMonthText(PadDigits(QString::number(year), 4) + QLatin1Char('/') +
                                          PadDigits(QString::number(month), 2));
  const int lastDay = last.mid(8).toInt();
  QList<ListItem> items;
  for (int d = 1; d <= lastDay; ++d) {
    const QString value = QString::number(d);
    items.append({PadDigits(value, 2) + QStringLiteral("日"), value});
  }
  return items;
}

int KeptDayIndex(int previousIndex, int dayCount) {
  if (dayCount <= 0 || previousIndex < 0) return -1;
  return std::min(previousIndex, dayCount - 1);
}

int IndexOfValue(const QList<ListItem>& items, const QString& value) {
  if (value.isEmpty()) return -1;
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (items.at(i).value == value) return int(i);
  }
  return -1;
}

// ---- Checks --------------------------------------------------------------------------------

bool IsValidVenueCode(const QString& text) {
  // Five characters of one byte each in the exam files' code page: full-width digits are two
  // bytes each and fail here even though they look like five characters.
  if (text.size() != 5 || Cp932Length(text) != 5) return false;
  int value = 0;
  return ParseIniInteger(text, &value);
}

bool IsValidCandidateNumber(const QString& text) {
  int value = 0;
  return ParseIniInteger(text, &value);
}

CheckOutcome CheckCandidateInput(const CandidateInput& in) {
  CheckOutcome out;
  auto fail = [&out](const QString& message, CandidateField focus) {
    out.message = message;
    out.focus = focus;
    return out;
  };
  if (in.venueCode.isEmpty()) return fail(msg::kVenueCodeEmpty, CandidateField::VenueCode);
  if (!IsValidVenueCode(in.venueCode))
    return fail(msg::kVenueCodeFormat, CandidateField::VenueCode);
  out.passed = 1;
  if (in.candidateNumber.isEmpty())
    return fail(msg::kCandidateNumberEmpty, CandidateField::CandidateNumber);
  if (!IsValidCandidateNumber(in.candidateNumber))
    return fail(msg::kCandidateNumberNotNumeric, CandidateField::CandidateNumber);
  out.passed = 2;
  if (in.familyName.isEmpty()) return fail(msg::kFamilyNameEmpty, CandidateField::FamilyName);
  out.passed = 3;
  if (in.givenName.isEmpty()) return fail(msg::kGivenNameEmpty, CandidateField::GivenName);
  out.passed = 4;
  if (in.yearIndex < 0) return fail(msg::kBirthDateNotSelected, CandidateField::Year);
  if (in.monthIndex < 0) return fail(msg::kBirthDateNotSelected, CandidateField::Month);
  if (in.dayIndex < 0) return fail(msg::kBirthDateNotSelected, CandidateField::Day);
  out.passed = 5;
  if (!in.man && !in.woman) return fail(msg::kSexNotSelected, CandidateField::None);
  out.passed = 6;
  return out;
}

// ---- Store ---------------------------------------------------------------------------------

QList<IniEntry> CandidateEntries(const CandidateRecord& r) {
  QList<IniEntry> entries = {
      {QStringLiteral("会場コード"), r.venueCode},
      {QStringLiteral("受験番号"), r.candidateNumber},
      {QStringLiteral("姓"), r.familyName},
      {QStringLiteral("名"), r.givenName},
  };
  if (!r.year.isEmpty()) entries.append({QStringLiteral("年"), r.year});
  if (!r.month.isEmpty()) entries.append({QStringLiteral("月"), r.month});
  if (!r.day.isEmpty()) entries.append({QStringLiteral("日"), r.day});
  if (r.man)
    entries.append({QStringLiteral("性別"), QStringLiteral("1")});
  else if (r.woman)
    entries.append({QStringLiteral("性別"), QStringLiteral("2")});
  return entries;
}

// ---- Exam information area -----------------------------------------------------------------

QString PatternVersionText(const QString& examType, const QString& partName, const QString& pattern,
                           const QString& patternName, const QString& versionName) {
  const QString head = patternName.isEmpty() ? pattern + QStringLiteral("パターン") : patternName;
  const QString text = head + QLatin1Char('(') + versionName + QLatin1Char(')');
  if (examType == u"3") return text;
  return partName + QStringLiteral("　") + text;
}

InstructionLines InstructionTexts(const QString& partCode, const QString& examType) {
  const QString firstPart = QStringLiteral(
      "試験情報を確認し、受験者情報を入力してください（受験者情報の項目は全て必須入力です）。");
  const bool first = partCode == u"1";
  if (examType == u"3") {
    return {first ? firstPart
                  : QStringLiteral("試験情報と、表示されている受験者情報を確認してください。"),
            QStringLiteral("確認後、[次へ]ボタンをクリックしてください。")};
  }
  return {first ? firstPart
                : QStringLiteral("試験情報と、入力されている受験者情報を確認してください。"),
          QStringLiteral("入力後、［次へ］ボタンをクリックしてください。")};
}

ExamTimeDisplay ExamTimeText(const QStringList& lines, const QString& allText, int add) {
  ExamTimeDisplay d;
  if (!lines.isEmpty() && !(lines.size() == 1 && lines.first().isEmpty())) {
    for (const QString& line : lines) d.text += line + QStringLiteral("\r\n");
    if (lines.size() == 1) {
      d.captionTop = 255;
      d.inputPicture = QStringLiteral("juken_info_input1.jpg");
    } else {
      d.captionTop = 268;
      d.inputPicture = QStringLiteral("juken_info_input2.jpg");
    }
    return d;
  }
  d.text = QString::number(IniInteger(allText, 0)) + QStringLiteral("分");
  if (add > 0) d.text += QStringLiteral(" ＋ 延長") + QString::number(add) + QStringLiteral("分");
  d.captionTop = 255;
  d.inputPicture = QStringLiteral("juken_info_input1.jpg");
  return d;
}

ExamInfoLayout ExamInfoLayoutFor(bool meiryoInstalled, bool webStyle) {
  ExamInfoLayout l;
  l.meiryo = meiryoInstalled;
  if (!meiryoInstalled) {
    l.examNameTop = l.gradeNameTop = 201;
    l.committeeTop = 178;
    l.committeePointSize = 8;
    l.examTimeTop = 256;
  }
  if (webStyle) {
    l.examNameTop = 192;
    l.gradeNameTop = 195;
    l.patternTop = 220;
  }
  return l;
}

namespace {

ScaledPicture Scale(int width, int height, double boxWidth, double boxHeight, double x) {
  const double w = std::abs(width);
  const double h = std::abs(height);
  if (w == 0 || h == 0) return {x, 0, 0};
  const double s = std::min(boxWidth / w, boxHeight / h);
  return {x, w * s, h * s};
}

}  // namespace

ScaledPicture ScaleExamPicture(int width, int height) {
  return Scale(width, height, 439, 20, 2);
}

ScaledPicture ScaleGradePicture(int width, int height, const ScaledPicture& examPicture) {
  return Scale(width, height, 100, 20, 2 + RoundHalfEven(examPicture.width) + 10);
}

int GradeLabelLeft(int pictureAreaLeft, const ScaledPicture& lastDrawn) {
  return pictureAreaLeft + RoundHalfEven(lastDrawn.x) + RoundHalfEven(lastDrawn.width) + 10;
}

}  // namespace examora
