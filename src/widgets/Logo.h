#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace examora {

// The program's own logo for the title band of the full-size screens (196 x 70); a smaller
// size gets the whole logo scaled down and centred.
QPixmap LogoPixmap(QSize size);

// The logo's picture, for having it decoded ahead.
QString LogoPicturePath();

}  // namespace examora
