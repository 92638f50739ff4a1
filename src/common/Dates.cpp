#include "common/Dates.h"

#include <QDate>
#include <QRegularExpression>

namespace examora {

bool IsValidDateText(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\s*([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})\\s*$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return false;
  const int year = m.captured(1).toInt();
  const int month = m.captured(2).toInt();
  const int day = m.captured(3).toInt();
  return year >= 1 && QDate::isValid(year, month, day);
}

QString LastDayOfMonthText(const QString& yearMonth) {
  for (int day = 31; day >= 20; --day) {
    const QString candidate =
        yearMonth + QLatin1Char('/') + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
    if (IsValidDateText(candidate)) return candidate;
  }
  return QStringLiteral("0000/00/00");
}

}  // namespace examora
