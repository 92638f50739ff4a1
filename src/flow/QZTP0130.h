// The candidate sees: "drag start.html (or the practice page) from this folder into the browser".
#pragma once

#include <array>
#include <functional>

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// Tells the candidate to open the page of a web-style part in the browser. Modeless in both of
// its uses:
// - practice (PracticeMode true): a step of the operation practice; "次へ >" runs
//   OnPracticeNext (set by the practice owner), "< 戻る" hides it and shows its owner again;
// - exam (PracticeMode false): shown by the exam window for start.html; "閉じる" closes it.
// The folder line at the bottom says where the folder is, wrapped onto up to five red lines;
// the window grows by one line's height for each.
class TfrmQZTP0130 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0130(QWidget* owner);

  bool PracticeMode = false;
  // The first show brings the program to the front; an exam window clears it before showing
  // the dialog.
  bool FirstShow = true;
  bool HiddenByChain = false;  // hidden by the practice owner, to be shown again by it
  std::function<void()> OnPracticeNext;

  QString ExamCategory() const { return examCategory_; }  // as read at the last show

  QWidget* RensyuPnl = nullptr;  // the practice marker
  std::array<QLabel*, 7> MesLbl{};
  std::array<QLabel*, 5> FolderLbl{};
  RoundButton* OkBtn = nullptr;
  RoundButton* BackBtn = nullptr;

 protected:
  void SetUpScreen() override;

 private:
  void OkBtnClick();
  void OnBackClick();
  void BringProgramToFront();

  QString examCategory_;
};

}  // namespace examora
