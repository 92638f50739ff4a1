// The candidate sees: "end the operation practice?" of a web-style part, with はい and いいえ.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// Confirms the end of the operation practice of a web-style part. Result 1: the end is
// confirmed and the file-manager windows of the practice folders have been asked to close;
// 2: go on practising. Nothing is logged: the exam window logs the practice end itself.
class TfrmQZTP0090 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0090(QWidget* owner);

  QString ExamCategory;  // input: "1" knowledge, anything else practical

  QWidget* RensyuPnl = nullptr;  // the practice marker
  QLabel* MesLbl1 = nullptr;     // the question
  QLabel* Tyui1Lbl = nullptr;    // the notes, one label per line
  QLabel* Tyui2Lbl = nullptr;
  QLabel* Tyui3Lbl = nullptr;
  QLabel* Tyui4Lbl = nullptr;
  RoundButton* OKBtn = nullptr;
  RoundButton* CancelBtn = nullptr;

 protected:
  void SetUpScreen() override;

 private:
  void OKBtnClick();
};

}  // namespace examora
