#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

// The date and time of day the program shows and stores (log lines, the exam date, the
// current year of the birth-year list). Elapsed exam time never comes from here: the exam
// clock measures it with a monotonic clock.
namespace examora {

QDateTime CurrentDateTime();
QDate CurrentDate();

// Sets the wall clock (tests set a fixed date); an empty function restores the system's.
void SetWallClock(std::function<QDateTime()> clock);

}  // namespace examora
