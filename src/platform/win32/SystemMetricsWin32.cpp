#include "platform/SystemMetrics.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace examora {

std::optional<NativeMetrics> NativeSystemMetrics() {
  NativeMetrics m;
  m.cxScreen = GetSystemMetrics(SM_CXSCREEN);
  m.cyScreen = GetSystemMetrics(SM_CYSCREEN);
  m.cyCaption = GetSystemMetrics(SM_CYCAPTION);
  m.cyMaximized = GetSystemMetrics(SM_CYMAXIMIZED);
  m.cyFullScreen = GetSystemMetrics(SM_CYFULLSCREEN);
  m.cxFrame = GetSystemMetrics(SM_CXFRAME);
  m.cyFrame = GetSystemMetrics(SM_CYFRAME);
  // GetSystemMetrics answers 0 when it fails; a screen of no size is no answer.
  if (m.cxScreen <= 0 || m.cyScreen <= 0) return std::nullopt;
  return m;
}

}  // namespace examora
