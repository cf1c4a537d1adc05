#include "arguments/shown_text.h"
#include "cli/commands/command_table.h"
#include "record/pedal_names.h"
#include "editor/profile_file.h"
#include "fixtures/cli_in_process.h"
#include "fixtures/scratch_directory.h"
#include "protocol/frame_layout.h"
#include "protocol/frames.h"
#include "protocol/output_report.h"
#include "protocol/report_hex.h"
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
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// Each frame as the report the window sends for it, in the virtual pedal's log form.
Lines ExpectedReports(const Lines& frames, int length = 9) {
    Lines reports;
    for (const std::string& frame : frames) {
        reports.push_back(ReportHexLine(BuildOutputReport(frame, length)));
    }
    return reports;
}

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
        return testing::RunCliInProcess(
            arguments,
            [&](CliServices& services) {
                services.makeBackend = std::move(makeBackend);
                services.sleep = [this](std::chrono::milliseconds) { onPause_(); };
                services.in = &in;
                services.pedalNamesFile = namesFile_;
                services.stateDirectory = stateDirectory_;
                services.utcNow = [] { return std::string("2026-03-01T12:00:00Z"); };
                // An empty system, so that doctor finds the same on every machine.
                services.lookAtSystem = [this] {
                    SystemRoot system;
                    system.root = scratch_ / "system";
                    return system;
                };
            },
            {.out = outBuffer_});
    }
};

TEST_F(CliRun, KeyWritesTheWorkedExampleAsTheWindowDoes) {
    const Outcome outcome = RunOnPedal({"key", "3", "ctrl+shift+a", "--delay", "0"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(LoggedReports(), (Lines{"00 AA 01 08 03 04 00 00 00", "00 AA 01 7C 79 01 00 00 00",
                                      "00 AA 01 78 79 01 00 00 00"}));
    EXPECT_EQ(outcome.pauses, (std::vector<std::chrono::milliseconds>{50ms, 50ms}));
    EXPECT_EQ(outcome.out, "wrote 3 reports to virtual-pedal\n");
    EXPECT_EQ(outcome.err,
              "treadkeyctl: note: the key delay frame leaves the pedal with auto-run on and loop "
              "playback, as the window's keys do; --key-only writes the key alone\n");
}

// Every write leaves the record of the pedal it went to holding what the pedal now holds, or not knowing.
TEST_F(CliRun, EveryWriteChangesThePedalsRecord) {
    const auto recorded = [this] {
        const LoadedRecord loaded = LoadPedalRecord(PedalRecordFile(stateDirectory_, "virtual-1"), "");
        EXPECT_EQ(loaded.warning + loaded.error, "");
        return loaded.record;
    };
    const auto written = [](std::array<std::uint8_t, kWordSize> data,
                            WordWriter writer = WordWriter::KeyCommand) {
        return RecordedWord{WordSource::Written, {data, writer}, "2026-03-01T12:00:00Z", "treadkeyctl", ""};
    };
    ASSERT_EQ(RunOnPedal({"key", "3", "ctrl+shift+a", "--delay", "10", "--once"}).exitCode, 0);
    PedalRecord record = recorded();
    EXPECT_EQ(record.slotWords[2], written({0x03, 0x04, 0, 0}));
    EXPECT_EQ(record.playback, written({0x79, 0x01, 0, 10}));
    EXPECT_EQ(record.singleOutput, written({0x79, 0x01, 0x01, 0}));

    ASSERT_EQ(RunOnPedal({"mouse", "4", "right"}).exitCode, 0);
    EXPECT_EQ(recorded().slotWords[3].source, WordSource::Written);
    EXPECT_EQ(recorded().slotWords[3].word.writer, WordWriter::MouseCommand);

    ASSERT_EQ(RunOnPedal({"raw", "aa 05 00 01 02 03 04"}).exitCode, 0);
    EXPECT_EQ(recorded().slotWords[0].note, "a frame of command 5 the record cannot decode");

    onPause_ = [this] { std::filesystem::remove(presenceFile_); };
    ASSERT_EQ(RunOnPedal({"key", "5", "b"}).exitCode, 1);
    record = recorded();
    EXPECT_EQ(record.slotWords[4].source, WordSource::Unknown);
    EXPECT_EQ(record.slotWords[4].note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.playback.note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.slotWords[2], written({0x03, 0x04, 0, 0}));

    onPause_ = [] {};
    std::ofstream{presenceFile_};
    ASSERT_EQ(RunOnPedal({"clear-all", "--yes"}).exitCode, 0);
    for (const RecordedWord& slot : recorded().slotWords) {
        EXPECT_EQ(slot, written({0xFF, 0xFF, 0xFF, 0xFF}));
    }
}

TEST_F(CliRun, ShowTellsWhatTheRecordHoldsAndWhence) {
    ASSERT_EQ(RunOnPedal({"key", "3", "ctrl+shift+a", "--delay", "10"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"mouse", "4", "right"}).exitCode, 0);
    const Outcome shown = RunOnPedal({"show"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    const Lines lines = testing::SplitLines(shown.out);
    ASSERT_EQ(lines.size(), 15u) << shown.out;
    EXPECT_EQ(lines[0], "pedal virtual-1, as this computer wrote or saw it:");
    EXPECT_EQ(lines[1], "slot 1   unknown                 never written from this computer");
    EXPECT_EQ(lines[3], "slot 3   ctrl+shift+a            written 2026-03-01T12:00:00Z by treadkeyctl");
    EXPECT_EQ(lines[4], "slot 4   mouse right             written 2026-03-01T12:00:00Z by treadkeyctl");
    EXPECT_EQ(lines[13],
              "key delay 10 ms, auto-run on, loop playback  written 2026-03-01T12:00:00Z by treadkeyctl");

    const Outcome json = RunOnPedal({"show", "--json"});
    const JsonParseResult parsed = ParseJson(json.out);
    ASSERT_TRUE(parsed.value) << json.out;
    EXPECT_NE(json.out.find("{\"slot\": 3, \"kind\": \"key\", \"value\": \"ctrl+shift+a\", \"source\": "
                            "\"written\""),
              std::string::npos)
        << json.out;

    // A record this program cannot read never stops it; one of another version is not overwritten.
    const std::filesystem::path record = stateDirectory_ / "records" / "virtual-1.json";
    std::ofstream(record) << "{\"version\": 1, \"slo";
    const Outcome broken = RunOnPedal({"show"});
    EXPECT_EQ(broken.exitCode, 0);
    EXPECT_NE(broken.err.find("cannot be read"), std::string::npos) << broken.err;
    EXPECT_NE(broken.out.find("slot 3   unknown"), std::string::npos) << broken.out;
    std::ofstream(record) << "{\"version\": 2}";
    const Outcome newer = RunOnPedal({"key", "3", "b"});
    EXPECT_EQ(newer.exitCode, 0);
    EXPECT_NE(newer.err.find("a record of version 2"), std::string::npos) << newer.err;
    EXPECT_EQ(RunOnPedal({"show"}).exitCode, 1);
}

// A pedal is cloned by exporting its record and applying the profile: the second pedal's memory ends the
// same.
TEST_F(CliRun, AnExportedRecordAppliesAsTheSameMemory) {
    ASSERT_EQ(RunOnPedal({"key", "3", "ctrl+shift+a", "--delay", "10", "--once"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"mouse", "4", "middle"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"raw", "aa 01 1c ff ff ff ff"}).exitCode, 0);
    // Words no profile names, as its frames would write other bytes: slot 7 holds A with the field after the
    // key code set, and the single-output word lost its first two bytes. They are left out, not changed.
    ASSERT_EQ(RunOnPedal({"raw", "aa 01 18 00 04 12 34"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"raw", "aa 01 78 00 00 01 00"}).exitCode, 0);
    const PedalMemory original = MemoryFromLog(log_);
    const std::filesystem::path profile = scratch_ / "pedal.json";
    const Outcome exported = RunOnPedal({"export", profile.string()});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.err,
              "treadkeyctl: warning: slots 1, 2, 5, 6, 9, 10, 11, 12 are unknown to the record: left out\n"
              "treadkeyctl: warning: slot 7 holds 00 04 12 34, which a profile cannot name: left out\n"
              "treadkeyctl: warning: the single-output word holds 00 00 01 00, which a profile cannot name: "
              "left out\n");
    std::filesystem::remove(log_);
    ASSERT_EQ(RunOnPedal({"apply", profile.string()}).exitCode, 0);
    const PedalMemory cloned = MemoryFromLog(log_);
    for (int address = 0; address <= kLastAddress; address += kWordSize) {
        const bool leftOut = address == 0x18 || address == kSingleOutputAddress;
        EXPECT_EQ(cloned.wordAt(address), leftOut ? std::optional(MemoryWord{}) : original.wordAt(address))
            << address;
    }

    // A cleared pedal's settings words are known, and no profile writes them.
    ASSERT_EQ(RunOnPedal({"clear-all", "--yes"}).exitCode, 0);
    const Outcome cleared = RunOnPedal({"export", "-"});
    EXPECT_EQ(cleared.exitCode, 0);
    EXPECT_EQ(cleared.err,
              "treadkeyctl: warning: the key delay, playback and auto-run word holds FF FF FF FF, "
              "which a profile cannot name: left out\n"
              "treadkeyctl: warning: the single-output word holds FF FF FF FF, which a profile "
              "cannot name: left out\n");

    std::filesystem::remove_all(stateDirectory_);
    const Outcome nothing = RunOnPedal({"export", "-"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.out, "");
}

TEST_F(CliRun, KeyOnlyChangesTheSlotsWordAlone) {
    const Outcome outcome = RunOnPedal({"key", "3", "ctrl+shift+a", "--key-only"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const PedalMemory memory = MemoryFromLog(log_);
    for (int address = 0; address <= kLastAddress; address += kWordSize) {
        const MemoryWord expected =
            address == 0x08 ? MemoryWord{{0x03, 0x04, 0x00, 0x00}, WordWriter::KeyCommand} : MemoryWord{};
        EXPECT_EQ(memory.wordAt(address), expected) << address;
    }
}

TEST_F(CliRun, KeyWritesKeyFrameDelayAndSingleOutputInTheWindowsOrder) {
    const struct {
        Lines arguments;
        const char* slot;
        std::uint8_t modifiers;
        double code;
        double delay;
        int once;
    } cases[] = {
        {{"key", "12", "alt_r+f12", "--delay", "300", "--once"}, "12", 0x40, 69, 300, 1},
        {{"key", "1", "WIN+KP_ENTER", "--delay=65535"}, "1", 0x08, 88, 65535, 0},
        {{"key", "--once", "7", "backslash"}, "7", 0x00, 50, 0, 1},
        {{"key", "5", "shift_r+ctrl_l+menu", "--delay", "1"}, "5", 0x21, 101, 1, 0},
        {{"key", "2", "kp_0"}, "2", 0x00, 98, 0, 0},
        {{"key", "2", "0"}, "2", 0x00, 39, 0, 0},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        EXPECT_EQ(outcome.exitCode, 0) << c.arguments[2] << ": " << outcome.err;
        EXPECT_EQ(LoggedReports(), ExpectedReports({KeyFrame(c.slot, c.modifiers, c.code),
                                                    KeyDelayFrame(c.delay), SingleOutputFrame(c.once)}))
            << c.arguments[2];
        EXPECT_EQ(outcome.pauses, (std::vector<std::chrono::milliseconds>{50ms, 50ms})) << c.arguments[2];
    }
}

TEST_F(CliRun, ReportsTakeThePedalsLength) {
    const Outcome outcome = RunOnPedal({"--report-length", "20", "key", "3", "ctrl+shift+a"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(LoggedReports(),
              ExpectedReports({KeyFrame("3", 0x03, 4), KeyDelayFrame(0), SingleOutputFrame(0)}, 20));
}

TEST_F(CliRun, OtherCommandsWriteWhatTheWindowWritesWithoutPauses) {
    const struct {
        Lines arguments;
        Lines frames;
    } cases[] = {
        {{"mouse", "1", "left"}, {MouseFrame("1", 1)}},
        {{"mouse", "12", "middle"}, {MouseFrame("12", 4)}},
        {{"mouse", "2", "Right"}, {MouseFrame("2", 2)}},
        {{"playback", "loop", "--auto-run", "on"}, {PlaybackFrame(true, true)}},
        {{"playback", "single", "--auto-run", "on"}, {PlaybackFrame(true, false)}},
        {{"playback", "--auto-run=off", "loop"}, {PlaybackFrame(false, true)}},
        {{"playback", "single", "--auto-run", "off"}, {PlaybackFrame(false, false)}},
        {{"raw", "AA 01 7C 79 01 00 00"}, {"AA 01 7C 79 01 00 00"}},
        {{"raw", "aa", "01", "7c", "00", "01"}, {"aa 01 7c 00 01"}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        EXPECT_EQ(outcome.exitCode, 0) << c.arguments[0] << ": " << outcome.err;
        EXPECT_EQ(LoggedReports(), ExpectedReports(c.frames)) << c.arguments[0] << " " << c.arguments[1];
        EXPECT_TRUE(outcome.pauses.empty()) << c.arguments[0];
    }
    EXPECT_EQ(
        RunOnPedal({"playback", "loop", "--auto-run", "off"}).err,
        "treadkeyctl: note: the playback frame sets the key delay to 0, which the pedal keeps in the same "
        "word\n");
}

TEST_F(CliRun, ClearAllWritesEveryClearFrameBackToBack) {
    Lines frames;
    for (int counter = 0; counter < kWordCount; ++counter) {
        frames.push_back(ClearFrame(counter));
    }
    const Outcome outcome = RunOnPedal({"clear-all", "--yes"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(LoggedReports(), ExpectedReports(frames));
    EXPECT_TRUE(outcome.pauses.empty());
}

TEST_F(CliRun, ApplyWritesTheProfileInSlotOrderThenTheSettings) {
    const std::filesystem::path profile = scratch_ / "profile.json";
    std::ofstream(profile) << R"({
        "playback": "single", "auto_run": true,
        "slots": {"5": null, "2": {"mouse": "right"}, "1": {"key": "ctrl+shift+a"}},
        "single_output": true, "delay": 0
    })";
    const Outcome outcome = RunOnPedal({"apply", profile.string()});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(LoggedReports(), ExpectedReports({KeyFrame("1", 0x03, 4), MouseFrame("2", 2), ClearFrame(4),
                                                PlaybackFrame(true, false), SingleOutputFrame(1)}));
    EXPECT_EQ(outcome.pauses, std::vector<std::chrono::milliseconds>(4, 50ms));
}

// Profiles over delay, playback and auto_run, each given or not, in combinations word 0x7C can and cannot
// hold, each also setting slot 1: one that is taken writes word 0x7C at most once and leaves the pedal's
// memory as asked; what leaves the three out writes neither settings word unless it sets single output. One
// that is refused says why in one line and writes nothing.
TEST_F(CliRun, ApplyLeavesThePlaybackWordAsAskedOrRefuses) {
    const std::string together = "come together, as the pedal keeps them in one word: ";
    const std::string combinations =
        ": it keeps delay, playback and auto-run in one word, which holds either any delay with "
        "\"auto_run\": true and \"playback\": \"loop\", or any playback and auto-run with \"delay\": 0";
    const struct {
        std::string members;              // besides slot 1, JSON
        std::optional<PlaybackWord> word; // what word 0x7C holds afterwards; nothing: no frame writes it
        std::string refusal;              // part of the one-line refusal
        bool writesSingleOutput = false;  // whether word 0x78 is written
    } cases[] = {
        {"", std::nullopt, ""},
        {R"("single_output": true)", std::nullopt, "", true},
        {R"("delay": 300)", std::nullopt, together + "\"playback\" and \"auto_run\" are missing"},
        {R"("playback": "loop")", std::nullopt, together + "\"delay\" and \"auto_run\" are missing"},
        {R"("auto_run": true)", std::nullopt, together + "\"delay\" and \"playback\" are missing"},
        {R"("delay": 0, "playback": "single")", std::nullopt, together + "\"auto_run\" is missing"},
        {R"("auto_run": false, "delay": 0)", std::nullopt, together + "\"playback\" is missing"},
        {R"("playback": "loop", "auto_run": true)", std::nullopt, together + "\"delay\" is missing"},
        {R"("delay": 0, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 0}, ""},
        {R"("delay": 0, "playback": "single", "auto_run": true)", PlaybackWord{true, false, 0}, ""},
        {R"("delay": 0, "playback": "loop", "auto_run": false)", PlaybackWord{false, true, 0}, ""},
        {R"("auto_run": false, "playback": "single", "delay": 0)", PlaybackWord{false, false, 0}, ""},
        {R"("delay": 300, "playback": "loop", "auto_run": true)", PlaybackWord{true, true, 300}, ""},
        {R"("delay": 65535, "single_output": false, "playback": "loop", "auto_run": true)",
         PlaybackWord{true, true, 65535}, "", true},
        {R"("delay": 300, "playback": "loop", "auto_run": false)", std::nullopt,
         "300 ms with \"auto_run\": false" + combinations},
        {R"("delay": 300, "playback": "single", "auto_run": true)", std::nullopt,
         "300 ms with \"playback\": \"single\"" + combinations},
        {R"("delay": 1, "playback": "single", "auto_run": false)", std::nullopt,
         "a delay of 1 ms with \"auto_run\": false and \"playback\": \"single\"" + combinations},
    };
    const std::filesystem::path file = scratch_ / "profile.json";
    for (const auto& c : cases) {
        const std::string profile =
            R"({"slots": {"1": {"key": "a"}})" + (c.members.empty() ? "" : ", " + c.members) + "}";
        SCOPED_TRACE(profile);
        std::filesystem::remove(log_);
        std::ofstream(file) << profile;
        const Outcome outcome = RunOnPedal({"apply", file.string()});
        if (!c.refusal.empty()) {
            EXPECT_EQ(outcome.exitCode, 2);
            EXPECT_NE(outcome.err.find(c.refusal), std::string::npos) << outcome.err;
            EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
            EXPECT_TRUE(LoggedReports().empty());
            continue;
        }
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        const Lines reports = LoggedReports();
        // "00 AA 01 7C ...": report id, command, frame count, address.
        EXPECT_EQ(std::count_if(reports.begin(), reports.end(),
                                [](const std::string& report) { return report.compare(9, 3, "7C ") == 0; }),
                  c.word ? 1 : 0);
        const PedalMemory memory = MemoryFromLog(log_);
        EXPECT_EQ(memory.playbackWord(), c.word);
        EXPECT_EQ(memory.wordAt(kSingleOutputAddress)->writer != WordWriter::None, c.writesSingleOutput);
        EXPECT_EQ(memory.slot(1)->writer, WordWriter::KeyCommand);
    }
}

TEST_F(CliRun, AFaultyProfileIsReportedWithItsPlaceAndWritesNothing) {
    const std::filesystem::path profile = scratch_ / "profile.json";
    std::ofstream(profile) << "{\n  \"slots\": {\"1\": {\"key\": \"a\"}},\n  \"slots\": {}\n}";
    const Outcome outcome = RunOnPedal({"apply", profile.string()});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err,
              "treadkeyctl: " + profile.string() + ":3:3: \"slots\" is given twice in this object\n");
    EXPECT_TRUE(LoggedReports().empty());

    const Outcome missing = RunOnPedal({"apply", (scratch_ / "none.json").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;

    const std::filesystem::path empty = scratch_ / "empty.json";
    std::ofstream{empty};
    const struct {
        std::filesystem::path path;
        std::string error;
    } unreadable[] = {
        {empty, empty.string() + ": the file is empty"},
        {log_.parent_path(), "cannot read " + log_.parent_path().string() + ": Is a directory"},
    };
    for (const auto& c : unreadable) {
        const Outcome refused = RunOnPedal({"apply", c.path.string()});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_TRUE(refused.err.starts_with("treadkeyctl: " + c.error)) << refused.err;
    }
}

// What editors write besides UTF-8: a byte-order mark is taken, other encodings and broken UTF-8 are named.
TEST_F(CliRun, ApplyReadsUtf8ProfilesAndNamesOtherEncodings) {
    using namespace std::string_literals;
    const std::string profile = R"({"slots": {"1": {"key": "a"}}})";
    const auto wide = [&](bool bigEndian, std::size_t width) {
        std::string bytes;
        for (const char c : profile) {
            std::string unit(width, '\0');
            unit[bigEndian ? width - 1 : 0] = c;
            bytes += unit;
        }
        return bytes;
    };
    const struct {
        std::string bytes;
        std::string error; // "" for a profile that is written
    } cases[] = {
        {profile, ""},
        {"\xEF\xBB\xBF" + profile, ""},
        {R"({"slots": {"1": {"key": "é"}}})", "1:25: slot 1: unknown key name \"é\" ('treadkeyctl keys'"},
        {"", "standard input: the file is empty"},
        {"\xEF\xBB\xBF", "standard input: the file is empty"},
        {" \n", "standard input:2:1: expected a value, found the end of the text"},
        {"\xFF\xFE" + wide(false, 2), "the file is UTF-16 little-endian text: save it as UTF-8"},
        {wide(false, 2), "the file is UTF-16 little-endian text: save it as UTF-8"},
        {"\xFE\xFF" + wide(true, 2), "the file is UTF-16 big-endian text: save it as UTF-8"},
        {wide(true, 2), "the file is UTF-16 big-endian text: save it as UTF-8"},
        {"\xFF\xFE\0\0"s + wide(false, 4), "the file is UTF-32 little-endian text: save it as UTF-8"},
        {wide(true, 4), "the file is UTF-32 big-endian text: save it as UTF-8"},
        // Not UTF-8 inside a string: a Latin-1 byte, a lone continuation, an overlong '/', a surrogate, a
        // sequence cut short by the closing quote, and one beyond U+10FFFF.
        {"{\"slots\": {\"1\": {\"key\": \"ctrl+\xE9\"}}}", "1:31: bytes that are not UTF-8 inside a string"},
        {"{\"\x80\": 1}", "1:3: bytes that are not UTF-8"},
        {"{\"\xC0\xAF\": 1}", "1:3: bytes that are not UTF-8"},
        {"{\"\xED\xA0\x80\": 1}", "1:3: bytes that are not UTF-8"},
        {"{\"ab\xE2\x82\": 1}", "1:5: bytes that are not UTF-8"},
        {"{\"\xF4\x90\x80\x80\": 1}", "1:3: bytes that are not UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        std::filesystem::remove(log_);
        input_ = c.bytes;
        const Outcome outcome = RunOnPedal({"apply", "-"});
        if (c.error.empty()) {
            EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
            EXPECT_EQ(LoggedReports(), ExpectedReports({KeyFrame("1", 0, 4)}));
            continue;
        }
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.starts_with("treadkeyctl: standard input")) << outcome.err;
        EXPECT_NE(outcome.err.find(c.error), std::string::npos) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(LoggedReports().empty());
    }
}

TEST_F(CliRun, UsageErrorsSayOneLineAndWriteNothing) {
    const struct {
        Lines arguments;
        const char* message;
    } cases[] = {
        {{}, "no command given"},
        {{"bogus"}, "unknown command 'bogus'"},
        {{"kye", "1", "a"}, "did you mean 'key'?"},
        {{"key", "13", "a"}, "slot must be a whole number from 1 to 12, not '13'"},
        {{"key", "0", "a"}, "not '0'"},
        {{"key", "2.5", "a"}, "not '2.5'"},
        {{"key", "3"}, "usage: treadkeyctl key SLOT COMBO"},
        {{"key", "3", "a", "b"}, "usage: treadkeyctl key SLOT COMBO"},
        {{"key", "3", "ctlr+a"}, "unknown key name \"ctlr\"; closest: ctrl"},
        {{"key", "3", "a", "--delay", "65536"},
         "--delay must be a whole number of milliseconds from 0 to 65535"},
        {{"key", "3", "a", "--delay", "-1"}, "not '-1'"},
        {{"key", "3", "a", "--delay"}, "--delay needs a value"},
        {{"key", "3", "a", "--once=yes"}, "--once takes no value"},
        {{"key", "3", "a", "--twice"}, "unknown option '--twice' for 'key'"},
        {{"key", "3", "a", "--key-only", "--delay", "5"}, "--delay goes with the settings frames"},
        {{"key", "--once", "3", "a", "--key-only"}, "--once goes with the settings frames"},
        {{"--once", "key", "3", "a"}, "unknown option '--once' before the command"},
        {{"mouse", "3", "centre"}, "unknown mouse button 'centre'"},
        {{"playback", "loop"}, "playback needs --auto-run on|off"},
        {{"playback", "twice", "--auto-run", "on"}, "'loop' or 'single'"},
        {{"playback", "loop", "--auto-run", "maybe"}, "--auto-run is 'on' or 'off'"},
        {{"clear-all"}, "add --yes"},
        {{"raw", "AA 01 ZZ"}, "hex digits and spaces only, not 'Z'"},
        {{"raw", "  "}, "raw needs hex digits"},
        {{"help", "bogus"}, "unknown command 'bogus'"},
        {{"list", "extra"}, "usage: treadkeyctl list"},
        {{"--report-length", "0", "key", "1", "a"}, "--report-length must be a whole number"},
        {{"-v"}, "unknown option '-v' before the command"},
        {{"apply", "-", "extra"}, "usage: treadkeyctl apply FILE"},
        {{"monitor"},
         "the virtual pedal has no keyboard or mouse interface to watch: add --virtual-pedal-composite"},
        {{"--virtual-pedal-press", "presses", "list"},
         "--virtual-pedal-press needs --virtual-pedal-composite"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(outcome.exitCode, 2) << shown;
        EXPECT_TRUE(outcome.err.starts_with("treadkeyctl: ")) << outcome.err;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << shown << ": " << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.out, "") << shown;
        EXPECT_TRUE(LoggedReports().empty()) << shown;
    }
}

// Each answer says what is so: a --pedal that names no pedal known, what doctor looks at, a dry run's cut
// frames, a command's whole usage line, a flag given a value, a dry run of a command that writes nothing.
TEST_F(CliRun, AnswersSayWhatIsSo) {
    // virtual-2 is recorded and named but not plugged in; virtual-1 is plugged in with no record.
    ASSERT_EQ(RunOnPedal({"--virtual-pedal-twin", "--pedal", "virtual-2", "mouse", "1", "left"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"--virtual-pedal-twin", "name", "virtual-2", "right"}).exitCode, 0);
    const std::string unknownLeft = "treadkeyctl: no pedal 'left' is plugged in or recorded; pedals known: "
                                    "virtual-1, virtual-2 (right)\n";
    const struct {
        Lines arguments;
        std::string said; // a part of standard output, then standard error
        int exitCode;
    } cases[] = {
        {{"--pedal", "lfet", "show"},
         "treadkeyctl: no pedal 'lfet' is plugged in or recorded; pedals known: virtual-1, virtual-2 "
         "(right)\n",
         2},
        {{"--pedal", "left", "export", "-"}, unknownLeft, 2},
        {{"--pedal", "left", "show", "--json"}, unknownLeft, 2},
        {{"--pedal", "right", "show"}, "pedal virtual-2 (right), as this computer wrote or saw it:\n", 0},
        {{"--pedal", "virtual-2", "export", "-"}, "\"mouse\": \"left\"", 0},
        {{"--pedal", "virtual-1", "show"}, "slot 1   unknown", 0},
        {{"doctor"},
         "treadkeyctl: note: doctor checks the system's real pedal; the virtual pedal needs no access\n",
         1},
        {{"--dry-run", "--report-length", "2", "raw", "AA 01"},
         "treadkeyctl: warning: virtual-pedal: its output report of 2 bytes cannot hold a whole frame (8 "
         "bytes)",
         0},
        {{"list", "extra"},
         "treadkeyctl: usage: treadkeyctl list [--json] ('treadkeyctl help list' tells more)\n",
         2},
        {{"monitor", "extra"}, "usage: treadkeyctl monitor [--json] [--count N] [--timeout S] ('", 2},
        {{"key", "1"}, "usage: treadkeyctl key SLOT COMBO [--delay MS] [--once] [--key-only] ('", 2},
        {{"--dry-run=yes", "key", "1", "a"}, "treadkeyctl: --dry-run takes no value\n", 2},
        {{"keys", "--help=all"}, "treadkeyctl: --help takes no value\n", 2},
        {{"--version="}, "treadkeyctl: --version takes no value\n", 2},
        {{"--dry-run", "show"},
         "treadkeyctl: --dry-run goes with the commands that write; 'show' writes nothing to the pedal\n",
         2},
        {{"doctor", "--dry-run"}, "'doctor' writes nothing to the pedal", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_NE((outcome.out + outcome.err).find(c.said), std::string::npos) << outcome.out << outcome.err;
        EXPECT_TRUE(LoggedReports().empty());
    }
}

// --dry-run is listed in the help of the commands that write and of no other.
TEST_F(CliRun, OnlyTheCommandsThatWriteListDryRun) {
    const struct {
        const char* command;
        bool listsDryRun;
    } cases[] = {
        {"key", true},     {"mouse", true},   {"playback", true}, {"clear-all", true}, {"raw", true},
        {"apply", true},   {"list", false},   {"doctor", false},  {"keys", false},     {"show", false},
        {"export", false}, {"verify", false}, {"name", false},    {"monitor", false},
    };
    for (const auto& c : cases) {
        const std::string help = Run({"help", c.command}).out;
        EXPECT_EQ(help.find("\n  --dry-run ") != std::string::npos, c.listsDryRun) << help;
    }
}

TEST_F(CliRun, NoPedalIsADeviceError) {
    std::filesystem::remove(presenceFile_);
    const Outcome outcome = RunOnPedal({"key", "3", "a"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "treadkeyctl: no pedal found (vendor 2704, product 2018): is it plugged in?\n");
    EXPECT_TRUE(LoggedReports().empty());
}

TEST_F(CliRun, APedalThatCannotBeOpenedIsADeviceErrorSayingWhy) {
    fake_.Plug({.path = "/dev/hidraw4", .openable = false});
    const Outcome outcome = RunOnFake({"mouse", "1", "left"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "treadkeyctl: the pedal cannot be opened: permission denied: /dev/hidraw4\n");
    EXPECT_TRUE(fake_.Writes().empty());
}

TEST_F(CliRun, APedalWithoutAReportLengthIsADeviceError) {
    fake_.Plug({.path = "/dev/hidraw4", .reportLength = std::nullopt});
    const Outcome outcome = RunOnFake({"mouse", "1", "left"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("does not tell its output report length"), std::string::npos) << outcome.err;
    EXPECT_TRUE(fake_.Writes().empty());
}

TEST_F(CliRun, AFailedWriteSaysWhichReportAndStops) {
    // The pedal is pulled out during the first pause: the delay frame is the one that fails.
    onPause_ = [this] { std::filesystem::remove(presenceFile_); };
    const Outcome outcome = RunOnPedal({"key", "3", "ctrl+shift+a"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "treadkeyctl: writing report 2 of 3 (00 AA 01 7C 79 01 00 00 00) to virtual-pedal "
                           "failed; the 1 report before it went through\n");
    EXPECT_EQ(LoggedReports(), (Lines{"00 AA 01 08 03 04 00 00 00"}));
    EXPECT_EQ(outcome.pauses.size(), 1u);

    fake_.Plug({.path = "/dev/hidraw4"});
    fake_.SetFailWrites(true);
    const Outcome first = RunOnFake({"clear-all", "--yes"});
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_NE(first.err.find("writing report 1 of 32"), std::string::npos) << first.err;
    EXPECT_NE(first.err.find("nothing was written"), std::string::npos) << first.err;
}

TEST_F(CliRun, DryRunPrintsWhatThePedalWouldLogAndWritesNothing) {
    const Lines commands[] = {
        {"key", "3", "ctrl+shift+a", "--delay", "300"}, {"clear-all", "--yes"}, {"mouse", "4", "middle"}};
    for (const Lines& command : commands) {
        std::filesystem::remove(log_);
        ASSERT_EQ(RunOnPedal(command).exitCode, 0);
        const Lines written = LoggedReports();
        std::filesystem::remove(log_);

        Lines dryRun = command;
        dryRun.push_back("--dry-run");
        const Outcome outcome = RunOnPedal(dryRun);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(testing::SplitLines(outcome.out), written) << command[0];
        EXPECT_TRUE(LoggedReports().empty()) << command[0];
        EXPECT_TRUE(outcome.pauses.empty()) << command[0];
    }
}

TEST_F(CliRun, DryRunTakesThePedalsLengthOrElseTheGivenOne) {
    fake_.Plug({.path = "/dev/hidraw4", .reportLength = 65});
    const Outcome onFake = RunOnFake({"--dry-run", "raw", "AA 01"});
    EXPECT_EQ(onFake.out, ReportHexLine(BuildOutputReport("AA 01", 65)) + "\n");
    EXPECT_TRUE(fake_.Writes().empty());

    std::filesystem::remove(presenceFile_);
    const Outcome unplugged = RunOnPedal({"--dry-run", "--report-length", "12", "raw", "AA 01"});
    EXPECT_EQ(unplugged.exitCode, 0);
    EXPECT_EQ(unplugged.out, "00 AA 01 00 00 00 00 00 00 00 00 00\n");
    EXPECT_NE(unplugged.err.find("showing reports of 12 bytes"), std::string::npos) << unplugged.err;

    const Outcome byDefault = RunOnPedal({"--dry-run", "raw", "AA 01"});
    EXPECT_EQ(byDefault.out, "00 AA 01 00 00 00 00 00 00\n");

    const Outcome oneByte = RunOnPedal({"--dry-run", "--report-length", "1", "raw", "AA 01"});
    EXPECT_NE(oneByte.err.find("showing reports of 1 byte\n"), std::string::npos) << oneByte.err;
}

TEST_F(CliRun, ListShowsEachPedalInterfaceAndWhyOneDoesNotOpen) {
    fake_.Plug({.path = "/dev/hidraw1", .reportLength = 9});
    fake_.Plug({.path = "/dev/hidraw2", .openable = false});
    fake_.Plug({.path = "/dev/hidraw3", .vendorId = 0x1234});
    fake_.Plug({.path = "/dev/hidraw5", .reportLength = std::nullopt});
    const Outcome outcome = RunOnFake({"list"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out,
              "pedal usb-1-1\n"
              "  /dev/hidraw1: collections unknown; opens, output report length 9 bytes; the pedal's "
              "frames go here\n"
              "  /dev/hidraw2: collections unknown; cannot be opened: permission denied: /dev/hidraw2; "
              "not used: it cannot be opened\n"
              "  /dev/hidraw5: collections unknown; opens, output report length unknown; not used: an "
              "earlier interface takes the frames\n");

    EXPECT_EQ(RunOnPedal({"list"}).out,
              "pedal virtual-1\n  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 "
              "bytes; the pedal's frames go here\n");
    std::filesystem::remove(presenceFile_);
    const Outcome none = RunOnPedal({"list"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("no pedal found"), std::string::npos);
}

TEST_F(CliRun, ACompositePedalIsWrittenThroughItsConfigurationInterfaceAndListedWhole) {
    const Outcome key = RunOnPedal({"--virtual-pedal-composite", "key", "3", "ctrl+shift+a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 3 reports to virtual-pedal\n");
    // Reports at the keyboard or mouse would show up in the log under their paths.
    EXPECT_EQ(LoggedReports(),
              ExpectedReports({"AA 01 08 03 04 00 00", "AA 01 7C 79 01 00 00", "AA 01 78 79 01 00 00"}));

    const Outcome list = RunOnPedal({"--virtual-pedal-composite", "list"});
    EXPECT_EQ(
        testing::SplitLines(list.out),
        (Lines{
            "pedal virtual-1",
            "  virtual-pedal-keyboard: keyboard (0001:0006); opens, output report length 2 bytes; passed "
            "over: the system keeps keyboard, mouse, pen and touch interfaces to itself",
            "  virtual-pedal-mouse: mouse (0001:0002); opens, output report length 0 bytes; passed over: the "
            "system keeps keyboard, mouse, pen and touch interfaces to itself",
            "  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 bytes; the pedal's "
            "frames go here"}));

    const Outcome json = RunOnPedal({"--virtual-pedal-composite", "list", "--json"});
    EXPECT_EQ(json.exitCode, 0);
    const JsonParseResult parsed = ParseJson(json.out);
    ASSERT_TRUE(parsed.value) << parsed.error.message << "\n" << json.out;
    const auto member = [](const JsonValue& object, const std::string& name) {
        for (const JsonMember& m : object.members) {
            if (m.name == name) {
                return m.value;
            }
        }
        ADD_FAILURE() << "no member " << name;
        return JsonValue{};
    };
    const std::vector<JsonValue> pedals = member(*parsed.value, "pedals").items;
    ASSERT_EQ(pedals.size(), 1u);
    EXPECT_EQ(member(pedals[0], "id").text, "virtual-1");
    EXPECT_EQ(member(pedals[0], "name").kind, JsonValue::Kind::Null);
    EXPECT_EQ(member(pedals[0], "frames_go_to").text, "virtual-pedal");
    const std::vector<JsonValue> interfaces = member(pedals[0], "interfaces").items;
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(member(interfaces[0], "verdict").text, "held by the system");
    EXPECT_EQ(member(interfaces[0], "output_report_length").number, 2);
    EXPECT_EQ(member(member(interfaces[0], "collections").items[0], "usage").number, 6);
    EXPECT_EQ(member(interfaces[0], "open_problem").kind, JsonValue::Kind::Null);
    EXPECT_EQ(member(interfaces[1], "verdict").text, "held by the system");
    EXPECT_EQ(member(interfaces[2], "verdict").text, "chosen");
    EXPECT_EQ(member(member(interfaces[2], "collections").items[0], "name").text, "vendor-defined");
}

TEST_F(CliRun, TwinPedalsAreListedApartAndAWriteGoesOnlyToThePedalNamed) {
    const Outcome list = RunOnPedal({"--virtual-pedal-twin", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(
        testing::SplitLines(list.out),
        (Lines{"pedal virtual-1",
               "  virtual-pedal: vendor-defined (FF00:0001); opens, output report length 9 bytes; the "
               "pedal's frames go here",
               "pedal virtual-2",
               "  virtual-pedal-2: vendor-defined (FF00:0001); opens, output report length 9 bytes; the "
               "pedal's frames go here"}));

    const struct {
        Lines arguments;
        std::string error;
    } refused[] = {
        {{"key", "1", "a"},
         "treadkeyctl: 2 pedals are plugged in (virtual-1, virtual-2): choose one with --pedal ID or --pedal "
         "NAME ('treadkeyctl identify' tells which one you press)\n"},
        {{"--dry-run", "clear-all", "--yes"}, ""},
        {{"--pedal", "virtual-3", "mouse", "1", "left"},
         "treadkeyctl: no pedal 'virtual-3' is plugged in; pedals present: virtual-1, virtual-2\n"},
        {{"--pedal", "virtual-3", "list"}, ""},
    };
    for (const auto& r : refused) {
        Lines arguments = r.arguments;
        arguments.insert(arguments.begin(), "--virtual-pedal-twin");
        const Outcome outcome = RunOnPedal(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << r.arguments[0];
        EXPECT_EQ(outcome.out, "");
        if (!r.error.empty()) {
            EXPECT_EQ(outcome.err, r.error);
        }
    }
    EXPECT_TRUE(LoggedReports().empty());

    const Outcome key =
        RunOnPedal({"--virtual-pedal-twin", "--pedal", "virtual-2", "key", "--key-only", "1", "a"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 1 report to virtual-pedal-2\n");
    EXPECT_EQ(LoggedReports(), (Lines{"virtual-pedal-2: " + ExpectedReports({"AA 01 00 00 04 00 00"})[0]}));
}

TEST_F(CliRun, ANicknameChoosesItsPedalAndStaysInTheStateFile) {
    const Lines twins{"--virtual-pedal-twin"};
    const auto run = [&](Lines arguments) {
        arguments.insert(arguments.begin(), twins.begin(), twins.end());
        return RunOnPedal(arguments);
    };
    const Outcome named = run({"name", "virtual-2", "right foot"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, "virtual-2 is now called 'right foot'\n");
    EXPECT_EQ(run({"name", "virtual-1", "left"}).exitCode, 0);
    EXPECT_EQ(LoadPedalNames(namesFile_).names,
              (PedalNames{{"virtual-1", "left"}, {"virtual-2", "right foot"}}));

    const Outcome key = run({"--pedal", "right foot", "mouse", "2", "left"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 1 report to virtual-pedal-2\n");
    EXPECT_NE(run({"list"}).out.find("pedal virtual-2 (right foot)\n"), std::string::npos);

    const struct {
        Lines arguments;
        std::string error;
    } refused[] = {
        {{"name", "virtual-1", "right foot"}, "treadkeyctl: 'right foot' already names virtual-2\n"},
        {{"name", "left", "virtual-2"},
         "treadkeyctl: 'virtual-2' is a pedal's identity, so it cannot be a nickname\n"},
        {{"name", "virtual-7", "x"},
         "treadkeyctl: no pedal 'virtual-7' is plugged in; pedals present: virtual-1 (left), virtual-2 "
         "(right "
         "foot)\n"},
    };
    for (const auto& r : refused) {
        const Outcome outcome = run(r.arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err, r.error);
    }
    // Renamed through its nickname, then unnamed: the name no longer chooses it.
    EXPECT_EQ(run({"name", "left", ""}).out, "virtual-1 has no nickname now\n");
    EXPECT_EQ(run({"--pedal", "left", "list"}).exitCode, 2);
    EXPECT_EQ(LoadPedalNames(namesFile_).names, (PedalNames{{"virtual-2", "right foot"}}));

    std::ofstream(namesFile_) << "{\"names\": [";
    const Outcome broken = run({"--pedal", "virtual-1", "list"});
    EXPECT_EQ(broken.exitCode, 0);
    EXPECT_NE(broken.err.find("warning: pedal names not read: "), std::string::npos);
}

TEST_F(CliRun, WithoutAConfigurationInterfaceNothingIsWrittenAndEachInterfaceSaysWhy) {
    fake_.Plug({.path = "/dev/hidraw0", .reportLength = 2, .collections = {{0x01, 0x06}}});
    fake_.Plug({.path = "/dev/hidraw1", .reportLength = 0, .collections = {{0x01, 0x02}}});
    const Outcome key = RunOnFake({"key", "3", "a"});
    EXPECT_EQ(key.exitCode, 1);
    EXPECT_EQ(key.err,
              "treadkeyctl: no configuration interface of the pedal: /dev/hidraw0 (keyboard (0001:0006)) is "
              "passed over, held by the system; /dev/hidraw1 (mouse (0001:0002)) is passed over, held by "
              "the system\n");
    EXPECT_TRUE(fake_.Writes().empty());
    EXPECT_TRUE(fake_.OpenedPaths().empty());

    // A shared collection the system lets go of is taken, though its report cuts every frame.
    fake_.Plug({.path = "/dev/hidraw2", .reportLength = 2, .collections = {{0x0C, 0x01}}});
    const Outcome cut = RunOnFake({"raw", "AA 01"});
    EXPECT_EQ(cut.exitCode, 0);
    EXPECT_EQ(cut.err,
              "treadkeyctl: warning: /dev/hidraw2: its output report of 2 bytes cannot hold a whole frame "
              "(8 bytes): this may not be the pedal's configuration interface\n");
    ASSERT_EQ(fake_.Writes().size(), 1u);
    EXPECT_EQ(fake_.Writes()[0].path, "/dev/hidraw2");
    EXPECT_EQ(fake_.Writes()[0].report, (std::vector<std::uint8_t>{0x00, 0xAA}));
}

TEST_F(CliRun, EveryCommandHasHelpBothWays) {
    for (const CommandMaker make : CommandTable()) {
        const std::string name(make()->Description().name);
        const Outcome byHelp = Run({"help", name});
        const Outcome byOption = Run({name, "--help"});
        EXPECT_EQ(byHelp.exitCode, 0) << name;
        EXPECT_EQ(byOption.exitCode, 0) << name;
        EXPECT_TRUE(byHelp.out.starts_with("Usage: treadkeyctl [OPTION]... " + name)) << byHelp.out;
        EXPECT_EQ(byHelp.out, byOption.out) << name;
    }
    const Outcome overview = Run({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const CommandMaker make : CommandTable()) {
        const std::unique_ptr<Command> made = make();
        const CommandDescription& command = made->Description();
        EXPECT_NE(overview.out.find("\n  " + std::string(command.name)), std::string::npos) << command.name;
        // Every summary starts in the summaries' column, two blanks or more after its synopsis.
        const std::size_t summary = overview.out.find(std::string(command.summary));
        ASSERT_NE(summary, std::string::npos) << command.name;
        const std::size_t lineStart = overview.out.rfind('\n', summary) + 1;
        EXPECT_EQ(summary - lineStart, 42u) << command.name;
        EXPECT_EQ(overview.out.substr(summary - 2, 2), "  ") << command.name;
    }
    // Each exit code starts a line of its own.
    for (const char* status : {"\n  0  done\n", "\n  1  no pedal found", "\n  2  a usage error"}) {
        EXPECT_NE(overview.out.find(status), std::string::npos) << status;
    }
    EXPECT_EQ(Run({"help"}).out, overview.out);
    EXPECT_TRUE(Run({"--version"}).out.starts_with("treadkeyctl "));
    EXPECT_EQ(Run({"-V"}).out, Run({"--version"}).out);
}

TEST_F(CliRun, KeysListsEveryNameWithCodeAndCaption) {
    const Outcome outcome = Run({"keys"});
    const Lines lines = testing::SplitLines(outcome.out);
    EXPECT_EQ(lines.size(), 96u + 8u);
    for (const char* line : {
             "kp_enter        88  \"Enter\"",
             "space           44  \" \"          also spacebar",
             "page_up         75  \"Pg up\"      also pgup, pageup",
             "win           modifier           also win_l, super, super_l, meta, meta_l, cmd, cmd_l",
             "shift_r       modifier",
         }) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line << "\n" << outcome.out;
    }
}

// A profile that cannot be read as text is refused with one line that names it and the real cause, before
// anything is written.
TEST_F(CliRun, ProfilesThatCannotBeReadNameTheCauseInOneLine) {
    using namespace std::string_literals;
    const std::string folder = log_.parent_path().string();
    const std::string missing = (scratch_ / "none.json").string();
    const std::string profile = R"({"slots": {"1": {"key": "a"}}})";
    const struct {
        std::string path; // "-" reads input
        std::string input;
        std::string error; // "" for a profile that is written
    } cases[] = {
        {"-", std::string(kMostProfileBytes + 1, ' '),
         "treadkeyctl: standard input: larger than 64 MiB, far more than any profile holds\n"},
        {"-", "\0"s,
         "treadkeyctl: standard input: the file holds a NUL byte (byte 1), so it is not text: a profile is "
         "JSON text in UTF-8\n"},
        {"-", "\0\x01\x7F\x45LF"s, "treadkeyctl: standard input: the file holds a NUL byte (byte 1)"},
        {"-", "\0asm\x01\0\0\0"s, "treadkeyctl: standard input: the file holds a NUL byte (byte 1)"},
        {"-", profile + "\0"s, "treadkeyctl: standard input: the file holds a NUL byte (byte 31)"},
        {folder, "", "treadkeyctl: cannot read " + folder + ": Is a directory\n"},
        {missing, "", "treadkeyctl: cannot read " + missing + ": No such file or directory\n"},
        {"", "", "treadkeyctl: cannot read '': No such file or directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + ::testing::PrintToString(c.input.substr(0, 40)));
        std::filesystem::remove(log_);
        input_ = c.input;
        const Outcome outcome = RunOnPedal({"apply", c.path});
        if (c.error.empty()) {
            EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
            EXPECT_EQ(LoggedReports(), ExpectedReports({KeyFrame("1", 0, 4)}));
            continue;
        }
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.starts_with(c.error) || outcome.err == c.error) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(LoggedReports().empty());
    }
}

// A stream buffer on a full disk: every write fails.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Output that cannot be written makes the run fail, whichever command printed it.
TEST_F(CliRun, OutputThatCannotBeWrittenFailsTheRun) {
    ASSERT_EQ(RunOnPedal({"key", "3", "a"}).exitCode, 0);
    FullDisk full;
    outBuffer_ = &full;
    const Lines cases[] = {
        {"export", "-"}, {"show"},   {"show", "--json"}, {"--dry-run", "key", "3", "a"},
        {"keys"},        {"--help"}, {"list"},
    };
    for (const Lines& arguments : cases) {
        const Outcome outcome = RunOnPedal(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments[0];
        EXPECT_TRUE(outcome.err.ends_with(
            "treadkeyctl: cannot write standard output: what was printed is incomplete\n"))
            << arguments[0] << ": " << outcome.err;
    }
    // A profile file export cannot write says why, as the system tells it.
    outBuffer_ = nullptr;
    const std::string folder = log_.parent_path().string();
    const struct {
        std::string path;
        std::string error;
    } files[] = {
        {folder, "treadkeyctl: cannot write " + folder + ": Is a directory\n"},
        {folder + "/none/x.json",
         "treadkeyctl: cannot write " + folder + "/none/x.json: No such file or directory\n"},
        {"", "treadkeyctl: cannot write '': No such file or directory\n"},
    };
    for (const auto& f : files) {
        const Outcome outcome = RunOnPedal({"export", f.path});
        EXPECT_EQ(outcome.exitCode, 1) << f.path;
        EXPECT_TRUE(outcome.err.ends_with(f.error)) << outcome.err;
    }
}

// User text in a message is shown escaped and cut, wherever it is echoed: no message is split, colours the
// terminal or grows with the input.
TEST_F(CliRun, UserTextInMessagesIsEscapedAndCut) {
    const std::string huge(1'000'000, 'q');
    const std::string cut = std::string(kMostShownCharacters, 'q') + "...";
    int files = 0;
    const auto profileFile = [this, &files](const std::string& json) {
        const std::filesystem::path file = scratch_ / ("echo-" + std::to_string(++files) + ".json");
        std::ofstream(file, std::ios::binary) << json;
        return file.string();
    };
    std::string accents;
    for (int i = 0; i < 70; ++i) {
        accents += "\xC3\xA9"; // é
    }
    const struct {
        Lines arguments;
        std::string shown; // what the one line holds in place of the text
    } cases[] = {
        {{"key", "3", "\x1B[31mred"}, "unknown key name \"\\x1B[31mred\""},
        {{"key", "3", "a\nb"}, "unknown key name \"a\\nb\""},
        {{"key", "3",
          "ctrl+\xC2\x9B"
          "1m\t"},
         "unknown key name \"\\x9B1m\\t\""},
        {{"key", "3", "a+\xFF"}, "unknown key name \"\\xFF\""},
        {{"key", "3", huge}, "unknown key name \"" + cut + "\""},
        {{"key", "3", accents}, "\"" + accents.substr(0, 2 * kMostShownCharacters) + "...\""},
        {{"key", "3", "a+b+" + huge}, "\"a+b+" + std::string(kMostShownCharacters - 4, 'q') + "...\" names"},
        {{"mouse", "3", "\x1B]0;title\x07"}, "unknown mouse button '\\x1B]0;title\\x07'"},
        {{"key", "3", "a",
          "--\x1B"
          "x"},
         "unknown option '--\\x1Bx'"},
        {{"key", "\r3", "a"}, "not '\\r3'"},
        {{"key", "3", "a", "--delay", huge}, "not '" + cut + "'"},
        {{"raw", "AA \x1B"}, "not '\\x1B' in 'AA \\x1B'"},
        {{"--report-length", "\n", "key", "3", "a"}, "not \"\\n\""},
        {{"--pedal", "left\nfoot", "key", "3", "a"}, "no pedal 'left\\nfoot' is plugged in"},
        {{"name", "virtual-1", "a\nb"}, "a nickname cannot hold control characters, as 'a\\nb' does"},
        {{"name", "virtual-1", "\x1B[2J"}, "'\\x1B[2J'"},
        // The name alone: Windows refuses the escape in a file name with a reason of its own.
        {{"apply", (scratch_ / "no\x1B[1Afile").string()}, "no\\x1B[1Afile: "},
        {{"apply", profileFile(R"({"slots": {"1": {"key": "\u001b[31m"}}})")}, "\"\\x1B[31m\""},
        {{"apply", profileFile(R"({"slots": {"1": {"mouse": "\n"}}})")}, "unknown mouse button \"\\n\""},
        {{"apply", profileFile(R"({"a\u0007": 1})")}, "unknown field \"a\\x07\""},
        {{"apply", profileFile(R"({"slots": {"\n": null}})")}, "\"\\n\" is not a slot"},
        {{"apply", profileFile(R"({"x\n": 1, "x\n": 2})")}, "\"x\\n\" is given twice"},
        {{"apply", profileFile(R"({"playback": ")" + huge + R"("})")}, "not \"" + cut + "\""},
        {{"apply", profileFile(R"({"slots": {"1": {"key": ")" + huge + R"("}}})")}, "\"" + cut + "\""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunOnPedal(c.arguments);
        const std::string shown = ::testing::PrintToString(outcome.err.substr(0, 200));
        EXPECT_EQ(outcome.exitCode, 2) << shown;
        EXPECT_NE(outcome.err.find(c.shown), std::string::npos) << shown;
        EXPECT_LT(outcome.err.size(), 400u) << shown;
        EXPECT_EQ(
            std::count_if(outcome.err.begin(), outcome.err.end(),
                          [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == '\x7F'; }),
            1)
            << shown; // the line's own end alone
        EXPECT_TRUE(outcome.err.ends_with("\n")) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(namesFile_));
}

} // namespace
} // namespace treadkey
