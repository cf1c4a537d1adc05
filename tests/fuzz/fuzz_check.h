#pragma once

#include <cstdio>
#include <cstdlib>

namespace treadkey::fuzz {

// A violated property: libFuzzer saves the input as a crash artifact when the process aborts.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}

} // namespace treadkey::fuzz
