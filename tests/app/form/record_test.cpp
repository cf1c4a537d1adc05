#include "app/written_slot.h"
#include "record_fixture.h"

namespace treadkey::testing {
namespace {

// The record is written once the click's handler is done: after its last report, outside its pauses.
TEST_F(WindowRecord, AnActionIsRecordedAfterItsLastReport) {
    Connect();
    Type(window->Combo1, "3");
    Click(window->Command_ctrl);
    Click(Key(50));
    EXPECT_FALSE(std::filesystem::exists(RecordFile()));
    view.RunPosted();
    const RecordedWord slot = Recorded().slotWords[2];
    EXPECT_EQ(slot.source, WordSource::Written);
    EXPECT_EQ(slot.word, (MemoryWord{{0x01, 0x04, 0, 0}, WordWriter::KeyCommand}));
    EXPECT_EQ(slot.program, "treadkey-setup");
    EXPECT_EQ(window->Combo1->toolTip,
              "记录：地址3为 < Ctrl + A >，" + slot.when + " 由 treadkey-setup 写入");
    Click(window->Command3);
    EXPECT_EQ(window->Combo1->toolTip,
              "By the record, slot 3 holds < Ctrl + A >, written " + slot.when + " by treadkey-setup");
    Type(window->Combo1, "7");
    EXPECT_EQ(window->Combo1->toolTip, "By the record, slot 7 is unknown");

    // The pedal stops taking reports after the key frame: the slot and both settings words are unknown.
    backend.OnWrite([this](int tried) { backend.SetFailWrites(tried >= 4); });
    Type(window->Combo1, "5");
    Click(Key(50));
    view.RunPosted();
    const PedalRecord record = Recorded();
    EXPECT_EQ(record.slotWords[4].source, WordSource::Unknown);
    EXPECT_EQ(record.slotWords[4].note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.playback.note, "interrupted after report 1 of 3");
    EXPECT_EQ(record.slotWords[2].source, WordSource::Written);
    EXPECT_EQ(window->Combo1->toolTip, "By the record, slot 5 is unknown (interrupted after report 1 of 3)");
}

// The slot box tells of the pedal that is there: none before it is plugged in, its record once it is.
TEST_F(WindowRecord, TheSlotTooltipFollowsThePedalPluggedInAndPulledOut) {
    ASSERT_EQ(RecordSlot3HoldsA(*stateDirectory), "");
    Type(window->Combo1, "3");
    EXPECT_EQ(window->Combo1->toolTip, "");
    Connect();
    EXPECT_EQ(window->Combo1->toolTip, "记录：地址3为 < A >，2026-03-01T12:00:00Z 由 treadkeyctl 写入");
    Click(window->Command3); // English
    EXPECT_EQ(window->Combo1->toolTip,
              "By the record, slot 3 holds < A >, written 2026-03-01T12:00:00Z by treadkeyctl");
    backend.Unplug(kPedal);
    window->Timer1_Timer();
    EXPECT_EQ(window->Combo1->toolTip, "");
}

// A press line says which slot the record says holds what was pressed. Only the pedal written to is watched,
// so the record read is always the pressing pedal's: a twin's presses make no line.
TEST_F(WindowRecord, APressLineNamesTheRecordedSlot) {
    PlugComposite();
    const std::span<const std::uint8_t> keyboard = BootKeyboardDescriptor();
    backend.Plug({"twin-keyboard",
                  0x2704,
                  0x2018,
                  2,
                  true,
                  {{0x01, 0x06}},
                  {{keyboard.begin(), keyboard.end()}},
                  true,
                  "usb-1-2"});
    window->Timer1_Timer();
    Click(window->Command3); // English
    Type(window->Combo1, "3");
    Click(Key(50)); // A
    view.RunPosted();
    const struct {
        std::vector<std::uint8_t> report;
        const char* line;
    } cases[] = {
        {{0, 0, 0x04, 0, 0, 0, 0, 0}, "Pedal Sent:  < A > (slot 3 by the record)"},
        {{0x01, 0, 0x04, 0, 0, 0, 0, 0}, "Pedal Sent:  < Ctrl + A > (no slot holds it by the record)"},
    };
    for (const auto& c : cases) {
        backend.Send(kKeyboard, c.report);
        backend.Send(kKeyboard, std::vector<std::uint8_t>(8, 0));
        window->Timer1_Timer();
        EXPECT_EQ(LogTexts().back(), c.line);
    }
    const std::size_t lines = LogTexts().size();
    backend.Send("twin-keyboard", {0, 0, 0x04, 0, 0, 0, 0, 0});
    window->Timer1_Timer();
    EXPECT_EQ(LogTexts().size(), lines);
}

} // namespace
} // namespace treadkey::testing
