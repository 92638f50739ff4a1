#include "admin/InstallationCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <map>

#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "common/ImageSize.h"
#include "common/PageScope.h"
#include "common/StepTable.h"
#include "data/ExamData.h"
#include "data/IniFile.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "exam/model/ExamStructure.h"
#include "exam/model/QuestionDisplay.h"
#include "flow/model/SessionRules.h"

namespace examora::admin {
namespace {

using namespace Qt::StringLiterals;

const QString kBasic = QStringLiteral("基本情報");

QString OneLine(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  text.replace(u'\n', u' ');
  return text.simplified();
}

QString Quoted(const QString& value) {
  return u'"' + value + u'"';
}

class InstallationChecker {
 public:
  InstallationChecker(const QString& root, const Progress& progress)
      : root_(root), progress_(progress) {}

  CheckResult Run();

 private:
  void Fail(const QString& file, const QString& section, const QString& key, const QString& what,
            int line = 0) {
    result_.problems.append({ShownPath(file), section, key, line, what});
  }
  void Note(const QString& text) { result_.notes.append(text); }
  void Say(const QString& line) {
    if (progress_) progress_(line);
  }

  // The file parsed by the program's INI engine, after its bytes were checked; nullptr when it
  // is missing (a problem when required) or unreadable.
  const IniFile* Ini(const QString& rel, bool required);
  void RequireText(const QString& rel, const IniFile& ini, const QString& section,
                   const QString& key);
  // A decimal integer within [low, high]; optional keys may be absent or empty.
  void RequireInteger(const QString& rel, const IniFile& ini, const QString& section,
                      const QString& key, bool optional, int low, int high);
  void RequireOneOf(const QString& rel, const IniFile& ini, const QString& section,
                    const QString& key, const QStringList& values);

  void CheckSystemIni();
  void CheckExecutables();
  void CheckPart(int part);
  void CheckKnowledgeWindowContent(const QString& part, const QString& folderCode,
                                   const IniFile& partSetup);
  // reportUnused: keys the paper never asks for are problems too (not for the practice paper,
  // which borrows the part's counts).
  void CheckChoicesAgainst(const QString& part, const QList<int>& counts, const IniFile& setup,
                           bool keysDefineStructure, bool reportUnused = true);
  void CheckAnswerKey(const QString& part, const QList<int>& counts, bool required);
  void CheckSamplePictures(const QString& folderCode, const SetupIni& setup);
  void CheckPicture(const QString& rel);
  // The scoring screen, which reads the answer key, follows a sample exam and a forced end.
  bool ScoringRuns(const SetupIni& setup) const { return system_.sampleExam || setup.forcedEnd; }
  void CheckPageLinks(const QString& folderCode);
  void CheckPage(const QString& pagePath, const QStringList& pageScope);

  QString root_;
  Progress progress_;
  CheckResult result_;
  std::map<QString, IniFile> inis_;
  QSet<QString> pictures_;  // checked already
  SystemIni system_;
  int partCount_ = 0;
};

const IniFile* InstallationChecker::Ini(const QString& rel, bool required) {
  if (auto found = inis_.find(rel); found != inis_.end()) return &found->second;
  QFile file(ExePath(rel));
  if (!file.exists()) {
    if (required) Fail(rel, {}, {}, QStringLiteral("missing"));
    return nullptr;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    Fail(rel, {}, {}, QStringLiteral("cannot be read: ") + file.errorString());
    return nullptr;
  }
  const QByteArray bytes = file.readAll();
  if (const QString mark = ByteOrderMark(bytes); !mark.isEmpty()) {
    Fail(rel, {}, {},
         QStringLiteral("starts with a %1 byte-order mark; exam files are CP932 without one")
             .arg(mark),
         1);
  } else if (const int line = FirstInvalidCp932Line(bytes); line > 0) {
    Fail(rel, {}, {}, QStringLiteral("bytes that are not CP932 text"), line);
  }
  return &inis_.emplace(rel, IniFile::Parse(bytes)).first->second;
}

void InstallationChecker::RequireText(const QString& rel, const IniFile& ini,
                                      const QString& section, const QString& key) {
  if (!ini.HasKey(section, key))
    Fail(rel, section, key, QStringLiteral("missing"));
  else if (ini.Value(section, key).isEmpty())
    Fail(rel, section, key, QStringLiteral("empty"));
}

void InstallationChecker::RequireInteger(const QString& rel, const IniFile& ini,
                                         const QString& section, const QString& key, bool optional,
                                         int low, int high) {
  const QString value = ini.Value(section, key);
  if (value.isEmpty()) {
    if (!optional) Fail(rel, section, key, ini.HasKey(section, key) ? u"empty"_s : u"missing"_s);
    return;
  }
  int number = 0;
  if (!ParseIniInteger(value, &number))
    Fail(rel, section, key, QStringLiteral("not a number (%1)").arg(Quoted(value)));
  else if (number < low || number > high)
    Fail(rel, section, key, QStringLiteral("%1 is outside %2 to %3").arg(value).arg(low).arg(high));
}

void InstallationChecker::RequireOneOf(const QString& rel, const IniFile& ini,
                                       const QString& section, const QString& key,
                                       const QStringList& values) {
  const QString value = ini.Value(section, key);
  if (!ini.HasKey(section, key)) {
    // A key whose absence is one of its values may be left out.
    if (!values.contains(QString())) Fail(rel, section, key, QStringLiteral("missing"));
  } else if (!values.contains(value))
    Fail(rel, section, key,
         QStringLiteral("%1 is not one of %2")
             .arg(Quoted(value), values.join(QStringLiteral(", "))));
}

CheckResult InstallationChecker::Run() {
  SetExeFolder(root_);
  if (!QFileInfo(root_).isDir()) {
    Fail(QString(), {}, {}, QStringLiteral("the installation folder does not exist"));
    return result_;
  }
  CheckSystemIni();
  if (const IniFile* shiken = Ini(ShikenIniPath(), false))
    RequireOneOf(ShikenIniPath(), *shiken, QStringLiteral("受験者情報"), QStringLiteral("連携"),
                 {QString(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  CheckExecutables();
  for (int part = 1; part <= partCount_; ++part) CheckPart(part);

  // The pictures every part's screens paint.
  Say(QStringLiteral("checking the pictures in system\\Image"));
  for (const char16_t* name : {u"bg.jpg", u"bg_main_top.jpg", u"bg_main_bottom.jpg",
                               u"juken_info_input1.jpg", u"juken_info_input2.jpg"})
    CheckPicture(u"system/Image/"_s + QString::fromUtf16(name));
  struct NamedPicture {
    const char16_t* base;
    const char16_t* key;
    QString extension;
    bool required;
  };
  const NamedPicture named[] = {
      {u"MakerImage", u"メーカー画像拡張子", system_.makerImageExtension, true},
      {u"ShikenImage", u"試験画像拡張子", system_.examImageExtension, false},
      {u"KyuInfoImage", u"級個人情報画像拡張子", system_.gradeInfoImageExtension, false},
      {u"KyuTopImage", u"級TOP画像拡張子", system_.gradeTopImageExtension, true},
  };
  for (const NamedPicture& picture : named) {
    if (picture.extension.isEmpty()) {
      if (picture.required)
        Fail(SystemIniPath(), kBasic, QString::fromUtf16(picture.key),
             QStringLiteral("empty; it names the picture %1<extension>")
                 .arg(QString::fromUtf16(picture.base)));
      continue;
    }
    CheckPicture(u"system/Image/"_s + QString::fromUtf16(picture.base) + picture.extension);
  }
  return result_;
}

void InstallationChecker::CheckSystemIni() {
  const QString rel = SystemIniPath();
  const IniFile* ini = Ini(rel, true);
  if (!ini) return;
  system_ = SystemIniFrom(*ini, 2000);
  RequireInteger(rel, *ini, kBasic, QStringLiteral("部数"), false, 1, 99);
  ParseIniInteger(ini->Value(kBasic, QStringLiteral("部数")), &partCount_);
  partCount_ = std::clamp(partCount_, 0, 99);
  RequireText(rel, *ini, kBasic, QStringLiteral("級コード"));
  const QString birth = QStringLiteral("生年月日");
  RequireInteger(rel, *ini, birth, QStringLiteral("開始"), true, 1800, 9999);
  RequireInteger(rel, *ini, birth, QStringLiteral("終了"), true, 1800, 9999);
  const QString eras = QStringLiteral("年度");
  for (const QString& key : ini->Keys(eras)) {
    int year = 0;
    if (!ParseIniInteger(key, &year)) Fail(rel, eras, key, QStringLiteral("the key is not a year"));
  }
}

void InstallationChecker::CheckExecutables() {
  static const QRegularExpression kPartExecutable(QStringLiteral("^\\[(\\d+)\\](.*)\\.exe$"),
                                                  QRegularExpression::CaseInsensitiveOption);
  const QStringList files = QDir(root_).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  QSet<QString> present;
  for (const QString& file : files) {
    const QRegularExpressionMatch match = kPartExecutable.match(file);
    if (!match.hasMatch()) continue;
    present.insert(file);
    const int number = match.captured(1).toInt();
    const QString name = match.captured(2);
    if (number == partCount_ + 1) {
      if (file != SubmissionExecutableName(partCount_))
        Fail(file, {}, {},
             QStringLiteral("number %1 belongs to the submission-file tool, %2")
                 .arg(number)
                 .arg(SubmissionExecutableName(partCount_)));
      continue;
    }
    if (number < 1 || number > partCount_) {
      Fail(file, {}, {},
           QStringLiteral("part %1 is not a part of this installation (部数 is %2)")
               .arg(number)
               .arg(partCount_));
      continue;
    }
    // The program takes its part code from the second character of its own name.
    const QString partCode = PartCodeFrom(file, {});
    if (partCode != QString::number(number)) {
      Fail(file, {}, {},
           QStringLiteral("the program reads part code %1 from this name, not %2")
               .arg(Quoted(partCode))
               .arg(number));
      continue;
    }
    if (!QFileInfo(ContentFolder(partCode)).isDir())
      Fail(file, {}, {}, QStringLiteral("there is no folder system\\%1 for its part").arg(number));
  }
  for (int part = 1; part <= partCount_; ++part) {
    const QString code = QString::number(part);
    const IniFile* setup = Ini(SetupIniPath(code), false);
    const QString name = setup ? setup->Value(kBasic, QStringLiteral("部種名称")) : QString();
    if (name.isEmpty()) continue;  // reported with the part
    const QString expected = PartExecutableName(part, name);
    if (!present.contains(expected))
      Fail(expected, {}, {},
           QStringLiteral("missing: part %1 (部数 %2, 部種名称 %3) has no executable")
               .arg(part)
               .arg(partCount_)
               .arg(Quoted(name)));
  }
  if (!present.contains(SubmissionExecutableName(partCount_)))
    Note(QStringLiteral("%1 (the submission-file tool, not part of Examora) is not in the folder")
             .arg(SubmissionExecutableName(partCount_)));
  // Part folders the hand-over never reaches.
  static const QRegularExpression kPartFolder(QStringLiteral("^Z?(\\d+)$"));
  for (const QString& folder :
       QDir(ExePath(QStringLiteral("system"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QRegularExpressionMatch match = kPartFolder.match(folder);
    if (match.hasMatch() &&
        (match.captured(1).toInt() < 1 || match.captured(1).toInt() > partCount_))
      Fail(
          u"system/"_s + folder, {}, {},
          QStringLiteral("a part folder outside 部数 (%1): no executable runs it").arg(partCount_));
  }
}

void InstallationChecker::CheckPart(int part) {
  const QString code = QString::number(part);
  Say(QStringLiteral("checking part %1").arg(part));
  if (!QFileInfo(ContentFolder(code)).isDir()) {
    Fail(u"system/"_s + code, {}, {},
         QStringLiteral("missing: 部数 is %1, so part %2 needs this folder")
             .arg(partCount_)
             .arg(part));
    return;
  }
  const QString rel = SetupIniPath(code);
  const IniFile* ini = Ini(rel, true);
  if (!ini) return;
  const IniFile partSetup = *ini;
  const SetupIni setup = SetupIniFrom(partSetup);
  RequireOneOf(rel, partSetup, kBasic, QStringLiteral("試験区分"),
               {QStringLiteral("1"), QStringLiteral("2")});
  RequireOneOf(rel, partSetup, kBasic, QStringLiteral("受験タイプ"),
               {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  RequireText(rel, partSetup, kBasic, QStringLiteral("部種名称"));
  const QString time = QStringLiteral("試験時間");
  RequireInteger(rel, partSetup, time, QStringLiteral("all"), false, 1, 24 * 60);
  RequireInteger(rel, partSetup, time, QStringLiteral("add"), true, 0, 24 * 60);
  RequireInteger(rel, partSetup, time, QStringLiteral("now"), true, 0, 24 * 60 * 7);
  const QString screen = QStringLiteral("画面情報");
  RequireInteger(rel, partSetup, screen, QStringLiteral("位置"), true, 1, 4);
  for (const char16_t* key : {u"左", u"上", u"幅", u"高さ"})
    RequireInteger(rel, partSetup, screen, QString::fromUtf16(key), true, -100000, 100000);
  Ini(UpdateCheckIniPath(code), false);

  // The wizard's pages and pictures.
  if (!QFileInfo::exists(ContentFolder(code) + QStringLiteral("/html/c/index1.html")))
    Fail(u"system/"_s + code + u"/html/c/index1.html"_s, {}, {},
         QStringLiteral("missing: the notes screen starts with this page"));
  CheckPicture(u"system/"_s + code + u"/html/o/OperationExplanation.jpeg"_s);
  for (const char16_t* form : {u"frmQZTP0020", u"frmQZTP0030", u"frmQZQZ0030", u"frmQZTP0060"}) {
    for (bool inWizard : {true, false}) {
      const QString file =
          StepImageFile(system_.displayType, code, QString::fromUtf16(form), inWizard);
      if (!file.isEmpty()) CheckPicture(u"system/Image/"_s + file);
    }
  }

  const ExamWindowChoice window = ChooseExamWindow(setup.examType, setup.examCategory);
  const bool knowledgeCategory = setup.IsKnowledge();
  const bool practice = QFileInfo(ContentFolder(u'Z' + code)).isDir();
  switch (window.kind) {
    case ExamWindowKind::Knowledge: {
      CheckPicture(QStringLiteral("system/Image/main_top_t.jpg"));
      CheckKnowledgeWindowContent(code, code, partSetup);
      CheckSamplePictures(code, setup);
      if (practice && ChoosePractice(setup.examType) == PracticeKind::KnowledgeWindow) {
        if (Ini(SetupIniPath(u'Z' + code), true))
          CheckKnowledgeWindowContent(code, u'Z' + code, partSetup);
      }
      break;
    }
    case ExamWindowKind::AnswerOnly: {
      CheckPicture(QStringLiteral("system/Image/main_top_z.jpg"));
      const QList<int> counts = SubQuestionCountsFromChoices(partSetup);
      if (setup.IsKnowledge()) {
        const ExamStructureResult sheet =
            BuildExamStructure(counts, setup.subQuestionsOnly,
                               [&](int q, int s) { return ChoiceCount(partSetup, q, s); });
        if (!sheet.ok)
          Fail(SetupIniPath(code), QStringLiteral("選択数"), {},
               QStringLiteral("the answer sheet cannot hold the paper: %1").arg(sheet.message));
      }
      CheckChoicesAgainst(code, counts, partSetup, true);
      CheckAnswerKey(code, counts, knowledgeCategory && ScoringRuns(setup));
      break;
    }
    case ExamWindowKind::Compact:
      CheckPicture(QStringLiteral("system/Image/main_top_mondai_none.jpg"));
      CheckSamplePictures(code, setup);
      break;
  }
  if (practice) {
    const QString z = SetupIniPath(u'Z' + code);
    if (const IniFile* zini = Ini(z, false)) {
      RequireInteger(z, *zini, time, QStringLiteral("all"), true, 1, 24 * 60);
      RequireInteger(z, *zini, time, QStringLiteral("now"), true, 0, 24 * 60 * 7);
    }
  }
  if (setup.examType == u"3") {
    const QString start = knowledgeCategory ? u"知識用/start.html"_s : u"実技用/start.html"_s;
    if (!QFileInfo::exists(ExePath(start)))
      Note(QStringLiteral("part %1: %2, the page candidates open first, is not there")
               .arg(part)
               .arg(ShownPath(start)));
  }
  CheckPageLinks(code);
  if (practice) CheckPageLinks(u'Z' + code);
}

void InstallationChecker::CheckKnowledgeWindowContent(const QString& part,
                                                      const QString& folderCode,
                                                      const IniFile& partSetup) {
  const QString rel = SetupIniPath(folderCode);
  const IniFile* ini = Ini(rel, true);
  if (!ini) return;
  const SetupIni content = SetupIniFrom(*ini);
  // The window's own start: the display modes and the first page it opens.
  QuestionDisplay display(folderCode, content.subQuestionsOnly);
  const InitialMode start = display.ChooseInitialMode(
      {content.wholePaper, content.byQuestion, content.bySubQuestion}, FirstChoiceKey(*ini));
  if (!start.error.isEmpty()) {
    QString what = QStringLiteral("the exam window stops with %1").arg(Quoted(start.error.mid(3)));
    if (!start.firstPage.isEmpty())
      what += QStringLiteral(" (first page %1)")
                  .arg(ShownPath(QDir(root_).relativeFilePath(start.firstPage)));
    Fail(rel, kBasic, {}, what);
  }

  const QList<int> counts = SubQuestionCountsFromFolders(folderCode);
  const QString html = u"system/"_s + folderCode + u"/html/q"_s;
  if (counts.isEmpty()) Fail(html + u"/mondai"_s, {}, {}, QStringLiteral("no question folders"));
  for (int q = 1; q <= counts.size(); ++q) {
    const QString qs = QString::number(q);
    if (content.byQuestion && !QFileInfo::exists(QuestionPage(folderCode, qs)))
      Fail(html + u"/mondai/"_s + qs + u"/index.html"_s, {}, {},
           QStringLiteral("missing: 問題別 is on"));
    if (counts.at(q - 1) == 0)
      Fail(html + u"/setsumon"_s, {}, {},
           QStringLiteral("question %1 has no sub-question pages").arg(q));
    for (int s = 1; s <= counts.at(q - 1); ++s) {
      if (content.bySubQuestion &&
          !QFileInfo::exists(SubQuestionPage(folderCode, qs, QString::number(s))))
        Fail(html + QStringLiteral("/setsumon/%1-%2/index.html").arg(q).arg(s), {}, {},
             QStringLiteral("missing: 設問別 is on"));
    }
  }
  if (content.wholePaper && !QFileInfo::exists(WholePaperPage(folderCode)))
    Fail(html + u"/all/index.html"_s, {}, {}, QStringLiteral("missing: 全体 is on"));

  // A practical part shown in this window has no answer sheet, so neither choice counts nor
  // an answer key.
  const SetupIni setup = SetupIniFrom(partSetup);
  if (!setup.IsKnowledge()) return;
  const ExamStructureResult sheet = BuildExamStructure(
      counts, content.subQuestionsOnly, [&](int q, int s) { return ChoiceCount(partSetup, q, s); });
  if (!sheet.ok)
    Fail(html, {}, {},
         QStringLiteral("the answer sheet cannot hold the paper: %1").arg(sheet.message));
  // The choice counts come from the part's own setup.ini, also for the practice paper.
  CheckChoicesAgainst(part, counts, partSetup, false, folderCode == part);
  if (folderCode == part) CheckAnswerKey(part, counts, ScoringRuns(setup));
}

void InstallationChecker::CheckChoicesAgainst(const QString& part, const QList<int>& counts,
                                              const IniFile& setup, bool keysDefineStructure,
                                              bool reportUnused) {
  const QString rel = SetupIniPath(part);
  const QString section = QStringLiteral("選択数");
  QSet<QString> used;
  for (int q = 1; q <= counts.size(); ++q) {
    for (int s = 1; s <= counts.at(q - 1); ++s) {
      const QString key = QStringLiteral("%1-%2").arg(q).arg(s);
      used.insert(key);
      if (!setup.HasKey(section, key)) {
        Fail(rel, section, key, QStringLiteral("missing: the paper has this sub-question"));
        continue;
      }
      RequireInteger(rel, setup, section, key, false, 1, 5);
    }
  }
  if (!reportUnused) return;
  for (const QString& key : setup.Keys(section)) {
    if (used.contains(key)) continue;
    Fail(rel, section, key,
         keysDefineStructure
             ? QStringLiteral("never reached: the questions stop at the first gap in the keys")
             : QStringLiteral("no page html\\q\\setsumon\\%1 in system\\%2").arg(key, part));
  }
}

void InstallationChecker::CheckAnswerKey(const QString& part, const QList<int>& counts,
                                         bool required) {
  const QString rel = AnswerKeyIniPath(part);
  const IniFile* ini = Ini(rel, required);
  if (!ini) return;
  const QList<AnswerKeyRow> rows = AnswerKeyFrom(*ini);
  const IniFile* setup = Ini(SetupIniPath(part), false);
  // The scoring pairs the answers with the key's sections by position.
  int index = 0;
  for (int q = 1; q <= counts.size(); ++q) {
    for (int s = 1; s <= counts.at(q - 1); ++s, ++index) {
      const QString expected = QStringLiteral("%1_%2").arg(q).arg(s);
      if (index >= rows.size()) {
        Fail(rel, expected, {}, QStringLiteral("missing: the paper has this sub-question"));
        continue;
      }
      const AnswerKeyRow& row = rows.at(index);
      if (row.section != expected) {
        Fail(rel, row.section, {},
             QStringLiteral("section %1 of the key should be %2: answers are marked by position")
                 .arg(index + 1)
                 .arg(expected));
        continue;
      }
      static const QRegularExpression kCorrect(QStringLiteral("^[01]{5}$"));
      const int first = row.correct.indexOf(u'1');
      const int choices = setup ? ChoiceCount(*setup, q, s) : 0;
      if (!kCorrect.match(row.correct).hasMatch() || first < 0)
        Fail(rel, row.section, QStringLiteral("正答"),
             QStringLiteral("%1 is not five 0/1 digits with a 1").arg(Quoted(row.correct)));
      else if (row.correct != u"11111" && choices > 0 && first >= choices)
        Fail(rel, row.section, QStringLiteral("正答"),
             QStringLiteral("%1 names choice %2, but [選択数] %3-%4 gives %5 choices")
                 .arg(Quoted(row.correct))
                 .arg(first + 1)
                 .arg(q)
                 .arg(s)
                 .arg(choices));
      RequireInteger(rel, *ini, row.section, QStringLiteral("配点"), false, 0, 1000);
    }
  }
  for (; index < rows.size(); ++index)
    Fail(rel, rows.at(index).section, {}, QStringLiteral("no such sub-question in the paper"));
}

void InstallationChecker::CheckSamplePictures(const QString& folderCode, const SetupIni& setup) {
  if (setup.sampleButtonName.isEmpty()) return;
  const QString folder = u"system/"_s + folderCode + u"/html/s"_s;
  const QFileInfoList pictures =
      QDir(ExePath(folder)).entryInfoList({QStringLiteral("*.jpeg")}, QDir::Files, QDir::Name);
  if (pictures.isEmpty())
    Fail(SetupIniPath(folderCode), kBasic, QStringLiteral("見本ボタン名"),
         QStringLiteral("set, but %1 holds no .jpeg pages").arg(ShownPath(folder)));
  for (const QFileInfo& picture : pictures) CheckPicture(folder + u'/' + picture.fileName());
}

void InstallationChecker::CheckPicture(const QString& rel) {
  if (pictures_.contains(rel)) return;
  pictures_.insert(rel);
  QFile file(ExePath(rel));
  if (!file.exists()) {
    Fail(rel, {}, {}, QStringLiteral("missing picture"));
    return;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    Fail(rel, {}, {}, QStringLiteral("cannot be read: ") + file.errorString());
    return;
  }
  // The probe reads only the header; a picture's header is within its first few kilobytes
  // except for JPEG, whose segments the probe walks.
  const QByteArray bytes = file.readAll();
  const ImageSizeResult size = GetImageSizeFromBytes(bytes, ShownPath(rel));
  if (!size)
    Fail(rel, {}, {}, QStringLiteral("the picture probe refuses it: ") + OneLine(size.error));
}

void InstallationChecker::CheckPageLinks(const QString& folderCode) {
  const QString html = ContentFolder(folderCode) + QStringLiteral("/html");
  if (!QFileInfo(html).isDir()) return;
  Say(QStringLiteral("checking the links of the pages in system\\%1\\html").arg(folderCode));
  QDirIterator pages(html, {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                     QDirIterator::Subdirectories);
  const QString notes = html + QStringLiteral("/c/");
  while (pages.hasNext()) {
    const QString page = pages.next();
    // The notes screen shows html\c alone; the exam windows show the whole html folder.
    CheckPage(page, {page.startsWith(notes) ? notes.chopped(1) : html});
  }
}

void InstallationChecker::CheckPage(const QString& pagePath, const QStringList& pageScope) {
  QFile file(pagePath);
  const QString rel = QDir(root_).relativeFilePath(pagePath);
  if (!file.open(QIODevice::ReadOnly)) {
    Fail(rel, {}, {}, QStringLiteral("cannot be read: ") + file.errorString());
    return;
  }
  const QString text = FromCp932(file.readAll());
  static const QRegularExpression kLink(
      QStringLiteral("\\b(href|src)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
      QRegularExpression::CaseInsensitiveOption);
  const QStringList pictureScope = pageScope + QStringList{ExePath(QStringLiteral("system/Image"))};
  const QUrl base = QUrl::fromLocalFile(pagePath);
  QRegularExpressionMatchIterator links = kLink.globalMatch(text);
  while (links.hasNext()) {
    const QRegularExpressionMatch match = links.next();
    QString target = match.captured(2) + match.captured(3) + match.captured(4);
    const int line = static_cast<int>(text.left(match.capturedStart()).count(u'\n')) + 1;
    target = target.trimmed();
    if (target.isEmpty() || target.startsWith(u'#')) continue;
    const QString lower = target.toLower();
    if (lower.startsWith(u"javascript:"_s) || lower == u"about:blank") continue;
    const QString written = target;
    // Pages are authored on Windows: "\" separates folders there.
    target.replace(u'\\', u'/');
    QUrl url = base.resolved(QUrl(target));
    url.setFragment(QString());
    url.setQuery(QString());
    const bool picture = match.captured(1).compare(u"src"_s, Qt::CaseInsensitive) == 0;
    if (IsUrlInsideAnyFolder(url, picture ? pictureScope : pageScope)) continue;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()) &&
        IsUrlInsideAnyFolder(QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath()),
                             picture ? pictureScope : pageScope)) {
      Fail(rel, {}, {}, QStringLiteral("links to %1, which does not exist").arg(Quoted(written)),
           line);
      continue;
    }
    Fail(rel, {}, {},
         QStringLiteral("links to %1, outside %2, which the browser refuses")
             .arg(Quoted(written), ShownPath(QDir(root_).relativeFilePath(pageScope.first()))),
         line);
  }
}

}  // namespace

CheckResult CheckInstallation(const QString& root, const Progress& progress) {
  return InstallationChecker(QDir::cleanPath(QFileInfo(root).absoluteFilePath()), progress).Run();
}

}  // namespace examora::admin
