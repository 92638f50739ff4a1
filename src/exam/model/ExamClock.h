#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

#include "common/WriteResult.h"

// The exam clock the exam windows run: minutes elapsed against the time limit, the elapsed
// minutes kept in setup.ini [試験時間] "now" so that a restarted part continues, and the
// decision what happens when the limit is reached. The window owns the labels and the screens;
// it shows the texts of each tick and acts on its decision.
//
// Within one run the elapsed time comes from a monotonic clock: setting the computer's clock
// back or forward neither restarts nor shortens the exam. Across runs the stored "now" carries
// it.
namespace examora {

// Milliseconds from a clock that never jumps (the tests give a clock they move by hand).
class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual qint64 MonotonicMs() const = 0;
};

// std::chrono::steady_clock.
class SteadyClockSource final : public ClockSource {
 public:
  qint64 MonotonicMs() const override;
};

// The three exam windows run the clock with small differences.
enum class ClockVariant {
  Knowledge,   // TfrmQZMain: limit all + add; forced end or time-over end
  AnswerOnly,  // TfrmQZMain3: limit all only (no extension); forced end only
  Compact,     // TfrmQZMain2: "%2.0u 分" only, no limit, a failed "now" write is not logged
};

// What the window does once the limit is reached.
enum class LimitDecision {
  None,         // below the limit (or a variant without a limit)
  ForcedEnd,    // 強制終了 "1": show the Q11 message, then the forced end (in practice:
                // close the window)
  TimeOverEnd,  // タイムコントロール "1" (knowledge window, not practice): BeginTimeOver()
                // and request the close, unless a confirmation rules it out this tick
  PastLimitNoAction,  // at or past the limit, nothing to do: the clock counts on
};

struct ClockTick {
  int minutes = 0;             // whole minutes elapsed
  QString timeProgress1;       // "%2.0u/" (Compact: "%2.0u 分")
  QString timeProgress2;       // "%2.0u分" of the limit (Compact: empty)
  bool minuteChanged = false;  // "now" was written (or tried)
  bool writeFailed = false;
  QString failureLogText;  // the log line written for a failed "now" write, "" otherwise
  LimitDecision limit = LimitDecision::None;
};

// "%2.0u": the number right-aligned in at least two characters, padded with a blank.
QString FormatClockMinutes(int minutes);

class ExamClock : public QObject {
  Q_OBJECT

 public:
  using ElapsedWriter = std::function<WriteResult(const QString& folderCode, int minutes)>;

  // partCode is the part the logs go to; practice selects system/Z<PartCode>/setup.ini for
  // the times. source and writer default to the steady clock and WriteElapsedMinutes; the
  // source must outlive the clock.
  ExamClock(ClockVariant variant, const QString& partCode, bool practice,
            const ClockSource* source = nullptr, ElapsedWriter writer = {},
            QObject* parent = nullptr);

  // Fields of the clock (names as the windows know them).
  int TotalMinutes = 1;
  int ElapsedMinutes = 0;
  qint64 StartReference = 0;  // monotonic ms the elapsed time is counted from
  bool TimeOver = false;
  QTimer ShikenTimer;  // 1000 ms, stopped until Start()

  QString SetupFolderCode() const { return folderCode_; }
  ClockVariant Variant() const { return variant_; }

  // Reads TotalMinutes and ElapsedMinutes from setup.ini [試験時間] (all, add, now).
  void SetUp();
  // The labels before the first tick: " 0/" and the limit as plain decimal + "分" (Compact:
  // "0 分" and "").
  QString InitialTimeProgress1() const;
  QString InitialTimeProgress2() const;

  // actTestStart: count from now, moved back by the minutes already elapsed; start the timer.
  void Start();
  // One tick without the timer handling: recompute the minutes, write "now" when the minute
  // changed (logging a failure), decide about the limit.
  ClockTick Tick();

  // The limit may have been extended by the proctor (notes screen closed).
  void RereadTotal();
  // A refused time-over end: re-read the limit and the stored minutes and count from them.
  void Restart();
  // The window goes ahead with the time-over end: log it, stop the clock for good.
  void BeginTimeOver();
  // The time-over end was refused: clear TimeOver and run the clock again.
  void EndTimeOver();
  // Forced end outside practice: 正常終了 := "E" unless debugMode or a sample exam (failure
  // ignored).
  void RecordForcedEnd(bool debugMode);

  // The window is closing: stop for good, also when this happens inside a tick.
  void Halt();

  bool IsRunning() const { return ShikenTimer.isActive(); }

 signals:
  // Emitted on every timer tick; the window shows the texts and acts on the decision. The
  // timer is stopped while the receivers run.
  void Ticked(const examora::ClockTick& tick);

 public slots:
  // ShikenTimerTimer: stop, Tick(), emit, restart unless TimeOver (knowledge window).
  void ShikenTimerTimer();

 private:
  int ReadTotal() const;

  ClockVariant variant_;
  QString partCode_;
  bool practice_;
  QString folderCode_;
  const ClockSource* source_;
  ElapsedWriter writer_;
  bool halted_ = false;
};

}  // namespace examora
