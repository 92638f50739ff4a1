// QZQZ0020: the answer status confirmation that ends a part ("試験を終了してよろしいですか。").
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "completion/model/OfficeCheck.h"
#include "exam/model/OnTopGuard.h"
#include "flow/ScreenFrame.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;

namespace examora {

class RoundButton;

// The answer status confirmation that ends a part. The knowledge view lists, question by
// question, how many sub-questions are answered and asks whether to end; after time-over it is
// the compulsory end screen ("試験終了" only). Results: 1 end the part, 2 back to the exam
// (also after a proctor's extension), 6 jump to the question JumpIndex.
class TfrmQZQZ0020 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZQZ0020(QWidget* owner);

  // Inputs (SetPartCode() for PartCode).
  QString Category;  // "1" knowledge view, else practical view
  bool KeepOnTop = true;
  bool SubQuestionsOnly = false;
  bool TimeOver = false;
  // Answer data of the owning exam window, set by the owner before showing.
  QList<int> SubQuestionCounts;
  QStringList Answers;  // Answers[0] = sub-question 1
  // Practical view hand-back: the exam window's ConfirmAndClose (may be empty).
  std::function<void()> ConfirmAndClose;
  // Where the office application is looked for at the end; the system's unless a test plays
  // one.
  OfficeEnvironment* Office = &SystemOfficeEnvironment();

  // Output: the 0-based list line double-clicked (result 6); -1 until then.
  int JumpIndex = -1;

  // Controls (design names).
  QWidget* Panel2 = nullptr;  // body panel holding the labels and the list
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  QCheckBox* CloseFileChk = nullptr;
  QCheckBox* FilePrintChk = nullptr;
  QListWidget* kaitoBox = nullptr;  // drawn by its delegate with LineColors as text colours
  QList<QColor> LineColors;
  RoundButton* OKBtn = nullptr;
  RoundButton* CancelBtn = nullptr;
  RoundButton* FileUpdateBtn = nullptr;
  QAction* ShortCutSCT = nullptr;  // Ctrl+Shift+T
  // Keeps the compulsory end screen (and the application) on top, backing off to 10 s.
  OnTopGuard Guard;

  // Label1 … Label12 by number (1-based); nullptr outside that range.
  QLabel* Label(int number) const;

  void BuildAnswerStatusList();
  // The practical view: the text variant, the buttons and the file list.
  void SetUpSubmissionView();
  // Rebuilds the list of the files that will be graded ("表示の更新" too).
  void ListSubmissionFiles();
  // The two checks of "はい" in the practical view; false after showing why not.
  bool CheckNoFileOpen();
  bool CheckConfirmationBoxes();
  void ShortCutSCTExecute();
  // Sizes the list's horizontal scroll range to its widest line + 10 px; returns that width.
  int UpdateHorizontalExtent();
  // Brings the screen to the foreground even when another program holds it.
  void ForceForeground();

  void OKBtnClick();
  void CancelBtnClick();
  void KaitoBoxDblClick(int row);

  void setVisible(bool visible) override;

 protected:
  void SetUpScreen() override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool IsKnowledgeView() const { return Category == u"1"; }
  void LayOutBody();
  void ResetControls();

  // Placement of the list inside the body panel, kept on resize (anchored on all sides).
  int listLeft_ = 20;
  int listTop_ = 68;
  int listRight_ = 20;
  int listBottom_ = 0;
  bool okAtRight_ = false;
  int horizontalExtent_ = 0;
};

}  // namespace examora
