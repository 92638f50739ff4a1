// QZMain2: the small strip of a practical part that shows no questions: title, elapsed time,
// 注意事項, 最小化 and 試験終了, kept above the applications the candidate works in.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

#include "exam/model/ExamClock.h"
#include "flow/ExamWindows.h"

class QFrame;
class QLabel;

namespace examora {

class CpuMonitor;
class OnTopGuard;
class RoundButton;
class TfrmQZQZ0020;

// The compact practical window. Shown modally by the session controller for a practical part
// without questions in the program (and by the practice guide of a web-style part, modeless);
// it counts the elapsed minutes (a restarted part continues), opens the work folder, and ends
// the part only after the candidate has confirmed on the answer status confirmation.
class TfrmQZMain2 : public QDialog, public PracticeWindow {
  Q_OBJECT

 public:
  explicit TfrmQZMain2(QWidget* owner = nullptr, const ClockSource* clockSource = nullptr);
  ~TfrmQZMain2() override;

  // ---- Inputs, set before the window is shown ----
  QString VenueCode;  // handed over; not used here
  QString CandidateNumber;
  bool PracticeMode = false;
  PracticeGuide* Guide = nullptr;  // the practice dialogs of a web-style part
  bool RestoreLayout = false;
  QRect SavedLayout;
  // PartCode and DebugMode as the session worked them out; reads ExamCategory.
  void SetPart(const QString& partCode, bool debugMode);

  // ---- State ----
  QString PartCode;
  bool DebugMode = false;
  QString ExamCategory;
  QString ExamType;
  QString SetupFolderCode;
  QString ExamDate;
  bool ExamShown = false;
  bool AnswersConfirmed = false;
  bool KeepOnTop = false;
  bool FirstActivation = true;
  bool PracticeStepsDone = false;
  bool PracticeEndConfirmedFlag = false;
  // The open answer status confirmation, if any.
  QPointer<TfrmQZQZ0020> ConfirmForm;
  // The start notice (or the start-page guide of a web-style part) opened with the exam.
  QPointer<QWidget> StartNotice;
  // The confirmation's and the practice guide's way of ending: the end is confirmed, the
  // window closes (a practice first asks whether to end it).
  void ConfirmAndClose() override;
  // PracticeWindow
  void SetPracticeStepsDone(bool done) override { PracticeStepsDone = done; }
  bool PracticeEndConfirmed() const override { return PracticeEndConfirmedFlag; }
  void ClosePracticeWindow() override;
  // The close decision; true when the window may close.
  bool FormCloseQuery();
  // This window and an open confirmation above the others (or not), without moving them.
  void SetTopMost(bool on);
  // actTestStart and the rest of the first activation (also run by the activation event).
  void FormActivate();
  void EndBtnClick();
  void SaisyoBtnClick();
  void TyuiBtnClick();
  // The text the task bar shows for the window.
  QString ApplicationTitle() const { return windowTitle(); }

  ExamClock* Clock() const { return clock_.get(); }
  OnTopGuard* Guard() const { return guard_; }

 public slots:
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(
      QEvent* event) override;  // Escape and the window system's close go through the close query

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QList<QPointer<QWidget>> minimisedWithStrip_;  // restored with the strip
  void BuildControls();
  void FormShow();
  void RecordExamStart();
  void OpenStartScreens();
  void OnTick(const ClockTick& tick);
  void LayOut();
  bool WebPracticeEndQuery();
  bool PracticeEndQuery();
  bool ExamEndQuery();
  void SaveLayout();
  void Log(const QString& event) const;

  const ClockSource* clockSource_;
  std::unique_ptr<ExamClock> clock_;
  CpuMonitor* cpuMonitor_ = nullptr;
  OnTopGuard* guard_ = nullptr;
  bool firstShow_ = true;
  bool closing_ = false;
  bool inCloseQuery_ = false;
  bool clamping_ = false;
  bool manualDrag_ = false;
  QPoint dragOffset_;

  QFrame* panel2_ = nullptr;
  QWidget* panel1_ = nullptr;
  QLabel* titleImage_ = nullptr;
  QLabel* title1_ = nullptr;
  QLabel* title2_ = nullptr;
  QLabel* hosoku_ = nullptr;
  QLabel* timeLbl_ = nullptr;
  QLabel* timeProgress1_ = nullptr;
  RoundButton* tyuiBtn_ = nullptr;
  RoundButton* saisyoBtn_ = nullptr;
  RoundButton* endBtn_ = nullptr;
};

}  // namespace examora
