#include "platform/SystemMenu.h"

namespace examora {

bool RemoveTaskbarMenuCommands(WindowId) {
  // The window manager owns the window menu here; the exam window is frameless and on top.
  return false;
}

}  // namespace examora
