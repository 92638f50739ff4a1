// The candidate sees: "open page 1 of the question booklet and answer as it says", with 閉じる.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// The practical start notice the compact exam window opens beside itself when a practical exam
// starts. Modeless and informational: "閉じる" closes it; nothing is logged.
class TfrmQZTP0070 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0070(QWidget* owner);

  QLabel* Mes1Lbl = nullptr;
  QLabel* Mes2Lbl = nullptr;
  RoundButton* OkBtn = nullptr;

  void OkBtnClick();
};

}  // namespace examora
