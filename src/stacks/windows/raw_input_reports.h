#pragma once

#include "hid/hid_usage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The boot protocol reports a keyboard or mouse interface would have sent, rebuilt from the events Raw Input
// hands over for it: Windows keeps those interfaces' own reports from programs.
namespace treadkey::windows_hid {

// Which of Raw Input's two kinds of event a collection's input arrives as.
enum class RawInputKind { Keyboard, Mouse };

// The kind of event a keyboard or keypad, mouse or pointer collection's input arrives as; nothing for any
// other collection, whose reports Raw Input does not hand over as a keyboard's or mouse's.
std::optional<RawInputKind> RawInputKindOf(const std::vector<HidCollection>& collections);

// A boot keyboard report: modifiers, a reserved byte, six keys.
using BootKeyboardReport = std::array<std::uint8_t, 8>;
// A boot mouse report: buttons, X, Y and the wheel.
using BootMouseReport = std::array<std::uint8_t, 4>;

// The keys one keyboard holds down, followed from its key events.
class BootKeyboardState {
public:
    // Takes one key event (RAWKEYBOARD's MakeCode and Flags) and gives the report of what is now held;
    // nothing when the event changes nothing, as the key repeats Windows makes up while a key is held.
    std::optional<BootKeyboardReport> Apply(std::uint16_t makeCode, std::uint16_t flags);

private:
    std::uint8_t modifiers_ = 0;
    std::vector<std::uint8_t> keys_; // in the order they went down
    bool pauseTailDue_ = false;      // Pause comes as E1 1D and then 45, which is not num lock
};

// A Raw Input mouse event: RAWMOUSE's usFlags, usButtonFlags, usButtonData and lLastX/lLastY.
struct RawMouseEvent {
    std::uint16_t moveFlags = 0;
    std::uint16_t buttonFlags = 0;
    std::uint16_t buttonData = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The buttons (winuser.h's RI_MOUSE_*) and flags of a mouse event that the reports carry.
inline constexpr std::uint16_t kRawMouseLeftDown = 0x0001;
inline constexpr std::uint16_t kRawMouseLeftUp = 0x0002;
inline constexpr std::uint16_t kRawMouseRightDown = 0x0004;
inline constexpr std::uint16_t kRawMouseRightUp = 0x0008;
inline constexpr std::uint16_t kRawMouseMiddleDown = 0x0010;
inline constexpr std::uint16_t kRawMouseMiddleUp = 0x0020;
inline constexpr std::uint16_t kRawMouseWheel = 0x0400;
inline constexpr std::uint16_t kRawMouseMoveAbsolute = 0x0001;

// The buttons one mouse holds down, followed from its events.
class BootMouseState {
public:
    // Takes one event and gives its report: the buttons now held (left, right, middle as bits 0, 1, 2), the
    // relative motion and the wheel's notches, each cut to a signed byte. An absolute position is no motion a
    // boot mouse could report.
    BootMouseReport Apply(const RawMouseEvent& event);

private:
    std::uint8_t buttons_ = 0;
};

} // namespace treadkey::windows_hid
