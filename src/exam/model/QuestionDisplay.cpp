#include "exam/model/QuestionDisplay.h"

#include <QFileInfo>

#include <utility>

#include "common/QZMessage.h"
#include "data/InstallPaths.h"

namespace examora {

// ---- QuestionTree --------------------------------------------------------------------------

QuestionTree::QuestionTree(const QList<int>& subQuestionCounts, bool subQuestionsOnly)
    : subQuestionsOnly_(subQuestionsOnly) {
  if (subQuestionsOnly) {
    const int count = subQuestionCounts.isEmpty() ? 0 : subQuestionCounts.first();
    for (int s = 1; s <= count; ++s) {
      nodes_ << TreeNode{1, s};
      parents_ << -1;
    }
    return;
  }
  for (int q = 1; q <= subQuestionCounts.size(); ++q) {
    const int parent = static_cast<int>(nodes_.size());
    nodes_ << TreeNode{q, -1};
    parents_ << -1;
    for (int s = 1; s <= subQuestionCounts.at(q - 1); ++s) {
      nodes_ << TreeNode{q, s};
      parents_ << parent;
    }
  }
}

TreeNode QuestionTree::Node(int index) const {
  return IsValid(index) ? nodes_.at(index) : TreeNode{};
}

QString QuestionTree::Caption(int index) const {
  if (!IsValid(index)) return {};
  const TreeNode& n = nodes_.at(index);
  if (subQuestionsOnly_) return QStringLiteral("問題 ") + QString::number(n.subQuestion);
  if (n.IsQuestion()) return QStringLiteral("問題 ") + QString::number(n.question);
  return QStringLiteral("問題 ") + QString::number(n.question) + u'-' +
         QString::number(n.subQuestion);
}

int QuestionTree::IndexOf(const TreeNode& node) const {
  return static_cast<int>(nodes_.indexOf(node));
}

int QuestionTree::Parent(int index) const {
  return IsValid(index) ? parents_.at(index) : -1;
}

int QuestionTree::PreviousSibling(int index) const {
  if (!IsValid(index)) return -1;
  for (int i = index - 1; i >= 0; --i) {
    if (parents_.at(i) == parents_.at(index)) return i;
    if (i == parents_.at(index)) break;  // reached the parent: no earlier child
  }
  return -1;
}

int QuestionTree::NextSibling(int index) const {
  if (!IsValid(index)) return -1;
  for (int i = index + 1; i < nodes_.size(); ++i) {
    if (parents_.at(i) == parents_.at(index)) return i;
    // A child's siblings end where the next top-level node begins.
    if (parents_.at(index) >= 0 && parents_.at(i) < 0) break;
  }
  return -1;
}

int QuestionTree::FirstChild(int index) const {
  return IsValid(index + 1) && parents_.at(index + 1) == index ? index + 1 : -1;
}

int QuestionTree::LastChild(int index) const {
  int last = FirstChild(index);
  for (int next = NextSibling(last); next >= 0; next = NextSibling(next)) last = next;
  return last;
}

QList<int> QuestionTree::InitialSelections() const {
  QList<int> selections;
  if (Count() > 1) selections << 1;
  if (Count() > 0) selections << 0;
  return selections;
}

// ---- PageRequest ---------------------------------------------------------------------------

QUrl PageRequest::Url() const {
  QUrl url = QUrl::fromLocalFile(path);
  if (!anchor.isEmpty()) url.setFragment(anchor);
  return url;
}

// ---- QuestionDisplay -----------------------------------------------------------------------

namespace {

QString QuestionAnchor(int q, int s) {
  return s == -1 ? QStringLiteral("t%1").arg(q) : QStringLiteral("t%1s%2").arg(q).arg(s);
}

}  // namespace

QuestionDisplay::QuestionDisplay(QString folderCode, bool subQuestionsOnly, FileExists exists)
    : folderCode_(std::move(folderCode)),
      subQuestionsOnly_(subQuestionsOnly),
      exists_(std::move(exists)) {
  if (!exists_) exists_ = [](const QString& path) { return QFileInfo::exists(path); };
}

InitialMode QuestionDisplay::ChooseInitialMode(const ModeSettings& settings,
                                               const ChoiceKey& firstChoice) {
  InitialMode r;
  r.treeRootLines = subQuestionsOnly_;
  r.bySubQuestionCaption = subQuestionsOnly_ ? QStringLiteral("問題別") : QStringLiteral("設問別");
  r.wholePaperButtonVisible = settings.wholePaper;
  r.byQuestionButtonVisible = settings.byQuestion;
  r.bySubQuestionButtonVisible = settings.bySubQuestion;

  // An empty first key names no page at all; it must not resolve to a folder's neighbour.
  const bool keyGiven = !firstChoice.question.isEmpty() && !firstChoice.subQuestion.isEmpty();
  bool pageGiven = true;
  if (settings.wholePaper) {
    r.firstPage = QuestionPage(folderCode_, QStringLiteral("1"));
    r.highlightedMode = kModeWholePaper;
  } else if (settings.byQuestion) {
    r.firstPage = QuestionPage(folderCode_, firstChoice.question);
    r.highlightedMode = kModeByQuestion;
    pageGiven = keyGiven;
  } else if (settings.bySubQuestion) {
    r.firstPage = SubQuestionPage(folderCode_, firstChoice.question, firstChoice.subQuestion);
    r.highlightedMode = kModeBySubQuestion;
    pageGiven = keyGiven;
  } else {
    r.error = msg::kNoDisplayMode;
  }
  if (r.error.isEmpty() && (!pageGiven || !exists_(r.firstPage))) r.error = msg::kExamFileMissing;

  displayMode_ = settings.wholePaper   ? kModeWholePaper
                 : settings.byQuestion ? kModeByQuestion
                                       : kModeBySubQuestion;
  r.displayMode = displayMode_;
  r.pagingVisible = displayMode_ != kModeWholePaper;
  return r;
}

void QuestionDisplay::DetectHeadingPages() {
  headingMode_ = false;
  headingPagesExist_ = false;
  headingIndex_ = 1;
  headingCount_ = 0;
  if (!exists_(HeadingPage(folderCode_, QStringLiteral("1")))) return;
  headingMode_ = true;
  headingPagesExist_ = true;
  headingCount_ = 1;
  while (exists_(HeadingPage(folderCode_, QString::number(headingCount_ + 1)))) ++headingCount_;
}

QList<int> QuestionDisplay::BuildQuestionTree(const QList<int>& subQuestionCounts) {
  tree_ = QuestionTree(subQuestionCounts, subQuestionsOnly_);
  selected_ = -1;
  return tree_.InitialSelections();
}

PageRequest QuestionDisplay::ShowSelection(int node) {
  PageRequest page;
  if (tree_.IsValid(node)) selected_ = node;
  const TreeNode n = tree_.Node(node);
  int q = n.question;
  int s = n.subQuestion;
  if (subQuestionsOnly_) {
    q = 1;
    s = (!windowActivated_ || ignoreSelectionOnce_) ? -1 : n.subQuestion;
  }
  ignoreSelectionOnce_ = false;
  const bool haveNode = tree_.IsValid(node);

  switch (displayMode_) {
    case kModeWholePaper:
      if (!headingMode_ && !haveNode) break;
      page.navigate = true;
      page.path = WholePaperPage(folderCode_);
      page.anchor = headingMode_ ? QStringLiteral("midashi1") : QuestionAnchor(q, s);
      currentQuestion_ = q;
      currentSubQuestion_ = s;
      break;
    case kModeByQuestion:
      if (headingMode_) {
        page.navigate = true;
        page.path = HeadingPage(folderCode_, QStringLiteral("all"));
        currentQuestion_ = currentSubQuestion_ = -1;
      } else if (haveNode) {
        page.navigate = true;
        page.path = QuestionPage(folderCode_, QString::number(q));
        page.anchor = QuestionAnchor(q, s);
        page.refilter = q != currentQuestion_;
        currentQuestion_ = q;
        currentSubQuestion_ = s;
      }
      break;
    default:
      if (headingMode_) {
        page.navigate = true;
        page.path = HeadingPage(folderCode_, QString::number(headingIndex_));
        currentQuestion_ = currentSubQuestion_ = -1;
        break;
      }
      if (!haveNode) break;
      // Selecting the question keeps its sub-question on screen.
      if (q == currentQuestion_ && s == -1) s = currentSubQuestion_;
      if (q != currentQuestion_ || s != currentSubQuestion_) {
        page.navigate = true;
        page.path =
            SubQuestionPage(folderCode_, QString::number(q), QString::number(s == -1 ? 1 : s));
        currentQuestion_ = q;
        currentSubQuestion_ = s;
        page.refilter = true;
      }
      break;
  }
  return page;
}

ModeAction QuestionDisplay::PressMode(int mode) {
  ModeAction a;
  a.log = mode == kModeWholePaper   ? kLogModeWholePaper
          : mode == kModeByQuestion ? kLogModeByQuestion
                                    : kLogModeBySubQuestion;
  a.highlightedMode = mode;
  if (mode == kModeWholePaper && headingPagesExist_) {
    headingMode_ = true;
    headingIndex_ = 1;
  }
  a.pagingVisible = displayMode_ != kModeWholePaper;
  if (mode == displayMode_) return a;

  // The new mode is current before its page is chosen, so that the page shown is the one
  // of the pressed button (not the previous mode's page of the same node).
  displayMode_ = mode;
  a.changed = true;
  currentQuestion_ = currentSubQuestion_ = -1;
  a.scrollSheetTop = true;
  if (mode == kModeWholePaper) {
    ignoreSelectionOnce_ = true;
    if (selected_ == 0)
      a.page = ShowSelection(0);
    else if (tree_.Count() > 0)
      a.selectNode = 0;
    a.refilter = true;
    a.pagingVisible = false;
  } else {
    a.page = ShowSelection(selected_);
    a.refilter = a.page->refilter;
    a.pagingVisible = true;
  }
  return a;
}

PagingAction QuestionDisplay::Back() {
  if (displayMode_ == kModeByQuestion) return PageByQuestion(true);
  if (displayMode_ == kModeBySubQuestion) return PageBySubQuestion(true);
  return {};
}

PagingAction QuestionDisplay::Next() {
  if (displayMode_ == kModeByQuestion) return PageByQuestion(false);
  if (displayMode_ == kModeBySubQuestion) return PageBySubQuestion(false);
  return {};
}

PagingAction QuestionDisplay::PageByQuestion(bool back) {
  PagingAction a;
  a.log = back ? kLogBackByQuestion : kLogNextByQuestion;
  int node = selected_;
  if (!subQuestionsOnly_ && tree_.IsValid(node) && !tree_.IsTopLevel(node))
    node = tree_.Parent(node);
  if (back) {
    const int previous = tree_.PreviousSibling(node);
    if (previous >= 0) {
      a.selectNode = previous;
    } else if (headingPagesExist_) {
      headingMode_ = true;
      a.page = ShowSelection(selected_);
    }
    return a;
  }
  if (headingMode_) {
    headingMode_ = false;
    if (tree_.Count() > 0) {
      a.selectNode = 0;
      a.reportChangeExplicitly = true;
    }
  } else {
    a.selectNode = tree_.NextSibling(node);
  }
  return a;
}

PagingAction QuestionDisplay::PageBySubQuestion(bool back) {
  PagingAction a;
  a.log = back ? kLogBackBySubQuestion : kLogNextBySubQuestion;
  int node = selected_;
  const bool nested = !subQuestionsOnly_;
  if (nested && tree_.IsValid(node) && tree_.IsTopLevel(node) && tree_.FirstChild(node) >= 0)
    node = tree_.FirstChild(node);
  const int question =
      nested && tree_.IsValid(node) && !tree_.IsTopLevel(node) ? tree_.Parent(node) : -1;

  if (back) {
    if (const int previous = tree_.PreviousSibling(node); previous >= 0) {
      a.selectNode = previous;
      return a;
    }
    if (question >= 0) {
      // Questions without sub-questions have no page in this mode; step over them.
      for (int p = tree_.PreviousSibling(question); p >= 0; p = tree_.PreviousSibling(p)) {
        if (tree_.LastChild(p) >= 0) {
          a.selectNode = tree_.LastChild(p);
          return a;
        }
      }
    }
    if (headingPagesExist_) {
      if (headingMode_) {
        if (headingIndex_ > 1) --headingIndex_;
      } else {
        headingIndex_ = headingCount_;
      }
      headingMode_ = true;
      a.page = ShowSelection(selected_);
    }
    return a;
  }

  if (headingMode_) {
    if (headingIndex_ < headingCount_) {
      ++headingIndex_;
      a.page = ShowSelection(selected_);
    } else {
      headingMode_ = false;
      if (tree_.Count() > 0) {
        a.selectNode = 0;
        a.reportChangeExplicitly = true;
      }
    }
    return a;
  }
  if (const int next = tree_.NextSibling(node); next >= 0) {
    a.selectNode = next;
    return a;
  }
  if (question >= 0) {
    for (int n = tree_.NextSibling(question); n >= 0; n = tree_.NextSibling(n)) {
      if (tree_.FirstChild(n) >= 0) {
        a.selectNode = tree_.FirstChild(n);
        return a;
      }
    }
  }
  return a;
}

ZoomAction QuestionDisplay::Zoom(const QString& log, int percent) {
  ZoomAction a;
  a.log = log;
  if (percent >= kZoomMin && percent <= kZoomMax) {
    zoomPercent_ = percent;
    a.apply = true;
  }
  a.styleZoom = StyleZoom();
  return a;
}

ZoomAction QuestionDisplay::ZoomIn() {
  return Zoom(kLogZoomIn, zoomPercent_ + kZoomStep);
}

ZoomAction QuestionDisplay::ZoomOut() {
  return Zoom(kLogZoomOut, zoomPercent_ - kZoomStep);
}

ZoomAction QuestionDisplay::ZoomStandard() {
  return Zoom(kLogZoomStandard, 100);
}

}  // namespace examora
