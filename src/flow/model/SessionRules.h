#pragma once

#include <QString>

#include <functional>

// Decisions of the session controller that need no window.
namespace examora {

// Which exam window a part runs in, from its ExamType and ExamCategory.
enum class ExamWindowKind {
  Knowledge,   // TfrmQZMain: questions inside the program (also practical parts with questions)
  Compact,     // TfrmQZMain2: practical part beside an office application or editor
  AnswerOnly,  // TfrmQZMain3: web-style knowledge part, questions in an outside browser
};

struct ExamWindowChoice {
  ExamWindowKind kind = ExamWindowKind::Knowledge;
  bool partEndScreen = false;  // the part end notice QZTP0180 follows the window
};

ExamWindowChoice ChooseExamWindow(const QString& examType, const QString& examCategory);

// The window of the operation practice: the knowledge window, the compact window, or for
// exam type "3" the practice guide QZTP0120.
enum class PracticeKind { KnowledgeWindow, CompactWindow, Guide };
PracticeKind ChoosePractice(const QString& examType);

// The exam start screen's start mode after the practice: "1" for a knowledge part, else "3".
QString StartModeAfterPractice(const QString& examCategory);

// What the end of a part does about the next part or the submission-file tool.
struct HandOverPlan {
  enum class Kind {
    Nothing,   // no hand-over (the part code is not a number)
    Start,     // start executableName; when it is missing show missingMessage
    Announce,  // show announcement, then open the installation folder
  };
  Kind kind = Kind::Nothing;
  QString executableName;  // file name in the installation folder
  QString missingMessage;  // coded message when the executable does not exist
  QString announcement;    // coded Q11 message
};

struct HandOverInput {
  QString partCode;
  int partCount = 0;                     // system.ini 部数
  std::function<bool(int)> isPartEnded;  // 正常終了 of part n is not empty
  std::function<QString(int)> partName;  // 部種名称 of part n
  QString thisPartName;                  // 部種名称 of the part that ends
  QString linkMode;                      // shiken.ini 連携
  QString installationFolderName;        // the executable folder's own name
};

HandOverPlan PlanHandOver(const HandOverInput& input);

}  // namespace examora
