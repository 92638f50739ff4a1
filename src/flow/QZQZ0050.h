// QZQZ0050: "end the operation practice?" with yes and no.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// Confirms the end of an operation practice (exam types other than "3"). Result 1: end the
// practice, the exam window then keeps the layout set in it; 2: go on practising.
class TfrmQZQZ0050 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZQZ0050(QWidget* owner);

  QLabel* MesLbl1 = nullptr;   // the question
  QLabel* Tyui1Lbl = nullptr;  // the notes, one label per line
  QLabel* Tyui2Lbl = nullptr;
  QLabel* Tyui3Lbl = nullptr;
  QLabel* Tyui4Lbl = nullptr;
  QLabel* Tyui5Lbl = nullptr;
  RoundButton* OKBtn = nullptr;
  RoundButton* CancelBtn = nullptr;
};

}  // namespace examora
