#include "widgets/Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "widgets/Fonts.h"

namespace examora {

namespace {

// The title band's logo place; the smallest place the mark (40 px high) and the name (ending
// near x 186) are drawn into as they are.
constexpr QSize kLogoDesign(196, 70);
constexpr QSize kLogoWhole(190, 44);

QPixmap DrawLogo(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A rounded mark with a tick, then the name.
  const QRectF mark(14, (size.height() - 40) / 2.0, 40, 40);
  QLinearGradient g(mark.topLeft(), mark.bottomRight());
  g.setColorAt(0, QColor(0x00, 0x94, 0xD7));
  g.setColorAt(1, QColor(0x00, 0x49, 0x88));
  QPainterPath path;
  path.addRoundedRect(mark, 9, 9);
  p.fillPath(path, g);
  p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({mark.topLeft() + QPointF(10, 21), mark.topLeft() + QPointF(17, 29),
                            mark.topLeft() + QPointF(31, 12)}));
  p.setPen(Qt::white);
  QFont font = UiFont(FontFace::Meiryo, 24, true);
  p.setFont(font);
  p.drawText(QRectF(62, 0, size.width() - 62, size.height()), Qt::AlignVCenter | Qt::AlignLeft,
             QStringLiteral("Examora"));
  return pixmap;
}

}  // namespace

QPixmap LogoPixmap(QSize size) {
  // Drawn for the title bands; a smaller place (the answer-only window's bottom panel) would
  // cut the mark and the name, so the design is scaled into it and centred.
  if (size.width() >= kLogoWhole.width() && size.height() >= kLogoWhole.height())
    return DrawLogo(size);
  const QPixmap design = DrawLogo(kLogoDesign);
  const QPixmap scaled = design.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.drawPixmap((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
  return pixmap;
}

}  // namespace examora
