#include "widgets/Band.h"

#include <QBrush>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

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
  const QImage texture(absolutePath);
  const QImage band = RenderBand(control->size(), texture, outline);
  if (band.isNull()) {
    control->clear();
    return;
  }
  control->setPixmap(QPixmap::fromImage(band));
}

}  // namespace examora
