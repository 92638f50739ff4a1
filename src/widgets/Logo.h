#pragma once

#include <QPixmap>
#include <QSize>

namespace examora {

// The program's own logo for the title band of the full-size screens (196 x 70); a smaller
// size gets the whole logo scaled down and centred.
QPixmap LogoPixmap(QSize size);

}  // namespace examora
