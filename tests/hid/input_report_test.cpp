#include "hid/input_changes.h"
#include "hid/input_layout.h"
#include "hid/input_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace treadkey {

// Shows a failed comparison in the report's own terms.
void PrintTo(const HeldInputs& held, std::ostream* out) {
    *out << "modifiers " << int{held.modifiers} << ", keys";
    for (const std::uint16_t key : held.keys) {
        *out << ' ' << key;
    }
    *out << ", buttons " << held.buttons << ", other";
    for (const HidUsage usage : held.other) {
        *out << ' ' << usage.page << ':' << usage.usage;
    }
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// The boot layouts as the decoder's own fallback declares them.
const Bytes kBootKeyboard(BootKeyboardDescriptor().begin(), BootKeyboardDescriptor().end());
const Bytes kBootMouse(BootMouseDescriptor().begin(), BootMouseDescriptor().end());

// Report 1 a keyboard (keys 0..0xFF, maximum written 26 FF 00), report 2 a consumer control sending one
// 16-bit usage.
const Bytes kNumberedKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15,
    0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01,
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81,
    0x00, 0xC0, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x03,
    0x19, 0x00, 0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
};

// Modifier byte, then one bit for each usage 0x00..0x67: 14 bytes.
const Bytes kNkroKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x19, 0x00, 0x29, 0x67, 0x95, 0x68, 0x81, 0x02, 0xC0,
};

// Volume up and down as two bits, six padding bits.
const Bytes kConsumerBits = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95,
                             0x02, 0x09, 0xE9, 0x09, 0xEA, 0x81, 0x02, 0x95, 0x06, 0x81, 0x01, 0xC0};

HeldInputs Keys(std::uint8_t modifiers, std::vector<std::uint16_t> keys) {
    return {modifiers, std::move(keys), 0, {}};
}
HeldInputs Buttons(std::uint32_t buttons) {
    return {0, {}, buttons, {}};
}
HeldInputs Other(std::vector<HidUsage> other) {
    return {0, {}, 0, std::move(other)};
}

struct ReportCase {
    std::string name;
    const Bytes* descriptor;
    Bytes report;
    std::optional<HeldInputs> held; // nothing: the report is unknown

    friend void PrintTo(const ReportCase& tested, std::ostream* out) { *out << tested.name; }
};

class DecodeReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(DecodeReport, GivesWhatIsHeldOrUnknown) {
    const ReportCase& tested = GetParam();
    const std::optional<InputLayout> layout = InputLayoutFromDescriptor(*tested.descriptor);
    ASSERT_TRUE(layout.has_value());
    // An exactly sized copy, so that a read past the report's end is a sanitizer report, not luck.
    const std::vector<std::uint8_t> report(tested.report);
    const std::optional<DecodedInputReport> decoded = DecodeInputReport(*layout, report);
    ASSERT_EQ(decoded.has_value(), tested.held.has_value());
    if (decoded) {
        EXPECT_EQ(decoded->held, *tested.held);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DecodeReport,
    ::testing::Values(
        ReportCase{"BootCtrlShiftA", &kBootKeyboard, {0x03, 0, 0x04, 0, 0, 0, 0, 0}, Keys(0x03, {0x04})},
        ReportCase{"BootTwoKeysInReportOrder",
                   &kBootKeyboard,
                   {0, 0, 0x3A, 0x04, 0, 0, 0, 0},
                   Keys(0, {0x3A, 0x04})},
        ReportCase{"BootRightWin", &kBootKeyboard, {0x80, 0, 0, 0, 0, 0, 0, 0}, Keys(0x80, {})},
        // 0x66 lies past the declared maximum 0x65: an array's "nothing here".
        ReportCase{"BootCodePastLogicalMaximum", &kBootKeyboard, {0, 0, 0x66, 0, 0, 0, 0, 0}, Keys(0, {})},
        ReportCase{"BootRollOver", &kBootKeyboard, {0, 0, 1, 1, 1, 1, 1, 1}, std::nullopt},
        ReportCase{
            "BootLongerThanLaidOut", &kBootKeyboard, {0, 0, 0x04, 0, 0, 0, 0, 0, 0x05}, Keys(0, {0x04})},
        ReportCase{"BootShort", &kBootKeyboard, {0x03, 0, 0x04}, std::nullopt},
        ReportCase{"BootEmpty", &kBootKeyboard, {}, std::nullopt},
        ReportCase{
            "NumberedKeyboard", &kNumberedKeyboard, {0x01, 0x01, 0, 0x68, 0, 0, 0, 0, 0}, Keys(0x01, {0x68})},
        ReportCase{"NumberedConsumer", &kNumberedKeyboard, {0x02, 0xE9, 0x00}, Other({{0x0C, 0xE9}})},
        ReportCase{
            "NumberedConsumerWideUsage", &kNumberedKeyboard, {0x02, 0x21, 0x02}, Other({{0x0C, 0x221}})},
        ReportCase{"NumberedUnknownId", &kNumberedKeyboard, {0x03, 0, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        ReportCase{"NumberedIdAlone", &kNumberedKeyboard, {0x02}, std::nullopt},
        ReportCase{"NumberedConsumerShort", &kNumberedKeyboard, {0x02, 0xE9}, std::nullopt},
        // Usage 0x04 is bit 4 of the first bitmap byte, F1 (0x3A) bit 2 of the eighth, 0x67 the last bit.
        ReportCase{"NkroBitmap",
                   &kNkroKeyboard,
                   {0x11, 0x10, 0, 0, 0, 0, 0, 0, 0x04, 0, 0, 0, 0, 0x80},
                   Keys(0x11, {0x04, 0x3A, 0x67})},
        ReportCase{
            "NkroShort", &kNkroKeyboard, {0x11, 0x10, 0, 0, 0, 0, 0, 0, 0x04, 0, 0, 0, 0}, std::nullopt},
        ReportCase{"MouseRight", &kBootMouse, {0x02, 0, 0}, Buttons(0x02)},
        ReportCase{"MouseMiddleWhileMoving", &kBootMouse, {0x04, 0x05, 0xFB}, Buttons(0x04)},
        ReportCase{"MouseAllThree", &kBootMouse, {0x07, 0, 0}, Buttons(0x07)},
        ReportCase{"MousePaddingIgnored", &kBootMouse, {0xF8, 0x7F, 0x81}, Buttons(0)},
        ReportCase{"MouseShort", &kBootMouse, {0x01}, std::nullopt},
        ReportCase{"ConsumerBits", &kConsumerBits, {0x03}, Other({{0x0C, 0xE9}, {0x0C, 0xEA}})},
        ReportCase{"ConsumerPaddingIgnored", &kConsumerBits, {0xFC}, Other({})}),
    [](const auto& tested) { return tested.param.name; });

TEST(InputLayout, MalformedDescriptorsGiveNoLayout) {
    const std::vector<Bytes> malformed = {
        {},                                         // empty
        {0x05, 0x01, 0x09},                         // item cut short
        {0x05, 0x01, 0xA1, 0x01},                   // collection never closed
        {0xC0},                                     // closed but never opened
        {0x85, 0x00},                               // report id 0
        {0xB4},                                     // Pop with nothing pushed
        {0x75, 0x20, 0x96, 0xFF, 0xFF, 0x81, 0x02}, // a 262,140-byte input
    };
    for (const Bytes& descriptor : malformed) {
        EXPECT_FALSE(InputLayoutFromDescriptor(descriptor).has_value())
            << ::testing::PrintToString(descriptor);
    }
}

TEST(InterfaceInput, AnUnreadableDescriptorFallsBackToTheBootLayoutOfTheCollection) {
    const std::optional<Bytes> cutShort = Bytes{0x05, 0x01, 0x09};
    InterfaceInput keyboard(cutShort, {{0x01, 0x06}});
    EXPECT_EQ(keyboard.Read(Bytes{0x02, 0, 0x04, 0, 0, 0, 0, 0}).events,
              (std::vector<PedalEvent>{{PedalEvent::Kind::Press, Keys(0x02, {0x04})}}));
    InterfaceInput mouse(std::nullopt, {{0x01, 0x02}});
    EXPECT_EQ(mouse.Read(Bytes{0x01, 0, 0}).events,
              (std::vector<PedalEvent>{{PedalEvent::Kind::Press, Buttons(0x01)}}));
    InterfaceInput vendor(std::nullopt, {{0xFF00, 0x01}});
    EXPECT_FALSE(vendor.Read(Bytes{0x02, 0, 0x04, 0, 0, 0, 0, 0}).known);
}

struct ChangeCase {
    std::string name;
    HeldInputs before;
    HeldInputs after;
    std::vector<PedalEvent> events;

    friend void PrintTo(const ChangeCase& tested, std::ostream* out) { *out << tested.name; }
};

class EventsBetweenReports : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(EventsBetweenReports, NameWhatWentDownAndCameUp) {
    EXPECT_EQ(Changes(GetParam().before, GetParam().after), GetParam().events);
}

constexpr auto kPress = PedalEvent::Kind::Press;
constexpr auto kRelease = PedalEvent::Kind::Release;

INSTANTIATE_TEST_SUITE_P(
    Pictures, EventsBetweenReports,
    ::testing::Values(
        ChangeCase{"ComboAtOnce", {}, Keys(0x03, {0x04}), {{kPress, Keys(0x03, {0x04})}}},
        ChangeCase{"ComboReleasedAtOnce", Keys(0x03, {0x04}), {}, {{kRelease, Keys(0x03, {0x04})}}},
        ChangeCase{
            "KeyBesideHeldModifier", Keys(0x01, {}), Keys(0x01, {0x04}), {{kPress, Keys(0x01, {0x04})}}},
        ChangeCase{"ModifierAlone", Keys(0x01, {0x04}), Keys(0x03, {0x04}), {{kPress, Keys(0x02, {})}}},
        ChangeCase{
            "ModifierLetGoKeyHeld", Keys(0x03, {0x04}), Keys(0x01, {0x04}), {{kRelease, Keys(0x02, {})}}},
        ChangeCase{"RollFromKeyToKey",
                   Keys(0, {0x04}),
                   Keys(0, {0x05}),
                   {{kRelease, Keys(0, {0x04})}, {kPress, Keys(0, {0x05})}}},
        ChangeCase{"SameAgainIsNothing", Keys(0x03, {0x04}), Keys(0x03, {0x04}), {}},
        ChangeCase{"ButtonsEach",
                   Buttons(0x01),
                   Buttons(0x04),
                   {{kRelease, Buttons(0x01)}, {kPress, Buttons(0x04)}}},
        ChangeCase{"MediaKey", {}, Other({{0x0C, 0xE9}}), {{kPress, Other({{0x0C, 0xE9}})}}}),
    [](const auto& tested) { return tested.param.name; });

} // namespace
} // namespace treadkey
