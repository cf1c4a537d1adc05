#pragma once

#include "device/backend_options.h"
#include "device/hid_backend.h"
#include "diagnosis/system_root.h"

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>

namespace treadkey {

// What a run of treadkeyctl reaches outside itself; tests swap the HID stack, the clock and the system
// files doctor reads.
struct CliServices {
    std::ostream& out;
    std::ostream& err;
    std::function<std::unique_ptr<HidBackend>(const BackendOptions&)> makeBackend;
    std::function<void(std::chrono::milliseconds)> sleep;
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
    std::function<SystemRoot()> lookAtSystem = RunningSystem;
};

} // namespace treadkey
