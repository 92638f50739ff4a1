#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

#include "data/ExamData.h"
#include "exam/model/AnswerSheet.h"
#include "exam/model/ExamStructure.h"

// The question display of the knowledge exam window without its widgets: which page of the
// paper to show for the selected tree node, the mode buttons, paging over heading pages and
// questions, and the text zoom. The window mirrors the tree in a QTreeWidget, navigates its
// browser to the pages returned here and writes the log texts returned with each action.
namespace examora {

// ---- Log texts -----------------------------------------------------------------------------

inline const QString kLogTreeChanged = QStringLiteral("QZMain：問題設問ツリー変更イベント");
inline const QString kLogModeWholePaper = QStringLiteral("QZMain：全問表示ボタン押下");
inline const QString kLogModeByQuestion = QStringLiteral("QZMain：問題別表示ボタン押下");
inline const QString kLogModeBySubQuestion = QStringLiteral("QZMain：設問別表示ボタン押下");
inline const QString kLogBackByQuestion = QStringLiteral("QZMain：前へボタン押下[問題別]");
inline const QString kLogNextByQuestion = QStringLiteral("QZMain：次へボタン押下[問題別]");
inline const QString kLogBackBySubQuestion = QStringLiteral("QZMain：前へボタン押下[設問別]");
inline const QString kLogNextBySubQuestion = QStringLiteral("QZMain：次へボタン押下[設問別]");
inline const QString kLogZoomIn = QStringLiteral("QZMain：拡大ボタン押下");
inline const QString kLogZoomOut = QStringLiteral("QZMain：縮小ボタン押下");
inline const QString kLogZoomStandard = QStringLiteral("QZMain：標準ボタン押下");

inline constexpr int kZoomMin = 50;
inline constexpr int kZoomMax = 200;
inline constexpr int kZoomStep = 10;

// ---- Question tree -------------------------------------------------------------------------

// The nodes of QuestionTree in display order (all expanded). Normal layout: "問題 q" per
// question with children "問題 q-s"; sub-questions-only layout: one top-level node "問題 s"
// per sub-question of question 1. Nodes are addressed by their index in display order.
class QuestionTree {
 public:
  QuestionTree() = default;
  QuestionTree(const QList<int>& subQuestionCounts, bool subQuestionsOnly);

  int Count() const { return static_cast<int>(nodes_.size()); }
  const QList<TreeNode>& Nodes() const { return nodes_; }
  TreeNode Node(int index) const;  // {0, -1} outside
  bool IsValid(int index) const { return index >= 0 && index < nodes_.size(); }
  QString Caption(int index) const;
  bool IsTopLevel(int index) const { return Parent(index) < 0; }
  int IndexOf(const TreeNode& node) const;  // -1 when not in the tree

  // Relations by index; -1 where there is none.
  int Parent(int index) const;
  int PreviousSibling(int index) const;
  int NextSibling(int index) const;
  int FirstChild(int index) const;
  int LastChild(int index) const;

  // Selections made when the tree is built: the second node, then the first, so that the
  // change to the first node is always reported and its page shown.
  QList<int> InitialSelections() const;

 private:
  bool subQuestionsOnly_ = false;
  QList<TreeNode> nodes_;
  QList<int> parents_;
};

// ---- Results handed to the window ----------------------------------------------------------

// A page to open (with the anchor as URL fragment), and what the answer sheet must do.
struct PageRequest {
  bool navigate = false;  // false: the page shown stays (mode 3, same sub-question)
  QString path;           // absolute file path
  QString anchor;         // without "#": "midashi1", "t2", "t2s3" or ""
  bool refilter = false;  // run FilterAnswerRows with the new current values
  bool scrollSheetTop = true;

  QUrl Url() const;
};

struct ModeSettings {
  bool wholePaper = false;     // 全体
  bool byQuestion = false;     // 問題別
  bool bySubQuestion = false;  // 設問別
};

struct InitialMode {
  QString error;      // "" or the coded message that ends the program after the set-up
  QString firstPage;  // the checked first page, opened in any case ("" without any mode)
  int displayMode = kModeWholePaper;
  int highlightedMode = 0;  // button shown highlighted; 0 none
  bool wholePaperButtonVisible = false;
  bool byQuestionButtonVisible = false;
  bool bySubQuestionButtonVisible = false;
  bool pagingVisible = false;  // BackBtn/NextBtn shown and enabled
  QString bySubQuestionCaption;  // "設問別", or "問題別" when sub-questions are shown as questions
  bool treeRootLines = false;
};

struct ModeAction {
  QString log;
  int highlightedMode = 0;
  bool changed = false;             // false: the pressed mode was already current
  bool scrollSheetTop = false;      // changed: scroll the answer sheet to its top
  int selectNode = -1;              // select this node in the tree (its change shows the page)
  std::optional<PageRequest> page;  // open this page (the selection did not change)
  bool refilter = false;            // FilterAnswerRows after the above
  bool pagingVisible = false;
};

struct PagingAction {
  QString log;  // "" in mode 1, where paging does nothing
  int selectNode = -1;
  // Run the tree change handler for selectNode even when it is already selected.
  bool reportChangeExplicitly = false;
  std::optional<PageRequest> page;  // a heading page shown without a selection change
};

struct ZoomAction {
  QString log;
  bool apply = false;  // set the body's style zoom, fit the overlay, focus the browser
  double styleZoom = 1.0;
};

// ---- The display model ---------------------------------------------------------------------

using FileExists = std::function<bool(const QString& absolutePath)>;

class QuestionDisplay {
 public:
  // folderCode is SetupFolderCode; exists defaults to a look at the file system.
  explicit QuestionDisplay(QString folderCode, bool subQuestionsOnly = false,
                           FileExists exists = {});

  // ---- Set-up ----
  // Chooses the first available mode ("全体", "問題別", "設問別") and checks its first page:
  // html/q/mondai/1 for the whole paper, the question or sub-question of the first key of
  // [選択数] otherwise.
  InitialMode ChooseInitialMode(const ModeSettings& settings, const ChoiceKey& firstChoice);
  // Heading pages midashi/1, 2, … without gaps; a paper with headings opens on them.
  void DetectHeadingPages();
  // Builds the tree from the structure and returns the node selections to make.
  QList<int> BuildQuestionTree(const QList<int>& subQuestionCounts);
  // The window has been activated once: from now on a selection in the sub-questions-only
  // layout shows that sub-question.
  void SetWindowActivated() { windowActivated_ = true; }

  // ---- Events ----
  // The tree's selection changed to node (also what the window runs for an explicit report).
  PageRequest ShowSelection(int node);
  ModeAction PressMode(int mode);
  PagingAction Back();
  PagingAction Next();
  ZoomAction ZoomIn();
  ZoomAction ZoomOut();
  ZoomAction ZoomStandard();

  // ---- State ----
  const QuestionTree& Tree() const { return tree_; }
  int SelectedNode() const { return selected_; }
  int DisplayMode() const { return displayMode_; }
  int CurrentQuestion() const { return currentQuestion_; }
  int CurrentSubQuestion() const { return currentSubQuestion_; }
  bool HeadingPagesExist() const { return headingPagesExist_; }
  int HeadingCount() const { return headingCount_; }
  bool HeadingMode() const { return headingMode_; }
  int HeadingIndex() const { return headingIndex_; }
  int ZoomPercent() const { return zoomPercent_; }
  bool IgnoreSelectionOnce() const { return ignoreSelectionOnce_; }
  bool SubQuestionsOnly() const { return subQuestionsOnly_; }
  // The body's style zoom to apply after every page load.
  double StyleZoom() const { return zoomPercent_ / 100.0; }

 private:
  PagingAction PageByQuestion(bool back);
  PagingAction PageBySubQuestion(bool back);
  ZoomAction Zoom(const QString& log, int percent);

  QString folderCode_;
  bool subQuestionsOnly_ = false;
  FileExists exists_;
  QuestionTree tree_;
  int selected_ = -1;
  bool windowActivated_ = false;

  int displayMode_ = kModeWholePaper;
  int currentQuestion_ = 1;
  int currentSubQuestion_ = 1;
  bool headingPagesExist_ = false;
  int headingCount_ = 0;
  bool headingMode_ = false;
  int headingIndex_ = 1;
  int zoomPercent_ = 100;
  bool ignoreSelectionOnce_ = false;
};

}  // namespace examora
