// The candidate sees: "arrange the browser (and editor) and the exam window as the recommended
// layout shows, then press 次へ".
#include "flow/QZTP0140.h"

#include "data/ExamData.h"
#include "flow/QZTP0120.h"
#include "widgets/RoundButton.h"

namespace examora {

TfrmQZTP0140::TfrmQZTP0140(QWidget* owner, TfrmQZTP0120* controller)
    : PracticeStep(owner, QStringLiteral("QZTP0140"), controller) {
  AddBackButton(QStringLiteral("戻る"));
}

void TfrmQZTP0140::SetUpScreen() {
  const QString title = QStringLiteral("ウィンドウの配置");
  if (ReadSetupIni(PartCode()).examCategory == QStringLiteral("1")) {
    LayOut(title,
           {QStringLiteral("以下のウィンドウのサイズや表示位置を、推奨画面レイアウト（知識解答"),
            QStringLiteral("ウィンドウの[注意事項]ボタンをクリック）を参考に調整してください。"),
            QStringLiteral("・Webブラウザー（Internet Explorer、Chrome、Firefoxのいずれか）"),
            QStringLiteral("・知識解答ウィンドウ"),
            QStringLiteral("調整後、[次へ]ボタンをクリックしてください。")},
           560, 200);
  } else {
    LayOut(title,
           {QStringLiteral("以下のウィンドウのウィンドウサイズや表示位置を、推奨画面レイアウト"),
            QStringLiteral("（実技受験プログラムウィンドウの[注意事項]ボタンをクリック）を参考"),
            QStringLiteral("に調整してください。"),
            QStringLiteral("・Webブラウザー（Internet Explorer、Chrome、Firefox）"),
            QStringLiteral("・テキストエディターまたはWebページ作成ソフト"),
            QStringLiteral("・実技受験プログラムウィンドウ"),
            QStringLiteral("調整後、[次へ]ボタンをクリックしてください。")},
           560, 232);
  }
  OkBtn->setFocus();
}

void TfrmQZTP0140::OkBtnClick() {
  Log(QStringLiteral("次へ"));
  Controller()->ShowStep0160(this);
}

}  // namespace examora
