// QZTP0060: the exam start screen with the exam's cover page and the start button.
#pragma once

#include <QHash>
#include <QImage>

#include "flow/ScreenFrame.h"
#include "flow/model/StartScreenRules.h"

class QLabel;

namespace examora {

class RoundButton;

// Exam start: the composed cover page and the start button (result 1); back (7) returns to
// the operation explanation; "閉じる" leaves the program (2).
class TfrmQZTP0060 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0060(QWidget* owner);

  QString StartMode;
  bool AfterPractice = false;

  QLabel* BackImg = nullptr;
  QLabel* JBackImg = nullptr;
  QLabel* ShikenNameLbl = nullptr;
  QLabel* KyuName1Lbl = nullptr;
  QLabel* KyuLbl2Lbl = nullptr;
  QLabel* TyuiLbl = nullptr;
  QLabel* Tyui2Lbl = nullptr;
  RoundButton* ShikenStartBtn = nullptr;
  RoundButton* BackBtn = nullptr;

  // The part pictures and badges by control name (TishikiImg, ZitsugiRenHImg, Html5ExTopImg…).
  QLabel* Picture(const QString& name) const { return pictures_.value(name); }
  // Whether the last set-up chose the "問題" wording.
  bool QuestionWording() const { return questionWording_; }

 protected:
  void SetUpScreen() override;

 private:
  void PlaceDesignPositions(bool webLayout);
  // Draws MakerImage/ShikenImage/KyuTopImage onto the cover; the picture's left edge, 0 when
  // nothing was drawn.
  int DrawCoverPicture(CoverPicture kind, const QString& extension, bool webLayout,
                       int givenLeft = 0);
  void ApplyStartMode(bool webLayout);
  void CloseBtnClick();

  QHash<QString, QLabel*> pictures_;
  QLabel* logo_ = nullptr;
  QImage cover_;
  bool questionWording_ = false;
};

}  // namespace examora
