#include "platform/Keyboard.h"

namespace examora {

bool NativeKeysAreVirtualKeys() {
  return false;
}

}  // namespace examora
