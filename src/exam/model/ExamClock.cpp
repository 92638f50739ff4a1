#include "exam/model/ExamClock.h"

#include <chrono>

#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"

namespace examora {

namespace {

constexpr qint64 kMinuteMs = 60 * 1000;

}  // namespace

qint64 SteadyClockSource::MonotonicMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

QString FormatClockMinutes(int minutes) {
  return QStringLiteral("%1").arg(minutes, 2);
}

ExamClock::ExamClock(ClockVariant variant, const QString& partCode, bool practice,
                     const ClockSource* source, ElapsedWriter writer, QObject* parent)
    : QObject(parent),
      variant_(variant),
      partCode_(partCode),
      practice_(practice),
      folderCode_(examora::SetupFolderCode(partCode, practice)),
      source_(source),
      writer_(std::move(writer)) {
  if (!source_) {
    static const SteadyClockSource steady;
    source_ = &steady;
  }
  if (!writer_) writer_ = &WriteElapsedMinutes;
  ShikenTimer.setInterval(1000);
  connect(&ShikenTimer, &QTimer::timeout, this, &ExamClock::ShikenTimerTimer);
}

int ExamClock::ReadTotal() const {
  const SetupIni setup = ReadSetupIni(folderCode_);
  // The answer-only window has no extension.
  return variant_ == ClockVariant::AnswerOnly ? setup.AllMinutes() : setup.TimeLimitMinutes();
}

void ExamClock::SetUp() {
  TotalMinutes = ReadTotal();
  ElapsedMinutes = ReadSetupIni(folderCode_).now;
}

QString ExamClock::InitialTimeProgress1() const {
  return variant_ == ClockVariant::Compact ? QStringLiteral("0 分") : QStringLiteral(" 0/");
}

QString ExamClock::InitialTimeProgress2() const {
  if (variant_ == ClockVariant::Compact) return {};
  return QString::number(TotalMinutes) + QStringLiteral("分");
}

void ExamClock::Start() {
  StartReference = source_->MonotonicMs() - qint64(ElapsedMinutes) * kMinuteMs;
  ShikenTimer.start();
}

ClockTick ExamClock::Tick() {
  ClockTick tick;
  // Whole seconds, then whole minutes: a restart resumes at the start of the stored minute.
  const qint64 seconds = qAbs(source_->MonotonicMs() - StartReference) / 1000;
  const int m = static_cast<int>(seconds / 60);
  tick.minutes = m;
  if (variant_ == ClockVariant::Compact) {
    tick.timeProgress1 = FormatClockMinutes(m) + QStringLiteral(" 分");
  } else {
    tick.timeProgress1 = FormatClockMinutes(m) + QStringLiteral("/");
    tick.timeProgress2 = FormatClockMinutes(TotalMinutes) + QStringLiteral("分");
  }

  if (m != ElapsedMinutes) {
    // The new minute counts even when it cannot be stored: the next change tries again.
    ElapsedMinutes = m;
    tick.minuteChanged = true;
    const WriteResult written = writer_(folderCode_, m);
    if (!written.ok) {
      tick.writeFailed = true;
      if (variant_ != ClockVariant::Compact) {
        tick.failureLogText = QStringLiteral("QZMain：") + msg::kSystemWriteFailed + written.error;
        WriteLog(tick.failureLogText, partCode_);
      }
    }
  }

  if (variant_ == ClockVariant::Compact || m < TotalMinutes) return tick;

  if (ReadSetupIni(folderCode_).forcedEnd) {
    tick.limit = LimitDecision::ForcedEnd;
  } else if (variant_ == ClockVariant::Knowledge && !practice_ &&
             ReadSystemIni(CurrentDate().year()).timeControl) {
    tick.limit = LimitDecision::TimeOverEnd;
  } else {
    // No forced end, no time control, or a practice (which never ends by time).
    tick.limit = LimitDecision::PastLimitNoAction;
  }
  return tick;
}

void ExamClock::RereadTotal() {
  TotalMinutes = ReadTotal();
}

void ExamClock::Restart() {
  SetUp();
  StartReference = source_->MonotonicMs() - qint64(ElapsedMinutes) * kMinuteMs;
}

void ExamClock::BeginTimeOver() {
  WriteLog(QStringLiteral("QZMain：試験時間終了処理"), partCode_);
  TimeOver = true;
  ShikenTimer.stop();
}

void ExamClock::EndTimeOver() {
  if (!TimeOver) return;
  TimeOver = false;
  ShikenTimer.start();
}

void ExamClock::RecordForcedEnd(bool debugMode) {
  if (debugMode) return;
  if (ReadSystemIni(CurrentDate().year()).sampleExam) return;
  (void)WriteNormalEnd(folderCode_, QStringLiteral("E"));
}

void ExamClock::Halt() {
  halted_ = true;
  ShikenTimer.stop();
}

void ExamClock::ShikenTimerTimer() {
  ShikenTimer.stop();
  const ClockTick tick = Tick();
  emit Ticked(tick);
  if (halted_) return;
  if (variant_ != ClockVariant::Knowledge || !TimeOver) ShikenTimer.start();
}

}  // namespace examora
