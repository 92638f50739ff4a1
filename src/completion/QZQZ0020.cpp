#include "completion/QZQZ0020.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShowEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "completion/QZQZ0060.h"
#include "completion/model/AnswerStatus.h"
#include "completion/model/SubmissionFiles.h"
#include "completion/model/SubmissionView.h"
#include "data/ExamData.h"
#include "exam/model/Placement.h"
#include "flow/QZTP0190.h"
#include "flow/TimeExtension.h"
#include "platform/TopLevelWindows.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kDesignWidth = 613;
constexpr int kDesignHeight = 389;
constexpr int kKnowledgeWidth = 520;
constexpr int kTitleBandHeight = 70;
constexpr int kButtonBandHeight = 53;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonTop = 13;
constexpr int kButtonMargin = 30;
constexpr int kItemHeight = 16;

const QColor kBodyColour(245, 235, 250);
const QColor kSelectedColour(51, 153, 255);

const QString kDesignTitle = QStringLiteral("提出用ファイルの確認");

// The compulsory end screen and the application stay above the program the candidate worked
// in; a dialog opened over the screen (the proctor's extension) keeps the top while it is up.
OnTopGuardHooks ConfirmationGuardHooks(TfrmQZQZ0020* screen) {
  OnTopGuardHooks hooks;
  hooks.windowEnabled = [screen] {
    QWidget* modal = QApplication::activeModalWidget();
    return screen->isEnabled() && (modal == nullptr || modal == screen);
  };
  hooks.raiseTopMost = [screen] {
    SetTopMost(ApplicationMainWindow(), true);
    SetTopMost(screen, true);
  };
  return hooks;
}

QString ExamTypeOf(const QString& partCode) {
  return ReadSetupIni(partCode).examType;
}

// Draws the list lines the way the screen was designed: a flat blue bar for the selected
// line, the text 5 px in and 1 px down, per-line text colours where the view provides them.
class KaitoBoxDelegate : public QStyledItemDelegate {
 public:
  KaitoBoxDelegate(const QList<QColor>* colours, const int* extent, QObject* parent)
      : QStyledItemDelegate(parent), colours_(colours), extent_(extent) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, option.palette.base());
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool focused = option.state.testFlag(QStyle::State_HasFocus);
    QColor text = option.palette.color(QPalette::Text);
    if (selected || focused) {
      painter->fillRect(r, kSelectedColour);
      painter->setPen(QPen(Qt::white, 1, Qt::DotLine));
      painter->drawRect(r.adjusted(0, 0, -1, -1));
      text = Qt::white;
    }
    if (index.row() < colours_->size()) text = colours_->at(index.row());
    painter->setPen(text);
    painter->setFont(option.font);
    painter->drawText(QRect(r.left() + 5, r.top() + 1, std::max(r.width() - 5, 0), r.height()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }

  // Every line is as wide as the widest one, so the list scrolls exactly that far.
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {*extent_, kItemHeight};
  }

 private:
  const QList<QColor>* colours_;
  const int* extent_;
};

QLabel* MakeLabel(QWidget* parent, int number) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("Label") + QString::number(number));
  label->setFont(UiFont(FontFace::MsPGothic, 17));
  label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
  // Design tops 3, 22, 41, … at the left edge of the text column.
  label->move(13, 3 + 19 * (number - 1));
  return label;
}

void SetLabelText(QLabel* label, const QString& text) {
  label->setText(text);
  label->adjustSize();
  label->show();
}

}  // namespace

TfrmQZQZ0020::TfrmQZQZ0020(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZQZ0020"),
                          .topMost = TopMost::None,  // the application, and only when asked
                          .centre = true,
                          .titleColour = true}),
      Guard(ConfirmationGuardHooks(this)) {
  resize(kDesignWidth, kDesignHeight);
  setWindowTitle(kDesignTitle);
  TitleLabel()->setText(kDesignTitle);
  TitleLabel()->adjustSize();

  Panel2 = new QWidget(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setAutoFillBackground(true);
  QPalette body = Panel2->palette();
  body.setColor(QPalette::Window, kBodyColour);
  Panel2->setPalette(body);

  std::array<QLabel**, 12> labels = {&Label1, &Label2, &Label3, &Label4,  &Label5,  &Label6,
                                     &Label7, &Label8, &Label9, &Label10, &Label11, &Label12};
  for (int i = 0; i < 12; ++i) *labels[i] = MakeLabel(Panel2, i + 1);

  CloseFileChk =
      new QCheckBox(QStringLiteral("作成・編集したファイルをすべて保存し、閉じる。"), Panel2);
  CloseFileChk->setObjectName(QStringLiteral("CloseFileChk"));
  CloseFileChk->hide();
  FilePrintChk = new QCheckBox(
      QStringLiteral("下の枠内に作成・編集したファイル（更新日時）が表示されている。"), Panel2);
  FilePrintChk->setObjectName(QStringLiteral("FilePrintChk"));
  FilePrintChk->hide();

  kaitoBox = new QListWidget(Panel2);
  kaitoBox->setObjectName(QStringLiteral("kaitoBox"));
  kaitoBox->setFont(UiFont(FontFace::MsGothic, 15));
  kaitoBox->setItemDelegate(new KaitoBoxDelegate(&LineColors, &horizontalExtent_, kaitoBox));
  kaitoBox->setSelectionMode(QAbstractItemView::SingleSelection);
  kaitoBox->setEditTriggers(QAbstractItemView::NoEditTriggers);
  kaitoBox->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Only a double click on a line jumps; one on the empty space below the lines has no line
  // to go to and is ignored.
  connect(kaitoBox, &QListWidget::doubleClicked, this,
          [this](const QModelIndex& index) { KaitoBoxDblClick(index.row()); });

  OKBtn = new RoundButton(QStringLiteral("はい"), BottomBand());
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->resize(kButtonWidth, kButtonHeight);
  connect(OKBtn, &QPushButton::clicked, this, &TfrmQZQZ0020::OKBtnClick);
  CancelBtn = new RoundButton(QStringLiteral("いいえ"), BottomBand());
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->resize(kButtonWidth, kButtonHeight);
  connect(CancelBtn, &QPushButton::clicked, this, &TfrmQZQZ0020::CancelBtnClick);
  FileUpdateBtn = new RoundButton(QStringLiteral("表示の更新"), BottomBand());
  FileUpdateBtn->setObjectName(QStringLiteral("FileUpdateBtn"));
  FileUpdateBtn->resize(kButtonWidth, kButtonHeight);
  FileUpdateBtn->hide();
  connect(FileUpdateBtn, &QPushButton::clicked, this, &TfrmQZQZ0020::ListSubmissionFiles);

  ShortCutSCT = new QAction(this);
  ShortCutSCT->setObjectName(QStringLiteral("ShortCutSCT"));
  ShortCutSCT->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  ShortCutSCT->setShortcutContext(Qt::WindowShortcut);
  addAction(ShortCutSCT);
  connect(ShortCutSCT, &QAction::triggered, this, &TfrmQZQZ0020::ShortCutSCTExecute);

  Guard.NotOpMostTimer.setObjectName(QStringLiteral("NotOpMostTimer"));
  connect(this, &QDialog::finished, &Guard, &OnTopGuard::StopGuard);

  LayOutBody();
}

QLabel* TfrmQZQZ0020::Label(int number) const {
  const std::array<QLabel*, 12> labels = {Label1, Label2, Label3, Label4,  Label5,  Label6,
                                          Label7, Label8, Label9, Label10, Label11, Label12};
  return number >= 1 && number <= 12 ? labels[number - 1] : nullptr;
}

void TfrmQZQZ0020::SetUpScreen() {
  if (KeepOnTop) SetTopMost(ApplicationMainWindow(), true);
  ResetControls();
  if (IsKnowledgeView()) {
    BuildAnswerStatusList();
  } else {
    SetUpSubmissionView();
  }
}

void TfrmQZQZ0020::setVisible(bool visible) {
  // The compulsory end screen is top-most from its first appearance; setting the flag later
  // would re-create the visible window.
  if (visible && TimeOver && !isVisible()) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  ScreenFrame::setVisible(visible);
}

void TfrmQZQZ0020::showEvent(QShowEvent* event) {
  ScreenFrame::showEvent(event);
  if (event->spontaneous()) return;
  Log(QStringLiteral("初期表示完了"));
  if (TimeOver) {
    // The compulsory end screen must not be lost behind the application the candidate was
    // working in; the guard keeps it on top from now on.
    ForceForeground();
    if (!Guard.NotOpMostTimer.isActive()) Guard.StartGuard();
  }
}

void TfrmQZQZ0020::resizeEvent(QResizeEvent* event) {
  ScreenFrame::resizeEvent(event);
  LayOutBody();
}

void TfrmQZQZ0020::ResetControls() {
  kaitoBox->clear();
  LineColors.clear();
  for (int n = 1; n <= 12; ++n) Label(n)->clear();
  setWindowTitle(kDesignTitle);
  TitleLabel()->setText(kDesignTitle);
  TitleLabel()->adjustSize();
}

void TfrmQZQZ0020::LayOutBody() {
  if (!Panel2) return;
  const int w = width();
  Panel2->setGeometry(0, kTitleBandHeight, w, height() - kTitleBandHeight - kButtonBandHeight);
  kaitoBox->setGeometry(listLeft_, listTop_, std::max(Panel2->width() - listLeft_ - listRight_, 0),
                        std::max(Panel2->height() - listTop_ - listBottom_, 0));
  const int right = w - kButtonWidth - kButtonMargin;
  OKBtn->move(okAtRight_ ? right : kButtonMargin, kButtonTop);
  CancelBtn->move(right, kButtonTop);
  FileUpdateBtn->move(kButtonMargin, kButtonTop);
}

void TfrmQZQZ0020::BuildAnswerStatusList() {
  resize(kKnowledgeWidth, height());
  for (int n = 3; n <= 12; ++n) Label(n)->hide();
  CloseFileChk->hide();
  FilePrintChk->hide();
  FileUpdateBtn->hide();
  listTop_ = 68;
  listBottom_ = 0;  // down to the button band

  const bool webStyle = ExamTypeOf(PartCode()) == u"3";
  QString title = webStyle ? QStringLiteral("解答状況の確認") : kDesignTitle;
  SetLabelText(Label1, QStringLiteral("解答状況は以下の通りです。"));
  SetLabelText(Label2, webStyle ? QStringLiteral("知識問題を終了してよろしいですか。")
                                : QStringLiteral("試験を終了してよろしいですか。"));

  if (TimeOver) {
    title = QStringLiteral("試験時間経過による試験終了");
    SetLabelText(Label1, QStringLiteral("制限時間となりましたので、試験を終了します。"));
    SetLabelText(Label2, QStringLiteral("解答状況は以下の通りです。"));
    SetLabelText(Label3, QStringLiteral("［試験終了］ボタンをクリックしてください。"));
    // No way back to the exam: only the end button, moved to where "いいえ" was.
    CancelBtn->hide();
    OKBtn->setText(QStringLiteral("試験終了"));
    okAtRight_ = true;
  } else {
    CancelBtn->show();
    OKBtn->setText(QStringLiteral("はい"));
    okAtRight_ = false;
  }
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();

  kaitoBox->addItems(AnswerStatusLines(SubQuestionCounts, Answers, SubQuestionsOnly));
  LayOutBody();
  UpdateHorizontalExtent();
}

void TfrmQZQZ0020::SetUpSubmissionView() {
  const SubmissionViewLayout layout = LayoutOf(
      ChooseSubmissionVariant(ExamTypeOf(PartCode()), ExamHasCompactPracticalPart(), TimeOver));
  resize(layout.width, layout.height);
  if (!layout.title.isEmpty()) {
    setWindowTitle(layout.title);
    TitleLabel()->setText(layout.title);
    TitleLabel()->adjustSize();
  }
  const QFont font = layout.gothic9pt ? UiFontPt(FontFace::MsGothic, 9, layout.bold)
                                      : UiFont(FontFace::MsPGothic, 17);
  for (int n = 1; n <= 12; ++n) Label(n)->hide();
  for (const SubmissionLabel& spec : layout.labels) {
    QLabel* label = Label(spec.number);
    label->setFont(font);
    label->setStyleSheet(spec.red ? QStringLiteral("color: red; background: transparent;")
                                  : QStringLiteral("color: black; background: transparent;"));
    label->move(spec.left, spec.top);
    SetLabelText(label, spec.text);
  }
  CloseFileChk->setVisible(layout.checkBoxes);
  FilePrintChk->setVisible(layout.checkBoxes);
  if (layout.checkBoxes) {
    for (QCheckBox* box : {CloseFileChk, FilePrintChk}) {
      box->setFont(font);
      box->adjustSize();
    }
    CloseFileChk->move(13, 80);
    FilePrintChk->move(13, 96);
  }
  listTop_ = layout.listTop;
  // The design's list height where the body panel holds it; otherwise down to the buttons.
  const int panelHeight = height() - kTitleBandHeight - kButtonBandHeight;
  listBottom_ = layout.listHeight > 0 ? std::max(panelHeight - listTop_ - layout.listHeight, 0) : 0;

  if (TimeOver) {
    CancelBtn->hide();
    OKBtn->setText(QStringLiteral("試験終了"));
    okAtRight_ = true;
    FileUpdateBtn->show();
  } else {
    CancelBtn->show();
    OKBtn->setText(QStringLiteral("はい"));
    okAtRight_ = false;
    FileUpdateBtn->hide();
  }
  LayOutBody();
  ListSubmissionFiles();
}

void TfrmQZQZ0020::ListSubmissionFiles() {
  kaitoBox->clear();
  LineColors.clear();
  for (const SubmissionFile& file :
       ::examora::ListSubmissionFiles(SubmissionSource::Read(PartCode()))) {
    kaitoBox->addItem(file.Line());
    LineColors.append(Qt::black);
    // Held open is the candidate's to fix; anything else (permission denied, a broken disk)
    // is for the proctor, who finds the system's own words in the log.
    if (!file.readable && !file.heldOpen) {
      Log(QStringLiteral("ファイル確認失敗 ") + file.relativePath + QStringLiteral("：") +
          file.error);
    }
  }
  UpdateHorizontalExtent();
}

bool TfrmQZQZ0020::CheckNoFileOpen() {
  if (!FirstUnreadableWorkFile(SubmissionSource::Read(PartCode()))) return true;
  ShowMessageCode(this, nullptr, FileOpenMessage(TimeOver));
  return false;
}

bool TfrmQZQZ0020::CheckConfirmationBoxes() {
  if (!ConfirmationBoxesRequired(Category, ExamTypeOf(PartCode()))) return true;
  if (CloseFileChk->isChecked() && FilePrintChk->isChecked()) return true;
  TfrmQZTP0190 notice(this);
  notice.SetPartCode(PartCode());
  notice.ShowModal();
  return false;
}

int TfrmQZQZ0020::UpdateHorizontalExtent() {
  const QFontMetrics metrics(kaitoBox->font());
  int widest = 0;
  for (int i = 0; i < kaitoBox->count(); ++i)
    widest = std::max(widest, metrics.horizontalAdvance(kaitoBox->item(i)->text()));
  horizontalExtent_ = widest + 10;
  kaitoBox->doItemsLayout();
  return horizontalExtent_;
}

void TfrmQZQZ0020::ForceForeground() {
  raise();
  activateWindow();
  ::examora::ForceForeground(NativeWindowId(this));
}

void TfrmQZQZ0020::KaitoBoxDblClick(int row) {
  // The web-style window has no question tree to jump to, and after time-over the only way
  // out is the end button.
  if (TimeOver || row < 0 || row >= kaitoBox->count()) return;
  if (ExamTypeOf(PartCode()) == u"3") return;
  Log(QStringLiteral("解答状況ダブルクリック"));
  JumpIndex = row;
  // A result ends only a modal run: shown beside the practical window, the confirmation stays.
  if (windowModality() != Qt::NonModal) done(ModalResult::Yes);
}

void TfrmQZQZ0020::OKBtnClick() {
  Log(QStringLiteral("はいボタン押下"));
  if (IsKnowledgeView()) {
    done(ModalResult::Ok);
    return;
  }
  if (!CheckNoFileOpen() || !CheckConfirmationBoxes()) return;
  if (!ReadSystemIni(QDate::currentDate().year()).app.isEmpty()) {
    // The office application is closed first; if the candidate thinks again, this screen
    // comes back unchanged and the exam goes on.
    TfrmQZQZ0060 endConfirmation(this);
    endConfirmation.SetPartCode(PartCode());
    endConfirmation.Environment = Office;
    hide();
    if (endConfirmation.ShowModal() != ModalResult::Ok) {
      show();
      return;
    }
  }
  const QString examType = ExamTypeOf(PartCode());
  const bool compactWindow = examType == u"2" || (examType == u"3" && Category == u"2");
  if (!compactWindow && TimeOver) {
    // The session controller reads this to end the part instead of offering the practice.
    (void)WriteExtensionEnded(PartCode());
    done(ModalResult::Ok);
    return;
  }
  if (ConfirmAndClose) {
    // Closing the exam window may take this screen with it; touch nothing afterwards.
    const std::function<void()> confirm = ConfirmAndClose;
    confirm();
    return;
  }
  done(ModalResult::Ok);
}

void TfrmQZQZ0020::CancelBtnClick() {
  Log(QStringLiteral("いいえボタン押下"));
  done(ModalResult::Cancel);
}

void TfrmQZQZ0020::ShortCutSCTExecute() {
  if (!TimeOver) return;
  const ExtensionOutcome outcome = RunTimeExtension(this, PartCode());
  // Back to the exam, which re-reads its time and goes on with the extension.
  if (outcome.Changed()) done(ModalResult::Cancel);
}

}  // namespace examora
