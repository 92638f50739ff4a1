#pragma once

#include <thread>

namespace examora {

// Loads the system's font configuration on a thread of its own while the program starts, so
// that the first text of the first screen does not wait for it. On Linux that is
// fontconfig's configuration (its files and caches, milliseconds of work); Windows has its
// fonts ready and nothing is done there. Made before the application object; the destructor
// waits for the thread.
class FontConfigurationLoad {
 public:
  FontConfigurationLoad();
  ~FontConfigurationLoad();
  FontConfigurationLoad(const FontConfigurationLoad&) = delete;
  FontConfigurationLoad& operator=(const FontConfigurationLoad&) = delete;

 private:
  std::thread thread_;
};

}  // namespace examora
