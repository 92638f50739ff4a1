#include "flow/PracticeStep.h"

#include <QLabel>

#include "flow/PracticeMarker.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kStepTextTop = 80;
constexpr int kStepTextLine = 18;
constexpr int kStepBottomBand = 53;

}  // namespace

PracticeStep::PracticeStep(QWidget* owner, const QString& formCode, TfrmQZTP0120* controller)
    : ScreenFrame(owner, {.formCode = formCode, .centre = true}), controller_(controller) {
  RensyuPnl = AddPracticeMarker(*this);
  RensyuPnl->show();
  OkBtn = new RoundButton(QStringLiteral("次へ >"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  connect(OkBtn, &QAbstractButton::clicked, this, [this] { OkBtnClick(); });
}

void PracticeStep::LayOut(const QString& title, const QStringList& lines, int width, int height) {
  // The design heights were set for the design's fonts; where the lines need more room here,
  // the dialog grows rather than letting the buttons cover the last line.
  const int needed = kStepTextTop + int(lines.size()) * kStepTextLine + 8 + kStepBottomBand;
  resize(width, std::max(height, needed));
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();
  PlacePracticeMarker(RensyuPnl, TitleLabel());
  while (MesLbl.size() < lines.size()) {
    QLabel* label = TransparentLabel(this, QStringLiteral("Mes%1Lbl").arg(MesLbl.size() + 1));
    label->setFont(UiFont(FontFace::MsPGothic, 13));
    MesLbl.append(label);
  }
  for (qsizetype i = 0; i < MesLbl.size(); ++i) {
    MesLbl[i]->setText(i < lines.size() ? lines[i] : QString());
    MesLbl[i]->setGeometry(24, kStepTextTop + int(i) * kStepTextLine, width - 36, kStepTextLine);
    MesLbl[i]->setVisible(i < lines.size());
  }
  OkBtn->setGeometry(width - 28 - OkBtn->width(), 13, OkBtn->width(), 26);
  if (BackBtn) BackBtn->setGeometry(OkBtn->x() - 10 - 80, 13, 80, 26);
}

void PracticeStep::AddBackButton(const QString& logEvent) {
  backLog_ = logEvent;
  BackBtn = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  BackBtn->setObjectName(QStringLiteral("BackBtn"));
  connect(BackBtn, &QAbstractButton::clicked, this, [this] {
    Log(backLog_);
    GoBack();
  });
}

void PracticeStep::GoBack() {
  hide();
  if (QWidget* owner = parentWidget()) owner->show();
}

void MakePracticeEndButton(RoundButton* button) {
  button->SetColours(QColor(0xFF, 0x8C, 0x90), QColor(0xFF, 0x00, 0x00));
}

}  // namespace examora
