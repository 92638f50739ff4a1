// The candidate sees: "arrange the browser (and editor) and the exam window as the recommended
// layout shows, then press 次へ".
#pragma once

#include "flow/PracticeStep.h"

namespace examora {

class TfrmQZTP0140 : public PracticeStep {
  Q_OBJECT

 public:
  TfrmQZTP0140(QWidget* owner, TfrmQZTP0120* controller);

 protected:
  void SetUpScreen() override;
  void OkBtnClick() override;
};

}  // namespace examora
