#include "platform/SharedModule.h"

#include <dlfcn.h>

namespace examora {

std::string LoadSharedModule(const std::string& path) {
  // Called from the program itself, so a bare name is looked up along the program's RUNPATH.
  if (dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return {};
  const char* error = dlerror();
  return error ? error : "dlopen failed";
}

}  // namespace examora
