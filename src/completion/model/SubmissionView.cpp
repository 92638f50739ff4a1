#include "completion/model/SubmissionView.h"

namespace examora {
namespace {

// Labels one under the other, `step` pixels apart from `top`, each {number, left, red, text}.
struct Row {
  int left;
  bool red;
  const char16_t* text;
};

QList<SubmissionLabel> Stacked(const QList<Row>& rows, int top, int step) {
  QList<SubmissionLabel> labels;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    labels.append({static_cast<int>(i) + 1, rows[i].left, top + static_cast<int>(i) * step,
                   rows[i].red, QString::fromUtf16(rows[i].text)});
  }
  return labels;
}

}  // namespace

SubmissionViewLayout LayoutOf(SubmissionVariant variant) {
  SubmissionViewLayout layout;
  switch (variant) {
    case SubmissionVariant::A:
      layout.width = 464;
      layout.height = 422;
      layout.title = QStringLiteral("解答状況の確認");
      layout.listTop = 180;
      layout.listHeight = 0;
      layout.bold = true;
      layout.checkBoxes = true;
      layout.labels = {
          {1, 13, 0, false,
           QStringLiteral("実技問題の解答状況は以下の通りです。実技問題を終了してよろしい")},
          {2, 13, 16, false, QStringLiteral("ですか。")},
          {3, 13, 32, false,
           QStringLiteral("実技問題を終了する場合は、以下の確認を行い、すべてのチェックボ")},
          {4, 13, 48, false,
           QStringLiteral("ックスにチェックを入れた後、[はい]ボタンをクリックしてください。")},
          {6, 13, 132, true,
           QStringLiteral("※実技問題は以下に表示されているファイルを採点いたします。")},
          {7, 13, 148, true,
           QStringLiteral("（ここに表示されていないファイルは採点の対象とはなりません。）")},
      };
      break;
    case SubmissionVariant::B: {
      layout.width = 514;
      layout.height = 370;
      layout.listTop = 117;
      layout.listHeight = 149;
      layout.gothic9pt = false;
      layout.labels = {
          {1, 13, 3, false,
           QStringLiteral("解答状況は以下の通りです。試験を終了してよろしいですか。")},
          {2, 13, 22, false,
           QStringLiteral("※作成・編集したファイルをすべて保存して閉じ、提出する")},
          {3, 31, 41, false,
           QStringLiteral("ファイル名と（更新日時）が表示されていることを確認してから")},
          {4, 31, 60, false, QStringLiteral("[はい]をクリックしてください。")},
          {5, 13, 79, true,
           QStringLiteral("※実技問題は以下に表示されているファイルを採点いたします。")},
          {6, 20, 98, true,
           QStringLiteral("（ここに表示されていないファイルは採点の対象とはなりません。）")},
      };
      break;
    }
    case SubmissionVariant::C:
      layout.title = QStringLiteral("試験時間経過による試験終了");
      layout.listTop = 192;
      layout.listHeight = 123;
      layout.labels = Stacked(
          {
              {15, false, u"制限時間となりましたので、試験を終了します。"},
              {15, false, u"解答状況は以下の通りです。"},
              {15, false,
               u"解答状況が正しいことを確認後、[試験終了]ボタンをクリックしてください。"},
              {15, false,
               u"※以下に表示されているファイル名の右に（更新日時）が表示されているファイルが採点"},
              {28, false, u"されます。開いているファイルは保存して閉じてください。"},
              {15, true,
               u"※以下にファイルが表示されていない場合、および、ファイル名の右に（ファイルを保存"},
              {28, true,
               u"して閉じてください）と表示されている場合は、「実技用」フォルダーに正しくファイ"},
              {28, true,
               u"ルが保存されていません。①、②の操作を行い、作成したファイルが以下に表示されて"},
              {28, true, u"いることを確認してください。"},
              {28, true, u"①作成したファイルを「実技用」フォルダーへ保存し、ファイルを閉じる。"},
              {28, true, u"②[表示の更新]ボタンをクリックする。"},
          },
          0, 16);
      layout.labels.append(
          {12, 15, 178, false,
           QStringLiteral("■「実技用」フォルダーに保存したファイル（採点対象ファイル）")});
      break;
    case SubmissionVariant::D:
      layout.listTop = 176;
      layout.listHeight = 139;
      layout.labels = Stacked(
          {
              {15, false, u"解答状況は以下の通りでよろしいですか。"},
              {15, false,
               u"※以下に表示されているファイル名の右に（更新日時）が表示されているファイルが採点"},
              {28, false, u"されます。開いているファイルは保存して閉じてください。"},
              {15, true,
               u"※以下にファイルが表示されていない場合、および、ファイル名の右に（ファイルを保存"},
              {28, true,
               u"して閉じてください）と表示されている場合は、「実技用」フォルダーに正しくファイ"},
              {28, true,
               u"ルが保存されていません。①～③の操作を行い、作成したファイルが以下に表示されて"},
              {28, true, u"いることを確認してください。"},
              {28, true, u"①［いいえ］ボタンをクリックする。"},
              {28, true, u"②作成したファイルを「実技用」フォルダーへ保存し、ファイルを閉じる。"},
              {28, true, u"③［試験終了］ボタンを再度クリックする。"},
          },
          0, 16);
      layout.labels.append(
          {11, 15, 162, false,
           QStringLiteral("■「実技用」フォルダーに保存したファイル（採点対象ファイル）")});
      break;
  }
  return layout;
}

}  // namespace examora
