#include "flow/QZTP0220.h"

#include <QAction>
#include <QLabel>

#include "data/ExamData.h"
#include "flow/TimeExtension.h"
#include "flow/model/StartScreenRules.h"
#include "widgets/Fonts.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kWidth = 408;
constexpr int kHeight = 174;

// Shows the notice again however the extension sequence ends.
class ShowAgainGuard {
 public:
  explicit ShowAgainGuard(QWidget* window) : window_(window) { window_->hide(); }
  ~ShowAgainGuard() { window_->show(); }
  ShowAgainGuard(const ShowAgainGuard&) = delete;
  ShowAgainGuard& operator=(const ShowAgainGuard&) = delete;

 private:
  QWidget* window_;
};

}  // namespace

TfrmQZTP0220::TfrmQZTP0220(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0220"), .centre = true}) {
  resize(kWidth, kHeight);

  MesLbl = new QLabel(this);
  MesLbl->setObjectName(QStringLiteral("MesLbl"));
  MesLbl->setGeometry(28, 88, kWidth - 40, 18);
  MesLbl->setFont(UiFont(FontFace::MsGothic, 13, true));
  MesLbl->setStyleSheet(QStringLiteral("background: transparent;"));

  OkBtn = new RoundButton(QStringLiteral("OK"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry(kWidth - 28 - 80, 13, 80, 26);
  OkBtn->SetModalResult(ModalResult::Ok);

  ShortCutSCT = new QAction(this);
  ShortCutSCT->setObjectName(QStringLiteral("ShortCutSCT"));
  ShortCutSCT->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  ShortCutSCT->setShortcutContext(Qt::WindowShortcut);
  addAction(ShortCutSCT);
  connect(ShortCutSCT, &QAction::triggered, this, &TfrmQZTP0220::ShortCutSCTExecute);
}

void TfrmQZTP0220::SetUpScreen() {
  const TimeOverTexts texts = TimeOverTextsFor(ReadSetupIni(PartCode()).examCategory);
  setWindowTitle(texts.title);
  TitleLabel()->setText(texts.title);
  TitleLabel()->adjustSize();
  MesLbl->setText(texts.message);
}

void TfrmQZTP0220::ShortCutSCTExecute() {
  ExtensionOutcome outcome;
  {
    ShowAgainGuard guard(this);
    outcome = RunTimeExtension(this, PartCode());
  }
  if (!outcome.Changed()) return;
  // An extension lets the part go on; removing it (0) leaves the part ended by time-over.
  // A failed write is retried inside WriteIni; after that the notice simply comes back at
  // the next start.
  if (outcome.newMinutes != 0) (void)WriteNormalEnd(PartCode(), QString());
  done(ModalResult::Cancel);
}

}  // namespace examora
