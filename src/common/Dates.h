#pragma once

#include <QString>

// Date texts as the exam files write them ("yyyy/mm/dd").

namespace examora {

bool IsValidDateText(const QString& text);             // "yyyy/mm/dd" and a real calendar date
QString LastDayOfMonthText(const QString& yearMonth);  // "yyyy/mm" -> "yyyy/mm/dd" or "0000/00/00"

}  // namespace examora
