// QZTP0220: the notice that the part ended by time-over, shown when it is started again.
#pragma once

#include "flow/ScreenFrame.h"

class QAction;
class QLabel;

namespace examora {

class RoundButton;

// Time-over notice shown at start when the part ended by time-over. Result 1: end the
// program; 2: the proctor changed the extension here (Ctrl+Shift+T) and the part continues.
class TfrmQZTP0220 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0220(QWidget* owner);

  QLabel* MesLbl = nullptr;
  RoundButton* OkBtn = nullptr;
  QAction* ShortCutSCT = nullptr;

 protected:
  void SetUpScreen() override;

 private:
  void ShortCutSCTExecute();
};

}  // namespace examora
