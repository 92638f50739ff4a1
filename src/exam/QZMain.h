// QZMain: the exam window with the question pages, the answer sheet and the clock.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

#include "completion/model/OfficeCheck.h"
#include "exam/ExamWindowsRegistration.h"
#include "exam/model/AnswerSheet.h"
#include "exam/model/ExamClock.h"
#include "exam/model/Placement.h"
#include "exam/model/QZMainRules.h"
#include "exam/model/QuestionDisplay.h"
#include "viewers/QZQZ0010.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QScrollArea;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineView;
class QWidget;

namespace examora {

class ChoiceReporter;
class CpuMonitor;
class OnTopGuard;
class RoundButton;
class SplitterBar;
class TfrmQZQZ0020;
class TWBContainer;
class TransparentOverlay;

// The knowledge exam window: question tree on the left, the question page in the middle, the
// answer sheet on the right. It covers the whole screen; every choice is written to the answer
// file at once, and a restarted part shows the stored answers and continues the clock.
class TfrmQZMain : public QDialog {
  Q_OBJECT

 public:
  // clockSource: the monotonic clock of the exam clock (tests move one by hand); nullptr for
  // the steady clock. It must outlive the window.
  explicit TfrmQZMain(QWidget* owner = nullptr, const ClockSource* clockSource = nullptr);
  ~TfrmQZMain() override;

  // ---- Inputs, set before the window is shown ----
  QString VenueCode;
  QString CandidateNumber;
  QString InitialPosition = QStringLiteral("4");
  QRect SavedLayout;
  bool RestoreLayout = false;
  QRect WorkArea;
  bool PracticeMode = false;

  // PartCode and DebugMode as the command line gives them (executable file name without
  // folder, arguments without the program); reads ExamCategory and sets the window style.
  void SetCommandLine(const QString& executableFileName, const QStringList& arguments);
  // The same with the values already worked out.
  void SetPart(const QString& partCode, bool debugMode);

  // ---- State ----
  QString PartCode;
  bool DebugMode = false;
  QString ExamCategory;
  QString SetupFolderCode;
  QString DevelopmentCode;
  QString ExamDate;
  bool ExamShown = false;
  bool SetupDone = false;
  bool FirstShow = true;
  bool FirstActivation = true;
  // A coded message the set-up showed; the window then closes and the program ends.
  QString SetupError;
  bool EndProgramRequested = false;

  // The silent office application check of a practical part's set-up: "1" checking, "2" retry
  // armed (the application's window is there, its automation object not yet), "3" finished.
  QString AppCheckState;
  bool AppCheckPassed = false;
  QTimer CheckTimer;
  // Where the office application is looked for; the system's unless a test plays one.
  OfficeEnvironment* Office = &SystemOfficeEnvironment();
  void CheckTimerTimer();
  // Runs the silent check and, when it does not pass, the check dialog; false when the
  // candidate ended the program there.
  bool OfficeApplicationReady();

  // Ending. Every way of ending (EndBtn, the clock, ConfirmAndClose) asks here; the request
  // is decided by FormCloseQuery and the window closes only when it allows the close.
  void RequestClose(CloseReason reason);
  CloseReason LastCloseReason() const { return closeReason_; }
  // The close decision: practice end, knowledge end with its confirmation, practical end.
  // True when the window may close.
  bool FormCloseQuery();
  // The confirmation's way of ending a practical part shown in this window.
  void ConfirmAndClose();
  bool TimeOver() const;

  bool AnswersConfirmed = false;
  // The open answer status confirmation, if any.
  QPointer<TfrmQZQZ0020> ConfirmForm;
  // TopMostChk: the window keeps itself above the others (not in a debug run).
  bool TopMostChecked = false;
  // TopMostChk changed: the sample viewer, the open confirmation and this window follow it;
  // the on-top guard of a practical part runs only while it is checked.
  void TopMostChkClick(bool checked);
  // Lays out the header and sets the bounds for a layout code ("1" top strip, "2" bottom
  // strip, "3" left column, "4" right column, "6" collapse, "7" restore).
  void ApplyPosition(const QString& code);

  // The finished-sample viewer, while it is open, and where it was when it last closed.
  QPointer<TfrmQZQZ0010> SampleViewer;
  QRect ViewerBounds;
  int ViewerPage = 0;
  // Opens the work folder in the file manager at the set-up of a real practical exam; the
  // system's shell unless a test watches.
  std::function<void(const QString&)> OpenWorkFolder;
  // The layout code last applied among "1" … "4"; saved with the bounds at the end of a
  // practice.
  QString CurrentPosition;
  // Whether the question area is collapsed (AlignHiddenBtn reads "表示").
  bool QuestionAreaCollapsed = false;

  // actTestStart and the rest of the first activation (also run by the activation event).
  void FormActivate();

  ExamClock* Clock() const { return clock_.get(); }
  // The on-top guard and dialog watch of a practical part.
  OnTopGuard* Guard() const { return guard_; }
  const PlacementState& Placement() const { return placement_; }
  const QuestionDisplay* Display() const { return display_.get(); }
  const AnswerSheet& Sheet() const { return sheet_; }
  QWebEngineView* Browser() const { return browser_; }
  TWBContainer* BrowserHost() const { return host_; }
  // The radio button of answer sheet row (1 … 100) and choice (1 … 5).
  QRadioButton* RadioButton(int row, int choice) const;
  QWidget* SheetRow(int row) const;
  QTreeWidget* Tree() const { return tree_; }

 signals:
  // A page finished loading and got its zoom and folder name.
  void pageReady();

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildControls();
  void RecordExamStart();
  void SetUpAnswerSheet(const QString& gradeCode, bool subQuestionsOnly,
                        const AnswerRecord& stored);
  void BuildHeader();
  void BuildSecondRow();
  void BuildBody();
  void BuildPracticeNotice();
  void ConnectControls();
  void FormShow();
  void KnowledgeLayout();
  void PracticalLayout();
  void Relayout();
  void PracticalRelayout();
  // The practical header rows inside a header panel of the given width.
  void ArrangePracticalHeader(int headerWidth);
  // Takes over the placement state and sets the window's size limits and bounds.
  void CommitPlacement(const QRect& bounds);
  // The width the column's header rows need, measured on the arranged rows.
  int MeasuredColumnWidth() const;
  void BuildPracticalControls();
  void AlignButtonClick(const QString& code, const QString& logLine);
  void AlignHiddenBtnClick();
  void FirstPrintBtnClick();
  void SetAlignHiddenCaption(bool collapsed);
  void MihonBtnClick();
  // The on-top guard of a practical part while TopMostChk is checked; the dialog watch always.
  void StartPracticalTimers();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void BuildSheetRows();
  void BuildTree();
  void ApplySelections(const QList<int>& selections);
  void SelectNode(int node, bool reportExplicitly);
  void OnTreeChange();
  void HandlePage(const PageRequest& page);
  void Refilter(bool scrollTop);
  void ScrollSheetToSelection();
  void RestoreRowChecks(int row);
  void RepaintMarks();
  void SetuClick(int row, int choice);
  void PressMode(int mode);
  void Paging(bool back);
  void Zoom(const ZoomAction& action);
  void ApplyPageZoom();
  void HighlightMode(int mode);
  void OnTick(const ClockTick& tick);
  void OpenCover(bool notes);
  void ColourTitles();
  void FocusTreeIfShown();
  void ToggleQuestionTree();
  void Log(const QString& event) const;
  // Ending cases.
  bool PracticeEndQuery();
  bool KnowledgeEndQuery();
  bool PracticalEndQuery();
  void ForcedEnd();
  void ShowScoring(const QString& partCode);
  void CloseNow();
  void ReadExtendedTime();
  // Records 正常終了 for a confirmed end ("T" after time-over, else "E"; nothing in a debug
  // run or a sample exam). True for a sample exam.
  bool RecordPartEnd(bool timeOver);
  // A knowledge window stays on the whole work area (not in a debug run).
  void HoldAtWorkArea();
  // A practical window: the initial layout and its size limits; moves keep it reachable.
  void PracticalPlacement();
  void KeepReachable();
  // Every 試験区分 but "1" is a practical part, an empty one included.
  bool IsPractical() const { return ExamCategory != u"1"; }

  const ClockSource* clockSource_;
  std::unique_ptr<ExamClock> clock_;
  std::unique_ptr<QuestionDisplay> display_;
  CpuMonitor* cpuMonitor_ = nullptr;
  OnTopGuard* guard_ = nullptr;
  PlacementState placement_;
  AnswerSheet sheet_;
  InitialMode initialMode_;
  CloseReason closeReason_ = CloseReason::EndButton;
  bool closing_ = false;
  bool inCloseQuery_ = false;
  bool holding_ = false;
  bool treeBuilding_ = false;

  QWidget* panel6_ = nullptr;
  QWidget* panel1_ = nullptr;
  QWidget* panel4_ = nullptr;
  QLabel* titleImage_ = nullptr;
  QLabel* title1_ = nullptr;
  QLabel* title2_ = nullptr;
  QLabel* timeProgress1_ = nullptr;
  QLabel* timeProgress2_ = nullptr;
  RoundButton* printAll_ = nullptr;
  RoundButton* printToi_ = nullptr;
  RoundButton* printSetu_ = nullptr;
  RoundButton* endBtn_ = nullptr;
  RoundButton* opeExplana_ = nullptr;
  RoundButton* questionBtn_ = nullptr;
  RoundButton* tyuiBtn_ = nullptr;
  RoundButton* mihonBtn_ = nullptr;
  RoundButton* zoomOut_ = nullptr;
  RoundButton* zoomNone_ = nullptr;
  RoundButton* zoomIn_ = nullptr;
  RoundButton* backBtn_ = nullptr;
  RoundButton* nextBtn_ = nullptr;
  QLabel* mozi1_ = nullptr;
  QLabel* mozi2_ = nullptr;
  QLabel* jokyoLbl_ = nullptr;
  QLabel* toiLbl_ = nullptr;
  QLabel* kaitoLbl_ = nullptr;
  // The practical header: layout row, on-top check box, top-row zoom buttons.
  bool practicalLayout_ = false;
  bool upDownButtons_ = false;
  RoundButton* alignTop_ = nullptr;
  RoundButton* alignBottom_ = nullptr;
  RoundButton* alignLeft_ = nullptr;
  RoundButton* alignRight_ = nullptr;
  RoundButton* alignHidden_ = nullptr;
  RoundButton* firstPrint_ = nullptr;
  QLabel* align1_ = nullptr;
  QLabel* align2_ = nullptr;
  QLabel* alignHidden1_ = nullptr;
  QLabel* alignHidden2_ = nullptr;
  QCheckBox* topMostChk_ = nullptr;
  QLabel* topMostLbl_ = nullptr;
  RoundButton* tZoomOut_ = nullptr;
  RoundButton* tZoomNone_ = nullptr;
  RoundButton* tZoomIn_ = nullptr;
  QLabel* moziLbl_ = nullptr;
  QWidget* questionPanel_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QList<QTreeWidgetItem*> treeItems_;
  QWidget* panel3_ = nullptr;
  QWebEngineView* browser_ = nullptr;
  TWBContainer* host_ = nullptr;
  TransparentOverlay* overlay_ = nullptr;
  SplitterBar* splitter1_ = nullptr;
  // The sheet's width once the candidate has moved Splitter1; 0 before: the sheet's own width.
  int movedSheetWidth_ = 0;
  void MoveSplitter(int left);
  QWidget* panel5_ = nullptr;
  QScrollArea* sheetScroll_ = nullptr;
  QWidget* kaitoLabelPnl_ = nullptr;  // column captions above the sheet (設問表示のみ)
  void BuildColumnCaptions(bool subQuestionsOnly);
  QWidget* sheetContent_ = nullptr;
  QWidget* rensyuPnl_ = nullptr;
  struct RowWidgets {
    QWidget* panel = nullptr;
    QWidget* toiPanel = nullptr;
    QLabel* toiLbl = nullptr;
    QWidget* setuPanel = nullptr;
    QLabel* setuLbl = nullptr;
    QButtonGroup* group = nullptr;
    QRadioButton* radios[5] = {};
  };
  QList<RowWidgets> rows_;  // index 0 = row 1
  // Every way of choosing reaches SetuClick once; restoring stored answers does not.
  bool restoringChecks_ = false;
  ChoiceReporter* choices_ = nullptr;
  int SheetWidth() const;
  // Keeps the overlay off the page's scroll bars, measured in the page after each load and
  // zoom (their width follows the page's zoom; the horizontal one is there only when the
  // content is wider than the view).
  void FitOverlay();
};

}  // namespace examora
