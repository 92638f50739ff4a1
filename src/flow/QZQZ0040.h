// QZQZ0040: the full-screen cover behind the notes or explanation opened from an exam window.
#pragma once

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

// Cover through which an exam window opens the notes or the operation explanation: covers
// the screen with the background picture and closes when the opened screen closes.
class TfrmQZQZ0040 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZQZ0040(QWidget* owner);

  QString ExamCategory;
  bool KeepOnTop = false;
  bool ShowNotes = true;

  QLabel* Picture() const { return picture_; }

 protected:
  void SetUpScreen() override;
  void AfterShow() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* picture_ = nullptr;
};

}  // namespace examora
