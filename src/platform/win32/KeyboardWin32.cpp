#include "platform/Keyboard.h"

namespace examora {

bool NativeKeysAreVirtualKeys() {
  return true;
}

}  // namespace examora
