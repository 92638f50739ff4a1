// The candidate sees: what the exam's end button does, shown when it is pressed in a practice.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// "[試験終了] ボタンについて": shown modally by an exam window in the practice of a web-style
// part when its end button is pressed before the practice dialogs reach their end, instead of
// ending. Informational; "閉じる" gives 1.
class TfrmQZTP0150 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0150(QWidget* owner);

  QWidget* RensyuPnl = nullptr;  // the practice marker
  QLabel* Mes1Lbl = nullptr;
  QLabel* Mes2Lbl = nullptr;
  QLabel* Mes3Lbl = nullptr;
  RoundButton* OkBtn = nullptr;
};

}  // namespace examora
