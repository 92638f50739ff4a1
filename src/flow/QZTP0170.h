// The candidate sees: "close the reference and the finished sample in the browser, then end the
// practice" (practical parts only).
#pragma once

#include "flow/PracticeStep.h"

namespace examora {

class TfrmQZTP0170 : public PracticeStep {
  Q_OBJECT

 public:
  TfrmQZTP0170(QWidget* owner, TfrmQZTP0120* controller);

 protected:
  void SetUpScreen() override;
  void OkBtnClick() override;
};

}  // namespace examora
