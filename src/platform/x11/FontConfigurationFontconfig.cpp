#include <fontconfig/fontconfig.h>

#include "platform/FontConfiguration.h"

namespace examora {

// fontconfig makes its configuration once, safely from any thread; whoever asks later (Qt's
// font database) finds it made.
FontConfigurationLoad::FontConfigurationLoad() : thread_([] { (void)FcInit(); }) {}

FontConfigurationLoad::~FontConfigurationLoad() {
  thread_.join();
}

}  // namespace examora
