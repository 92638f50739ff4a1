#include "platform/FontConfiguration.h"

namespace examora {

// The system's fonts are loaded with the system: no thread is started.
FontConfigurationLoad::FontConfigurationLoad() = default;

FontConfigurationLoad::~FontConfigurationLoad() = default;

}  // namespace examora
