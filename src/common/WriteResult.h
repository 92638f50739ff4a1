#pragma once

#include <QString>

#include <utility>

namespace examora {

// Outcome of a write that can fail. Callers must look at it; the error is the platform's own
// text (for example "Permission denied"), shown after the program's message.
struct [[nodiscard]] WriteResult {
  bool ok = true;
  QString error;

  explicit operator bool() const { return ok; }
  static WriteResult Success() { return {}; }
  static WriteResult Failure(QString text) { return {false, std::move(text)}; }
};

}  // namespace examora
