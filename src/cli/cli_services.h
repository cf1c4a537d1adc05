#pragma once

#include "device/backend_options.h"
#include "device/hid_backend.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
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
    // Where the pedals' nicknames are kept; nothing when the user has no state directory.
    std::optional<std::filesystem::path> pedalNamesFile = {};
};

} // namespace treadkey
