// examora-draw-logo: draws the program's logo, as the title bands show it (196 x 70), and
// writes it as a PNG file. The program carries the result as a picture resource
// (src/widgets/resources/logo.png); run this again after changing the design:
//
//   QT_QPA_PLATFORM=offscreen examora-draw-logo src/widgets/resources/logo.png
//
// The name is drawn in the bold face the screens use for titles, as installed where this runs.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

#include "widgets/Fonts.h"

using namespace examora;

namespace {

QImage DrawLogo() {
  QImage image(196, 70, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A rounded mark with a tick, then the name.
  const QRectF mark(14, (image.height() - 40) / 2.0, 40, 40);
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
  p.setFont(UiFont(FontFace::Meiryo, 24, true));
  p.drawText(QRectF(62, 0, image.width() - 62, image.height()), Qt::AlignVCenter | Qt::AlignLeft,
             QStringLiteral("Examora"));
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: examora-draw-logo OUT.png\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  if (!DrawLogo().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "examora-draw-logo: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
