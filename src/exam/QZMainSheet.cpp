#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <utility>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/Placement.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/model/FrameRules.h"
#include "platform/SystemMenu.h"
#include "viewers/WBContainer.h"
#include "widgets/Band.h"
#include "widgets/ChoiceReporter.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {

using namespace qzmain;

void TfrmQZMain::KnowledgeLayout() {
  PaintBand(titleImage_, ExePath(QStringLiteral("system\\Image\\main_top_t.jpg")));
  // The candidate cannot minimise or close the exam from the taskbar.
  (void)RemoveTaskbarMenuCommands(NativeWindowId(this));
  if (QWidget* application = ApplicationMainWindow()) {
    (void)RemoveTaskbarMenuCommands(NativeWindowId(application));
  }
  questionBtn_->SetColours(kHighlightTop, kHighlightBottom);
  Relayout();
  if (!QFileInfo::exists(AnswerFilePath(SetupFolderCode))) {
    // A failure shows later, when the first choice cannot be saved.
    (void)CreateEmptyAnswerFile(AnswerFilePath(SetupFolderCode));
  }
}

void TfrmQZMain::BuildSheetRows() {
  if (!choices_) {
    choices_ = new ChoiceReporter([this] { return restoringChecks_; },
                                  [this](int row, int choice) { SetuClick(row, choice); }, this);
  }
  const QFont captionFont = UiFont(FontFace::MsGothic, 13);
  for (int r = 1; r <= kMaxSheetRows; ++r) {
    const examora::SheetRow* row = sheet_.Structure().Row(r);
    if (!row) continue;
    RowWidgets& w = rows_[r - 1];
    w.panel = new QWidget(sheetContent_);
    w.panel->setObjectName(QStringLiteral("KaitoPanel%1").arg(r));
    w.panel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
    if (row->kind == RowKind::Heading) {
      w.toiPanel = new QWidget(w.panel);
      w.toiPanel->setObjectName(QStringLiteral("ToiPanel%1").arg(r));
      w.toiPanel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
      FillBackground(w.toiPanel, QColor(0xA0, 0xA0, 0xA0));
      w.toiLbl = ColouredLabel(w.toiPanel, QStringLiteral("ToiLbl%1").arg(r), row->caption,
                               captionFont, Qt::white);
      w.toiLbl->setGeometry(0, 8, 78, 17);
      // The fifth letter heads the column only where the question has a fifth choice.
      int choices = 4;
      for (int n = r + 1; n <= kMaxSheetRows; ++n) {
        const examora::SheetRow* next = sheet_.Structure().Row(n);
        if (!next || next->kind == RowKind::Heading) break;
        choices = qMax(choices, next->choiceCount);
      }
      for (int c = 0; c < qMin(choices, 5); ++c) {
        QLabel* letter = ColouredLabel(w.toiPanel, QStringLiteral("Setu%1Lbl%2").arg(c + 1).arg(r),
                                       kChoiceLetters[c], captionFont, Qt::white);
        letter->setGeometry(80 + 24 * c + 2, 8, 17, 17);
      }
    } else {
      w.setuPanel = new QWidget(w.panel);
      w.setuPanel->setObjectName(QStringLiteral("SetuPanel%1").arg(r));
      w.setuPanel->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
      FillBackground(w.setuPanel, Qt::white);
      w.setuLbl = ColouredLabel(w.setuPanel, QStringLiteral("SetuLbl%1").arg(r), row->caption,
                                captionFont, Qt::black);
      w.setuLbl->setGeometry(8, 8, 72, 17);
      w.group = new QButtonGroup(w.setuPanel);
      for (int c = 1; c <= 5; ++c) {
        auto* radio = new QRadioButton(w.setuPanel);
        radio->setObjectName(QStringLiteral("Setu%1RBtn%2").arg(c).arg(r));
        radio->setToolTip(kChoiceLetters[c - 1]);
        // Heard by a screen reader as "問題1-2 ア": the row's caption and the choice.
        radio->setAccessibleName(QString(row->caption).remove(u' ') + u' ' + kChoiceLetters[c - 1]);
        radio->setGeometry(80 + 24 * (c - 1), 8, 17, 17);
        radio->setVisible(c <= row->choiceCount);
        w.group->addButton(radio, c);
        w.radios[c - 1] = radio;
        choices_->Watch(radio, r, c);
      }
      // Restoring checks the stored choice; no click is reported, so nothing is recorded.
      RestoreRowChecks(r);
    }
    w.panel->hide();
  }
}

void TfrmQZMain::BuildColumnCaptions(bool subQuestionsOnly) {
  // Without question headings in the sheet, a strip above it names the columns, オ included
  // when some sub-question has a fifth choice.
  delete kaitoLabelPnl_;
  kaitoLabelPnl_ = nullptr;
  if (!subQuestionsOnly) return;
  int choices = 4;
  for (int r = 1; r <= kMaxSheetRows; ++r) {
    if (const examora::SheetRow* row = sheet_.Structure().Row(r))
      choices = qMax(choices, row->choiceCount);
  }
  kaitoLabelPnl_ = new QWidget(panel5_);
  kaitoLabelPnl_->setObjectName(QStringLiteral("KaitoLabelPnl"));
  auto* toiLabelPnl = new QWidget(kaitoLabelPnl_);
  toiLabelPnl->setObjectName(QStringLiteral("ToiLabelPnl"));
  toiLabelPnl->setGeometry(0, 0, kSheetRowWidth, kSheetRowHeight);
  FillBackground(toiLabelPnl, QColor(0xA0, 0xA0, 0xA0));
  const QFont captionFont = UiFont(FontFace::MsGothic, 13);
  for (int c = 0; c < qMin(choices, 5); ++c) {
    QLabel* letter = ColouredLabel(toiLabelPnl, QStringLiteral("Kaito%1Lbl").arg(c + 1),
                                   kChoiceLetters[c], captionFont, Qt::white);
    letter->setGeometry(80 + 24 * c + 2, 8, 17, 17);
  }
  kaitoLabelPnl_->show();
  Relayout();
}

void TfrmQZMain::BuildTree() {
  treeBuilding_ = true;
  tree_->clear();
  treeItems_.clear();
  const QList<int> selections = display_->BuildQuestionTree(sheet_.Structure().SubQuestionCounts());
  const QuestionTree& model = display_->Tree();
  for (int i = 0; i < model.Count(); ++i) {
    const int parent = model.Parent(i);
    auto* item = parent < 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(treeItems_[parent]);
    item->setText(0, model.Caption(i));
    treeItems_.append(item);
  }
  tree_->setRootIsDecorated(initialMode_.treeRootLines);
  FocusTreeIfShown();
  tree_->expandAll();
  RepaintMarks();
  treeBuilding_ = false;
  ApplySelections(selections);
}

void TfrmQZMain::FocusTreeIfShown() {
  if (!IsPractical() && !questionPanel_->isHidden()) tree_->setFocus();
}

void TfrmQZMain::ApplySelections(const QList<int>& selections) {
  for (int node : selections) SelectNode(node, false);
}

void TfrmQZMain::SelectNode(int node, bool reportExplicitly) {
  if (node < 0 || node >= treeItems_.size()) return;
  QTreeWidgetItem* item = treeItems_[node];
  if (tree_->currentItem() == item) {
    if (reportExplicitly) OnTreeChange();
    return;
  }
  tree_->setCurrentItem(item);
}

void TfrmQZMain::OnTreeChange() {
  if (treeBuilding_ || !display_) return;
  const int node = treeItems_.indexOf(tree_->currentItem());
  if (node < 0) return;
  Log(kLogTreeChanged);
  HandlePage(display_->ShowSelection(node));
}

void TfrmQZMain::HandlePage(const PageRequest& page) {
  if (page.navigate) {
    // The anchor goes with the address; the page refuses anything outside the installation.
    if (page.anchor.isEmpty())
      host_->Navigate(page.path);
    else
      host_->Page()->setUrl(page.Url());
  }
  if (page.refilter) Refilter(page.scrollSheetTop);
  if (display_->DisplayMode() == kModeWholePaper) ScrollSheetToSelection();
}

void TfrmQZMain::Refilter(bool scrollTop) {
  const SheetView view = sheet_.FilterAnswerRows(
      display_->DisplayMode(), display_->CurrentQuestion(), display_->CurrentSubQuestion());
  for (int r = 1; r <= rows_.size(); ++r) {
    QWidget* panel = rows_[r - 1].panel;
    if (!panel) continue;
    const int top = view.RowTop(r);
    if (top < 0) {
      panel->hide();
    } else {
      panel->move(0, top);
      panel->show();
    }
  }
  sheetContent_->resize(kSheetRowWidth, qMax(1, view.scrollRange));
  if (scrollTop) sheetScroll_->verticalScrollBar()->setValue(0);
}

void TfrmQZMain::ScrollSheetToSelection() {
  const int node = display_->SelectedNode();
  if (!display_->Tree().IsValid(node)) return;
  sheetScroll_->verticalScrollBar()->setValue(
      sheet_.ScrollPositionForNode(display_->Tree().Node(node)));
}

void TfrmQZMain::HighlightMode(int mode) {
  printAll_->SetColours(mode == kModeWholePaper ? kHighlightTop : kNormalTop,
                        mode == kModeWholePaper ? kHighlightBottom : kNormalBottom);
  printToi_->SetColours(mode == kModeByQuestion ? kHighlightTop : kNormalTop,
                        mode == kModeByQuestion ? kHighlightBottom : kNormalBottom);
  printSetu_->SetColours(mode == kModeBySubQuestion ? kHighlightTop : kNormalTop,
                         mode == kModeBySubQuestion ? kHighlightBottom : kNormalBottom);
  for (RoundButton* b : {printAll_, printToi_, printSetu_}) b->update();
}

void TfrmQZMain::PressMode(int mode) {
  if (!display_ || !SetupDone) return;
  const ModeAction action = display_->PressMode(mode);
  Log(action.log);
  if (!action.changed) return;
  HighlightMode(action.highlightedMode);
  backBtn_->setVisible(action.pagingVisible);
  nextBtn_->setVisible(action.pagingVisible);
  if (action.selectNode >= 0) SelectNode(action.selectNode, false);
  if (action.page) HandlePage(*action.page);
  if (action.refilter)
    Refilter(action.scrollSheetTop);
  else if (action.scrollSheetTop)
    sheetScroll_->verticalScrollBar()->setValue(0);
  Relayout();
}

void TfrmQZMain::Paging(bool back) {
  if (!display_ || !SetupDone) return;
  const PagingAction action = back ? display_->Back() : display_->Next();
  // The keyboard goes to the tree first, so that the arrow keys page on from where the paging
  // leaves the candidate.
  if (action.selectNode >= 0 || action.page) FocusTreeIfShown();
  Log(action.log);
  if (action.selectNode >= 0) SelectNode(action.selectNode, action.reportChangeExplicitly);
  if (action.page) HandlePage(*action.page);
}

void TfrmQZMain::Zoom(const ZoomAction& action) {
  Log(action.log);
  if (!action.apply) return;
  ApplyPageZoom();
  FitOverlay();
  browser_->setFocus();
}

void TfrmQZMain::ApplyPageZoom() {
  if (!display_) return;
  browser_->page()->runJavaScript(
      QStringLiteral("if (document.body) document.body.style.zoom = '%1';")
          .arg(QString::number(display_->StyleZoom())));
}

void TfrmQZMain::RestoreRowChecks(int row) {
  RowWidgets& w = rows_[row - 1];
  if (!w.group) return;
  // An exclusive group cannot be cleared; the row may hold no answer.
  const bool wasRestoring = std::exchange(restoringChecks_, true);
  w.group->setExclusive(false);
  const int checked = sheet_.CheckedChoice(row);
  for (int c = 1; c <= 5; ++c) w.radios[c - 1]->setChecked(c == checked);
  w.group->setExclusive(true);
  restoringChecks_ = wasRestoring;
}

void TfrmQZMain::SetuClick(int row, int choice) {
  const bool running = clock_ && clock_->IsRunning();
  const std::optional<AnswerRecord> record = sheet_.Record(row, choice, running);
  if (!record) {
    // Not recorded (the exam has not started, or the time is over): the row keeps showing
    // what the answer file holds.
    RestoreRowChecks(row);
    return;
  }
  Log(kLogAnswerClicked);
  if (const WriteResult saved = sheet_.Save(AnswerFilePath(SetupFolderCode)); !saved) {
    // The choice stays in memory and goes to the file with the next click.
    ShowMessageCode(this, nullptr, msg::kAnswerSaveFailed, saved.error);
  }
  RepaintMarks();
}

void TfrmQZMain::RepaintMarks() {
  if (!display_) return;
  const QuestionTree& model = display_->Tree();
  for (int i = 0; i < treeItems_.size() && i < model.Count(); ++i) {
    const bool answered = sheet_.IsAnswered(model.Node(i));
    treeItems_[i]->setForeground(0, answered ? QBrush(Qt::black) : QBrush(Qt::red));
    // The colour as words, for screen readers.
    treeItems_[i]->setData(0, Qt::AccessibleDescriptionRole,
                           answered ? QStringLiteral("解答済み") : QStringLiteral("未解答"));
  }
}

}  // namespace examora
