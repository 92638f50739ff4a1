#include "platform/SystemMetrics.h"

namespace examora {

// X11 and the other POSIX window systems keep no such table; the caller measures the screen.
std::optional<NativeMetrics> NativeSystemMetrics() {
  return std::nullopt;
}

}  // namespace examora
