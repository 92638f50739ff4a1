// The candidate sees: the office application check, "start the application of the right version,
// then press ＯＫ".
#include "completion/QZTP0050.h"

#include <QLabel>

#include "common/MessageCode.h"
#include "common/QZMessage.h"
#include "platform/TopLevelWindows.h"
#include "widgets/Fonts.h"
#include "widgets/Logo.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kWidth = 545;
constexpr int kHeight = 264;
constexpr int kTitleBandHeight = 70;
constexpr int kCheckIntervalMs = 100;

}  // namespace

TfrmQZTP0050::TfrmQZTP0050(QWidget* owner)
    : ScreenFrame(owner,
                  {.formCode = QStringLiteral("QZTP0050"), .logsStart = false, .centre = true}) {
  resize(kWidth, kHeight);

  LogoImg = new QLabel(TitleBand());
  LogoImg->setObjectName(QStringLiteral("LogoImg"));
  LogoImg->setGeometry(12, 10, 200, 50);
  LogoImg->setPixmap(LogoPixmap(LogoImg->size()));
  // The logo drags the window like the band under it.
  LogoImg->setAttribute(Qt::WA_TransparentForMouseEvents);

  EndBtn = new RoundButton(QStringLiteral("終了する"), TitleBand());
  EndBtn->setObjectName(QStringLiteral("EndBtn"));
  EndBtn->SetColours(RoundButton::GreyTop(), RoundButton::GreyBottom());
  EndBtn->setGeometry(kWidth - 20 - 90, 22, 90, 26);
  connect(EndBtn, &QPushButton::clicked, this, &TfrmQZTP0050::EndBtnClick);

  MesLbl = new QLabel(this);
  MesLbl->setObjectName(QStringLiteral("MesLbl"));
  MesLbl->setFont(UiFont(FontFace::MsPGothic, 15));
  MesLbl->setWordWrap(true);
  MesLbl->setGeometry(30, kTitleBandHeight + 40, kWidth - 60, 60);
  MesLbl->setText(QStringLiteral(
      "該当するバージョンのアプリケーションソフトを起動し、「ＯＫ」をクリックしてください。"));
  MesLbl->setStyleSheet(QStringLiteral("background: transparent;"));

  OkBtn = new RoundButton(QStringLiteral("ＯＫ"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry((kWidth - 80) / 2, 13, 80, 26);
  connect(OkBtn, &QPushButton::clicked, this, &TfrmQZTP0050::OkBtnClick);

  CheckTimer.setObjectName(QStringLiteral("CheckTimer"));
  CheckTimer.setInterval(kCheckIntervalMs);
  connect(&CheckTimer, &QTimer::timeout, this, &TfrmQZTP0050::CheckTimerTimer);
  connect(this, &QDialog::finished, &CheckTimer, &QTimer::stop);
}

void TfrmQZTP0050::SetUpScreen() {
  TitleLabel()->clear();
}

void TfrmQZTP0050::OkBtnClick() {
  CheckTimer.start();
}

void TfrmQZTP0050::CheckTimerTimer() {
  CheckTimer.stop();
  const OfficeCheckOutcome outcome =
      CheckOfficeApplication(OfficeSettings::Read(), *Environment,
                             [this](const QString& logEvent, const QString& message) {
                               if (!logEvent.isEmpty()) Log(logEvent);
                               if (!message.isEmpty()) ShowMessageCode(this, nullptr, message);
                             });
  switch (outcome) {
    case OfficeCheckOutcome::Passed:
      done(ModalResult::Ok);
      break;
    case OfficeCheckOutcome::Unreachable:
      // The application's window came to the front; this one goes back on top of it, and the
      // check repeats until the application answers.
      ForceForeground(NativeWindowId(this));
      CheckTimer.start();
      break;
    default:
      break;  // the candidate fixes what the message said and presses ＯＫ again
  }
}

void TfrmQZTP0050::EndBtnClick() {
  if (ShowMessageCode(this, nullptr, msg::kConfirmQuit) == static_cast<int>(MessageButton::Yes)) {
    done(ModalResult::Cancel);
  }
}

}  // namespace examora
