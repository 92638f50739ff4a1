#include "widgets/Band.h"

#include <QBrush>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "widgets/Preload.h"

namespace examora {

QImage RenderBand(QSize size, const QImage& texture, QColor outline) {
  if (texture.isNull() || size.isEmpty()) return {};
  QImage band(size, QImage::Format_ARGB32_Premultiplied);
  band.fill(Qt::transparent);
  QPainter p(&band);
  QBrush brush(texture);
  brush.setTransform(QTransform::fromTranslate(10, 0));
  p.fillRect(QRect(QPoint(0, 0), size), brush);
  p.setPen(QPen(outline, 2.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0, 0, size.width(), size.height()));
  return band;
}

void PaintBand(QLabel* control, const QString& absolutePath, QColor outline) {
  if (!control) return;
  const QImage texture = LoadPicture(absolutePath);
  const QImage band = RenderBand(control->size(), texture, outline);
  if (band.isNull()) {
    control->clear();
    return;
  }
  control->setPixmap(QPixmap::fromImage(band));
}

QImage WhiteToTransparent(const QImage& picture) {
  QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0x00FFFFFFu) == 0x00FFFFFFu) line[x] = 0;
    }
  }
  return image;
}

}  // namespace examora
