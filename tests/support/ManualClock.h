#pragma once

#include "exam/model/ExamClock.h"

namespace examora::test {

// The exam clock's monotonic clock, moved on by hand: tests never wait for minutes.
struct ManualClock final : ClockSource {
  qint64 ms = 9'000'000;
  qint64 MonotonicMs() const override { return ms; }
};

}  // namespace examora::test
