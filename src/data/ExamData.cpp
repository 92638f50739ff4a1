#include "data/ExamData.h"

#include <limits>

#include "common/ExeFolder.h"
#include "data/CommaText.h"
#include "data/IniAccess.h"
#include "data/IniFile.h"
#include "data/InstallPaths.h"

namespace examora {
namespace {

const QString kBasic = QStringLiteral("基本情報");
const QString kExamTime = QStringLiteral("試験時間");
const QString kWindow = QStringLiteral("画面情報");
const QString kChoices = QStringLiteral("選択数");
const QString kCandidate = QStringLiteral("受験者情報");
const QString kExamInfo = QStringLiteral("試験情報");

IniFile LoadIni(const QString& relativePath) {
  return IniFile::Load(ExePath(relativePath));
}

QString ChoiceKeyName(int question, int subQuestion) {
  return QString::number(question) + u'-' + QString::number(subQuestion);
}

WriteResult WriteSetup(const QString& folderCode, const QString& section, const QString& key,
                       const QString& value) {
  return WriteIni(SetupIniPath(folderCode), section, key, value);
}

}  // namespace

// ---- Values --------------------------------------------------------------------------------

bool ParseIniInteger(const QString& text, int* value) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
    negative = text.at(i) == u'-';
    ++i;
  }
  if (i == text.size()) return false;
  qint64 magnitude = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c < u'0' || c > u'9') return false;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > qint64(std::numeric_limits<int>::max()) + 1) return false;
  }
  const qint64 result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<int>::max()) return false;
  *value = int(result);
  return true;
}

int IniInteger(const QString& text, int defaultValue) {
  int value = 0;
  return ParseIniInteger(text, &value) ? value : defaultValue;
}

bool IniFlag(const QString& text) {
  return text == u"1";
}

// ---- system.ini ----------------------------------------------------------------------------

SystemIni SystemIniFrom(const IniFile& ini, int currentYear) {
  SystemIni s;
  auto basic = [&](const char16_t* key) { return ini.Value(kBasic, QString::fromUtf16(key)); };
  s.examName = basic(u"試験名");
  s.gradeName = basic(u"級名");
  s.committeeName = basic(u"委員会名");
  s.bookletName = basic(u"冊子名称");
  s.pattern = basic(u"パターン");
  s.patternName = basic(u"パターン名");
  s.version = basic(u"バージョン");
  s.versionName = basic(u"バージョン名");
  s.sampleExam = IniFlag(basic(u"サンプル問題"));
  s.partCount = IniInteger(basic(u"部数"), 0);
  s.gradeCode = basic(u"級コード");
  s.developmentCode = basic(u"開発コード");
  s.displayType = basic(u"表示タイプ");
  s.timeControl = IniFlag(basic(u"タイムコントロール"));
  s.upDownButtons = IniFlag(basic(u"上下ボタン"));
  s.makerImageExtension = basic(u"メーカー画像拡張子");
  s.examImageExtension = basic(u"試験画像拡張子");
  s.gradeInfoImageExtension = basic(u"級個人情報画像拡張子");
  s.gradeTopImageExtension = basic(u"級TOP画像拡張子");
  s.app = basic(u"APP");
  s.appVersionCheck = basic(u"APPVERチェック文字");
  s.appSearchName = basic(u"APP検索名");

  const QString eraSection = QStringLiteral("年度");
  for (const QString& key : ini.Keys(eraSection)) {
    int year = 0;
    // A key that is not a year cannot start an era; it is skipped rather than stopping the
    // candidate screen from building its year list.
    if (ParseIniInteger(key, &year)) s.eras.append({year, ini.Value(eraSection, key)});
  }

  const QString birth = QStringLiteral("生年月日");
  s.birthYearFirst = IniInteger(ini.Value(birth, QStringLiteral("開始")), 1900);
  s.birthYearLast = IniInteger(ini.Value(birth, QStringLiteral("終了")), currentYear);
  return s;
}

SystemIni ReadSystemIni(int currentYear) {
  return SystemIniFrom(LoadIni(SystemIniPath()), currentYear);
}

QString BirthYearLabel(int year, const QList<Era>& eras) {
  const Era* era = nullptr;
  for (const Era& e : eras) {
    if (e.firstYear <= year) era = &e;
  }
  const QString yearText = QString::number(year);
  if (!era) return yearText + QStringLiteral(" 年");
  const qint64 eraYear = (qint64(year) - era->firstYear + 1) % 100;
  return yearText + QStringLiteral(" (") + era->name +
         QString::number(eraYear).rightJustified(2, u'0') + QStringLiteral(")年");
}

QList<BirthYearItem> BirthYearItems(const QList<Era>& eras, int firstYear, int lastYear) {
  QList<BirthYearItem> items;
  for (qint64 year = lastYear; year >= firstYear; --year)
    items.append({BirthYearLabel(int(year), eras), QString::number(year)});
  return items;
}

// ---- setup.ini -----------------------------------------------------------------------------

PartEndState ClassifyNormalEnd(const QString& normalEnd) {
  if (normalEnd.isEmpty()) return PartEndState::Fresh;
  if (normalEnd == u"T") return PartEndState::TimeOver;
  return PartEndState::Ended;
}

QStringList SetupIni::ExamTimeLines() const {
  const QStringList lines = SplitCommaText(examTimeText);
  if (lines.size() == 1 && lines.first().isEmpty()) return {};
  return lines;
}

int SetupIni::AllMinutes() const {
  return IniInteger(allText, 1);
}

int SetupIni::TimeLimitMinutes() const {
  return AllMinutes() + add;
}

int SetupIni::ExtensionLimitMinutes() const {
  return IniInteger(allText, 0);
}

SetupIni SetupIniFrom(const IniFile& ini) {
  SetupIni s;
  auto basic = [&](const char16_t* key) { return ini.Value(kBasic, QString::fromUtf16(key)); };
  s.examCategory = basic(u"試験区分");
  s.examType = basic(u"受験タイプ");
  s.partName = basic(u"部種名称");
  s.examTimeText = basic(u"試験時間テキスト");
  s.wholePaper = IniFlag(basic(u"全体"));
  s.byQuestion = IniFlag(basic(u"問題別"));
  s.bySubQuestion = IniFlag(basic(u"設問別"));
  s.subQuestionsOnly = IniFlag(basic(u"設問表示のみ"));
  s.sampleButtonName = basic(u"見本ボタン名");
  s.showNotes = IniFlag(basic(u"注意事項表示"));
  s.supplement = basic(u"補足説明");
  s.forcedEnd = IniFlag(basic(u"強制終了"));
  s.examStarted = basic(u"試験開始");
  s.normalEnd = basic(u"正常終了");
  s.extensionEnded = basic(u"延長終了");

  s.allText = ini.Value(kExamTime, QStringLiteral("all"));
  s.add = IniInteger(ini.Value(kExamTime, QStringLiteral("add")), 0);
  s.now = IniInteger(ini.Value(kExamTime, QStringLiteral("now")), 0);

  s.layoutCode = ini.Value(kWindow, QStringLiteral("位置"));
  s.left = IniInteger(ini.Value(kWindow, QStringLiteral("左")), 0);
  s.top = IniInteger(ini.Value(kWindow, QStringLiteral("上")), 0);
  s.width = IniInteger(ini.Value(kWindow, QStringLiteral("幅")), 0);
  s.height = IniInteger(ini.Value(kWindow, QStringLiteral("高さ")), 0);
  return s;
}

SetupIni ReadSetupIni(const QString& folderCode) {
  return SetupIniFrom(LoadIni(SetupIniPath(folderCode)));
}

bool IsPartEnded(int partNumber) {
  return !ReadIni(SetupIniPath(QString::number(partNumber)), kBasic, QStringLiteral("正常終了"))
              .isEmpty();
}

// ---- [選択数] ------------------------------------------------------------------------------

QList<int> SubQuestionCountsFromChoices(const IniFile& setupIni) {
  auto has = [&](int q, int s) { return !setupIni.Value(kChoices, ChoiceKeyName(q, s)).isEmpty(); };
  QList<int> counts;
  int q = 1;
  do {
    int s = 0;
    while (has(q, s + 1)) ++s;
    counts.append(s);
    ++q;
  } while (has(q, 1));
  return counts;
}

QList<int> ReadSubQuestionCounts(const QString& partCode) {
  return SubQuestionCountsFromChoices(LoadIni(SetupIniPath(partCode)));
}

int ChoiceCount(const IniFile& setupIni, int question, int subQuestion) {
  return IniInteger(setupIni.Value(kChoices, ChoiceKeyName(question, subQuestion)), 0);
}

int ReadChoiceCount(const QString& partCode, int question, int subQuestion) {
  return IniInteger(ReadIni(SetupIniPath(partCode), kChoices, ChoiceKeyName(question, subQuestion)),
                    0);
}

ChoiceKey FirstChoiceKey(const IniFile& setupIni) {
  const QStringList keys = setupIni.Keys(kChoices);
  if (keys.isEmpty()) return {};
  const QString& key = keys.first();
  const qsizetype dash = key.indexOf(u'-');
  if (dash < 0) return {};
  return {key.left(dash), key.mid(dash + 1)};
}

ChoiceKey ReadFirstChoiceKey(const QString& folderCode) {
  return FirstChoiceKey(LoadIni(SetupIniPath(folderCode)));
}

// ---- shiken.ini ----------------------------------------------------------------------------

ShikenIni ShikenIniFrom(const IniFile& ini) {
  ShikenIni s;
  auto candidate = [&](const char16_t* key) {
    return ini.Value(kCandidate, QString::fromUtf16(key));
  };
  s.venueCode = candidate(u"会場コード");
  s.candidateNumber = candidate(u"受験番号");
  s.familyName = candidate(u"姓");
  s.givenName = candidate(u"名");
  s.birthYear = candidate(u"年");
  s.birthMonth = candidate(u"月");
  s.birthDay = candidate(u"日");
  s.sex = candidate(u"性別");
  s.linkMode = candidate(u"連携");
  s.examDate = ini.Value(kExamInfo, QStringLiteral("試験日"));
  s.examStartTime = ini.Value(kExamInfo, QStringLiteral("試験時間"));
  return s;
}

ShikenIni ReadShikenIni() {
  return ShikenIniFrom(LoadIni(ShikenIniPath()));
}

bool LinkModeStartsNextPart(const QString& linkMode) {
  return linkMode != u"1";
}

bool LinkModeStartsSubmissionTool(const QString& linkMode) {
  return linkMode != u"1" && linkMode != u"2";
}

// ---- seito[<PartCode>].ini -----------------------------------------------------------------

QList<AnswerKeyRow> AnswerKeyFrom(const IniFile& ini) {
  QList<AnswerKeyRow> rows;
  for (const QString& section : ini.Sections()) {
    rows.append({section, ini.Value(section, QStringLiteral("正答")),
                 ini.Value(section, QStringLiteral("配点"))});
  }
  return rows;
}

QList<AnswerKeyRow> ReadAnswerKey(const QString& partCode) {
  return AnswerKeyFrom(LoadIni(AnswerKeyIniPath(partCode)));
}

// ---- update_check.ini ----------------------------------------------------------------------

QStringList UpdateCheckExclusionsFrom(const IniFile& ini) {
  const QString section = QStringLiteral("更新チェック");
  QStringList paths;
  for (const QString& key : ini.Keys(section))
    paths.append(PathFromIniValue(ini.Value(section, key)));
  return paths;
}

QStringList ReadUpdateCheckExclusions(const QString& partCode) {
  return UpdateCheckExclusionsFrom(LoadIni(UpdateCheckIniPath(partCode)));
}

// ---- State writers -------------------------------------------------------------------------

WriteResult WriteExamStarted(const QString& partCode, bool started) {
  return WriteSetup(partCode, kBasic, QStringLiteral("試験開始"),
                    started ? QStringLiteral("1") : QStringLiteral("0"));
}

WriteResult WriteNormalEnd(const QString& partCode, const QString& value) {
  return WriteSetup(partCode, kBasic, QStringLiteral("正常終了"), value);
}

WriteResult WriteExtensionEnded(const QString& partCode) {
  return WriteSetup(partCode, kBasic, QStringLiteral("延長終了"), QStringLiteral("1"));
}

WriteResult WriteElapsedMinutes(const QString& folderCode, int minutes) {
  return WriteSetup(folderCode, kExamTime, QStringLiteral("now"), QString::number(minutes));
}

WriteResult WriteExtensionMinutes(const QString& partCode, int minutes) {
  return WriteSetup(partCode, kExamTime, QStringLiteral("add"), QString::number(minutes));
}

WriteResult WriteLayoutCode(const QString& partCode, const QString& code) {
  return WriteSetup(partCode, kWindow, QStringLiteral("位置"), code);
}

WriteResult WriteWindowRect(const QString& partCode, int left, int top, int width, int height) {
  const std::pair<const char16_t*, int> values[] = {
      {u"左", left}, {u"上", top}, {u"幅", width}, {u"高さ", height}};
  for (const auto& [key, value] : values) {
    WriteResult result =
        WriteSetup(partCode, kWindow, QString::fromUtf16(key), QString::number(value));
    if (!result) return result;
  }
  return WriteResult::Success();
}

WriteResult WriteCandidateInfo(const QString& key, const QString& value) {
  return WriteIni(ShikenIniPath(), kCandidate, key, value);
}

WriteResult WriteLinkMode(const QString& linkMode) {
  return WriteIni(ShikenIniPath(), kCandidate, QStringLiteral("連携"), linkMode);
}

QString ExamDateText(const QDateTime& start) {
  return start.toString(QStringLiteral("yyyyMMdd"));
}

QString ExamStartTimeText(const QDateTime& start) {
  return start.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

WriteResult WriteExamStartStamp(const QDateTime& start) {
  WriteResult result =
      WriteIni(ShikenIniPath(), kExamInfo, QStringLiteral("試験日"), ExamDateText(start));
  if (!result) return result;
  return WriteIni(ShikenIniPath(), kExamInfo, QStringLiteral("試験時間"), ExamStartTimeText(start));
}

}  // namespace examora
