#include "common/WallClock.h"

#include <utility>

namespace examora {
namespace {

std::function<QDateTime()>& Override() {
  static std::function<QDateTime()> clock;
  return clock;
}

}  // namespace

QDateTime CurrentDateTime() {
  const auto& clock = Override();
  return clock ? clock() : QDateTime::currentDateTime();
}

QDate CurrentDate() {
  return CurrentDateTime().date();
}

void SetWallClock(std::function<QDateTime()> clock) {
  Override() = std::move(clock);
}

}  // namespace examora
