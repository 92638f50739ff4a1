#include "flow/QZTP0030.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QWebEngineView>

#include <functional>
#include <utility>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "flow/QZQZ0030.h"
#include "flow/TimeExtension.h"
#include "flow/model/FrameRules.h"
#include "platform/Keyboard.h"
#include "viewers/WBContainer.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 750;
constexpr int kTitleBandHeight = 70;
constexpr int kBottomBandHeight = 53;
constexpr int kButtonTop = (kBottomBandHeight - 26) / 2;

// Sees every event of the application while the screen exists; the screen decides.
class KeyCatcher : public QObject {
 public:
  KeyCatcher(std::function<bool(QObject*, QEvent*)> handler, QObject* parent)
      : QObject(parent), handler_(std::move(handler)) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  std::function<bool(QObject*, QEvent*)> handler_;
};

void SetButtonState(RoundButton* button, bool enabled) {
  // Disabled buttons paint the grey gradient themselves.
  button->setEnabled(enabled);
  button->update();
}

}  // namespace

TfrmQZTP0030::TfrmQZTP0030(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0030"),
                          .kind = Kind::Wizard,
                          .topMost = TopMost::Self,
                          .titleColour = true}) {
  resize(kWidth, kHeight);

  webBrowser_ = new QWebEngineView(this);
  webBrowser_->setObjectName(QStringLiteral("WebBrowser"));
  host_ = new TWBContainer(webBrowser_);
  host_->SetBorderShown3D(false);
  connect(host_, &TNulWBContainer::documentComplete, this,
          [this] { WebBrowserDocumentComplete(); });

  backBtn_ = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  backBtn_->setObjectName(QStringLiteral("BackBtn"));
  backBtn_->setGeometry(28, kButtonTop, 80, 26);
  connect(backBtn_, &QPushButton::clicked, this, [this] { BackBtnClick(); });
  nextBtn_ = new RoundButton(QStringLiteral("次へ >"), BottomBand());
  nextBtn_->setObjectName(QStringLiteral("NextBtn"));
  nextBtn_->setGeometry(kWidth - 80 - 24, kButtonTop, 80, 26);
  connect(nextBtn_, &QPushButton::clicked, this, [this] { NextBtnClick(); });
  CloseButton()->setObjectName(QStringLiteral("plButton1"));
  connect(CloseButton(), &QPushButton::clicked, this, [this] { CloseBtnClick(); });

  // The proctor's shortcuts. Besides the plain key sequences each takes the characters the
  // shifted key gives on US and Japanese layouts; presses that still slip through (other
  // layouts, the Windows virtual-key code) are caught by the event filter below.
  struct Entry {
    const char16_t* name;
    NotesShortcut shortcut;
    QList<QKeySequence> keys;
  };
  const auto cs = Qt::CTRL | Qt::SHIFT;
  const Entry entries[] = {
      {u"ShortCutSC1",
       NotesShortcut::LinkModeAutoBetweenParts,
       {QKeySequence(cs | Qt::Key_1), QKeySequence(cs | Qt::Key_Exclam)}},
      {u"ShortCutSC2",
       NotesShortcut::LinkModeManual,
       {QKeySequence(cs | Qt::Key_2), QKeySequence(cs | Qt::Key_At),
        QKeySequence(cs | Qt::Key_QuoteDbl)}},
      {u"ShortCutSC0",
       NotesShortcut::LinkModeAutomatic,
       {QKeySequence(cs | Qt::Key_Backslash), QKeySequence(cs | Qt::Key_yen),
        QKeySequence(cs | Qt::Key_Bar)}},
      {u"ShortCutSCT", NotesShortcut::TimeExtension, {QKeySequence(cs | Qt::Key_T)}},
  };
  for (const Entry& e : entries) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromUtf16(e.name));
    action->setShortcuts(e.keys);
    action->setShortcutContext(Qt::WindowShortcut);
    const NotesShortcut which = e.shortcut;
    connect(action, &QAction::triggered, this, [this, which] { RunShortcut(which); });
    addAction(action);
  }
  auto* catcher = new KeyCatcher(
      [this](QObject* watched, QEvent* event) { return CatchShortcutKey(watched, event); }, this);
  catcher->setObjectName(QStringLiteral("KeyCatcher"));
  qApp->installEventFilter(catcher);

  LayOutBrowser();
}

TfrmQZTP0030::~TfrmQZTP0030() {
  // The application-wide filter must go before the screen is half destroyed: deleting the
  // child widgets sends events through it, and it calls back into this screen.
  delete findChild<QObject*>(QStringLiteral("KeyCatcher"), Qt::FindDirectChildrenOnly);
}

QString TfrmQZTP0030::PageFolder() const {
  return ExePath(QStringLiteral("system\\") + PartCode() + QStringLiteral("\\html\\c\\"));
}

QString TfrmQZTP0030::PagePath(int page) const {
  return PageFolder() + QStringLiteral("index") + QString::number(page) + QStringLiteral(".html");
}

void TfrmQZTP0030::LayOutBrowser() {
  const int top = kTitleBandHeight + StepBandHeight();
  webBrowser_->setGeometry(0, top, width(), height() - top - kBottomBandHeight);
}

void TfrmQZTP0030::SetUpScreen() {
  ShowPage();
  SetStepBandCollapsed(FromExamWindow);
  LayOutBrowser();
  // From an exam window the step band stays hidden; the title still names the step.
  ApplyStepIndicator(true);
  ApplyFooter();
}

void TfrmQZTP0030::ShowPage() {
  const QString booklet = ReadSystemIni(CurrentDate().year()).bookletName;
  const QString part = ReadSetupIni(PartCode()).partName;
  setWindowTitle(booklet + u'[' + part + u']');

  const NotesButtons buttons = NotesButtonRule(
      pageNumber_, [this](int n) { return n > 0 && QFileInfo(PagePath(n)).isFile(); },
      FromExamWindow);
  if (buttons.pageExists) host_->Navigate(PagePath(pageNumber_));

  SetButtonState(backBtn_, buttons.BackEnabled());
  backBtn_->SetModalResult(buttons.back == NotesButtons::Back::LeaveBack ? ModalResult::Back : 0);
  SetButtonState(nextBtn_, buttons.NextEnabled());
  nextPageExists_ = buttons.next == NotesButtons::Next::NextPage;
  backBtn_->setVisible(!buttons.hidden);
  nextBtn_->setVisible(!buttons.hidden);
}

void TfrmQZTP0030::BackBtnClick() {
  Log(QStringLiteral("戻る"));
  // With nowhere to go back to, the button's modal result has already closed the screen.
  if (backBtn_->ModalResult() != 0) return;
  --pageNumber_;
  ShowPage();
}

void TfrmQZTP0030::NextBtnClick() {
  Log(QStringLiteral("次へ"));
  if (nextPageExists_) {
    ++pageNumber_;
    ShowPage();
    return;
  }
  if (FromExamWindow) return;  // the button is disabled there; nothing follows the notes
  TfrmQZQZ0030 next(this);
  next.SetPartCode(PartCode());
  next.ExamCategory = ReadSetupIni(PartCode()).examCategory;
  next.KeepOnTop = true;
  next.WizardMode = true;
  ChainTo(next);
}

void TfrmQZTP0030::CloseBtnClick() {
  if (!FromExamWindow && ShowMessageCode(this, nullptr, msg::kConfirmQuit) != ModalResult::Yes)
    return;
  Log(QStringLiteral("終了"));
  done(ModalResult::Cancel);
}

void TfrmQZTP0030::WebBrowserDocumentComplete() {
  FillFolderElement(webBrowser_, QFileInfo(ExeFolder()).fileName());
}

void TfrmQZTP0030::RunShortcut(NotesShortcut shortcut) {
  if (shortcut == NotesShortcut::TimeExtension) {
    (void)RunTimeExtension(this, PartCode());
    return;
  }
  const QString linkMode = LinkModeOf(shortcut);
  if (linkMode.isEmpty()) return;
  TitleLabel()->setStyleSheet(QStringLiteral("color: %1; background: transparent;")
                                  .arg(QColor(TitleColourRule(linkMode)).name()));
  // Not a point of no return: a failed write leaves the old mode, as after the retries.
  (void)WriteLinkMode(linkMode);
}

bool TfrmQZTP0030::CatchShortcutKey(QObject* watched, QEvent* event) {
  // Key presses inside this screen that no shortcut claimed (the browser has the focus most
  // of the time): match them by virtual-key code or by their key code.
  if (event->type() == QEvent::KeyPress && isVisible() && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    auto* key = static_cast<QKeyEvent*>(event);
    const quint32 virtualKey = NativeKeysAreVirtualKeys() ? key->nativeVirtualKey() : 0;
    const NotesShortcut shortcut = NotesShortcutFor(key->key(), key->modifiers(), virtualKey);
    if (shortcut != NotesShortcut::None) {
      RunShortcut(shortcut);
      return true;
    }
  }
  return false;
}

}  // namespace examora
