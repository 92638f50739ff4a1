#pragma once

#include "platform/SystemMetrics.h"

namespace examora {

// The system metrics of the primary screen the exam window lays itself out by, named after
// the values they stand for: SM_CXSCREEN, SM_CYSCREEN, SM_CYCAPTION, SM_CYMAXIMIZED,
// SM_CXFRAME, SM_CYFRAME.
struct ScreenMetrics {
  int cxScreen = 0;
  int cyScreen = 0;
  int cyCaption = 0;
  int cyMaximized = 0;
  int cxFrame = 0;
  int cyFrame = 0;
};

// The system counts physical pixels while the widgets count device-independent ones: the
// native values divided by the primary screen's device pixel ratio, rounded.
ScreenMetrics ScaleNativeMetrics(const NativeMetrics& native, double devicePixelRatio);

// The system's own values where the platform has them (Windows); elsewhere the primary
// screen's geometry and the style's title bar height, with a 4-pixel sizing border.
ScreenMetrics CurrentScreenMetrics();

}  // namespace examora
