#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/Placement.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/model/FrameRules.h"
#include "platform/SystemMenu.h"
#include "viewers/WBContainer.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {

using namespace qzmain;

bool TfrmQZMain::TimeOver() const {
  return clock_ && clock_->TimeOver;
}

void TfrmQZMain::RequestClose(CloseReason reason) {
  if (closing_) return;
  // The forced end does not ask: it also ends a part whose confirmation is open.
  if (reason == CloseReason::ForcedEnd) {
    closeReason_ = reason;
    ForcedEnd();
    return;
  }
  if (inCloseQuery_) return;
  closeReason_ = reason;
  switch (reason) {
    case CloseReason::SetupFailed:
      // The paper cannot be shown: nothing was answered, nothing to confirm.
      CloseNow();
      return;
    case CloseReason::ForcedEnd:
      ForcedEnd();
      return;
    case CloseReason::EndButton:
    case CloseReason::TimeOver:
      break;
  }
  if (FormCloseQuery()) CloseNow();
}

void TfrmQZMain::ConfirmAndClose() {
  AnswersConfirmed = true;
  RequestClose(CloseReason::EndButton);
}

void TfrmQZMain::CloseNow() {
  closing_ = true;
  if (clock_) clock_->Halt();
  cpuMonitor_->CpuCheckTimer.stop();
  guard_->Stop();
  if (ConfirmForm) {
    if (inCloseQuery_) {
      // Its modal loop is on the stack; the close query that opened it frees it.
      ConfirmForm->done(ModalResult::Cancel);
    } else {
      ConfirmForm->hide();
      ConfirmForm->deleteLater();
    }
  }
  if (SampleViewer) SampleViewer->close();
  close();
}

bool TfrmQZMain::FormCloseQuery() {
  if (inCloseQuery_) return false;
  inCloseQuery_ = true;
  bool allow = true;
  if (PracticeMode) {
    allow = PracticeEndQuery();
  } else if (!ExamShown) {
    allow = true;
  } else if (ExamCategory == u"1") {
    allow = KnowledgeEndQuery();
  } else {
    allow = PracticalEndQuery();
  }
  inCloseQuery_ = false;
  return allow;
}

bool TfrmQZMain::PracticeEndQuery() {
  Log(QStringLiteral("QZMain：操作練習終了処理"));
  guard_->Stop();
  int result = ModalResult::Cancel;
  {
    TfrmQZQZ0050 confirm(this);
    confirm.SetPartCode(PartCode);
    result = confirm.ShowModal();
  }
  StartPracticalTimers();
  if (result == ModalResult::Cancel) {
    if (TopMostChecked) SetTopMost(this, true);
    return false;
  }
  if (!QuestionAreaCollapsed) {
    // The layout of the practice carries over to the real exam of the same part.
    const QRect bounds = geometry();
    (void)WriteLayoutCode(PartCode, CurrentPosition);
    (void)WriteWindowRect(PartCode, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  }
  if (SampleViewer) SampleViewer->close();
  return true;
}

bool TfrmQZMain::KnowledgeEndQuery() {
  Log(QStringLiteral("QZMain：知識試験終了処理1"));
  const bool timeOver = TimeOver();
  auto* confirm = new TfrmQZQZ0020(this);
  ConfirmForm = confirm;
  confirm->SetPartCode(PartCode);
  confirm->Category = ExamCategory;
  confirm->SubQuestionsOnly = ReadSetupIni(SetupFolderCode).subQuestionsOnly;
  confirm->TimeOver = timeOver;
  confirm->SubQuestionCounts = sheet_.Structure().SubQuestionCounts();
  confirm->Answers = sheet_.Answers();
  const int result = confirm->ShowModal();
  const int jumpIndex = confirm->JumpIndex;
  if (closing_) {
    // The forced end came while the confirmation was open and has ended the part.
    delete confirm;
    return false;
  }

  bool allow = false;
  if (result == ModalResult::Ok) {
    Log(QStringLiteral("QZMain：知識試験終了処理2"));
    if (RecordPartEnd(timeOver)) {
      hide();
      if (clock_) clock_->Halt();
      ShowScoring(PartCode);
    }
    allow = true;
  } else if (result == ModalResult::Yes) {
    Log(QStringLiteral("QZMain：知識試験終了キャンセル＞画面スクロール処理"));
    if (display_) SelectNode(TopLevelNodeAt(display_->Tree(), jumpIndex), true);
  } else if (timeOver) {
    // The proctor has extended the time in the confirmation.
    ReadExtendedTime();
  }

  delete confirm;
  ConfirmForm = nullptr;
  if (timeOver && !allow && clock_) clock_->EndTimeOver();
  return allow;
}

bool TfrmQZMain::PracticalEndQuery() {
  Log(QStringLiteral("QZMain：実技試験終了処理"));
  if (AnswersConfirmed) {
    Log(QStringLiteral("QZMain：実技試験終了"));
    RecordPartEnd(false);
    return true;
  }
  Log(QStringLiteral("QZMain：実技試験解答確認"));
  // The guard stays off until the notes or the explanation has been opened and closed.
  guard_->StopGuard();
  QCoreApplication::processEvents();
  if (ConfirmForm) delete ConfirmForm.data();
  const bool timeOver = TimeOver();
  auto* confirm = new TfrmQZQZ0020(this);
  ConfirmForm = confirm;
  confirm->SetPartCode(PartCode);
  confirm->Category = ExamCategory;
  confirm->KeepOnTop = TopMostChecked;
  confirm->TimeOver = timeOver;
  confirm->ConfirmAndClose = [this] { ConfirmAndClose(); };
  if (!timeOver) {
    // Beside the exam until the candidate confirms (ConfirmAndClose) or says no.
    confirm->setAttribute(Qt::WA_DeleteOnClose);
    confirm->show();
    return false;
  }
  hide();
  const int result = confirm->ShowModal();
  if (closing_) {
    delete confirm;
    return false;
  }
  bool allow = false;
  if (result == ModalResult::Ok) {
    Log(QStringLiteral("QZMain：実技試験終了"));
    RecordPartEnd(true);
    allow = true;
  } else {
    ReadExtendedTime();
    show();
  }
  delete confirm;
  ConfirmForm = nullptr;
  if (clock_ && !allow) clock_->EndTimeOver();
  return allow;
}

bool TfrmQZMain::RecordPartEnd(bool timeOver) {
  const bool sample = ReadSystemIni(CurrentDate().year()).sampleExam;
  const QString normalEnd = NormalEndToRecord(timeOver, DebugMode, sample);
  // A failed write is not the candidate's concern: the part ends all the same.
  if (!normalEnd.isEmpty()) (void)WriteNormalEnd(PartCode, normalEnd);
  return sample;
}

void TfrmQZMain::ReadExtendedTime() {
  if (!clock_) return;
  // Time-over never happens in a practice, so the folder the clock runs for is the part's
  // own, where the proctor's extension is stored: re-read all + add and count on from now.
  clock_->Restart();
  timeProgress2_->setText(FormatClockMinutes(clock_->TotalMinutes) + QStringLiteral("分"));
}

void TfrmQZMain::ForcedEnd() {
  ShowMessageCode(this, nullptr, msg::kTimeUpForcedEnd);
  // An open confirmation or notes cover goes with the part.
  CloseOwnedWindows(this);
  if (PracticeMode) {
    if (FormCloseQuery()) CloseNow();
    return;
  }
  clock_->RecordForcedEnd(DebugMode);
  clock_->Halt();
  hide();
  ShowScoring(SetupFolderCode);
  // The program ends here: no confirmation, no hand-over.
  EndProgramRequested = true;
  CloseNow();
}

void TfrmQZMain::ShowScoring(const QString& partCode) {
  TfrmQZTP0040 scoring(this);
  scoring.SetPartCode(partCode);
  scoring.DevelopmentCode = DevelopmentCode;
  scoring.VenueCode = VenueCode;
  scoring.CandidateNumber = CandidateNumber;
  scoring.ExamDate = ExamDate;
  scoring.ShowModal();
}

void TfrmQZMain::closeEvent(QCloseEvent* event) {
  if (closing_ || !ExamShown) {
    event->accept();
    QDialog::closeEvent(event);
    return;
  }
  // The window system's close is not a way to end the exam.
  event->ignore();
}

}  // namespace examora
