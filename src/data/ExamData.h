#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/WriteResult.h"

// Typed views of the exam's INI files. Each Read… function reads one file once and fills a
// plain struct; a missing file, section or key reads as "" and takes the default noted at the
// field. Flags are on only for exactly "1".
namespace examora {

class IniFile;

// ---- Values --------------------------------------------------------------------------------

// A decimal integer with an optional sign ("12", "-3", "+7"); false for "", anything else or
// a value outside int.
bool ParseIniInteger(const QString& text, int* value);

// The integer, or defaultValue when the text is empty or not a number.
int IniInteger(const QString& text, int defaultValue);

// "1" is on; anything else, "" included, is off.
bool IniFlag(const QString& text);

// ---- system/system.ini ---------------------------------------------------------------------

struct Era {
  int firstYear = 0;  // key of [年度]
  QString name;       // its value
};

struct SystemIni {
  // [基本情報]
  QString examName;                 // 試験名
  QString gradeName;                // 級名
  QString committeeName;            // 委員会名
  QString bookletName;              // 冊子名称
  QString pattern;                  // パターン
  QString patternName;              // パターン名
  QString version;                  // バージョン
  QString versionName;              // バージョン名
  bool sampleExam = false;          // サンプル問題
  int partCount = 0;                // 部数 (default 0)
  QString gradeCode;                // 級コード
  QString developmentCode;          // 開発コード
  QString displayType;              // 表示タイプ
  bool timeControl = false;         // タイムコントロール
  bool upDownButtons = false;       // 上下ボタン
  QString makerImageExtension;      // メーカー画像拡張子
  QString examImageExtension;       // 試験画像拡張子
  QString gradeInfoImageExtension;  // 級個人情報画像拡張子
  QString gradeTopImageExtension;   // 級TOP画像拡張子
  QString app;                      // APP
  QString appVersionCheck;          // APPVERチェック文字
  QString appSearchName;            // APP検索名
  // [年度] in file order; keys that are not a number are left out.
  QList<Era> eras;
  // [生年月日]
  int birthYearFirst = 1900;  // 開始 (default 1900)
  int birthYearLast = 0;      // 終了 (default the current year)
};

// currentYear is the default of [生年月日] 終了.
SystemIni ReadSystemIni(int currentYear);
SystemIni SystemIniFrom(const IniFile& ini, int currentYear);

// The birth year label of the candidate information screen: "1989 (平成01)年" for the first
// year of an era named 平成 starting 1989, using the last era in list order whose first year
// is not above the year; "1850 年" when there is none. The era year keeps its last two digits.
QString BirthYearLabel(int year, const QList<Era>& eras);

struct BirthYearItem {
  QString label;
  QString value;  // the year as text
};
// From lastYear down to firstYear; empty when lastYear is below firstYear.
QList<BirthYearItem> BirthYearItems(const QList<Era>& eras, int firstYear, int lastYear);

// ---- system/<code>/setup.ini ---------------------------------------------------------------

enum class PartEndState {
  Fresh,    // 正常終了 "": the part runs
  Ended,    // any value other than "" and "T" ("E" in practice): the part is refused
  TimeOver  // "T": the time-over notice, where the proctor may extend
};
PartEndState ClassifyNormalEnd(const QString& normalEnd);

struct SetupIni {
  // [基本情報]
  QString examCategory;           // 試験区分 (ExamCategory): "1" knowledge, else practical
  QString examType;               // 受験タイプ (ExamType)
  QString partName;               // 部種名称
  QString examTimeText;           // 試験時間テキスト, comma text (see ExamTimeLines)
  bool wholePaper = false;        // 全体
  bool byQuestion = false;        // 問題別
  bool bySubQuestion = false;     // 設問別
  bool subQuestionsOnly = false;  // 設問表示のみ
  QString sampleButtonName;       // 見本ボタン名
  bool showNotes = false;         // 注意事項表示
  QString supplement;             // 補足説明
  bool forcedEnd = false;         // 強制終了
  QString examStarted;            // 試験開始 as stored ("0", "1" or "")
  QString normalEnd;              // 正常終了 as stored
  QString extensionEnded;         // 延長終了 as stored
  // [試験時間]
  QString allText;  // all as stored; see TimeLimitMinutes and ExtensionLimitMinutes
  int add = 0;      // add (default 0)
  int now = 0;      // now (default 0)
  // [画面情報]
  QString layoutCode;  // 位置
  int left = 0;        // 左
  int top = 0;         // 上
  int width = 0;       // 幅
  int height = 0;      // 高さ

  bool IsKnowledge() const { return examCategory == u"1"; }
  bool IsExamStarted() const { return examStarted == u"1"; }
  PartEndState EndState() const { return ClassifyNormalEnd(normalEnd); }
  // The lines of 試験時間テキスト; empty when it is empty or one empty item, so that the
  // computed text is shown instead.
  QStringList ExamTimeLines() const;
  // "all" for the exam clock: 1 when empty or not a number.
  int AllMinutes() const;
  // The time limit: all (1 when empty or not a number) + add.
  int TimeLimitMinutes() const;
  // The largest extension the proctor may set: all, 0 when empty or not a number.
  int ExtensionLimitMinutes() const;
  // All four of 左, 上, 幅, 高さ at 0 means no window rectangle was stored.
  bool HasStoredRect() const { return left != 0 || top != 0 || width != 0 || height != 0; }
};

// folderCode is PartCode or, for the operation practice content, "Z" + PartCode.
SetupIni ReadSetupIni(const QString& folderCode);
SetupIni SetupIniFrom(const IniFile& ini);

// True when system/<n>/setup.ini has a non-empty 正常終了: the hand-over skips that part.
bool IsPartEnded(int partNumber);

// ---- [選択数] ------------------------------------------------------------------------------

// The question structure the answer-only window builds from [選択数]: question q exists while
// the key "<q>-1" has a value and its sub-questions run while "<q>-<s>" has one. The first
// question is always there, so a section without keys gives one question without
// sub-questions. Keys 1-1, 1-2, 2-1, 3-1 give {2, 1, 1}; 1-1, 1-3 give {1}.
QList<int> SubQuestionCountsFromChoices(const IniFile& setupIni);
QList<int> ReadSubQuestionCounts(const QString& partCode);

// The number of choices of sub-question s of question q; 0 when missing or not a number.
int ChoiceCount(const IniFile& setupIni, int question, int subQuestion);
int ReadChoiceCount(const QString& partCode, int question, int subQuestion);

// The first key of [選択数] split at its first "-": question "2" and sub-question "1" for
// "2-1". An empty section, or a first key without "-", gives two empty texts.
struct ChoiceKey {
  QString question;
  QString subQuestion;
};
ChoiceKey FirstChoiceKey(const IniFile& setupIni);
ChoiceKey ReadFirstChoiceKey(const QString& folderCode);

// ---- system/shiken.ini ---------------------------------------------------------------------

struct ShikenIni {
  // [受験者情報]
  QString venueCode;        // 会場コード
  QString candidateNumber;  // 受験番号
  QString familyName;       // 姓
  QString givenName;        // 名
  QString birthYear;        // 年
  QString birthMonth;       // 月
  QString birthDay;         // 日
  QString sex;              // 性別: "1" male, "2" female
  QString linkMode;         // 連携 (LinkMode): "1", "2", "3" or ""
  // [試験情報]
  QString examDate;       // 試験日 "yyyymmdd"
  QString examStartTime;  // 試験時間 "yyyy/mm/dd hh:nn:ss"
};
ShikenIni ReadShikenIni();
ShikenIni ShikenIniFrom(const IniFile& ini);

// Whether the end of a part starts the next part by itself ("1" only announces it).
bool LinkModeStartsNextPart(const QString& linkMode);
// Whether the end of the last part starts the submission-file tool by itself (not "1", "2").
bool LinkModeStartsSubmissionTool(const QString& linkMode);

// ---- system/seito[<PartCode>].ini ----------------------------------------------------------

struct AnswerKeyRow {
  QString section;  // "<q>_<s>"
  QString correct;  // 正答: five "0"/"1", one per choice ア..オ
  QString points;   // 配点 as written
};
// One row per section, in file order.
QList<AnswerKeyRow> ReadAnswerKey(const QString& partCode);
QList<AnswerKeyRow> AnswerKeyFrom(const IniFile& ini);

// ---- system/<PartCode>/update_check.ini ----------------------------------------------------

// The values of [更新チェック] in file order, with "/" separators: files relative to the
// practical work folder that the open-file check leaves out.
QStringList ReadUpdateCheckExclusions(const QString& partCode);
QStringList UpdateCheckExclusionsFrom(const IniFile& ini);

// ---- State writers -------------------------------------------------------------------------

// setup.ini [基本情報] 試験開始 = "1" or "0".
[[nodiscard]] WriteResult WriteExamStarted(const QString& partCode, bool started);
// setup.ini [基本情報] 正常終了: "E", "T", or "" to clear it.
[[nodiscard]] WriteResult WriteNormalEnd(const QString& partCode, const QString& value);
// setup.ini [基本情報] 延長終了 = "1".
[[nodiscard]] WriteResult WriteExtensionEnded(const QString& partCode);
// setup.ini [試験時間] now, in the setup.ini of the folder code the clock runs for.
[[nodiscard]] WriteResult WriteElapsedMinutes(const QString& folderCode, int minutes);
// setup.ini [試験時間] add.
[[nodiscard]] WriteResult WriteExtensionMinutes(const QString& partCode, int minutes);
// setup.ini [画面情報] 位置.
[[nodiscard]] WriteResult WriteLayoutCode(const QString& partCode, const QString& code);
// setup.ini [画面情報] 左, 上, 幅, 高さ; stops at the first failure.
[[nodiscard]] WriteResult WriteWindowRect(const QString& partCode, int left, int top, int width,
                                          int height);
// shiken.ini [受験者情報] key = value (the candidate information screen's keys).
[[nodiscard]] WriteResult WriteCandidateInfo(const QString& key, const QString& value);
// shiken.ini [受験者情報] 連携.
[[nodiscard]] WriteResult WriteLinkMode(const QString& linkMode);
// shiken.ini [試験情報] 試験日 = "yyyymmdd" and 試験時間 = "yyyy/mm/dd hh:nn:ss" of the start;
// stops at the first failure.
[[nodiscard]] WriteResult WriteExamStartStamp(const QDateTime& start);
QString ExamDateText(const QDateTime& start);       // "yyyymmdd"
QString ExamStartTimeText(const QDateTime& start);  // "yyyy/mm/dd hh:nn:ss"

}  // namespace examora
