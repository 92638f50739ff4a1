#include "platform/AtomicReplace.h"

#include <cstdint>
#include <random>

namespace examora {

std::string TemporaryPathBeside(std::string_view path) {
  // Drawn from the system at each call: a generator kept in the process would be copied into
  // a forked child, which would then draw the names its parent and its siblings drew; the
  // temporary files that killed writers leave behind would make every one of its attempts
  // collide.
  std::random_device system;
  std::uint64_t value = (std::uint64_t{system()} << 32) ^ system();
  std::string part;
  do {
    part.insert(part.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
    value /= 36;
  } while (value != 0);

  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::string temp(path.substr(0, nameStart));
  temp += '.';
  temp += path.substr(nameStart);
  temp += '.';
  temp += part;
  temp += ".tmp";
  return temp;
}

}  // namespace examora
