// QZTP0040: the knowledge score sheet shown at the end of a sample exam or a forced end.
#pragma once

#include <QString>

#include "completion/model/KnowledgeScoring.h"
#include "flow/ScreenFrame.h"

class QFrame;
class QLabel;

namespace examora {

class RoundButton;
class ScoreGrid;

// Knowledge score: the candidate's answers marked against the answer key, shown at the end of
// a knowledge part of a sample exam or after a time-over. The caller shows it modally and
// goes on with its own end whatever the result.
class TfrmQZTP0040 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0040(QWidget* owner);

  // Handed over by the caller with PartCode (SetPartCode); kept, not used.
  QString DevelopmentCode;
  QString VenueCode;
  QString CandidateNumber;
  QString ExamDate;

  QLabel* IinkaiNameLbl = nullptr;
  QLabel* ShikenNameLbl = nullptr;
  QLabel* KyuNmLbl = nullptr;
  QLabel* KyuPatVerLbl = nullptr;
  QLabel* BuMeisyoLbl = nullptr;
  QLabel* GokeiLbl = nullptr;
  QLabel* Tyui1Lbl = nullptr;
  QLabel* Tyui2Lbl = nullptr;
  QLabel* Tyui3Lbl = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label4 = nullptr;
  ScoreGrid* Meisai = nullptr;
  RoundButton* EndBtn = nullptr;

  const KnowledgeScore& Score() const { return score_; }

 protected:
  void SetUpScreen() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void EndBtnClick();
  void LayOutContent();

  QWidget* Panel4 = nullptr;  // content area between the bands
  QFrame* Panel1 = nullptr;   // information box
  QLabel* Image1 = nullptr;   // heading picture of the information box
  QFrame* Bevel1 = nullptr;   // frame of the total
  QLabel* TLImg = nullptr;    // logo of the title band
  KnowledgeScore score_;
};

}  // namespace examora
