#pragma once

class QWidget;

namespace examora {

// The application's main window (the background window of a part). Screens that make "the
// application" topmost act on it.
void SetApplicationMainWindow(QWidget* window);
QWidget* ApplicationMainWindow();

// Keeps the window above all normal windows (or releases it). Works on hidden and visible
// windows; a visible window stays visible and keeps its position and size.
void SetTopMost(QWidget* window, bool on);

}  // namespace examora
