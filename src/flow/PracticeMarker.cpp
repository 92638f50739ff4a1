#include "flow/PracticeMarker.h"

#include <QLabel>

#include "flow/ScreenFrame.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"

namespace examora {
namespace {

constexpr int kMarkerWidth = 100;
constexpr int kMarkerHeight = 23;
constexpr int kMarkerBar = 2;
constexpr int kMarkerGap = 14;

QWidget* MarkerBar(QWidget* parent, QRect geometry) {
  auto* bar = new QWidget(parent);
  FillBackground(bar, Qt::white);
  bar->setGeometry(geometry);
  return bar;
}

}  // namespace

QWidget* AddPracticeMarker(ScreenFrame& screen) {
  auto* marker = new QWidget(screen.TitleBand());
  marker->setObjectName(QStringLiteral("RensyuPnl"));
  marker->setAttribute(Qt::WA_TransparentForMouseEvents);
  marker->resize(kMarkerWidth, kMarkerHeight);
  // The frame is four bars rather than a border so that the band's picture shows inside.
  MarkerBar(marker, QRect(0, 0, kMarkerWidth, kMarkerBar));
  MarkerBar(marker, QRect(0, kMarkerHeight - kMarkerBar, kMarkerWidth, kMarkerBar));
  MarkerBar(marker, QRect(0, 0, kMarkerBar, kMarkerHeight));
  MarkerBar(marker, QRect(kMarkerWidth - kMarkerBar, 0, kMarkerBar, kMarkerHeight));
  QLabel* text = ColouredLabel(marker, QStringLiteral("RensyuLbl"), QStringLiteral("操作練習中"),
                               UiFont(FontFace::Meiryo, 15), Qt::white);
  text->setAlignment(Qt::AlignCenter);
  text->setGeometry(kMarkerBar, kMarkerBar, kMarkerWidth - 2 * kMarkerBar,
                    kMarkerHeight - 2 * kMarkerBar);
  marker->hide();
  return marker;
}

void PlacePracticeMarker(QWidget* marker, const QLabel* title) {
  const int titleRight = title->x() + title->sizeHint().width();
  const int centre = title->y() + title->sizeHint().height() / 2;
  marker->move(titleRight + kMarkerGap, std::max(0, centre - kMarkerHeight / 2));
  marker->raise();
}

}  // namespace examora
