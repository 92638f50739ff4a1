#include "flow/QZQZ0050.h"

#include <QLabel>

#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kWidth = 429;
constexpr int kHeight = 273;
constexpr int kTextLeft = 28;
constexpr int kLineHeight = 18;

QLabel* MessageLine(QWidget* parent, const char* name, const QString& text, int top) {
  QLabel* label = TransparentLabel(parent, QString::fromLatin1(name), text,
                                   QRect(kTextLeft, top, kWidth - 2 * kTextLeft, kLineHeight));
  label->setFont(UiFont(FontFace::MsGothic, 13, true));
  return label;
}

}  // namespace

// Nothing here is logged: the exam window logs the practice end itself.
TfrmQZQZ0050::TfrmQZQZ0050(QWidget* owner)
    : ScreenFrame(
          owner,
          {.formCode = QStringLiteral("QZQZ0050"), .logsStart = false, .titleColour = true}) {
  resize(kWidth, kHeight);
  const QString title = QStringLiteral("操作練習終了");
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();

  // The question, a blank line's gap, then the two notes as they were laid out by hand.
  MesLbl1 =
      MessageLine(this, "MesLbl1", QStringLiteral("操作練習を終了します。　よろしいですか？"), 86);
  Tyui1Lbl =
      MessageLine(this, "Tyui1Lbl", QStringLiteral("※ここで設定した問題表示ウィンドウの"), 120);
  Tyui2Lbl = MessageLine(this, "Tyui2Lbl", QStringLiteral("レイアウトが、本試験開始時に適用さ"),
                         120 + kLineHeight);
  Tyui3Lbl = MessageLine(this, "Tyui3Lbl", QStringLiteral("れます。"), 120 + 2 * kLineHeight);
  Tyui4Lbl = MessageLine(this, "Tyui4Lbl", QStringLiteral("※本試験開始後も、ウィンドウの位置や"),
                         120 + 3 * kLineHeight + 6);
  Tyui5Lbl = MessageLine(this, "Tyui5Lbl", QStringLiteral("大きさの変更は可能です。"),
                         120 + 4 * kLineHeight + 6);

  CancelBtn = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(kWidth - 28 - 80 - 10 - 80, 13, 80, 26);
  CancelBtn->SetModalResult(ModalResult::Cancel);

  OKBtn = new RoundButton(QStringLiteral("はい >"), BottomBand());
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(kWidth - 28 - 80, 13, 80, 26);
  OKBtn->SetModalResult(ModalResult::Ok);
}

}  // namespace examora
