// The candidate sees: "start the web browser (and the editor), then press 次へ" — the first
// step of the operation practice of a web-style part.
#include "flow/QZTP0120.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "common/RunLog.h"
#include "data/ExamData.h"
#include "data/InstallPaths.h"
#include "flow/QZTP0130.h"
#include "flow/QZTP0140.h"
#include "flow/QZTP0160.h"
#include "flow/QZTP0170.h"
#include "platform/Shell.h"
#include "platform/TopLevelWindows.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

bool IsKnowledge(const QString& category) {
  return category == QStringLiteral("1");
}

// The file manager needs a moment to come up before the next dialog takes the front: at
// least 300 ms, and on a busy machine until its window for the folder is there (it would take
// the keyboard from the dialog otherwise), for a few seconds at most.
void WaitForFolderWindow(WorkFolder folder) {
  const QList<FolderWindowTitles> titles = WorkFolderWindowTitles(folder);
  const auto shown = [&titles] {
    return titles.isEmpty() ||
           FindTopLevelWindowByTitle(titles.first().name.toStdString()).has_value() ||
           FindTopLevelWindowByTitle(titles.first().fullPath.toStdString()).has_value();
  };
  QElapsedTimer waited;
  waited.start();
  do {
    QEventLoop loop;
    QTimer::singleShot(waited.elapsed() < 300 ? 300 : 100, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  } while (waited.elapsed() < 3000 && !shown());
}

}  // namespace

TfrmQZTP0120::TfrmQZTP0120(QWidget* owner)
    : PracticeStep(owner, QStringLiteral("QZTP0120"), this) {}

TfrmQZTP0120::~TfrmQZTP0120() = default;

void TfrmQZTP0120::SetUpScreen() {
  if (QWidget* background = ApplicationMainWindow(); background && background != this)
    background->hide();
  examCategory_ = ReadSetupIni(PartCode()).examCategory;
  if (IsKnowledge(examCategory_)) {
    LayOut(QStringLiteral("Webブラウザーの起動"),
           {QStringLiteral("知識問題で使用するWebブラウザー（Internet Explorer、"),
            QStringLiteral("Chrome、Firefoxのいずれか）を起動してください。"),
            QStringLiteral("起動後、[次へ]ボタンをクリックしてください。")},
           468, 154);
  } else {
    LayOut(QStringLiteral("ソフトウェアの起動"),
           {QStringLiteral("実技問題で使用する以下のソフトウェアを起動してください。"),
            QStringLiteral("・Webブラウザー（Internet Explorer、Chrome、Firefoxのいずれか）"),
            QStringLiteral("・テキストエディターまたはWebページ作成ソフト"),
            QStringLiteral("起動後、[次へ] ボタンをクリックしてください。")},
           558, 174);
  }
  OkBtn->setFocus();
}

void TfrmQZTP0120::OkBtnClick() {
  Log(QStringLiteral("次へ"));
  if (FirstNext) {
    Log(QStringLiteral("練習用フォルダパスを取得"));
    const WorkFolder practiceFolder =
        IsKnowledge(examCategory_) ? WorkFolder::KnowledgePractice : WorkFolder::PracticalPractice;
    const QString folder = WorkFolderPath(practiceFolder);
    if (QFileInfo(folder).isDir()) {
      Log(QStringLiteral("練習用フォルダを開く"));
      // A folder that cannot be shown only costs the candidate the shortcut to the page.
      if (const QString failed = OpenFolderForCandidate(folder + u'/'); failed.isEmpty())
        WaitForFolderWindow(practiceFolder);
      else
        Log(failed);
      Log(QStringLiteral("練習用フォルダ処理完了"));
    }
    FirstNext = false;
  }
  if (!tp0130_) {
    tp0130_ = new TfrmQZTP0130(this);
    tp0130_->OnPracticeNext = [this] { ShowStep0140(tp0130_); };
  }
  tp0130_->SetPartCode(PartCode());
  tp0130_->PracticeMode = true;
  tp0130_->show();
  hide();
}

void TfrmQZTP0120::ShowStep0140(QWidget* from) {
  if (!tp0140_) tp0140_ = new TfrmQZTP0140(from, this);
  from->hide();
  OpenPracticeExamWindow();
  tp0140_->SetPartCode(PartCode());
  tp0140_->show();
}

void TfrmQZTP0120::ShowStep0160(QWidget* from) {
  if (!tp0160_) tp0160_ = new TfrmQZTP0160(from, this);
  from->hide();
  tp0160_->SetPartCode(PartCode());
  tp0160_->show();
}

void TfrmQZTP0120::ShowStep0170(QWidget* from) {
  if (!tp0170_) tp0170_ = new TfrmQZTP0170(from, this);
  from->hide();
  tp0170_->SetPartCode(PartCode());
  tp0170_->show();
}

void TfrmQZTP0120::OpenPracticeExamWindow() {
  if (ExamWindowOpened) return;
  examCategory_ = ReadSetupIni(PartCode()).examCategory;
  const QString runnerName =
      IsKnowledge(examCategory_) ? QStringLiteral("TfrmQZMain3") : QStringLiteral("TfrmQZMain2");
  if (!FindScreenRunner(runnerName)) {
    Log(QStringLiteral("%1 はこのプログラムでは使用できません。").arg(runnerName));
    noWindow_ = true;
    return;
  }
  ExamWindowOpened = true;
  // The window runs in a loop of its own until it closes; started from here, the step that
  // asked for it would wait inside that loop. The steps go on beside it.
  QTimer::singleShot(0, this, [this, runnerName] { RunPracticeWindow(runnerName); });
}

void TfrmQZTP0120::RunPracticeWindow(const QString& runnerName) {
  const ScreenRunner* runner = FindScreenRunner(runnerName);
  if (!runner) return;
  const SetupIni setup = ReadSetupIni(PartCode());
  const QScreen* screen = QGuiApplication::primaryScreen();
  ExamWindowRequest request;
  request.partCode = PartCode();
  request.debugMode = DebugMode;
  request.venueCode = VenueCode;
  request.candidateNumber = CandidateNumber;
  request.practiceMode = true;
  request.layoutCode = setup.layoutCode;
  request.savedRect = QRect(setup.left, setup.top, setup.width, setup.height);
  request.screen = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  request.workArea = QRect(QPoint(0, 0), request.screen.size());
  request.practiceGuide = this;
  windowRunning_ = true;
  (void)(*runner)(this, request);
  windowRunning_ = false;
  window_ = nullptr;
  // The window closed by itself (the forced end at the time limit): the practice cannot go on.
  if (ExamWindowOpened) {
    ExamWindowOpened = false;
    done(ModalResult::Ok);
  }
}

void TfrmQZTP0120::EndPractice() {
  examCategory_ = ReadSetupIni(PartCode()).examCategory;
  if (!ExamWindowOpened) {
    // Without a practice window in this build the practice ends here rather than never.
    if (noWindow_) done(ModalResult::Ok);
    return;
  }
  SetPracticeDialogsVisible(false);
  ExamWindowOpened = false;
  if (window_) {
    window_->SetPracticeStepsDone(true);
    window_->ConfirmAndClose();
  }
  if (window_ && window_->PracticeEndConfirmed()) {
    window_->ClosePracticeWindow();
    done(ModalResult::Ok);
    return;
  }
  if (!window_ && !windowRunning_) {
    done(ModalResult::Ok);
    return;
  }
  ExamWindowOpened = true;
  SetPracticeDialogsVisible(true);
}

void TfrmQZTP0120::SetPracticeDialogsVisible(bool visible) {
  struct ChainEntry {
    QWidget* dialog;
    bool* hiddenByChain;
  };
  QList<ChainEntry> chain{{this, &HiddenByChain}};
  if (tp0130_) chain.append({tp0130_, &tp0130_->HiddenByChain});
  for (PracticeStep* step : Steps()) chain.append({step, &step->HiddenByChain});
  for (const ChainEntry& entry : chain) {
    if (!visible && entry.dialog->isVisible()) {
      entry.dialog->hide();
      *entry.hiddenByChain = true;
      return;
    }
    if (visible && *entry.hiddenByChain) {
      *entry.hiddenByChain = false;
      entry.dialog->show();
      return;
    }
  }
}

void TfrmQZTP0120::PracticeWindowChanged(PracticeWindow* window) {
  window_ = window;
  // The window opens after the step that asked for it and takes the keyboard as it comes up;
  // the step, whose main button has the focus, gets it back.
  auto* opened = dynamic_cast<QWidget*>(window);
  if (!opened) return;
  for (PracticeStep* step : Steps()) {
    if (step->isVisible()) ActivateAfterFirstActivationOf(step, opened);
  }
}

QList<PracticeStep*> TfrmQZTP0120::Steps() const {
  QList<PracticeStep*> steps;
  for (PracticeStep* step :
       {static_cast<PracticeStep*>(tp0140_), static_cast<PracticeStep*>(tp0160_),
        static_cast<PracticeStep*>(tp0170_)}) {
    if (step) steps.append(step);
  }
  return steps;
}

}  // namespace examora
