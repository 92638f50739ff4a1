// The candidate sees: "tick every confirmation box, then press the button again", with 閉じる.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// The check-box notice of the practical confirmation of a web-style exam: shown when "はい" is
// pressed before both confirmation boxes are ticked. Informational; "閉じる" gives 1.
class TfrmQZTP0190 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0190(QWidget* owner);

  QLabel* Mes1Lbl = nullptr;
  QLabel* Mes2Lbl = nullptr;
  QLabel* Mes3Lbl = nullptr;
  RoundButton* OkBtn = nullptr;
};

}  // namespace examora
