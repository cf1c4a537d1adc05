#include "stacks/windows/raw_input_reports.h"

#include "hid/collection_kind.h"
#include "stacks/windows/scan_code_usages.h"

#include <algorithm>

namespace treadkey::windows_hid {
namespace {

constexpr std::uint8_t kFirstModifier = 0xE0; // left control; the eight modifiers follow in bit order
constexpr std::uint8_t kLastModifier = 0xE7;
constexpr std::size_t kBootKeys = 6;
constexpr std::uint8_t kErrorRollOver = 0x01; // in every key byte when more keys are down than fit
constexpr std::uint16_t kPauseTailCode = 0x45;
constexpr std::uint8_t kPauseUsage = 0x48;
constexpr int kWheelDelta = 120; // Windows' units of one notch

std::uint8_t CutToSignedByte(std::int64_t value) {
    // -128 is left out: a boot mouse's axes run from -127 to 127.
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp<std::int64_t>(value, -127, 127)));
}

} // namespace

std::optional<RawInputKind> RawInputKindOf(const std::vector<HidCollection>& collections) {
    for (const HidCollection collection : collections) {
        switch (CollectionKindOf(collection)) {
        case CollectionKind::Keyboard:
        case CollectionKind::Keypad:
            return RawInputKind::Keyboard;
        case CollectionKind::Mouse:
        case CollectionKind::Pointer:
            return RawInputKind::Mouse;
        default:
            break;
        }
    }
    return std::nullopt;
}

std::optional<BootKeyboardReport> BootKeyboardState::Apply(std::uint16_t makeCode, std::uint16_t flags) {
    const bool prefixed = (flags & (kRawKeyE0 | kRawKeyE1)) != 0;
    if (pauseTailDue_ && !prefixed && makeCode == kPauseTailCode) {
        pauseTailDue_ = false;
        return std::nullopt;
    }
    const std::uint8_t usage = KeyboardUsageOfScanCode(makeCode, flags);
    pauseTailDue_ = usage == kPauseUsage && (flags & kRawKeyE1) != 0;
    if (usage == 0) {
        return std::nullopt;
    }
    const bool down = (flags & kRawKeyBreak) == 0;
    if (usage >= kFirstModifier && usage <= kLastModifier) {
        const auto bit = static_cast<std::uint8_t>(1U << (usage - kFirstModifier));
        const auto modifiers = static_cast<std::uint8_t>(down ? modifiers_ | bit : modifiers_ & ~bit);
        if (modifiers == modifiers_) {
            return std::nullopt;
        }
        modifiers_ = modifiers;
    } else {
        const auto held = std::find(keys_.begin(), keys_.end(), usage);
        if (down == (held != keys_.end())) {
            return std::nullopt;
        }
        if (down) {
            keys_.push_back(usage);
        } else {
            keys_.erase(held);
        }
    }
    BootKeyboardReport report{};
    report[0] = modifiers_;
    if (keys_.size() > kBootKeys) {
        std::fill(report.begin() + 2, report.end(), kErrorRollOver);
    } else {
        std::copy(keys_.begin(), keys_.end(), report.begin() + 2);
    }
    return report;
}

BootMouseReport BootMouseState::Apply(const RawMouseEvent& event) {
    constexpr struct {
        std::uint16_t down;
        std::uint16_t up;
        std::uint8_t bit;
    } kButtons[] = {
        {kRawMouseLeftDown, kRawMouseLeftUp, 0x01},
        {kRawMouseRightDown, kRawMouseRightUp, 0x02},
        {kRawMouseMiddleDown, kRawMouseMiddleUp, 0x04},
    };
    for (const auto& button : kButtons) {
        if ((event.buttonFlags & button.down) != 0) {
            buttons_ |= button.bit;
        }
        if ((event.buttonFlags & button.up) != 0) {
            buttons_ &= static_cast<std::uint8_t>(~button.bit);
        }
    }
    const bool relative = (event.moveFlags & kRawMouseMoveAbsolute) == 0;
    const int notches = (event.buttonFlags & kRawMouseWheel) != 0
                            ? static_cast<std::int16_t>(event.buttonData) / kWheelDelta
                            : 0;
    return {buttons_, relative ? CutToSignedByte(event.x) : std::uint8_t{0},
            relative ? CutToSignedByte(event.y) : std::uint8_t{0}, CutToSignedByte(notches)};
}

} // namespace treadkey::windows_hid
