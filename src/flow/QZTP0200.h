// QZTP0200, QZTP0210: the proctor's time extension input and its result line.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class NumericEdit;
class RoundButton;

// Time extension input: minutes, at most the exam time "all". Result 1 when a value was
// stored in [試験時間] add, 2 when closed.
class TfrmQZTP0200 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0200(QWidget* owner);

  NumericEdit* TimeNEdt = nullptr;
  RoundButton* OkBtn = nullptr;
  RoundButton* plButton1 = nullptr;

 protected:
  void SetUpScreen() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OkBtnClick();
};

// Time extension result: one line saying what changed.
class TfrmQZTP0210 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0210(QWidget* owner);

  int OldMinutes = 0;
  int NewMinutes = 0;

  QLabel* MesLbl = nullptr;
  RoundButton* OkBtn = nullptr;

 protected:
  void SetUpScreen() override;
};

}  // namespace examora
