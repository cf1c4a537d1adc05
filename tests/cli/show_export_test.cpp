#include "cli/cli_run_fixture.h"

namespace treadkey {
namespace {

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

} // namespace
} // namespace treadkey
