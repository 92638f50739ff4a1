// The candidate sees: "end the operation practice?" of a web-style part, with はい and いいえ.
#include "flow/QZTP0090.h"

#include <QLabel>

#include "data/InstallPaths.h"
#include "flow/PracticeMarker.h"
#include "flow/model/FolderWindows.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kTp0090Width = 404;
constexpr int kTp0090Height = 251;
constexpr int kTp0090TextLeft = 28;
constexpr int kTp0090Line = 18;

QLabel* Tp0090Line(QWidget* parent, const char* name, int top) {
  QLabel* label = TransparentLabel(
      parent, QLatin1String(name), QString(),
      QRect(kTp0090TextLeft, top, kTp0090Width - 2 * kTp0090TextLeft + 8, kTp0090Line));
  label->setFont(UiFont(FontFace::MsGothic, 13, true));
  return label;
}

bool IsKnowledgeCategory(const QString& category) {
  return category == QStringLiteral("1");
}

}  // namespace

TfrmQZTP0090::TfrmQZTP0090(QWidget* owner)
    : ScreenFrame(
          owner,
          {.formCode = QStringLiteral("QZTP0090"), .logsStart = false, .titleColour = true}) {
  resize(kTp0090Width, kTp0090Height);
  RensyuPnl = AddPracticeMarker(*this);
  RensyuPnl->show();

  // The question, a gap, then the two notes of two lines each.
  MesLbl1 = Tp0090Line(this, "MesLbl1", 86);
  Tyui1Lbl = Tp0090Line(this, "Tyui1Lbl", 120);
  Tyui2Lbl = Tp0090Line(this, "Tyui2Lbl", 120 + kTp0090Line);
  Tyui3Lbl = Tp0090Line(this, "Tyui3Lbl", 120 + 2 * kTp0090Line + 6);
  Tyui4Lbl = Tp0090Line(this, "Tyui4Lbl", 120 + 3 * kTp0090Line + 6);

  CancelBtn = new RoundButton(QStringLiteral("いいえ"), BottomBand());
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(kTp0090Width - 28 - 80 - 10 - 80, 13, 80, 26);
  CancelBtn->SetModalResult(ModalResult::Cancel);

  OKBtn = new RoundButton(QStringLiteral("はい"), BottomBand());
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(kTp0090Width - 28 - 80, 13, 80, 26);
  connect(OKBtn, &QAbstractButton::clicked, this, &TfrmQZTP0090::OKBtnClick);
}

void TfrmQZTP0090::SetUpScreen() {
  const bool knowledge = IsKnowledgeCategory(ExamCategory);
  const QString subject = knowledge ? QStringLiteral("知識問題") : QStringLiteral("実技問題");
  const QString title = subject + QStringLiteral("操作練習終了");
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();
  PlacePracticeMarker(RensyuPnl, TitleLabel());
  MesLbl1->setText(subject + QStringLiteral("操作練習を終了します。よろしいですか？"));
  Tyui1Lbl->setText(QStringLiteral("※ここで設定した各ウィンドウのレイアウトが、"));
  Tyui2Lbl->setText(subject + QStringLiteral("開始時に適用されます。"));
  Tyui3Lbl->setText(QStringLiteral("※") + subject +
                    QStringLiteral("開始後も、各ウィンドウの位置や"));
  Tyui4Lbl->setText(QStringLiteral("サイズの変更は可能です。"));
}

void TfrmQZTP0090::OKBtnClick() {
  CloseFolderWindows(IsKnowledgeCategory(ExamCategory) ? WorkFolder::KnowledgePractice
                                                       : WorkFolder::PracticalPractice);
  done(ModalResult::Ok);
}

}  // namespace examora
