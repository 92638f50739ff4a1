#pragma once

#include <string>
#include <string_view>

namespace examora {

struct [[nodiscard]] ShellResult {
  bool ok = false;
  std::string error;  // the system's text when !ok
  explicit operator bool() const { return ok; }
};

// Starts a program by its path (UTF-8) and returns without waiting for it.
// Windows: ShellExecuteW with the default verb and a normal window. POSIX: the file is
// executed directly, detached from this process (it is not our child and inherits none of
// our locks), with no arguments and this process's working folder.
ShellResult StartExecutable(std::string_view path);

// Shows a folder in the file manager. Windows: ShellExecuteW "open". POSIX: xdg-open from
// PATH. Fails when the folder does not exist.
ShellResult OpenFolder(std::string_view path);

}  // namespace examora
