// The candidate sees: "start the web browser (and the editor), then press 次へ" — the first
// step of the operation practice of a web-style part.
#pragma once

#include <QList>
#include <QPointer>

#include "flow/ExamWindows.h"
#include "flow/PracticeStep.h"

namespace examora {

class TfrmQZTP0130;
class TfrmQZTP0140;
class TfrmQZTP0160;
class TfrmQZTP0170;

// The owner of the operation practice of a web-style part, shown modally by the session
// controller. It creates the later steps on first use (each owned by the step before it, all
// kept until it goes), opens the practice window beside them and ends when the candidate
// confirms the end of the practice (result 1).
class TfrmQZTP0120 : public PracticeStep, public PracticeGuide {
  Q_OBJECT

 public:
  explicit TfrmQZTP0120(QWidget* owner);
  ~TfrmQZTP0120() override;

  QString VenueCode;
  QString CandidateNumber;
  QString ExamCategory() const { return examCategory_; }
  bool FirstNext = true;          // the practice folder opens on the first "次へ >" only
  bool ExamWindowOpened = false;  // the practice window exists
  bool DebugMode = false;         // handed to the practice window

  // The steps, once created.
  TfrmQZTP0130* Step0130() const { return tp0130_; }
  TfrmQZTP0140* Step0140() const { return tp0140_; }
  TfrmQZTP0160* Step0160() const { return tp0160_; }
  TfrmQZTP0170* Step0170() const { return tp0170_; }
  PracticeWindow* Window() const { return window_; }

  // Opens the practice window once (knowledge "TfrmQZMain3", practical "TfrmQZMain2").
  void OpenPracticeExamWindow();
  // Asks the practice window to end the practice; on the candidate's confirmation closes it
  // and this dialog.
  void EndPractice();
  // Steps of the chain, called by the step before.
  void ShowStep0140(QWidget* from);
  void ShowStep0160(QWidget* from);
  void ShowStep0170(QWidget* from);

  // PracticeGuide
  void SetPracticeDialogsVisible(bool visible) override;
  void PracticeWindowChanged(PracticeWindow* window) override;

 protected:
  void SetUpScreen() override;
  void OkBtnClick() override;

 private:
  void RunPracticeWindow(const QString& runnerName);

  QString examCategory_;
  TfrmQZTP0130* tp0130_ = nullptr;
  // The steps created so far, in the chain's order.
  QList<PracticeStep*> Steps() const;

  TfrmQZTP0140* tp0140_ = nullptr;
  TfrmQZTP0160* tp0160_ = nullptr;
  TfrmQZTP0170* tp0170_ = nullptr;
  PracticeWindow* window_ = nullptr;
  bool windowRunning_ = false;
  bool noWindow_ = false;  // the practice window is not available in this build
};

}  // namespace examora
