#include "platform/SystemMenu.h"

#include "platform/win32/Utf16.h"

namespace examora {

bool RemoveTaskbarMenuCommands(WindowId window) {
  HWND handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
  if (!handle) return false;
  HMENU menu = GetSystemMenu(handle, FALSE);
  if (!menu) return false;
  // A command that is already gone is not an error: the menu ends up the same.
  for (UINT command : {SC_MINIMIZE, SC_CLOSE, SC_RESTORE}) DeleteMenu(menu, command, MF_BYCOMMAND);
  return true;
}

}  // namespace examora
