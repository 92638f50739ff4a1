#pragma once

#include <QString>

class QWidget;

namespace examora {

// Outcome of the proctor's time-extension shortcut.
struct ExtensionOutcome {
  bool ran = false;     // タイムコントロール is "1" and the input dialog was shown
  bool stored = false;  // the input dialog stored a value (result 1)
  int oldMinutes = 0;
  int newMinutes = 0;
  bool Changed() const { return stored && oldMinutes != newMinutes; }
};

// Whether the installation lets a proctor extend the time (system.ini タイムコントロール); the
// shortcut does nothing at all otherwise.
bool TimeExtensionAllowed();

// The shared core of Ctrl+Shift+T: reads the time control switch, shows the input dialog
// (QZTP0200) and, when the extension changed, the result dialog (QZTP0210).
ExtensionOutcome RunTimeExtension(QWidget* owner, const QString& partCode);

}  // namespace examora
