#include "stacks/windows/raw_input_reports.h"
#include "stacks/windows/scan_code_usages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey::windows_hid {
namespace {

constexpr std::uint16_t kMake = 0;

TEST(RawInputKindOf, ReadsKeyboardsAndKeypadsAsKeyboardsAndMiceAndPointersAsMice) {
    const struct {
        std::vector<HidCollection> collections;
        std::optional<RawInputKind> kind;
    } cases[] = {
        {{{0x01, 0x06}}, RawInputKind::Keyboard},
        {{{0x01, 0x07}}, RawInputKind::Keyboard},
        {{{0x01, 0x02}}, RawInputKind::Mouse},
        {{{0x01, 0x01}}, RawInputKind::Mouse},
        // The configuration interface, a game pad: no keyboard's or mouse's events.
        {{{0xFF00, 0x01}}, std::nullopt},
        {{{0x01, 0x05}}, std::nullopt},
        {{}, std::nullopt},
        {{{0xFF00, 0x01}, {0x01, 0x02}}, RawInputKind::Mouse},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RawInputKindOf(c.collections), c.kind)
            << (c.collections.empty() ? 0 : c.collections.back().usage);
    }
}

TEST(KeyboardUsageOfScanCode, TellsTheKeysThatShareAMakeCodeByTheirPrefix) {
    const struct {
        std::uint16_t makeCode;
        std::uint16_t flags;
        std::uint8_t usage;
        const char* key;
    } cases[] = {
        {0x1E, 0, 0x04, "A"},
        {0x02, 0, 0x1E, "1"},
        {0x3B, 0, 0x3A, "F1"},
        {0x57, 0, 0x44, "F11"},
        {0x64, 0, 0x68, "F13"},
        {0x76, 0, 0x73, "F24"},
        {0x56, 0, 0x64, "ISO backslash"},
        // The keypad and the grey keys beside it send the same codes, the grey ones after E0.
        {0x47, 0, 0x5F, "keypad 7"},
        {0x47, kRawKeyE0, 0x4A, "home"},
        {0x53, 0, 0x63, "keypad ."},
        {0x53, kRawKeyE0, 0x4C, "delete"},
        {0x1C, 0, 0x28, "enter"},
        {0x1C, kRawKeyE0, 0x58, "keypad enter"},
        {0x35, 0, 0x38, "/"},
        {0x35, kRawKeyE0, 0x54, "keypad /"},
        {0x37, 0, 0x55, "keypad *"},
        {0x37, kRawKeyE0, 0x46, "print screen"},
        {0x54, 0, 0x46, "alt+print screen"},
        {0x1D, 0, 0xE0, "left control"},
        {0x1D, kRawKeyE0, 0xE4, "right control"},
        {0x38, kRawKeyE0, 0xE6, "right alt"},
        {0x36, 0, 0xE5, "right shift"},
        {0x5B, kRawKeyE0, 0xE3, "left GUI"},
        {0x5C, kRawKeyE0, 0xE7, "right GUI"},
        {0x1D, kRawKeyE1, 0x48, "pause"},
        {0x46, kRawKeyE0, 0x48, "control+pause"},
        {0x45, 0, 0x53, "num lock"},
        // What names no key: a code after a prefix that has no key with it (the made-up shift around a
        // grey key), an empty place, the table's last place and past it.
        {0x2A, kRawKeyE0, 0, "made-up left shift"},
        {0x45, kRawKeyE1, 0, "E1 with another code"},
        {0x00, 0, 0, "zero"},
        {0x7F, 0, 0, "last plain"},
        {0x80, 0, 0, "past the table"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyboardUsageOfScanCode(c.makeCode, c.flags), c.usage) << c.key;
        // The key coming up names the same key.
        EXPECT_EQ(KeyboardUsageOfScanCode(c.makeCode, c.flags | kRawKeyBreak), c.usage) << c.key << " up";
    }
}

struct KeyEvent {
    std::uint16_t makeCode;
    std::uint16_t flags;
    std::optional<BootKeyboardReport> report; // what the state gives after it
};

void ExpectReports(const std::string& name, const std::vector<KeyEvent>& events) {
    BootKeyboardState state;
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(state.Apply(events[i].makeCode, events[i].flags), events[i].report)
            << name << ", event " << i;
    }
}

TEST(BootKeyboardState, ReportsWhatIsHeldAfterEachChange) {
    const std::uint16_t up = kRawKeyBreak;
    const std::uint16_t e0 = kRawKeyE0;
    ExpectReports("a key down and up, repeats in between",
                  {{0x1E, kMake, BootKeyboardReport{0, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x1E, kMake, std::nullopt},
                   {0x1E, kMake, std::nullopt},
                   {0x1E, up, BootKeyboardReport{}},
                   {0x1E, up, std::nullopt}});
    ExpectReports("modifiers into byte 0, each its bit",
                  {{0x1D, kMake, BootKeyboardReport{0x01, 0, 0, 0, 0, 0, 0, 0}},
                   {0x2A, kMake, BootKeyboardReport{0x03, 0, 0, 0, 0, 0, 0, 0}},
                   {0x1E, kMake, BootKeyboardReport{0x03, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x1D, kMake, std::nullopt},
                   {0x38, e0, BootKeyboardReport{0x43, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x5C, e0, BootKeyboardReport{0xC3, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x1D, up, BootKeyboardReport{0xC2, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x1D, static_cast<std::uint16_t>(e0 | up), std::nullopt}});
    ExpectReports("keys in the order they went down, the rest moving up when one comes up",
                  {{0x1E, kMake, BootKeyboardReport{0, 0, 0x04, 0, 0, 0, 0, 0}},
                   {0x30, kMake, BootKeyboardReport{0, 0, 0x04, 0x05, 0, 0, 0, 0}},
                   {0x2E, kMake, BootKeyboardReport{0, 0, 0x04, 0x05, 0x06, 0, 0, 0}},
                   {0x1E, up, BootKeyboardReport{0, 0, 0x05, 0x06, 0, 0, 0, 0}}});
    ExpectReports("a seventh key rolls over, and the six are back when it comes up",
                  {{0x02, kMake, BootKeyboardReport{0, 0, 0x1E, 0, 0, 0, 0, 0}},
                   {0x03, kMake, BootKeyboardReport{0, 0, 0x1E, 0x1F, 0, 0, 0, 0}},
                   {0x04, kMake, BootKeyboardReport{0, 0, 0x1E, 0x1F, 0x20, 0, 0, 0}},
                   {0x05, kMake, BootKeyboardReport{0, 0, 0x1E, 0x1F, 0x20, 0x21, 0, 0}},
                   {0x06, kMake, BootKeyboardReport{0, 0, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0}},
                   {0x07, kMake, BootKeyboardReport{0, 0, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23}},
                   {0x2A, kMake, BootKeyboardReport{0x02, 0, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23}},
                   {0x08, kMake, BootKeyboardReport{0x02, 0, 1, 1, 1, 1, 1, 1}},
                   {0x03, up, BootKeyboardReport{0x02, 0, 0x1E, 0x20, 0x21, 0x22, 0x23, 0x24}}});
    ExpectReports("pause is one key, not pause and num lock",
                  {{0x1D, kRawKeyE1, BootKeyboardReport{0, 0, 0x48, 0, 0, 0, 0, 0}},
                   {0x45, kMake, std::nullopt},
                   {0x1D, static_cast<std::uint16_t>(kRawKeyE1 | up), BootKeyboardReport{}},
                   {0x45, up, std::nullopt},
                   // Num lock after it is num lock again.
                   {0x45, kMake, BootKeyboardReport{0, 0, 0x53, 0, 0, 0, 0, 0}}});
    ExpectReports("the made-up shifts around a grey key change nothing",
                  {{0x2A, e0, std::nullopt},
                   {0x52, e0, BootKeyboardReport{0, 0, 0x49, 0, 0, 0, 0, 0}},
                   {0x52, static_cast<std::uint16_t>(e0 | up), BootKeyboardReport{}},
                   {0x2A, static_cast<std::uint16_t>(e0 | up), std::nullopt},
                   {0x55, kMake, std::nullopt}});
}

TEST(BootMouseState, KeepsTheButtonsHeldAndCutsMotionAndWheelToASignedByte) {
    const struct {
        const char* name;
        RawMouseEvent event;
        BootMouseReport report;
    } events[] = {
        {"left down", {0, kRawMouseLeftDown, 0, 0, 0}, {0x01, 0, 0, 0}},
        {"a move with left held", {0, 0, 0, 5, -3}, {0x01, 5, 0xFD, 0}},
        {"right and middle down", {0, kRawMouseRightDown | kRawMouseMiddleDown, 0, 0, 0}, {0x07, 0, 0, 0}},
        {"left up", {0, kRawMouseLeftUp, 0, 0, 0}, {0x06, 0, 0, 0}},
        // Buttons 4 and 5 have no place in a boot report.
        {"button 4 down", {0, 0x0040, 0, 0, 0}, {0x06, 0, 0, 0}},
        {"right and middle up", {0, kRawMouseRightUp | kRawMouseMiddleUp, 0, 0, 0}, {0, 0, 0, 0}},
        {"down and up in one event", {0, kRawMouseLeftDown | kRawMouseLeftUp, 0, 0, 0}, {0, 0, 0, 0}},
        {"a move past a byte", {0, 0, 0, 300, -300}, {0, 0x7F, 0x81, 0}},
        {"a move at the byte's edge", {0, 0, 0, 127, -128}, {0, 0x7F, 0x81, 0}},
        {"an absolute position", {kRawMouseMoveAbsolute, 0, 0, 30000, 20000}, {0, 0, 0, 0}},
        {"one notch up", {0, kRawMouseWheel, 120, 0, 0}, {0, 0, 0, 1}},
        {"two notches down", {0, kRawMouseWheel, static_cast<std::uint16_t>(-240), 0, 0}, {0, 0, 0, 0xFE}},
        {"wheel data without the wheel flag", {0, 0, 240, 0, 0}, {0, 0, 0, 0}},
        {"a wheel past a byte", {0, kRawMouseWheel, 0x7FFF, 0, 0}, {0, 0, 0, 0x7F}},
    };
    BootMouseState state;
    for (const auto& e : events) {
        EXPECT_EQ(state.Apply(e.event), e.report) << e.name;
    }
}

} // namespace
} // namespace treadkey::windows_hid
