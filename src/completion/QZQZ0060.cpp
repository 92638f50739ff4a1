// The candidate sees: "end the exam?" with the note that the office application will be closed.
#include "completion/QZQZ0060.h"

#include <QLabel>
#include <QShowEvent>

#include "widgets/Fonts.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kWidth = 473;
constexpr int kHeight = 178;
constexpr int kTitleBandHeight = 70;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 26;

QLabel* MakeLine(QWidget* parent, const char* name, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(UiFont(FontFace::MsPGothic, 15));
  label->setGeometry(30, top, kWidth - 60, 17);
  label->setStyleSheet(QStringLiteral("background: transparent;"));
  return label;
}

}  // namespace

TfrmQZQZ0060::TfrmQZQZ0060(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZQZ0060"),
                          .topMost = TopMost::Self,
                          .centre = true,
                          .titleColour = true}) {
  resize(kWidth, kHeight);
  const QString title = QStringLiteral("試験終了の確認");
  setWindowTitle(title);
  TitleLabel()->setFont(UiFont(FontFace::MsPGothic, 17, true));
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();

  Label1 = MakeLine(this, "Label1", kTitleBandHeight + 1);
  Label1->setText(QStringLiteral("試験を終了してよろしいですか。"));
  Label2 = MakeLine(this, "Label2", kTitleBandHeight + 18);
  Label3 = MakeLine(this, "Label3", kTitleBandHeight + 35);
  Label3->setText(QStringLiteral("が終了します。"));

  OKBtn = new RoundButton(QStringLiteral("はい"), BottomBand());
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(30, 13, kButtonWidth, kButtonHeight);
  connect(OKBtn, &QPushButton::clicked, this, &TfrmQZQZ0060::OKBtnClick);
  CancelBtn = new RoundButton(QStringLiteral("いいえ"), BottomBand());
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(kWidth - 30 - kButtonWidth, 13, kButtonWidth, kButtonHeight);
  CancelBtn->SetModalResult(ModalResult::Cancel);
}

void TfrmQZQZ0060::SetUpScreen() {
  if (KeepOnTop) SetTopMost(ApplicationMainWindow(), true);
  Label2->setText(QStringLiteral("[はい]ボタンをクリックすると、") +
                  OfficeDisplayName(OfficeSettings::Read().app) +
                  QStringLiteral("が自動終了し、実技試験"));
}

void TfrmQZQZ0060::showEvent(QShowEvent* event) {
  ScreenFrame::showEvent(event);
  if (!event->spontaneous()) Log(QStringLiteral("初期表示完了"));
}

void TfrmQZQZ0060::OKBtnClick() {
  // The end goes ahead also when the application stays: the candidate's files are what they
  // saved, and an application that will not quit must not hold the exam open.
  (void)ShutDownOfficeApplication(OfficeSettings::Read(), *Environment);
  done(ModalResult::Ok);
}

}  // namespace examora
