// The candidate sees: what the exam's end button does, shown when it is pressed in a practice.
#include "flow/QZTP0150.h"

#include <QLabel>

#include "flow/PracticeMarker.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kTp0150Width = 365;
constexpr int kTp0150Height = 152;
constexpr int kTp0150TitleBand = 70;
// A low button band leaves the three lines their room in the small window.
constexpr int kTp0150BottomBand = 34;
constexpr int kTp0150Line = 16;

QLabel* Tp0150Line(QWidget* parent, const char* name, int row, const QString& text) {
  QLabel* label = TransparentLabel(
      parent, QLatin1String(name), text,
      QRect(24, kTp0150TitleBand + row * kTp0150Line, kTp0150Width - 40, kTp0150Line));
  label->setFont(UiFont(FontFace::MsPGothic, 15));
  return label;
}

}  // namespace

TfrmQZTP0150::TfrmQZTP0150(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0150"),
                          .centre = true,
                          .bottomBandHeight = kTp0150BottomBand}) {
  resize(kTp0150Width, kTp0150Height);
  const QString title = QStringLiteral("[試験終了] ボタンについて");
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();
  RensyuPnl = AddPracticeMarker(*this);
  PlacePracticeMarker(RensyuPnl, TitleLabel());
  RensyuPnl->show();

  Mes1Lbl =
      Tp0150Line(this, "Mes1Lbl", 0, QStringLiteral("[試験終了]ボタンをクリックすると、終了"));
  Mes2Lbl =
      Tp0150Line(this, "Mes2Lbl", 1, QStringLiteral("確認を行う[解答状況の確認]ウィンドウが"));
  Mes3Lbl = Tp0150Line(this, "Mes3Lbl", 2, QStringLiteral("表示されます。"));

  OkBtn = new RoundButton(QStringLiteral("閉じる"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry((kTp0150Width - 80) / 2, (kTp0150BottomBand - 26) / 2, 80, 26);
  OkBtn->SetModalResult(ModalResult::Ok);
}

}  // namespace examora
