#pragma once

#include <optional>

namespace examora {

// The primary screen's metrics as the window system states them (GetSystemMetrics on
// Windows). Systems without such a table return nothing and the caller measures the screen
// itself.
struct NativeMetrics {
  int cxScreen = 0;      // SM_CXSCREEN
  int cyScreen = 0;      // SM_CYSCREEN
  int cyCaption = 0;     // SM_CYCAPTION
  int cyMaximized = 0;   // SM_CYMAXIMIZED
  int cyFullScreen = 0;  // SM_CYFULLSCREEN
  int cxFrame = 0;       // SM_CXFRAME
  int cyFrame = 0;       // SM_CYFRAME
};

[[nodiscard]] std::optional<NativeMetrics> NativeSystemMetrics();

}  // namespace examora
