#pragma once

#include "stack_choice/backend_options.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>

namespace treadkey {

// What a run of treadkeyctl reaches outside itself; tests swap the HID stack and the clock.
struct CliServices {
    std::ostream& out;
    std::ostream& err;
    std::function<std::unique_ptr<HidBackend>(const BackendOptions&)> makeBackend;
    std::function<void(std::chrono::milliseconds)> sleep;
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
};

} // namespace treadkey
