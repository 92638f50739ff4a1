#include <filesystem>
#include <system_error>

#include "platform/FileAttributes.h"

namespace examora {

void ClearReadOnlyAndHidden(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::perms current = fs::status(fs::path(path), error).permissions();
  if (error || (current & fs::perms::owner_write) != fs::perms::none) return;
  fs::permissions(fs::path(path), fs::perms::owner_write, fs::perm_options::add, error);
}

bool FilePathsIgnoreCase() {
  return false;
}

}  // namespace examora
