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

TEST_F(CliRun, AFaultyProfileIsReportedWithItsPlaceAndWritesNothing) {
    const std::filesystem::path profile = scratch_ / "profile.json";
    std::ofstream(profile) << "{\n  \"slots\": {\"1\": {\"key\": \"a\"}},\n  \"slots\": {}\n}";
    const Outcome outcome = RunOnPedal({"apply", profile.string()});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err,
              "treadkeyctl: " + profile.string() + ":3:3: \"slots\" is given twice in this object\n");
    EXPECT_TRUE(LoggedReports().empty());
}

// What a profile's bytes can be besides UTF-8 JSON: a byte-order mark is taken; other encodings, broken
// UTF-8, binary files, oversized input and files that cannot be read are refused with one line that names
// the real cause, before anything is written.
TEST_F(CliRun, ApplyReadsUtf8ProfilesAndNamesWhatElseItWasGiven) {
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
    const std::string folder = log_.parent_path().string();
    const std::string missing = (scratch_ / "none.json").string();
    const std::string input = "treadkeyctl: standard input";
    const struct {
        std::string input;
        std::string error;      // how the one line starts; "" for a profile that is written
        std::string path = "-"; // "-" reads the input
    } cases[] = {
        {profile, ""},
        {"\xEF\xBB\xBF" + profile, ""},
        {R"({"slots": {"1": {"key": "é"}}})",
         input + ":1:25: slot 1: unknown key name \"é\" ('treadkeyctl keys'"},
        {"", input + ": the file is empty"},
        {"\xEF\xBB\xBF", input + ": the file is empty"},
        {" \n", input + ":2:1: expected a value, found the end of the text"},
        {"\xFF\xFE" + wide(false, 2), input + ": the file is UTF-16 little-endian text: save it as UTF-8"},
        {wide(false, 2), input + ": the file is UTF-16 little-endian text: save it as UTF-8"},
        {"\xFE\xFF" + wide(true, 2), input + ": the file is UTF-16 big-endian text: save it as UTF-8"},
        {wide(true, 2), input + ": the file is UTF-16 big-endian text: save it as UTF-8"},
        {"\xFF\xFE\0\0"s + wide(false, 4),
         input + ": the file is UTF-32 little-endian text: save it as UTF-8"},
        {wide(true, 4), input + ": the file is UTF-32 big-endian text: save it as UTF-8"},
        // Not UTF-8 inside a string: a Latin-1 byte, a lone continuation, an overlong '/', a surrogate, a
        // sequence cut short by the closing quote, and one beyond U+10FFFF.
        {"{\"slots\": {\"1\": {\"key\": \"ctrl+\xE9\"}}}",
         input + ":1:31: bytes that are not UTF-8 inside a string"},
        {"{\"\x80\": 1}", input + ":1:3: bytes that are not UTF-8"},
        {"{\"\xC0\xAF\": 1}", input + ":1:3: bytes that are not UTF-8"},
        {"{\"\xED\xA0\x80\": 1}", input + ":1:3: bytes that are not UTF-8"},
        {"{\"ab\xE2\x82\": 1}", input + ":1:5: bytes that are not UTF-8"},
        {"{\"\xF4\x90\x80\x80\": 1}", input + ":1:3: bytes that are not UTF-8"},
        {std::string(kMostProfileBytes + 1, ' '),
         input + ": larger than 64 MiB, far more than any profile holds\n"},
        {"\0"s,
         input +
             ": the file holds a NUL byte (byte 1), so it is not text: a profile is JSON text in UTF-8\n"},
        {"\0\x01\x7F\x45LF"s, input + ": the file holds a NUL byte (byte 1)"},
        {"\0asm\x01\0\0\0"s, input + ": the file holds a NUL byte (byte 1)"},
        {profile + "\0"s, input + ": the file holds a NUL byte (byte 31)"},
        {"", "treadkeyctl: cannot read " + folder + ": Is a directory\n", folder},
        {"", "treadkeyctl: cannot read " + missing + ": No such file or directory\n", missing},
        {"", "treadkeyctl: cannot read '': No such file or directory\n", ""},
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
        EXPECT_TRUE(outcome.err.starts_with(c.error)) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(LoggedReports().empty());
    }
}

} // namespace
} // namespace treadkey
