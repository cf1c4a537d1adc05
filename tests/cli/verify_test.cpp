#include "cli/watch_fixture.h"
#include "record/record_file.h"
#include "json/json.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

using namespace std::chrono_literals;

// Each slot in turn against the record: a match is seen, a mismatch says both, an unknown slot is learned.
TEST_F(Monitor, VerifyComparesEachPressWithTheRecord) {
    PlugPedal();
    command_ = "key";
    ASSERT_EQ(Run({"3", "ctrl+shift+a"}).exitCode, 0);
    command_ = "mouse";
    ASSERT_EQ(Run({"4", "left"}).exitCode, 0);
    command_ = "verify";
    script_ = {{0ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }},
               {10ms, [&] { fake_.Send(kKeyboard, kNoKeys); }},
               {20ms, [&] { fake_.Send(kMouse, kRightButton); }},
               {30ms, [&] { fake_.Send(kMouse, kNoButtons); }},
               {40ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}};
    const Outcome outcome = Run({"3", "4", "5", "6", "--timeout", "1"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(testing::SplitLines(outcome.out),
              (Lines{"slot 3: match: ctrl+shift+a",
                     "slot 4: MISMATCH: the record says mouse left, the pedal sent mouse right",
                     "slot 5: learned: ctrl+shift+a", "slot 6: not pressed in time"}));
    EXPECT_NE(outcome.err.find("press slot 4 (mouse left by the record)"), std::string::npos) << outcome.err;

    const PedalRecord record = LoadPedalRecord(PedalRecordFile(scratch_ / "state", "usb-1-1"), "").record;
    EXPECT_EQ(record.slotWords[2].source, WordSource::SeenByPress);
    EXPECT_EQ(record.slotWords[3].source, WordSource::Written);
    EXPECT_EQ(record.slotWords[4].source, WordSource::SeenByPress);
    EXPECT_EQ(record.slotWords[4].word, (MemoryWord{{0x03, 0x04, 0, 0}, WordWriter::KeyCommand}));
    EXPECT_EQ(record.slotWords[5].source, WordSource::Unknown);
    // What a press confirmed or taught is stamped by the run's clock, as a write is.
    EXPECT_EQ(record.slotWords[2].when, kStamp);
    EXPECT_EQ(record.slotWords[4].when, kStamp);

    // Now every slot the record knows matches.
    script_ = {
        {0ms, [&] { fake_.Send(kKeyboard, kNoKeys); }},  {10ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }},
        {20ms, [&] { fake_.Send(kKeyboard, kNoKeys); }}, {30ms, [&] { fake_.Send(kMouse, {0x01, 0, 0}); }},
        {40ms, [&] { fake_.Send(kMouse, kNoButtons); }}, {50ms, [&] { fake_.Send(kKeyboard, kCtrlShiftA); }}};
    const Outcome again = Run({"--json", "--timeout", "1"});
    EXPECT_EQ(again.exitCode, 0) << again.out << again.err;
    const JsonParseResult parsed = ParseJson(again.out);
    ASSERT_TRUE(parsed.value) << again.out;
    EXPECT_NE(again.out.find("\"all_match\": true"), std::string::npos) << again.out;
}

} // namespace
} // namespace treadkey
