#include "cli/cli_run_fixture.h"

namespace treadkey {
namespace {

using namespace std::chrono_literals;

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

// The key frame, the delay and single output in the window's order, each report as long as the pedal's.
TEST_F(CliRun, KeyWritesKeyFrameDelayAndSingleOutputInTheWindowsOrder) {
    const struct {
        Lines arguments;
        const char* slot;
        std::uint8_t modifiers;
        double code;
        double delay;
        int once;
        int reportLength = 9;
    } cases[] = {
        {{"key", "12", "alt_r+f12", "--delay", "300", "--once"}, "12", 0x40, 69, 300, 1},
        {{"key", "1", "WIN+KP_ENTER", "--delay=65535"}, "1", 0x08, 88, 65535, 0},
        {{"key", "--once", "7", "backslash"}, "7", 0x00, 50, 0, 1},
        {{"key", "5", "shift_r+ctrl_l+menu", "--delay", "1"}, "5", 0x21, 101, 1, 0},
        {{"key", "2", "kp_0"}, "2", 0x00, 98, 0, 0},
        {{"key", "2", "0"}, "2", 0x00, 39, 0, 0},
        {{"--report-length", "20", "key", "3", "ctrl+shift+a"}, "3", 0x03, 4, 0, 0, 20},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(LoggedReports(), ExpectedReports({KeyFrame(c.slot, c.modifiers, c.code),
                                                    KeyDelayFrame(c.delay), SingleOutputFrame(c.once)},
                                                   c.reportLength));
        EXPECT_EQ(outcome.pauses, (std::vector<std::chrono::milliseconds>{50ms, 50ms}));
    }
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

} // namespace
} // namespace treadkey
