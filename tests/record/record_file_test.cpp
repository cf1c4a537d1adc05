#include "record/record_file.h"

#include "protocol/output_report.h"
#include "record/action_reports.h"
#include "record/file_lock.h"

#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

namespace treadkey {
namespace {

void Put(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string Contents(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

PedalRecord SampleRecord() {
    PedalRecord record;
    record.slotWords[2] = {WordSource::Written,
                           {{3, 4, 0, 0}, WordWriter::KeyCommand},
                           "2026-03-01T12:00:00Z",
                           "treadkeyctl",
                           ""};
    record.slotWords[3] = {WordSource::SeenByPress, {{0xFE, 1, 0, 0}, WordWriter::MouseCommand}, "t", "", ""};
    record.slotWords[4] = {WordSource::Unknown, {}, "t", "treadkey-setup", "interrupted after report 1 of 3"};
    record.playback = {WordSource::Written, {{0x79, 1, 0, 10}, WordWriter::KeyCommand}, "t", "p", ""};
    return record;
}

TEST(PedalRecordFile, NamesEachPedalSafely) {
    EXPECT_EQ(PedalRecordFile("/s", "serial:AB 1/x"),
              std::filesystem::path("/s/records/serial%3AAB%201%2Fx.json"));
    EXPECT_NE(PedalRecordFile("/s", "a:b"), PedalRecordFile("/s", "a_b"));
}

// The pedals with a record are read back from the file names: every identity a record file is named for,
// and nothing from the lock, a record set aside, or a name no identity gives.
TEST(RecordedPedals, ReadsEachRecordsIdentityBackFromItsFileName) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path state = scratch / "state";
    EXPECT_EQ(RecordedPedals(state), std::vector<std::string>{});
    const std::vector<std::string> pedals = {"serial:AB 1/x", "usb-1-2.3", "virtual-1", "%41", "\xC3\xA9"};
    for (const std::string& pedal : pedals) {
        std::filesystem::create_directories(PedalRecordFile(state, pedal).parent_path());
        std::ofstream{PedalRecordFile(state, pedal)};
    }
    for (const char* other : {"usb-1-2.3.json.lock", "virtual-1.json.unreadable-20260301120000", "notes.txt",
                              "%zz.json", "%4.json", "%.json", "%3a.json", "a:b.json"}) {
        std::ofstream{state / "records" / other};
    }
    std::vector<std::string> sorted = pedals;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(RecordedPedals(state), sorted);
}

TEST(ParsePedalRecord, ReadsBackWhatWasWritten) {
    const PedalRecord record = SampleRecord();
    const ParsedRecord parsed = ParsePedalRecord(PedalRecordJson(record, "serial:X"));
    ASSERT_TRUE(parsed.record) << parsed.error;
    EXPECT_EQ(*parsed.record, record);
}

// Whatever is on disk, the program goes on: a broken record is set aside, another version left alone.
TEST(LoadPedalRecord, TellsWhatItCouldNotRead) {
    const std::string whole = PedalRecordJson(SampleRecord(), "serial:X");
    std::string otherWord = whole;
    otherWord.replace(otherWord.find("03 04 00 00"), 11, "03 04 0G 00");
    const struct {
        const char* what;
        std::string text;
        bool setAside;
        std::string error; // part of it
    } cases[] = {
        {"truncated", whole.substr(0, whole.size() / 2), true, ""},
        {"garbage", "\x7f\x45\x4c\x46 garbage", true, ""},
        {"empty", "", true, ""},
        {"no version", "{\"slots\": []}", true, ""},
        {"a word that is not hex", otherWord, true, ""},
        {"eleven slots", "{\"version\": 1, \"slots\": [{}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}]}", true,
         ""},
        {"another version", "{\"version\": 2, \"slots\": \"something new\"}", false,
         "a record of version 2, and this program reads version 1 only"},
    };
    for (const auto& c : cases) {
        const testing::ScratchDirectory scratch;
        const std::filesystem::path file = scratch / "record.json";
        Put(file, c.text);
        const LoadedRecord loaded = LoadPedalRecord(file, "2026-03-01T12:00:00Z");
        EXPECT_EQ(loaded.record, PedalRecord{}) << c.what;
        const std::filesystem::path aside = file.string() + ".unreadable-20260301120000";
        EXPECT_EQ(std::filesystem::exists(aside), c.setAside) << c.what;
        EXPECT_EQ(std::filesystem::exists(file), !c.setAside) << c.what;
        if (c.setAside) {
            EXPECT_EQ(Contents(aside), c.text) << c.what;
            EXPECT_NE(loaded.warning.find("set aside as " + aside.string()), std::string::npos)
                << loaded.warning;
            EXPECT_EQ(loaded.warning.find('\n'), std::string::npos) << c.what;
        } else {
            EXPECT_NE(loaded.error.find(c.error), std::string::npos) << loaded.error;
            EXPECT_EQ(Contents(file), c.text) << c.what;
        }
    }
}

TEST(UpdatePedalRecord, StartsAfreshBesideABrokenRecordAndRefusesAnotherVersion) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch / "record.json";
    const auto setSlot1 = [](PedalRecord& record) { record.slotWords[0].source = WordSource::Written; };
    Put(file, "{\"version\": 1, \"slots");
    const LoadedRecord fresh = UpdatePedalRecord(file, "p", setSlot1, "1");
    EXPECT_FALSE(fresh.warning.empty());
    ASSERT_TRUE(ParsePedalRecord(Contents(file)).record);
    EXPECT_EQ(ParsePedalRecord(Contents(file)).record->slotWords[0].source, WordSource::Written);

    Put(file, "{\"version\": 7}");
    EXPECT_FALSE(UpdatePedalRecord(file, "p", setSlot1, "2").error.empty());
    EXPECT_EQ(Contents(file), "{\"version\": 7}");
}

// Each update reads the record again under the lock: two writers at once lose neither's change.
TEST(UpdatePedalRecord, TwoWritersLoseNothing) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch / "records" / "p.json";
    constexpr int kUpdates = 100;
    std::vector<std::thread> writers;
    for (std::size_t slot = 0; slot < 2; ++slot) {
        writers.emplace_back([&file, slot] {
            for (int i = 0; i < kUpdates; ++i) {
                const LoadedRecord loaded = UpdatePedalRecord(
                    file, "p",
                    [slot](PedalRecord& record) {
                        RecordedWord& word = record.slotWords[slot];
                        word.source = WordSource::Written;
                        ++word.word.data[0];
                    },
                    "t");
                EXPECT_EQ(loaded.error, "");
                EXPECT_EQ(loaded.warning, "");
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    const ParsedRecord parsed = ParsePedalRecord(Contents(file));
    ASSERT_TRUE(parsed.record) << parsed.error;
    EXPECT_EQ(parsed.record->slotWords[0].word.data[0], kUpdates);
    EXPECT_EQ(parsed.record->slotWords[1].word.data[0], kUpdates);
}

// The window writes the pedal whatever the record's lock: an action whose record is locked waits, in order
// with the ones after it, and is recorded at the first try after the lock is let go.
TEST(ActionReports, AnActionWhoseRecordIsLockedWaitsForTheNextTry) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path state = scratch / "state";
    const std::filesystem::path file = PedalRecordFile(state, "p");
    std::filesystem::create_directories(file.parent_path());
    auto other = std::make_unique<FileLock>(file.string() + ".lock", std::chrono::milliseconds(0));
    ASSERT_TRUE(other->held());

    ActionReports actions;
    actions.Add("p", BuildOutputReport("AA 01 08 00 04 00 00", 9), true);
    actions.EndAction({"t1", "w"});
    actions.Add("p", BuildOutputReport("AA 01 08 00 05 00 00", 9), true);
    actions.EndAction({"t2", "w"});
    actions.Add("p", BuildOutputReport("AA 01 0C 00 06 00 00", 9), false); // not taken: nothing to record
    actions.EndAction({"t3", "w"});
    EXPECT_TRUE(actions.RecordWaiting(state).empty());
    EXPECT_TRUE(actions.Behind("p"));
    EXPECT_FALSE(actions.Behind("q"));
    EXPECT_FALSE(std::filesystem::exists(file));

    other.reset();
    const std::vector<LoadedRecord> told = actions.RecordWaiting(state);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].error + told[1].error, "");
    EXPECT_FALSE(actions.Waiting());
    const ParsedRecord parsed = ParsePedalRecord(Contents(file));
    ASSERT_TRUE(parsed.record) << parsed.error;
    EXPECT_EQ(parsed.record->slotWords[2].word.data[1], 0x05);
    EXPECT_EQ(parsed.record->slotWords[2].when, "t2");
    EXPECT_EQ(parsed.record->slotWords[3].source, WordSource::Unknown);
}

} // namespace
} // namespace treadkey
