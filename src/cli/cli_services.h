#pragma once

#include "diagnosis/system_root.h"
#include "record/record_file.h"
#include "record/utc_time.h"
#include "stack_choice/backend_options.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace treadkey {

// What a run of treadkeyctl reaches outside itself; tests swap the HID stack, the clock, the input and the
// system files doctor reads.
struct CliServices {
    std::ostream& out;
    std::ostream& err;
    std::function<std::unique_ptr<HidBackend>(const BackendOptions&)> makeBackend;
    std::function<void(std::chrono::milliseconds)> sleep;
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
    std::istream* in = &std::cin; // where 'apply -' reads its profile
    std::function<SystemRoot()> lookAtSystem = RunningSystem;
    // Where the pedals' nicknames are kept; nothing when the user has no state directory.
    std::optional<std::filesystem::path> pedalNamesFile = {};
    // Where each pedal's record of what it holds is kept; nothing when the user has no state directory.
    std::optional<std::filesystem::path> stateDirectory = {};
    // The wall clock: the record's time stamps and the monitor's event times.
    std::function<std::chrono::system_clock::time_point()> utcNow = [] {
        return std::chrono::system_clock::now();
    };

    // The record's time stamp for now, to the second.
    std::string UtcNowText() const { return UtcText(utcNow(), UtcPrecision::Seconds); }
};

} // namespace treadkey
