#include "cli/cli_run_fixture.h"

namespace treadkey {
namespace {

using namespace std::chrono_literals;

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

} // namespace
} // namespace treadkey
