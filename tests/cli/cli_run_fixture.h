#pragma once

#include "arguments/shown_text.h"
#include "editor/profile_file.h"
#include "fixtures/cli_in_process.h"
#include "fixtures/scratch_directory.h"
#include "protocol/frame_layout.h"
#include "protocol/frames.h"
#include "protocol/output_report.h"
#include "protocol/report_hex.h"
#include "record/pedal_names.h"
#include "record/record_file.h"
#include "stack_choice/backend_options.h"
#include "stacks/fake_hid_backend.h"
#include "stacks/virtual/virtual_presses.h"
#include "json/json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace treadkey {

using Lines = std::vector<std::string>;

// Each frame as the report the window sends for it, in the virtual pedal's log form.
inline Lines ExpectedReports(const Lines& frames, int length = 9) {
    Lines reports;
    for (const std::string& frame : frames) {
        reports.push_back(ReportHexLine(BuildOutputReport(frame, length)));
    }
    return reports;
}

// treadkeyctl run in the test's process on the virtual pedal, which logs what it receives, or on a fake HID
// stack; its names and records in a scratch state directory, its clock fixed.
class CliRun : public ::testing::Test {
protected:
    using Outcome = testing::CliOutcome;

    Outcome Run(const Lines& arguments) { return RunWith(arguments, MakeBackend); }

    // On a virtual pedal that logs what it receives, plugged in while presenceFile_ exists.
    Outcome RunOnPedal(Lines arguments) {
        arguments.insert(arguments.begin(), {"--virtual-pedal", "--virtual-pedal-log", log_.string(),
                                             "--virtual-pedal-present", presenceFile_.string()});
        return Run(arguments);
    }

    Outcome RunOnFake(const Lines& arguments) {
        return RunWith(arguments, [this](const BackendOptions&) {
            return std::unique_ptr<HidBackend>(std::make_unique<testing::FakeHidBackend>(fake_));
        });
    }

    Lines LoggedReports() const {
        std::ifstream file(log_);
        std::ostringstream text;
        text << file.rdbuf();
        return testing::SplitLines(text.str());
    }

    void SetUp() override { std::ofstream{presenceFile_}; }

    testing::ScratchDirectory scratch_;
    std::filesystem::path log_ = scratch_ / "pedal.log";
    std::filesystem::path presenceFile_ = scratch_ / "plugged-in";
    std::filesystem::path namesFile_ = scratch_ / "state" / "pedal-names.json";
    std::filesystem::path stateDirectory_ = scratch_ / "state";
    testing::FakeHidBackend fake_;
    std::function<void()> onPause_ = [] {};
    std::string input_;                   // standard input
    std::streambuf* outBuffer_ = nullptr; // where standard output goes instead of the outcome, when set

private:
    Outcome RunWith(const Lines& arguments,
                    std::function<std::unique_ptr<HidBackend>(const BackendOptions&)> makeBackend) {
        std::istringstream in(input_);
        const auto adjust = [&](CliServices& services) {
            services.makeBackend = std::move(makeBackend);
            services.sleep = [this](std::chrono::milliseconds) { onPause_(); };
            services.in = &in;
            services.pedalNamesFile = namesFile_;
            services.stateDirectory = stateDirectory_;
            // An empty system, so that doctor finds the same on every machine.
            services.lookAtSystem = [this] {
                SystemRoot system;
                system.root = scratch_ / "system";
                return system;
            };
        };
        return testing::RunCliInProcess(arguments, adjust, {.out = outBuffer_});
    }
};

} // namespace treadkey
