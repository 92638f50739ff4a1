// The frame of the small operation practice dialogs: the practice marker, instruction lines,
// "< 戻る" and a main button.
#pragma once

#include <QList>
#include <QStringList>

#include "flow/ScreenFrame.h"

class QLabel;

namespace examora {

class RoundButton;
class TfrmQZTP0120;

// A step of the operation practice. It is shown modeless while the previous step is hidden;
// "< 戻る" hides it and shows its owner (the previous step) again.
class PracticeStep : public ScreenFrame {
  Q_OBJECT

 public:
  PracticeStep(QWidget* owner, const QString& formCode, TfrmQZTP0120* controller);

  TfrmQZTP0120* Controller() const { return controller_; }
  bool HiddenByChain = false;  // hidden by the practice owner, to be shown again by it

  QWidget* RensyuPnl = nullptr;  // the practice marker
  QList<QLabel*> MesLbl;         // the instruction lines in order
  RoundButton* OkBtn = nullptr;
  RoundButton* BackBtn = nullptr;  // nullptr on the first step

 protected:
  // Title, lines (a label per line), window size; the buttons go to the right of the bottom
  // band unless placed otherwise afterwards.
  void LayOut(const QString& title, const QStringList& lines, int width, int height);
  void AddBackButton(const QString& logEvent);
  virtual void OkBtnClick() = 0;
  // Hides this step and shows the owner again.
  void GoBack();

 private:
  TfrmQZTP0120* controller_;
  QString backLog_;
};

// Red gradient of the buttons that end the practice.
void MakePracticeEndButton(RoundButton* button);

}  // namespace examora
