// The candidate sees: the office application check, "start the application of the right version,
// then press ＯＫ".
#pragma once

#include <QTimer>

#include "completion/model/OfficeCheck.h"
#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;

// The office application check before a practical exam. "ＯＫ" checks (through CheckTimer, so
// the press returns at once); result 1 once the expected version runs, 2 when the candidate
// ends the program with "終了する".
class TfrmQZTP0050 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0050(QWidget* owner);

  // Where the application is looked for; the system's unless a test plays one.
  OfficeEnvironment* Environment = &SystemOfficeEnvironment();

  QLabel* LogoImg = nullptr;
  QLabel* MesLbl = nullptr;
  RoundButton* EndBtn = nullptr;
  RoundButton* OkBtn = nullptr;
  QTimer CheckTimer;

  void OkBtnClick();
  void CheckTimerTimer();
  void EndBtnClick();

 protected:
  void SetUpScreen() override;
};

}  // namespace examora
