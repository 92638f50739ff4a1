#include "widgets/Logo.h"

#include <QImage>
#include <QPainter>

#include "widgets/Preload.h"

namespace examora {

namespace {

// The logo is a picture of the form's design (tools/logo draws it): the title band's logo
// place, 196 x 70.
constexpr QSize kLogoDesign(196, 70);
// The smallest place the mark (40 px high) and the name (ending near x 186) fit into as they are.
constexpr QSize kLogoWhole(190, 44);

// Decoded once: every full-size screen shows it.
const QImage& Design() {
  static const QImage design = LoadPicture(LogoPicturePath());
  return design;
}

}  // namespace

QString LogoPicturePath() {
  return QStringLiteral(":/examora/logo.png");
}

QPixmap LogoPixmap(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  if (size.width() >= kLogoWhole.width() && size.height() >= kLogoWhole.height()) {
    // The design's margins are transparent: a lower place cuts only them, a higher one adds
    // to them; the mark stays at the left.
    p.drawImage(0, (size.height() - kLogoDesign.height()) / 2, Design());
    return pixmap;
  }
  // A smaller place (the answer-only window's bottom panel) would cut the mark and the name,
  // so the design is scaled into it and centred.
  const QImage scaled = Design().scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  p.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
  return pixmap;
}

}  // namespace examora
