#include "platform/SharedModule.h"
#include "platform/win32/Utf16.h"

namespace examora {

std::string LoadSharedModule(const std::string& path) {
  // Windows resolves a module's imports while loading it: a missing one fails here.
  if (LoadLibraryW(win32::Utf8ToWide(path).c_str())) return {};
  return win32::ErrorText(GetLastError());
}

}  // namespace examora
