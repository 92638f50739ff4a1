#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Digit padding and the rounding rules of scores and screen positions.

namespace examora {

QString PadDigits(const QString& text, int width);  // the text's ASCII digits, zero-padded
double TruncateDecimals(int decimals, double x);    // cut towards zero to n decimals
double RoundHalfUp(int decimals, double x);         // halves away from zero
int RoundHalfEven(double x);                        // nearest integer, halves to even

// Top-left corner that centres a window of the given (frame) size on the screen rectangle;
// halves of a pixel round to even.
QPoint CenteredTopLeft(const QRect& screen, const QSize& window);

}  // namespace examora
