// The candidate sees: "this part is over; close the browser (and the editor), then press 次へ".
#include "flow/QZTP0180.h"

#include <QLabel>

#include "data/ExamData.h"
#include "flow/model/FolderWindows.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kTp0180Width = 535;
constexpr int kTp0180TextTop = 80;
constexpr int kTp0180Line = 18;

bool Tp0180IsKnowledge(const QString& partCode) {
  return ReadSetupIni(partCode).examCategory == QStringLiteral("1");
}

}  // namespace

TfrmQZTP0180::TfrmQZTP0180(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0180"), .centre = true}) {
  resize(kTp0180Width, 172);
  for (int i = 0; i < int(MesLbl.size()); ++i) {
    MesLbl[i] = TransparentLabel(
        this, QStringLiteral("Mes%1Lbl").arg(i + 1), QString(),
        QRect(24, kTp0180TextTop + i * kTp0180Line, kTp0180Width - 36, kTp0180Line));
    MesLbl[i]->setFont(UiFont(FontFace::MsPGothic, 13));
  }
  OkBtn = new RoundButton(QStringLiteral("次へ >"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry(kTp0180Width - 28 - 80, 13, 80, 26);
  connect(OkBtn, &QAbstractButton::clicked, this, &TfrmQZTP0180::OkBtnClick);
}

void TfrmQZTP0180::SetUpScreen() {
  const bool knowledge = Tp0180IsKnowledge(PartCode());
  const QString title =
      knowledge ? QStringLiteral("知識問題の終了") : QStringLiteral("実技問題の終了");
  const QStringList lines =
      knowledge
          ? QStringList{QStringLiteral("以上で、知識問題は終了です。"),
                        QStringLiteral(
                            "Webブラウザー（Internet Explorer、Chrome、Firefox）を終了し、"),
                        QStringLiteral("[次へ] ボタンをクリックしてください。")}
          : QStringList{
                QStringLiteral("以上で、実技問題は終了です。"),
                QStringLiteral("Webブラウザー（Internet Explorer、Chrome、Firefox）と、テキ"),
                QStringLiteral("ストエディターまたはWebページ作成ソフトを終了し、[次へ]ボタン"),
                QStringLiteral("をクリックしてください。")};
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();
  for (int i = 0; i < int(MesLbl.size()); ++i) {
    MesLbl[i]->setText(i < lines.size() ? lines[i] : QString());
    MesLbl[i]->setVisible(i < lines.size());
  }
  // The design heights were set for the design's fonts; the lines keep their room here.
  const int needed = kTp0180TextTop + int(lines.size()) * kTp0180Line + 8 + 53;
  resize(kTp0180Width, std::max(knowledge ? 155 : 172, needed));
  OkBtn->setFocus();
}

void TfrmQZTP0180::OkBtnClick() {
  CloseFolderWindows(Tp0180IsKnowledge(PartCode()) ? WorkFolder::Knowledge : WorkFolder::Practical);
  done(ModalResult::Ok);
}

}  // namespace examora
