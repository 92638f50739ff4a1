#pragma once

// What the system hands a program with each key press, beside the key itself.
namespace examora {

// Whether the native key code of a key press is a Windows virtual-key code (VK_…). Only
// Windows gives those; X11 gives key symbols, which must not be mistaken for them.
bool NativeKeysAreVirtualKeys();

}  // namespace examora
