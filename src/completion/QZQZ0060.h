// The candidate sees: "end the exam?" with the note that the office application will be closed.
#pragma once

#include "completion/model/OfficeCheck.h"
#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// The exam end confirmation of a practical part worked in an office application. "はい" closes
// the application without saving (a few rounds, one document per round for some) and ends with
// 1, also when the application stays; "いいえ" returns 2 and the exam goes on.
class TfrmQZQZ0060 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZQZ0060(QWidget* owner);

  bool KeepOnTop = true;
  // Where the application is looked for; the system's unless a test plays one.
  OfficeEnvironment* Environment = &SystemOfficeEnvironment();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  RoundButton* OKBtn = nullptr;
  RoundButton* CancelBtn = nullptr;

  void OKBtnClick();

 protected:
  void SetUpScreen() override;
  void showEvent(QShowEvent* event) override;
};

}  // namespace examora
