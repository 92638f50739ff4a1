#pragma once

#include "platform/TopLevelWindows.h"

// The window menu the taskbar shows for a program's window.
namespace examora {

// Removes Minimise, Close and Restore from the window's system menu, so that a candidate
// cannot minimise or close the exam from the taskbar. Windows: GetSystemMenu + DeleteMenu.
// Other systems leave such commands to the window manager, which the program cannot reach;
// there the call does nothing. True when the commands are gone.
bool RemoveTaskbarMenuCommands(WindowId window);

}  // namespace examora
