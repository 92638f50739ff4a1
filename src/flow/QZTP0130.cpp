// The candidate sees: "drag start.html (or the practice page) from this folder into the browser".
#include "flow/QZTP0130.h"

#include <QCoreApplication>
#include <QLabel>

#include "common/ExeFolder.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "flow/PracticeMarker.h"
#include "flow/model/PracticeRules.h"
#include "platform/TopLevelWindows.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kTp0130TextTop = 76;
constexpr int kTp0130TextLine = 16;
constexpr int kTp0130FolderLine = 18;
constexpr int kTp0130BottomBand = 53;

struct Tp0130Variant {
  QString title;  // empty: the design title
  QStringList lines;
  WorkFolder folder;
  int firstLimit;
  int furtherLimit;
  int folderTop;  // top of the first folder line
  int baseHeight;
  int width;
};

Tp0130Variant Tp0130VariantFor(bool knowledge, bool practice) {
  if (practice && !knowledge) {
    return {QStringLiteral("「start_rensyu.html」ファイルの表示"),
            {QStringLiteral("画面に表示されている「実技操作練習用」フォルダー内"),
             QStringLiteral("にある「start_rensyu.html」ファイルをWebブラウザー"),
             QStringLiteral("（Internet Explorer、Chrome、Firefoxのいずれか）"),
             QStringLiteral("上へドラッグしてください。"),
             QStringLiteral("実技問題操作練習が表示されますので、表示の確認後、"),
             QStringLiteral("[次へ]ボタンをクリックしてください。")},
            WorkFolder::PracticalPractice,
            49,
            47,
            113,
            237,
            470};
  }
  if (practice) {
    return {
        QStringLiteral("「start_rensyu.html」ファイルの表示"),
        {QStringLiteral("画面に表示されている「知識操作練習用」フォルダー"),
         QStringLiteral("内にある「start_rensyu.html」ファイルをWebブラ"),
         QStringLiteral("ウザー（Internet Explorer、Chrome、FireFoxのい"),
         QStringLiteral("ずれか）上へドラッグしてください。知識問題操作"),
         QStringLiteral("練習が表示されます。"),
         QStringLiteral("表示を確認後、[次へ]ボタンをクリックしてくださ"), QStringLiteral("い。")},
        WorkFolder::KnowledgePractice,
        47,
        45,
        117,
        234,
        440};
  }
  const QString subject = knowledge ? QStringLiteral("知識") : QStringLiteral("実技");
  const QString seeing =
      knowledge ? QStringLiteral("表示を確認後") : QStringLiteral("表示の確認後");
  return {QString(),
          {QStringLiteral("画面に表示されている「") + subject +
               QStringLiteral("用」フォルダー内にある"),
           QStringLiteral("「start.html」ファイルをWebブラウザー（Internet Explorer、"),
           QStringLiteral("Chrome、Firefoxのいずれか）上へドラッグしてください。"),
           subject + QStringLiteral("問題が表示されますので、") + seeing +
               QStringLiteral("、[閉じる]ボタンを"),
           QStringLiteral("クリックして、") + subject + QStringLiteral("問題を解答してください。")},
          knowledge ? WorkFolder::Knowledge : WorkFolder::Practical,
          56,
          54,
          95,
          239,
          515};
}

}  // namespace

TfrmQZTP0130::TfrmQZTP0130(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0130")}) {
  const QString designTitle = QStringLiteral("「start.html」ファイルの表示");
  setWindowTitle(designTitle);
  TitleLabel()->setText(designTitle);
  RensyuPnl = AddPracticeMarker(*this);
  for (int i = 0; i < int(MesLbl.size()); ++i) {
    MesLbl[i] = TransparentLabel(this, QStringLiteral("Mes%1Lbl").arg(i + 1));
    MesLbl[i]->setFont(UiFont(FontFace::MsPGothic, 13));
  }
  for (int i = 0; i < int(FolderLbl.size()); ++i) {
    FolderLbl[i] = ColouredLabel(this, QStringLiteral("Folder%1Lbl").arg(i + 1), QString(),
                                 UiFont(FontFace::MsGothic, 13, true), Qt::red);
  }
  BackBtn = new RoundButton(QStringLiteral("< 戻る"), BottomBand());
  BackBtn->setObjectName(QStringLiteral("BackBtn"));
  connect(BackBtn, &QAbstractButton::clicked, this, &TfrmQZTP0130::OnBackClick);
  OkBtn = new RoundButton(QStringLiteral("次へ >"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  connect(OkBtn, &QAbstractButton::clicked, this, &TfrmQZTP0130::OkBtnClick);
}

void TfrmQZTP0130::SetUpScreen() {
  examCategory_ = ReadSetupIni(PartCode()).examCategory;
  const bool knowledge = examCategory_ == QStringLiteral("1");
  const Tp0130Variant variant = Tp0130VariantFor(knowledge, PracticeMode);

  const QString title =
      variant.title.isEmpty() ? QStringLiteral("「start.html」ファイルの表示") : variant.title;
  setWindowTitle(title);
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();
  PlacePracticeMarker(RensyuPnl, TitleLabel());
  RensyuPnl->setVisible(PracticeMode);

  const int width = variant.width;
  for (int i = 0; i < int(MesLbl.size()); ++i) {
    const bool used = i < variant.lines.size();
    MesLbl[i]->setText(used ? variant.lines[i] : QString());
    MesLbl[i]->setGeometry(24, kTp0130TextTop + i * kTp0130TextLine, width - 36, kTp0130TextLine);
    MesLbl[i]->setVisible(used);
  }

  // The folder lines go below the instructions; the window grows by a line for each.
  const WrappedFolderMessage wrapped = WrapFolderMessage(
      FolderMessage(WorkFolderName(variant.folder), ToNativeSeparators(ExeFolder())),
      variant.firstLimit, variant.furtherLimit, int(FolderLbl.size()));
  for (const QString& problem : wrapped.problems) Log(problem);
  const int textEnd = kTp0130TextTop + int(variant.lines.size()) * kTp0130TextLine;
  const int folderTop = std::max(variant.folderTop, textEnd + 4);
  for (int i = 0; i < int(FolderLbl.size()); ++i) {
    FolderLbl[i]->setText(i < wrapped.lines.size() ? wrapped.lines[i] : QString());
    // The lines after the first are indented under the "※".
    const int left = i == 0 ? 40 : 54;
    FolderLbl[i]->setGeometry(left, folderTop + i * kTp0130FolderLine, width - left - 8,
                              kTp0130FolderLine);
  }
  const int lines = int(wrapped.lines.size());
  const int needed = folderTop + lines * kTp0130FolderLine + 4 + kTp0130BottomBand;
  resize(width, std::max(variant.baseHeight + lines * kTp0130FolderLine, needed));

  BackBtn->setVisible(PracticeMode);
  OkBtn->setText(PracticeMode ? QStringLiteral("次へ >") : QStringLiteral("閉じる"));
  OkBtn->setGeometry(width - 28 - 80, 13, 80, 26);
  BackBtn->setGeometry(width - 28 - 80 - 10 - 80, 13, 80, 26);
  OkBtn->setFocus();

  if (FirstShow) {
    FirstShow = false;
    BringProgramToFront();
  }
  CenterOnScreen(this);
}

void TfrmQZTP0130::BringProgramToFront() {
  // The candidate has just been working in another program (the browser): the first show
  // must take the foreground back, or the dialog opens behind it.
  if (QWidget* main = ApplicationMainWindow(); main && main->isVisible())
    (void)ForceForeground(NativeWindowId(main), ForegroundAttach::Always);
  ForegroundOnceShown(this);
}

void TfrmQZTP0130::OkBtnClick() {
  Log(OkBtn->text());
  if (!PracticeMode) {
    close();
    return;
  }
  if (OnPracticeNext) OnPracticeNext();
}

void TfrmQZTP0130::OnBackClick() {
  Log(QStringLiteral("戻る"));
  hide();
  if (QWidget* owner = parentWidget()) owner->show();
}

}  // namespace examora
