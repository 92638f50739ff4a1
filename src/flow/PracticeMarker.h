// The candidate sees: "操作練習中" in a white frame beside the title of a practice dialog.
#pragma once

class QLabel;
class QWidget;

namespace examora {

class ScreenFrame;

// Adds the practice marker to the screen's title band, hidden; PlacePracticeMarker puts it to
// the right of the title once the title's text is known. It lets the mouse through, so the
// band is dragged through it like through the title.
QWidget* AddPracticeMarker(ScreenFrame& screen);
void PlacePracticeMarker(QWidget* marker, const QLabel* title);

}  // namespace examora
