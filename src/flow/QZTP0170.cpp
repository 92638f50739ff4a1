// The candidate sees: "close the reference and the finished sample in the browser, then end the
// practice" (practical parts only).
#include "flow/QZTP0170.h"

#include "flow/QZTP0120.h"
#include "widgets/RoundButton.h"

namespace examora {

TfrmQZTP0170::TfrmQZTP0170(QWidget* owner, TfrmQZTP0120* controller)
    : PracticeStep(owner, QStringLiteral("QZTP0170"), controller) {
  AddBackButton(QStringLiteral("戻る"));
  OkBtn->setText(QStringLiteral("操作練習終了"));
  OkBtn->resize(123, 26);
  MakePracticeEndButton(OkBtn);
}

void TfrmQZTP0170::SetUpScreen() {
  LayOut(QStringLiteral("参照ページの終了"),
         {QStringLiteral("受験者用リファレンス、仕上り見本をWebブラウザー上で表示し"),
          QStringLiteral("ている場合は閉じてください。"),
          QStringLiteral("Webブラウザー上に実技問題操作練習のみ表示されていることを"),
          QStringLiteral("確認し、[操作練習終了]ボタンをクリックしてください。")},
         520, 196);
  OkBtn->setFocus();
}

void TfrmQZTP0170::OkBtnClick() {
  Log(QStringLiteral("練習終了"));
  Controller()->EndPractice();
}

}  // namespace examora
