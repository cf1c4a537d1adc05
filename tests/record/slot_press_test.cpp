#include "record/slot_press.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

const MemoryWord kCtrlShiftA{{0x03, 0x04, 0, 0}, WordWriter::KeyCommand};
const MemoryWord kLeftButton{{kMouseMarker, 0x01, 0, 0}, WordWriter::MouseCommand};
const MemoryWord kCleared{{0xFF, 0xFF, 0xFF, 0xFF}, WordWriter::KeyCommand};

HeldInputs Keys(std::uint8_t modifiers, std::uint16_t key) {
    HeldInputs inputs;
    inputs.modifiers = modifiers;
    inputs.keys = {key};
    return inputs;
}

HeldInputs Buttons(std::uint32_t buttons) {
    HeldInputs inputs;
    inputs.buttons = buttons;
    return inputs;
}

// A press against the slot's recorded word: the same inputs match, others do not, an unknown slot learns,
// and inputs no slot word sends are named so whatever the record says.
TEST(ComparePress, SaysHowThePressStandsToTheRecord) {
    const RecordedWord unknown{};
    const RecordedWord key{WordSource::Written, kCtrlShiftA, "t", "treadkeyctl", ""};
    const RecordedWord mouse{WordSource::SeenByPress, kLeftButton, "t", "", ""};
    const RecordedWord cleared{WordSource::Written, kCleared, "t", "treadkeyctl", ""};
    HeldInputs twoKeys = Keys(0, 0x04);
    twoKeys.keys.push_back(0x05);
    const struct {
        const char* what;
        RecordedWord recorded;
        HeldInputs pressed;
        PressVerdict verdict;
    } cases[] = {
        {"the key recorded", key, Keys(0x03, 0x04), PressVerdict::Match},
        {"the key without its modifiers", key, Keys(0, 0x04), PressVerdict::Mismatch},
        {"a mouse button for a key", key, Buttons(0x01), PressVerdict::Mismatch},
        {"the button recorded", mouse, Buttons(0x01), PressVerdict::Match},
        {"another button", mouse, Buttons(0x02), PressVerdict::Mismatch},
        {"anything on a cleared slot", cleared, Keys(0, 0x04), PressVerdict::Mismatch},
        {"a key on an unknown slot", unknown, Keys(0x03, 0x04), PressVerdict::Learned},
        {"two keys at once", key, twoKeys, PressVerdict::NotASlotWord},
        {"two keys on an unknown slot", unknown, twoKeys, PressVerdict::NotASlotWord},
    };
    for (const auto& c : cases) {
        const PressVerdict verdict = ComparePress(c.recorded, c.pressed);
        EXPECT_EQ(verdict, c.verdict) << c.what;
        EXPECT_EQ(PressShowsTheSlot(verdict),
                  c.verdict == PressVerdict::Match || c.verdict == PressVerdict::Learned)
            << c.what;
    }
}

TEST(RecordSeenByPress, KeepsTheWordThePressSentAndWhen) {
    PedalRecord record;
    RecordSeenByPress(record, 5, Keys(0x03, 0x04), "2026-03-01T12:00:00Z");
    RecordSeenByPress(record, 12, Buttons(0x01), "2026-03-01T12:00:01Z");
    EXPECT_EQ(record.slotWords[4],
              (RecordedWord{WordSource::SeenByPress, kCtrlShiftA, "2026-03-01T12:00:00Z", "", ""}));
    EXPECT_EQ(record.slotWords[11],
              (RecordedWord{WordSource::SeenByPress, kLeftButton, "2026-03-01T12:00:01Z", "", ""}));
    EXPECT_EQ(record.slotWords[0].source, WordSource::Unknown);
}

} // namespace
} // namespace treadkey
