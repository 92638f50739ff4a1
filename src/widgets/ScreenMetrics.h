#pragma once

#include "exam/model/Placement.h"

namespace examora {

// The system's own values where the platform has them (Windows); elsewhere the primary
// screen's geometry and the style's title bar height, with a 4-pixel sizing border.
ScreenMetrics CurrentScreenMetrics();

}  // namespace examora
