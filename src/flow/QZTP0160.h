// The candidate sees: "try the links and the buttons of the exam window", ending the practice
// in a knowledge part.
#pragma once

#include "flow/PracticeStep.h"

namespace examora {

class TfrmQZTP0160 : public PracticeStep {
  Q_OBJECT

 public:
  TfrmQZTP0160(QWidget* owner, TfrmQZTP0120* controller);

 protected:
  void SetUpScreen() override;
  void OkBtnClick() override;
};

}  // namespace examora
