// The candidate sees: "try the links and the buttons of the exam window", ending the practice
// in a knowledge part.
#include "flow/QZTP0160.h"

#include "data/ExamData.h"
#include "flow/QZTP0120.h"
#include "widgets/RoundButton.h"

namespace examora {

TfrmQZTP0160::TfrmQZTP0160(QWidget* owner, TfrmQZTP0120* controller)
    : PracticeStep(owner, QStringLiteral("QZTP0160"), controller) {
  // The log calls going back the end of the practice; kept as the operators know it.
  AddBackButton(QStringLiteral("操作練習終了"));
}

void TfrmQZTP0160::SetUpScreen() {
  const QStringList common{
      QStringLiteral("以下のリンクやボタンをクリックして動作を確認してください。"),
      QStringLiteral("・Webブラウザー（Internet Explorer、Chrome、Firefoxのいずれか）"),
      QStringLiteral("　に表示された問題のリンク")};
  if (ReadSetupIni(PartCode()).examCategory == QStringLiteral("1")) {
    OkBtn->setText(QStringLiteral("操作練習終了"));
    OkBtn->resize(123, 26);
    MakePracticeEndButton(OkBtn);
    LayOut(
        QStringLiteral("知識問題操作練習"),
        common +
            QStringList{
                QStringLiteral("・知識解答ウィンドウの[注意事項]ボタン、[試験終了]ボタン、解答欄"),
                QStringLiteral("　のラジオボタン"),
                QStringLiteral("操作の確認後、[操作練習終了]ボタンをクリックしてください。")},
        561, 214);
  } else {
    OkBtn->setText(QStringLiteral("次へ >"));
    OkBtn->resize(80, 26);
    OkBtn->SetColours(RoundButton::EnabledTop(), RoundButton::EnabledBottom());
    LayOut(
        QStringLiteral("実技問題操作練習"),
        common +
            QStringList{QStringLiteral(
                            "・実技受験プログラムウィンドウの[注意事項]ボタン、[最小化]ボタン、"),
                        QStringLiteral("　[試験終了]ボタン"),
                        QStringLiteral("操作の確認後、[次へ]ボタンをクリックしてください。")},
        561, 214);
    OkBtn->move(453, OkBtn->y());
    BackBtn->move(453 - 10 - 80, BackBtn->y());
  }
  OkBtn->setFocus();
}

void TfrmQZTP0160::OkBtnClick() {
  Log(QStringLiteral("次へ"));
  if (ReadSetupIni(PartCode()).examCategory == QStringLiteral("1")) {
    Controller()->EndPractice();
  } else {
    Controller()->ShowStep0170(this);
  }
}

}  // namespace examora
