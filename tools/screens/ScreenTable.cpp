#include "ScreenTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include "common/ExeFolder.h"
#include "completion/QZQZ0020.h"
#include "completion/QZQZ0060.h"
#include "completion/QZTP0040.h"
#include "completion/QZTP0050.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "exam/QZMain.h"
#include "exam/QZMain2.h"
#include "exam/QZMain3.h"
#include "flow/QZBG0010.h"
#include "flow/QZQZ0030.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/QZTP0020.h"
#include "flow/QZTP0030.h"
#include "flow/QZTP0060.h"
#include "flow/QZTP0070.h"
#include "flow/QZTP0090.h"
#include "flow/QZTP0120.h"
#include "flow/QZTP0130.h"
#include "flow/QZTP0140.h"
#include "flow/QZTP0150.h"
#include "flow/QZTP0160.h"
#include "flow/QZTP0170.h"
#include "flow/QZTP0180.h"
#include "flow/QZTP0190.h"
#include "flow/QZTP0200.h"
#include "flow/QZTP0220.h"
#include "viewers/QZQZ0010.h"

namespace examora::screens {

void Installation::Set(const QString& relativePath, const QString& section, const QString& key,
                       const QString& value) {
  if (!error_.isEmpty()) return;
  if (const WriteResult written = WriteIni(relativePath, section, key, value); !written) {
    error_ = QStringLiteral("cannot write ") + relativePath + QStringLiteral(": ") + written.error;
  }
}

void FillCandidate(Installation& installation) {
  const QString shiken = QStringLiteral("system\\shiken.ini");
  const QString candidate = QStringLiteral("受験者情報");
  const struct {
    const char16_t* key;
    const char16_t* value;
  } values[] = {
      {u"会場コード", u"12345"},
      {u"受験番号", u"24010017"},
      {u"姓", u"山田"},
      {u"名", u"花子"},
      {u"年", u"1998"},
      {u"月", u"4"},
      {u"日", u"15"},
      {u"性別", u"2"},
  };
  for (const auto& v : values)
    installation.Set(shiken, candidate, QString::fromUtf16(v.key), QString::fromUtf16(v.value));
}

namespace {

const QString kPart1Setup = QStringLiteral("system\\1\\setup.ini");
const QString kPart2Setup = QStringLiteral("system\\2\\setup.ini");
const QString kBasics = QStringLiteral("基本情報");

template <typename Screen>
Shot Make(const QString& partCode) {
  auto screen = std::make_unique<Screen>(nullptr);
  screen->SetPartCode(partCode);
  return {std::move(screen), false};
}

// The practical part as a web-style part (exam type "3"), which the sample does not have.
void MakePart2WebStyle(Installation& installation) {
  installation.Set(kPart2Setup, kBasics, QStringLiteral("受験タイプ"), QStringLiteral("3"));
}

// The practical part worked beside the knowledge-style exam window (exam type "1"): the exam
// then has no compact practical part.
void MakePart2Plain(Installation& installation) {
  installation.Set(kPart2Setup, kBasics, QStringLiteral("受験タイプ"), QStringLiteral("1"));
}

Shot CandidateInfo(const QString& partCode) {
  return Make<TfrmQZTP0020>(partCode);
}

Shot Notes(const QString& partCode, bool fromExamWindow) {
  auto screen = std::make_unique<TfrmQZTP0030>(nullptr);
  screen->SetPartCode(partCode);
  screen->FromExamWindow = fromExamWindow;
  return {std::move(screen), false};
}

Shot Explanation(const QString& partCode, const QString& examCategory, bool wizard) {
  auto screen = std::make_unique<TfrmQZQZ0030>(nullptr);
  screen->SetPartCode(partCode);
  screen->ExamCategory = examCategory;
  screen->KeepOnTop = wizard;
  screen->WizardMode = wizard;
  return {std::move(screen), false};
}

Shot Cover(const QString& partCode, const QString& examCategory) {
  auto screen = std::make_unique<TfrmQZQZ0040>(nullptr);
  screen->SetPartCode(partCode);
  screen->ExamCategory = examCategory;
  // Its after-show work opens the notes modally; the cover alone is what is wanted here.
  return {std::move(screen), true};
}

Shot Start(const QString& partCode, const QString& startMode, bool afterPractice) {
  auto screen = std::make_unique<TfrmQZTP0060>(nullptr);
  screen->SetPartCode(partCode);
  screen->StartMode = startMode;
  screen->AfterPractice = afterPractice;
  return {std::move(screen), false};
}

Shot ExtensionResult(int oldMinutes, int newMinutes) {
  auto screen = std::make_unique<TfrmQZTP0210>(nullptr);
  screen->SetPartCode(QStringLiteral("1"));
  screen->OldMinutes = oldMinutes;
  screen->NewMinutes = newMinutes;
  return {std::move(screen), false};
}

Shot TimeOver(Installation& installation, const QString& partCode) {
  installation.Set(QStringLiteral("system\\") + partCode + QStringLiteral("\\setup.ini"), kBasics,
                   QStringLiteral("正常終了"), QStringLiteral("T"));
  return Make<TfrmQZTP0220>(partCode);
}

Shot Background() {
  // Only its painted picture: FormCreate (the instance lock) is not needed for that, and the
  // session its after-show work starts must not run.
  auto window = std::make_unique<TfrmQZBG0010>(QStringLiteral("[1]知識.exe"), QStringList());
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window->setGeometry(screen->geometry());
  return {std::move(window), true};
}

// The knowledge exam window of part 1 over the whole screen, switched to the display mode
// by its button once shown (all three buttons stay visible).
Shot KnowledgeWindow(const QString& modeButton) {
  auto window = std::make_unique<TfrmQZMain>(nullptr);
  window->SetPart(QStringLiteral("1"), true);
  window->VenueCode = QStringLiteral("12345");
  window->CandidateNumber = QStringLiteral("24010017");
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    window->setGeometry(QRect(QPoint(0, 0), screen->size()));
  if (!modeButton.isEmpty()) {
    TfrmQZMain* w = window.get();
    QTimer::singleShot(0, w, [w, modeButton] {
      if (auto* button = w->findChild<QPushButton*>(modeButton)) button->click();
      // The sample opens on its heading pages; paging on past them shows the first question.
      auto* next = w->findChild<QPushButton*>(QStringLiteral("NextBtn"));
      for (int i = 0; next && i < 5 && w->Display() && w->Display()->HeadingMode(); ++i)
        next->click();
    });
  }
  return {std::move(window), false};
}

// The exam window of part 3, whose tasks are shown beside the editor, in its start layout (the
// right-hand column); once shown, the given button is pressed (a layout button or the
// collapse).
Shot PracticalWindow(const QString& button) {
  auto window = std::make_unique<TfrmQZMain>(nullptr);
  window->SetPart(QStringLiteral("3"), true);
  window->VenueCode = QStringLiteral("12345");
  window->CandidateNumber = QStringLiteral("24010017");
  // The file manager stays closed while screens are rendered.
  window->OpenWorkFolder = [](const QString&) {};
  if (!button.isEmpty()) {
    TfrmQZMain* w = window.get();
    QTimer::singleShot(0, w, [w, button] {
      if (auto* b = w->findChild<QPushButton*>(button)) b->click();
    });
  }
  return {std::move(window), false};
}

// The finished sample of part 3 on its second page, 800 × 600.
Shot SampleViewer() {
  auto viewer = std::make_unique<TfrmQZQZ0010>();
  viewer->SetupFolderCode = QStringLiteral("3");
  viewer->BaseCaption = QStringLiteral("仕上り見本");
  viewer->StartPage = 1;
  viewer->KeepOnTop = false;
  viewer->InitialBounds = QRect(0, 0, 800, 600);
  return {std::move(viewer), false};
}

// The knowledge score of part 1. The sample has no answers yet, so the candidate is given
// some: right, wrong and left out in turn.
Shot ScoreScreen() {
  const QList<AnswerKeyRow> key = ReadAnswerKey(QStringLiteral("1"));
  AnswerRecord record{QStringLiteral("G2"),
                      QStringLiteral("1"),
                      QStringLiteral("12345"),
                      QStringLiteral("24010017"),
                      {}};
  for (qsizetype i = 0; i < key.size(); ++i) {
    const qsizetype right = std::max<qsizetype>(0, key[i].correct.indexOf(QLatin1Char('1')));
    switch (i % 3) {
      case 0:
        record.answers << QString::number(right + 1);
        break;
      case 1:
        record.answers << QString::number((right + 1) % 4 + 1);
        break;
      default:
        record.answers << QString();
    }
  }
  // A failed write leaves the sample unanswered, which still renders.
  (void)WriteAnswerFile(AnswerFilePath(QStringLiteral("1")), record);
  auto screen = std::make_unique<TfrmQZTP0040>(nullptr);
  screen->SetPartCode(QStringLiteral("1"));
  return {std::move(screen), false};
}

// The answer status of a knowledge part: questions answered in full, in part and not at all,
// one of them with 12 sub-questions, and enough questions to reach two-digit numbers.
Shot AnswerStatus(bool timeOver) {
  const QList<int> counts = {4, 4, 12, 3, 5, 2, 4, 3, 2, 6, 3};
  const QList<int> answered = {4, 3, 10, 0, 5, 1, 0, 3, 0, 6, 2};
  QStringList answers;
  for (qsizetype q = 0; q < counts.size(); ++q) {
    for (int s = 0; s < counts[q]; ++s)
      answers << (s < answered[q] ? QString::number(s % 5 + 1) : QString());
  }
  auto screen = std::make_unique<TfrmQZQZ0020>(nullptr);
  screen->SetPartCode(QStringLiteral("1"));
  screen->Category = QStringLiteral("1");
  screen->TimeOver = timeOver;
  screen->SubQuestionCounts = counts;
  screen->Answers = answers;
  return {std::move(screen), false};
}

// The practical confirmation of part 2 over the sample's work folder. The sample's part 2 is a
// compact practical part, so its exam shows variant B unless a row changes that first.
Shot SubmissionCheck(bool timeOver) {
  auto screen = std::make_unique<TfrmQZQZ0020>(nullptr);
  screen->SetPartCode(QStringLiteral("2"));
  screen->Category = QStringLiteral("2");
  screen->TimeOver = timeOver;
  return {std::move(screen), false};
}

// The compact practical window of part 2 as the session opens it (a debug run: nothing of the
// desktop is pushed around). The practice reads its texts from system\Z2\, which the sample
// does not have.
Shot CompactWindow(Installation& installation, bool practice) {
  if (practice) {
    const QString z2 = QStringLiteral("system\\Z2\\setup.ini");
    QDir().mkpath(ExePath(QStringLiteral("system/Z2")));
    installation.Set(z2, kBasics, QStringLiteral("部種名称"), QStringLiteral("実技"));
    installation.Set(
        z2, kBasics, QStringLiteral("補足説明"),
        QStringLiteral("作成したファイルは「実技操作練習用」フォルダー内に保存してください。"));
    installation.Set(z2, kBasics, QStringLiteral("注意事項表示"), QStringLiteral("1"));
  }
  auto window = std::make_unique<TfrmQZMain2>(nullptr);
  window->SetPart(QStringLiteral("2"), true);
  window->PracticeMode = practice;
  return {std::move(window), false};
}

// The web-style knowledge part of the sample is part 4; its practical counterpart is part 2
// made web-style.
const QString kWebKnowledge = QStringLiteral("4");

Shot OpenPage(Installation& installation, const QString& partCode, bool practice) {
  if (partCode == u"2") MakePart2WebStyle(installation);
  auto screen = std::make_unique<TfrmQZTP0130>(nullptr);
  screen->SetPartCode(partCode);
  screen->PracticeMode = practice;
  screen->FirstShow = false;
  return {std::move(screen), false};
}

template <typename Step>
Shot PracticeStepShot(Installation& installation, const QString& partCode) {
  if (partCode == u"2") MakePart2WebStyle(installation);
  auto screen = std::make_unique<Step>(nullptr, nullptr);
  screen->SetPartCode(partCode);
  return {std::move(screen), false};
}

Shot PracticeEnd(const QString& examCategory) {
  auto screen = std::make_unique<TfrmQZTP0090>(nullptr);
  screen->SetPartCode(kWebKnowledge);
  screen->ExamCategory = examCategory;
  return {std::move(screen), false};
}

// The answer-only window of part 4 as the practice shows it (the exam would open the
// knowledge folder in the file manager and mark the sample's part as started).
Shot AnswerOnlyWindow(Installation& installation, bool subQuestionsOnly) {
  if (subQuestionsOnly)
    installation.Set(QStringLiteral("system\\Z4\\setup.ini"), kBasics,
                     QStringLiteral("設問表示のみ"), QStringLiteral("1"));
  auto window = std::make_unique<TfrmQZMain3>(nullptr);
  window->SetPart(kWebKnowledge, true);
  window->PracticeMode = true;
  window->VenueCode = QStringLiteral("12345");
  window->CandidateNumber = QStringLiteral("24010017");
  return {std::move(window), false};
}

}  // namespace

const std::vector<ScreenEntry>& ScreenTable() {
  static const std::vector<ScreenEntry> table = {
      {QStringLiteral("QZBG0010"), [](Installation&) { return Background(); }},

      {QStringLiteral("QZTP0020"),
       [](Installation&) { return CandidateInfo(QStringLiteral("1")); }},
      {QStringLiteral("QZTP0020-part2"),
       [](Installation&) { return CandidateInfo(QStringLiteral("2")); }},
      {QStringLiteral("QZTP0020-web"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return CandidateInfo(QStringLiteral("2"));
       }},

      {QStringLiteral("QZTP0030"), [](Installation&) { return Notes(QStringLiteral("1"), false); }},
      {QStringLiteral("QZTP0030-exam"),
       [](Installation&) { return Notes(QStringLiteral("1"), true); }},
      {QStringLiteral("QZTP0030-part2"),
       [](Installation&) { return Notes(QStringLiteral("2"), false); }},

      {QStringLiteral("QZQZ0040"),
       [](Installation&) { return Cover(QStringLiteral("1"), QStringLiteral("1")); }},

      {QStringLiteral("QZQZ0030"),
       [](Installation&) { return Explanation(QStringLiteral("1"), QStringLiteral("1"), true); }},
      {QStringLiteral("QZQZ0030-part2"),
       [](Installation&) { return Explanation(QStringLiteral("2"), QStringLiteral("2"), true); }},
      {QStringLiteral("QZQZ0030-exam"),
       [](Installation&) { return Explanation(QStringLiteral("1"), QStringLiteral("1"), false); }},

      {QStringLiteral("QZQZ0020"), [](Installation&) { return AnswerStatus(false); }},
      {QStringLiteral("QZQZ0020-practical-A"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return SubmissionCheck(false);
       }},
      {QStringLiteral("QZQZ0020-practical-B"),
       [](Installation&) { return SubmissionCheck(false); }},
      {QStringLiteral("QZQZ0020-practical-C"),
       [](Installation& i) {
         MakePart2Plain(i);
         return SubmissionCheck(true);
       }},
      {QStringLiteral("QZQZ0020-practical-D"),
       [](Installation& i) {
         MakePart2Plain(i);
         return SubmissionCheck(false);
       }},
      {QStringLiteral("QZTP0190"),
       [](Installation&) { return Make<TfrmQZTP0190>(QStringLiteral("2")); }},
      {QStringLiteral("QZQZ0020-timeover"), [](Installation&) { return AnswerStatus(true); }},

      {QStringLiteral("QZTP0050"),
       [](Installation&) { return Make<TfrmQZTP0050>(QStringLiteral("2")); }},
      {QStringLiteral("QZQZ0060"),
       [](Installation& i) {
         i.Set(QStringLiteral("system\\system.ini"), kBasics, QStringLiteral("APP"),
               QStringLiteral("Excel.Application"));
         return Make<TfrmQZQZ0060>(QStringLiteral("2"));
       }},

      {QStringLiteral("QZQZ0050"),
       [](Installation&) { return Make<TfrmQZQZ0050>(QStringLiteral("1")); }},

      {QStringLiteral("QZTP0060-1"),
       [](Installation&) { return Start(QStringLiteral("1"), QStringLiteral("1"), false); }},
      {QStringLiteral("QZTP0060-4"),
       [](Installation&) { return Start(QStringLiteral("1"), QStringLiteral("4"), false); }},
      {QStringLiteral("QZTP0060-2"),
       [](Installation&) { return Start(QStringLiteral("2"), QStringLiteral("2"), false); }},
      {QStringLiteral("QZTP0060-3"),
       [](Installation&) { return Start(QStringLiteral("2"), QStringLiteral("3"), false); }},
      {QStringLiteral("QZTP0060-afterpractice"),
       [](Installation&) { return Start(QStringLiteral("1"), QStringLiteral("1"), true); }},
      {QStringLiteral("QZTP0060-web-2"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return Start(QStringLiteral("2"), QStringLiteral("2"), false);
       }},
      {QStringLiteral("QZTP0060-web-3"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return Start(QStringLiteral("2"), QStringLiteral("3"), false);
       }},

      {QStringLiteral("QZTP0200"),
       [](Installation& i) {
         i.Set(kPart1Setup, QStringLiteral("試験時間"), QStringLiteral("add"),
               QStringLiteral("10"));
         return Make<TfrmQZTP0200>(QStringLiteral("1"));
       }},
      {QStringLiteral("QZTP0210-set"), [](Installation&) { return ExtensionResult(0, 10); }},
      {QStringLiteral("QZTP0210-changed"), [](Installation&) { return ExtensionResult(10, 15); }},
      {QStringLiteral("QZTP0210-removed"), [](Installation&) { return ExtensionResult(10, 0); }},

      {QStringLiteral("QZMain-1"), [](Installation&) { return KnowledgeWindow({}); }},
      {QStringLiteral("QZMain-2"),
       [](Installation&) { return KnowledgeWindow(QStringLiteral("PrintToiBtn")); }},
      {QStringLiteral("QZMain-3"),
       [](Installation&) { return KnowledgeWindow(QStringLiteral("PrintSetuBtn")); }},

      {QStringLiteral("QZMain-practical-column"),
       [](Installation&) { return PracticalWindow({}); }},
      {QStringLiteral("QZMain-practical-strip"),
       [](Installation&) { return PracticalWindow(QStringLiteral("AlignTopBtn")); }},
      {QStringLiteral("QZMain-practical-collapsed"),
       [](Installation&) { return PracticalWindow(QStringLiteral("AlignHiddenBtn")); }},
      {QStringLiteral("QZQZ0010"), [](Installation&) { return SampleViewer(); }},
      {QStringLiteral("QZMain2-2"), [](Installation& i) { return CompactWindow(i, false); }},
      {QStringLiteral("QZMain2-2-practice"),
       [](Installation& i) { return CompactWindow(i, true); }},
      {QStringLiteral("QZMain2-3"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return CompactWindow(i, false);
       }},
      {QStringLiteral("QZTP0070"),
       [](Installation&) { return Make<TfrmQZTP0070>(QStringLiteral("2")); }},

      {QStringLiteral("QZTP0040"), [](Installation&) { return ScoreScreen(); }},
      {QStringLiteral("QZTP0040-web"),
       [](Installation& i) {
         i.Set(kPart1Setup, kBasics, QStringLiteral("受験タイプ"), QStringLiteral("3"));
         return ScoreScreen();
       }},

      {QStringLiteral("QZTP0120-knowledge"),
       [](Installation&) { return Make<TfrmQZTP0120>(kWebKnowledge); }},
      {QStringLiteral("QZTP0120-practical"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return Make<TfrmQZTP0120>(QStringLiteral("2"));
       }},
      {QStringLiteral("QZTP0130-knowledge-practice"),
       [](Installation& i) { return OpenPage(i, kWebKnowledge, true); }},
      {QStringLiteral("QZTP0130-practical-practice"),
       [](Installation& i) { return OpenPage(i, QStringLiteral("2"), true); }},
      {QStringLiteral("QZTP0130-knowledge-exam"),
       [](Installation& i) { return OpenPage(i, kWebKnowledge, false); }},
      {QStringLiteral("QZTP0130-practical-exam"),
       [](Installation& i) { return OpenPage(i, QStringLiteral("2"), false); }},
      {QStringLiteral("QZTP0140-knowledge"),
       [](Installation& i) { return PracticeStepShot<TfrmQZTP0140>(i, kWebKnowledge); }},
      {QStringLiteral("QZTP0140-practical"),
       [](Installation& i) { return PracticeStepShot<TfrmQZTP0140>(i, QStringLiteral("2")); }},
      {QStringLiteral("QZTP0160-knowledge"),
       [](Installation& i) { return PracticeStepShot<TfrmQZTP0160>(i, kWebKnowledge); }},
      {QStringLiteral("QZTP0160-practical"),
       [](Installation& i) { return PracticeStepShot<TfrmQZTP0160>(i, QStringLiteral("2")); }},
      {QStringLiteral("QZTP0170"),
       [](Installation& i) { return PracticeStepShot<TfrmQZTP0170>(i, QStringLiteral("2")); }},
      {QStringLiteral("QZTP0150"), [](Installation&) { return Make<TfrmQZTP0150>(kWebKnowledge); }},
      {QStringLiteral("QZTP0090-knowledge"),
       [](Installation&) { return PracticeEnd(QStringLiteral("1")); }},
      {QStringLiteral("QZTP0090-practical"),
       [](Installation&) { return PracticeEnd(QStringLiteral("2")); }},
      {QStringLiteral("QZTP0180-knowledge"),
       [](Installation&) { return Make<TfrmQZTP0180>(kWebKnowledge); }},
      {QStringLiteral("QZTP0180-practical"),
       [](Installation& i) {
         MakePart2WebStyle(i);
         return Make<TfrmQZTP0180>(QStringLiteral("2"));
       }},
      {QStringLiteral("QZMain3"), [](Installation& i) { return AnswerOnlyWindow(i, false); }},
      {QStringLiteral("QZMain3-subquestions-only"),
       [](Installation& i) { return AnswerOnlyWindow(i, true); }},

      {QStringLiteral("QZTP0220-knowledge"),
       [](Installation& i) { return TimeOver(i, QStringLiteral("1")); }},
      {QStringLiteral("QZTP0220-practical"),
       [](Installation& i) { return TimeOver(i, QStringLiteral("2")); }},
  };
  return table;
}

}  // namespace examora::screens
