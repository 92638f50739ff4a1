#pragma once

#include <QString>

// Decisions of the screen frame that need no window.
namespace examora {

// Title colour by link mode as 0xRRGGBB: "1" lime green, "2" orange, anything else white.
quint32 TitleColourRule(const QString& linkMode);

// The footer notice of the full-size screens; exam type "3" has its own.
QString FooterNotice(const QString& examType);

// Left edge that centres a picture of pictureWidth in a window of windowWidth: halves go to
// the even neighbour.
int CentredLeft(int windowWidth, double pictureWidth);

}  // namespace examora
