#pragma once

#include <QString>

class QWidget;
class QStatusBar;

// The two common routines that need widgets.
namespace examora {

// Shows a coded message box ("E11…", "Q22…", …) owned by owner: topmost, application-modal,
// brought to the front. Returns 1 OK, 2 Cancel, 6 Yes, 7 No, or 0 for an invalid code (then
// nothing is shown and the whole text goes to the status bar, when one is given).
int ShowMessageCode(QWidget* owner, QStatusBar* statusBar, const QString& codedText,
                    const QString& extraText = QString());

// Moves the window to the centre of the primary screen (full screen, not the work area).
void CenterOnScreen(QWidget* form);

}  // namespace examora
