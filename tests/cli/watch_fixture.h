#pragma once

#include "fixtures/cli_in_process.h"
#include "fixtures/scratch_directory.h"
#include "hid/input_layout.h"
#include "record/record_file.h"
#include "stacks/fake_hid_backend.h"
#include "json/json.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

const std::string kKeyboard = "pedal-keyboard";
const std::string kMouse = "pedal-mouse";
const std::string kVendor = "pedal-vendor";
const Bytes kCtrlShiftA = {0x03, 0, 0x04, 0, 0, 0, 0, 0};
const Bytes kNoKeys(8, 0);
const Bytes kRightButton = {0x02, 0, 0};
const Bytes kNoButtons(3, 0);
// The time every record update of a run is stamped with, within its first second.
constexpr std::string_view kStamp = "2026-03-01T12:00:00Z";

inline std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// treadkeyctl monitor over an in-process composite pedal, on a clock that moves only when the monitor waits.
// Each wait runs the steps of the script that are due by then, as if the pedal acted while the monitor slept.
class Monitor : public ::testing::Test {
protected:
    using Outcome = testing::CliOutcome;

    void PlugKeyboard() {
        const std::span<const std::uint8_t> descriptor = BootKeyboardDescriptor();
        fake_.Plug({kKeyboard,
                    0x2704,
                    0x2018,
                    2,
                    true,
                    {{0x01, 0x06}},
                    Bytes(descriptor.begin(), descriptor.end())});
    }
    void PlugPedal() {
        PlugKeyboard();
        const std::span<const std::uint8_t> descriptor = BootMouseDescriptor();
        fake_.Plug(
            {kMouse, 0x2704, 0x2018, 0, true, {{0x01, 0x02}}, Bytes(descriptor.begin(), descriptor.end())});
        fake_.Plug({kVendor, 0x2704, 0x2018, 9, true, {{0xFF00, 0x01}}});
    }

    // Each run starts the script and the clock afresh.
    Outcome Run(Lines arguments) {
        step_ = 0;
        now_ = {};
        arguments.insert(arguments.begin(), command_);
        return testing::RunCliInProcess(arguments, [this](CliServices& services) {
            services.makeBackend = [this](const BackendOptions&) {
                return std::unique_ptr<HidBackend>(std::make_unique<testing::FakeHidBackend>(fake_));
            };
            services.sleep = [this](std::chrono::milliseconds pause) {
                now_ += pause;
                while (step_ < script_.size() && script_[step_].at <= now_.time_since_epoch()) {
                    script_[step_++].act();
                }
            };
            services.now = [this] { return now_; };
            // The wall clock goes with the fixture's own, so that an event's time tells when it came.
            services.utcNow = [this] {
                return testing::kRunTime +
                       std::chrono::duration_cast<std::chrono::milliseconds>(now_.time_since_epoch());
            };
            services.stateDirectory = scratch_ / "state";
        });
    }

    std::string command_ = "monitor";
    testing::ScratchDirectory scratch_;
    testing::FakeHidBackend fake_;
    struct Step {
        std::chrono::milliseconds at;
        std::function<void()> act;
    };
    std::vector<Step> script_;
    std::size_t step_ = 0;
    std::chrono::steady_clock::time_point now_{};
};

} // namespace treadkey
