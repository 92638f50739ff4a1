// The candidate sees: "tick every confirmation box, then press the button again", with 閉じる.
#include "flow/QZTP0190.h"

#include <QLabel>

#include "widgets/Fonts.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kWidth = 455;
constexpr int kHeight = 157;
constexpr int kTitleBandHeight = 70;
// A low button band leaves the three lines their 16 px each in the small window.
constexpr int kBottomBandHeight = 39;

QLabel* MakeLine(QWidget* parent, const char* name, int top, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(UiFont(FontFace::MsPGothic, 15));
  label->setGeometry(24, top, kWidth - 40, 16);
  label->setStyleSheet(QStringLiteral("background: transparent;"));
  return label;
}

}  // namespace

TfrmQZTP0190::TfrmQZTP0190(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0190"),
                          .centre = true,
                          .bottomBandHeight = kBottomBandHeight}) {
  resize(kWidth, kHeight);
  const QString title = QStringLiteral("確認用のチェックボックスについて");
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();

  // The sentence is split where the design splits it.
  Mes1Lbl = MakeLine(this, "Mes1Lbl", kTitleBandHeight,
                     QStringLiteral("確認用のチェックボックスすべてにチェックを入れた後、"));
  Mes2Lbl = MakeLine(this, "Mes2Lbl", kTitleBandHeight + 16,
                     QStringLiteral("再度[提出用ファイル作成]ボタンをクリックしてくださ"));
  Mes3Lbl = MakeLine(this, "Mes3Lbl", kTitleBandHeight + 32, QStringLiteral("い。"));

  OkBtn = new RoundButton(QStringLiteral("閉じる"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry((kWidth - 80) / 2, (kBottomBandHeight - 26) / 2, 80, 26);
  OkBtn->SetModalResult(ModalResult::Ok);
}

}  // namespace examora
