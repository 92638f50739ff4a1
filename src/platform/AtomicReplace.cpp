#include "platform/AtomicReplace.h"

#include <cstdint>
#include <random>

namespace examora {

std::string TemporaryPathBeside(std::string_view path) {
  // Seeded once per thread from the system; only uniqueness beside the target matters.
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uint64_t value = random();
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
