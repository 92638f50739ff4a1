#pragma once

#include <QPixmap>
#include <QSize>

namespace examora {

// The program's own logo for the title band of the full-size screens.
QPixmap LogoPixmap(QSize size);

}  // namespace examora
