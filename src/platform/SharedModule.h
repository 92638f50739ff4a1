#pragma once

#include <string>

namespace examora {

// Loads one of the program's own shared modules and keeps it for the life of the process; its
// static initializers run before this returns. path is UTF-8: a full path, or a bare file name
// that the system looks for where it looks for the program's own libraries. Every reference
// the module makes is resolved now, so that a module that does not fit the program is refused
// here rather than failing in the middle of an exam. Returns an empty string, or the system's
// reason.
[[nodiscard]] std::string LoadSharedModule(const std::string& path);

}  // namespace examora
