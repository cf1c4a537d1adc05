// The record of what a pedal holds, on the kernel's own HID and input stack, against uhid pedals that keep
// the frames they are sent: verify presses a slot and compares, holds the pedal's keys from other readers
// while it waits, and export and apply clone one pedal onto another. Runs as root in the test guest.
#include "fixtures/cli_in_process.h"
#include "fixtures/scratch_directory.h"
#include "kernel/event_readers.h"
#include "kernel/remembering_pedal.h"
#include "protocol/frame_layout.h"
#include "record/pedal_names.h"
#include "record/state_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace treadkey::kerneltest {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;

using Arguments = std::vector<std::string>;
using testing::CliOutcome;
using testing::SharedText;

// Records and nicknames in the state directory the environment names, as the program keeps them when started
// from a shell.
void KeepRecords(CliServices& services) {
    const auto environment = [](const char* name) { return std::getenv(name); };
    services.pedalNamesFile = PedalNamesFile(environment);
    services.stateDirectory = StateDirectory(environment);
}

// Each test keeps its records in a state directory of its own, as a user's shell names it.
class RecordOnKernel : public ::testing::Test {
protected:
    RecordOnKernel() { ::setenv("XDG_STATE_HOME", (scratch_ / "state").c_str(), 1); }
    ~RecordOnKernel() override { ::unsetenv("XDG_STATE_HOME"); }

    static CliOutcome Run(const Arguments& arguments) {
        return testing::RunCliInProcess(arguments, KeepRecords);
    }

    // `verify SLOTS --timeout 30`, with `presser` running in a thread of its own once verify holds the
    // pedal's keyboard and mouse: it says it watches them only after it has taken the hold.
    static CliOutcome VerifyWhile(CompositePedal& pedal, Arguments slots,
                                  const std::function<void(SharedText& err)>& presser) {
        SharedText err;
        std::thread pressing([&] {
            if (err.WaitFor("watching " + pedal.keyboard.hidrawPath() + ":", 10s) &&
                err.WaitFor("watching " + pedal.mouse.hidrawPath() + ":", 10s)) {
                presser(err);
            }
        });
        slots.insert(slots.begin(), "verify");
        slots.insert(slots.end(), {"--timeout", "30"});
        const CliOutcome outcome = testing::RunCliInProcess(slots, KeepRecords, {.err = &err});
        pressing.join();
        return outcome;
    }

    testing::ScratchDirectory scratch_;
};

struct VerifyCase {
    const char* name;
    std::vector<Arguments> writes;
    std::optional<std::size_t> droppedReport; // of all the reports the writes send
    int exitCode;
    std::string said;
    std::string shownSource; // of slot 3, after verify
};

void PrintTo(const VerifyCase& row, std::ostream* out) {
    *out << row.name;
}

class VerifyOnKernel : public RecordOnKernel, public ::testing::WithParamInterface<VerifyCase> {
protected:
    RememberingPedal pedal{"usb-treadkey-verify", "", GetParam().droppedReport};
};

TEST_P(VerifyOnKernel, PressingSlot3SaysWhetherThePedalHoldsWhatWasWritten) {
    for (const Arguments& write : GetParam().writes) {
        const CliOutcome written = Run(write);
        ASSERT_EQ(written.exitCode, 0) << written.err;
    }
    const CliOutcome verify = VerifyWhile(pedal, {"3"}, [&](SharedText&) { pedal.press(3); });
    EXPECT_EQ(verify.exitCode, GetParam().exitCode) << verify.err;
    EXPECT_EQ(verify.out, GetParam().said + "\n");
    EXPECT_THAT(verify.err, HasSubstr("press slot 3 (ctrl+shift+a by the record)"));

    const CliOutcome show = Run({"show"});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_THAT(show.out, HasSubstr("slot 3   ctrl+shift+a            " + GetParam().shownSource));
}

// The second key's frame is the fourth report: each key sends its key frame, then the two settings frames.
INSTANTIATE_TEST_SUITE_P(
    Writes, VerifyOnKernel,
    ::testing::Values(VerifyCase{"Taken",
                                 {{"key", "3", "ctrl+shift+a"}},
                                 std::nullopt,
                                 0,
                                 "slot 3: match: ctrl+shift+a",
                                 "seen by a press "},
                      VerifyCase{"KeyFrameDropped",
                                 {{"key", "3", "b"}, {"key", "3", "ctrl+shift+a"}},
                                 3,
                                 1,
                                 "slot 3: MISMATCH: the record says ctrl+shift+a, the pedal sent b",
                                 "written "}),
    [](const ::testing::TestParamInfo<VerifyCase>& row) { return std::string(row.param.name); });

TEST_F(RecordOnKernel, WhileVerifyWaitsNoOtherReaderGetsThePedalsKeys) {
    RememberingPedal pedal("usb-treadkey-hold", "");
    ASSERT_EQ(Run({"key", "3", "ctrl+shift+a"}).exitCode, 0);
    ASSERT_EQ(Run({"mouse", "2", "right"}).exitCode, 0);
    EventReaders keyboardNode({&pedal.keyboard});
    ASSERT_GE(keyboardNode.NodeCount(), 1U);
    // Ctrl, Shift and A, each down and up.
    constexpr int kSlot3KeyEvents = 6;

    std::optional<int> whileHeld;
    const CliOutcome verify = VerifyWhile(pedal, {"3", "2"}, [&](SharedText& err) {
        pedal.press(3);
        // Slot 3 has had its turn: verify holds on while it waits for slot 2.
        if (err.WaitFor("press slot 2", 10s)) {
            whileHeld = keyboardNode.TakeKeyEvents();
        }
        pedal.press(2);
    });
    EXPECT_EQ(verify.exitCode, 0) << verify.err;
    EXPECT_EQ(verify.out, "slot 3: match: ctrl+shift+a\nslot 2: match: mouse right\n");
    EXPECT_THAT(verify.err, Not(HasSubstr("is not held")));
    EXPECT_EQ(whileHeld, 0);

    pedal.press(3);
    EXPECT_EQ(keyboardNode.TakeKeyEvents(), kSlot3KeyEvents) << "verify has let go";
}

TEST_F(RecordOnKernel, AnExportedPedalAppliedToAnotherHoldsTheSameMemory) {
    RememberingPedal original("usb-treadkey-clone-a", "CLONE-A");
    RememberingPedal copy("usb-treadkey-clone-b", "CLONE-B");
    const std::string profile = (scratch_ / "original.json").string();
    std::ofstream(profile) << R"({"slots": {"1": {"key": "ctrl+shift+a"}, "2": {"mouse": "left"}, "3": null},
                                 "delay": 300, "single_output": true, "playback": "loop", "auto_run": true})";
    for (const Arguments& write : {Arguments{"apply", profile}, Arguments{"key", "--key-only", "5", "alt+f4"},
                                   Arguments{"mouse", "6", "middle"},
                                   // Slot 7: A, with the field after the key code, which keys leave 0, set.
                                   Arguments{"raw", "AA 01 18 00 04 12 34"}}) {
        Arguments onOriginal = {"--pedal", "serial:CLONE-A"};
        onOriginal.insert(onOriginal.end(), write.begin(), write.end());
        const CliOutcome written = Run(onOriginal);
        ASSERT_EQ(written.exitCode, 0) << written.err;
    }

    const std::string exported = (scratch_ / "exported.json").string();
    const CliOutcome exporting = Run({"--pedal", "serial:CLONE-A", "export", exported});
    EXPECT_EQ(exporting.exitCode, 0) << exporting.err;
    EXPECT_EQ(exporting.err,
              "treadkeyctl: warning: slots 4, 8, 9, 10, 11, 12 are unknown to the record: left out\n"
              "treadkeyctl: warning: slot 7 holds 00 04 12 34, which a profile cannot name: left out\n");
    const CliOutcome applying = Run({"--pedal", "serial:CLONE-B", "apply", exported});
    EXPECT_EQ(applying.exitCode, 0) << applying.err;

    // Every word the profile could say is the same on both; slot 7's, which it could not, was left alone.
    const PedalMemory originalMemory = original.memory();
    const PedalMemory copyMemory = copy.memory();
    ASSERT_EQ(originalMemory.slot(5), (MemoryWord{{0x04, 0x3D, 0x00, 0x00}, WordWriter::KeyCommand}))
        << "alt+f4 reached the first pedal";
    for (int address = 0; address <= kLastAddress; address += kWordSize) {
        if (address == 0x18) {
            EXPECT_EQ(copyMemory.wordAt(address), MemoryWord{});
        } else {
            EXPECT_EQ(copyMemory.wordAt(address), originalMemory.wordAt(address)) << "word " << address;
        }
    }
}

} // namespace
} // namespace treadkey::kerneltest
