// The candidate sees: "this part is over; close the browser (and the editor), then press 次へ".
#pragma once

#include <array>

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// The part end notice of a web-style part, shown modally by the session controller after the
// exam window has closed. "次へ >" asks the file-manager windows of the exam folders to close
// and gives 1.
class TfrmQZTP0180 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0180(QWidget* owner);

  std::array<QLabel*, 4> MesLbl{};
  RoundButton* OkBtn = nullptr;

 protected:
  void SetUpScreen() override;

 private:
  void OkBtnClick();
};

}  // namespace examora
