#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "data/ExamData.h"

// Decisions of the candidate information screen that need no window: the birth date lists,
// the input checks, what is stored in shiken.ini, the texts of the exam information area and
// its layout numbers.
namespace examora {

// ---- Birth date lists ----------------------------------------------------------------------

// One entry of a selection-only list: the label shown and the value shiken.ini holds.
struct ListItem {
  QString label;
  QString value;

  friend bool operator==(const ListItem&, const ListItem&) = default;
};

// Years from lastYear down to firstYear, labelled with their era ("1989 (平成01)年", or
// "1850 年" before the first era); empty when lastYear is below firstYear.
QList<ListItem> YearItems(const QList<Era>& eras, int firstYear, int lastYear);

// "01月" … "12月" with the values "1" … "12".
QList<ListItem> MonthItems();

// "01日" up to the month's last day, values "1" up to it; empty unless both values name a
// real year and month (nothing selected gives "").
QList<ListItem> DayItems(const QString& yearValue, const QString& monthValue);

// The day that stays selected when the day list is rebuilt with dayCount entries: the same
// index, lowered to the last entry of a shorter month; -1 (none) stays -1 and an empty list
// has no selection.
int KeptDayIndex(int previousIndex, int dayCount);

// Index of the entry whose value is value; -1 when there is none (also for "").
int IndexOfValue(const QList<ListItem>& items, const QString& value);

// ---- Checks --------------------------------------------------------------------------------

// Venue code: exactly five single-byte characters that read as a decimal integer. An optional
// leading sign is allowed, as the integer conversion always allowed it ("+1234"); hexadecimal
// forms and blanks are not, so a code can never be something other than digits and a sign.
bool IsValidVenueCode(const QString& text);

// Candidate number: a decimal integer within 32 bits, an optional leading sign allowed;
// leading zeros are fine (the text is stored as typed).
bool IsValidCandidateNumber(const QString& text);

// The input control a failed check sends the focus to.
enum class CandidateField {
  None,
  VenueCode,
  CandidateNumber,
  FamilyName,
  GivenName,
  Year,
  Month,
  Day
};

struct CandidateInput {
  QString venueCode;
  QString candidateNumber;
  QString familyName;
  QString givenName;
  int yearIndex = -1;  // selected entries; -1 none
  int monthIndex = -1;
  int dayIndex = -1;
  bool man = false;
  bool woman = false;
};

struct CheckOutcome {
  int passed = 0;   // checks 1 … passed passed, in order
  QString message;  // coded message of the first failure; "" when all six passed
  CandidateField focus = CandidateField::None;

  bool ok() const { return message.isEmpty(); }
};

// Runs the six checks in order and stops at the first failure.
CheckOutcome CheckCandidateInput(const CandidateInput& input);

// ---- Store ---------------------------------------------------------------------------------

struct CandidateRecord {
  QString venueCode;  // the edit texts as typed
  QString candidateNumber;
  QString familyName;
  QString givenName;
  QString year;  // selected values; "" when nothing is selected
  QString month;
  QString day;
  bool man = false;
  bool woman = false;
};

struct IniEntry {
  QString key;
  QString value;

  friend bool operator==(const IniEntry&, const IniEntry&) = default;
};

// The shiken.ini [受験者情報] keys to write, in order. The four texts are always written; a
// birth date part only when it is selected and 性別 only when a button is checked, so that an
// earlier value is not wiped by an unfinished entry.
QList<IniEntry> CandidateEntries(const CandidateRecord& record);

// ---- Exam information area -----------------------------------------------------------------

// KyuPatVerLbl: "<パターン>パターン(<バージョン名>)", or "<パターン名>(<バージョン名>)" when
// パターン名 is set; other than exam type "3" prefixed by 部種名称 and a full-width space.
QString PatternVersionText(const QString& examType, const QString& partName, const QString& pattern,
                           const QString& patternName, const QString& versionName);

// The two instruction lines above the candidate details.
struct InstructionLines {
  QString first;
  QString second;
};
InstructionLines InstructionTexts(const QString& partCode, const QString& examType);

// The exam time text and the pictures around it.
struct ExamTimeDisplay {
  QString text;          // lines, each ending with CR LF, or "<all>分[ ＋ 延長<add>分]"
  int captionTop = 255;  // top of the caption "試験時間"
  QString inputPicture;  // under system\image\: juken_info_input1.jpg or …2.jpg
};
// lines are the items of 試験時間テキスト (none when it is empty or one empty item); allText
// is [試験時間] all as stored (0 when not a number), add the extension in minutes.
ExamTimeDisplay ExamTimeText(const QStringList& lines, const QString& allText, int add);

// Tops and sizes of the exam information labels, by whether "メイリオ" is installed and whether
// the part is of exam type "3".
struct ExamInfoLayout {
  bool meiryo = true;
  int examNameTop = 197;   // ShikenName2Lbl
  int gradeNameTop = 197;  // ShikenName3Lbl
  int committeeTop = 176;  // IinkaiNameLbl
  int committeePointSize = 9;
  int examTimeTop = 252;  // ShikenTimeLbl
  int patternTop = 224;   // KyuPatVerLbl
};
ExamInfoLayout ExamInfoLayoutFor(bool meiryoInstalled, bool webStyle);

// A picture drawn scaled into ShikenImg.
struct ScaledPicture {
  double x = 0;
  double width = 0;
  double height = 0;
};
// The exam picture: fits 439 × 20 keeping its proportions, at x 2. Sizes are taken as
// magnitudes (a bottom-up bitmap reports a negative height).
ScaledPicture ScaleExamPicture(int width, int height);
// The grade picture: fits 100 × 20, 10 px after the exam picture's rounded width.
ScaledPicture ScaleGradePicture(int width, int height, const ScaledPicture& examPicture);
// Left of ShikenName3Lbl: after the last drawn picture, 10 px apart.
int GradeLabelLeft(int pictureAreaLeft, const ScaledPicture& lastDrawn);

}  // namespace examora
