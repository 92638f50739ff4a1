#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

class QLabel;

namespace examora {

// Outline of the painted bands (dark green, opaque).
inline QColor BandOutline() {
  return QColor::fromRgba(0xFF006400u);
}

// A band of the given size: the texture tiled across it, shifted 10 px to the right, and a
// 2-px outline along the edge of the rectangle. A null texture gives a null image.
QImage RenderBand(QSize size, const QImage& texture, QColor outline = BandOutline());

// Paints a picture control from a picture file the way every band is painted. A missing or
// unreadable file leaves the control blank; nothing is shown or logged.
void PaintBand(QLabel* control, const QString& absolutePath, QColor outline = BandOutline());

// The exam pictures are authored on white: pure white becomes transparent, so that the screen
// behind shows through.
QImage WhiteToTransparent(const QImage& picture);

}  // namespace examora
