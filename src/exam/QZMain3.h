// QZMain3: the narrow answer column of a web-style knowledge part; the questions are in the
// candidate's browser.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>

#include "exam/model/AnswerSheet.h"
#include "exam/model/ExamClock.h"
#include "flow/ExamWindows.h"
#include "flow/QZTP0130.h"

class QButtonGroup;
class QLabel;
class QRadioButton;
class QScrollArea;

namespace examora {

class ChoiceReporter;
class CpuMonitor;
class RoundButton;
class TfrmQZQZ0020;

// The answer-only window: a resizable column with the exam's titles and clock and an answer
// sheet of radio buttons ア to オ, one row per sub-question. Every choice is written to the
// answer file at once. The same window runs the operation practice beside the practice
// dialogs (PracticeMode), where choices are never written.
class TfrmQZMain3 : public QDialog, public PracticeWindow {
  Q_OBJECT

 public:
  // clockSource: the monotonic clock of the exam clock (tests move one by hand); nullptr for
  // the steady clock. It must outlive the window.
  explicit TfrmQZMain3(QWidget* owner = nullptr, const ClockSource* clockSource = nullptr);
  ~TfrmQZMain3() override;

  // ---- Inputs, set before the window is shown ----
  QString VenueCode;
  QString CandidateNumber;
  bool PracticeMode = false;
  PracticeGuide* Guide = nullptr;  // the practice dialogs, in practice mode
  // PartCode and DebugMode as worked out from the command line; reads ExamCategory.
  void SetPart(const QString& partCode, bool debugMode);

  // ---- State ----
  QString PartCode;
  bool DebugMode = false;
  QString ExamCategory;
  QString SetupFolderCode;
  QString DevelopmentCode;
  QString ExamDate;
  bool SubQuestionsOnly = false;
  bool ExamShown = false;
  bool FirstActivation = true;
  bool PracticeStepsDone = false;
  bool PracticeEndConfirmedFlag = false;
  bool ErrDialogDropped = false;
  bool TopMostChecked = false;
  // The forced end at the time limit: the program ends without hand-over.
  bool EndProgramRequested = false;

  QTimer NotOpMostTimer;       // 100 ms, backing off to 10 s; never re-asserts top-most
  QTimer ErrDialogCheckTimer;  // 2000 ms

  // PracticeWindow
  void SetPracticeStepsDone(bool done) override { PracticeStepsDone = done; }
  bool PracticeEndConfirmed() const override { return PracticeEndConfirmedFlag; }
  void ConfirmAndClose() override;
  void ClosePracticeWindow() override;

  // Handlers (callable directly by tests as the events would).
  void FormActivate();
  void SetuClick(int row, int choice);
  void EndBtnClick();
  void TyuiBtnClick();
  void NotOpMostTimerTimer();
  void ErrDialogCheckTimerTimer();
  // The close decision; true when the window may close.
  bool FormCloseQuery();

  // ---- Controls ----
  QLabel* ShikenTitle1Lbl = nullptr;
  QLabel* ShikenTitle2Lbl = nullptr;
  QLabel* ShikenTitle3Lbl = nullptr;
  QLabel* TimeProgress1 = nullptr;
  QLabel* TimeProgress2 = nullptr;
  RoundButton* EndBtn = nullptr;
  RoundButton* TyuiBtn = nullptr;
  QWidget* KaitoLabelPnl = nullptr;
  QScrollArea* KaitoScrollBox = nullptr;
  QRadioButton* RadioButton(int row, int choice) const;
  QWidget* SheetRow(int row) const;
  const AnswerSheet& Sheet() const { return sheet_; }
  ExamClock* Clock() const { return clock_.get(); }
  TfrmQZTP0130* StartPageGuide() const { return startGuide_; }
  QPointer<TfrmQZQZ0020> ConfirmForm;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  struct RowWidgets {
    QWidget* panel = nullptr;
    QLabel* label = nullptr;
    QButtonGroup* group = nullptr;
    std::array<QRadioButton*, 5> radios{};
  };

  void Log(const QString& event) const;
  void BuildControls();
  void FormShow();
  void BuildSheet();
  void LayOutRows();
  void RestoreRowChecks(int row);
  void OnTick(const ClockTick& tick);
  void ForcedEnd();
  bool PracticeCloseQuery();
  bool ExamCloseQuery();
  void ShowScoring(const QString& partCode);
  void ApplyTopMost(bool on);
  void CloseNow();

  const ClockSource* clockSource_;
  std::unique_ptr<ExamClock> clock_;
  AnswerSheet sheet_;
  CpuMonitor* cpuMonitor_ = nullptr;
  QWidget* sheetContent_ = nullptr;
  QList<RowWidgets> rows_;
  QPointer<TfrmQZTP0130> startGuide_;
  bool firstShow_ = true;
  bool closing_ = false;
  bool inCloseQuery_ = false;
  bool restoringChecks_ = false;
  ChoiceReporter* choices_ = nullptr;  // every way of choosing reaches SetuClick once
  bool tp0150Open_ = false;
};

}  // namespace examora
