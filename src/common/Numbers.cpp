#include "common/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace examora {

QString PadDigits(const QString& text, int width) {
  if (width <= 0) return QString();
  QString result(width, QLatin1Char('0'));
  int pos = width - 1;
  for (qsizetype i = text.size() - 1; i >= 0 && pos >= 0; --i) {
    const QChar c = text.at(i);
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) result[pos--] = c;
  }
  return result;
}

namespace {

long double PowerOfTen(int n) {
  return std::pow(10.0L, static_cast<long double>(n));
}

// The product is inspected at 15 significant digits: one that is integral at that precision
// (1.15 * 100 held as 114.999…) is rounded rather than cut, so it does not lose a unit.
long double TruncateToInteger(long double p) {
  char buffer[64];
  const auto res = std::to_chars(buffer, buffer + sizeof buffer, p, std::chars_format::general, 15);
  const bool hasFraction = res.ec == std::errc{} && std::find(buffer, res.ptr, '.') != res.ptr;
  return hasFraction ? std::trunc(p) : std::nearbyint(p);  // nearbyint: halves to even
}

}  // namespace

double TruncateDecimals(int decimals, double x) {
  const long double b = PowerOfTen(decimals);
  return static_cast<double>(TruncateToInteger(static_cast<long double>(x) * b) / b);
}

double RoundHalfUp(int decimals, double x) {
  const long double b = PowerOfTen(decimals);
  long double p = static_cast<long double>(x) * b;
  p += p >= 0 ? 0.5L : -0.5L;
  return static_cast<double>(TruncateToInteger(p) / b);
}

int RoundHalfEven(double x) {
  return static_cast<int>(std::nearbyint(x));
}

QPoint CenteredTopLeft(const QRect& screen, const QSize& window) {
  return {screen.left() + RoundHalfEven((screen.width() - window.width()) / 2.0),
          screen.top() + RoundHalfEven((screen.height() - window.height()) / 2.0)};
}

}  // namespace examora
