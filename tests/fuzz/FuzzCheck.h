#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a crash: print what failed and abort so that libFuzzer
// keeps the input.
#define FUZZ_CHECK(cond)                                                               \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)
