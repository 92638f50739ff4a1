// QZQZ0030: the operation explanation, one picture of how the exam window works.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// Operation explanation: one picture; sizes itself to it. In the wizard it chains to the exam
// start screen with the start mode; opened from an exam window it is a plain viewer.
class TfrmQZQZ0030 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZQZ0030(QWidget* owner);

  QString ExamCategory;
  bool KeepOnTop = true;
  bool WizardMode = false;

  QLabel* OpeImg = nullptr;
  RoundButton* BackBtn = nullptr;
  RoundButton* EndBtn = nullptr;

 protected:
  void SetUpScreen() override;

 private:
  void EndBtnClick();
  void CloseBtnClick();
  bool ExtensionEnded() const;        // 延長終了 is not empty
  bool PracticeMarkerExists() const;  // the folder system/Z<PartCode> exists
};

}  // namespace examora
