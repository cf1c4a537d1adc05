#include "hid/input_changes.h"

#include "hid/collection_kind.h"

#include <algorithm>

namespace treadkey {
namespace {

template <typename T> std::vector<T> Missing(const std::vector<T>& from, const std::vector<T>& in) {
    std::vector<T> missing;
    for (const T& item : from) {
        if (std::find(in.begin(), in.end(), item) == in.end()) {
            missing.push_back(item);
        }
    }
    return missing;
}

// What `now` holds that `then` did not; a new key or other usage comes with all of `now`'s modifiers.
HeldInputs Added(const HeldInputs& then, const HeldInputs& now) {
    HeldInputs added;
    added.keys = Missing(now.keys, then.keys);
    added.other = Missing(now.other, then.other);
    added.buttons = now.buttons & ~then.buttons;
    const bool newUsage = !added.keys.empty() || !added.other.empty();
    added.modifiers = newUsage ? now.modifiers : static_cast<std::uint8_t>(now.modifiers & ~then.modifiers);
    return added;
}

std::optional<InputLayout> LayoutFor(const std::optional<std::vector<std::uint8_t>>& descriptor,
                                     const std::vector<HidCollection>& collections) {
    if (descriptor) {
        if (std::optional<InputLayout> layout = InputLayoutFromDescriptor(*descriptor)) {
            return layout;
        }
    }
    for (const HidCollection collection : collections) {
        switch (CollectionKindOf(collection)) {
        case CollectionKind::Keyboard:
        case CollectionKind::Keypad:
            return BootKeyboardLayout();
        case CollectionKind::Mouse:
        case CollectionKind::Pointer:
            return BootMouseLayout();
        default:
            break;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<PedalEvent> Changes(const HeldInputs& before, const HeldInputs& after) {
    std::vector<PedalEvent> events;
    // What came up is what `before` holds beyond `after`: the same difference, the other way round.
    if (HeldInputs released = Added(after, before); !released.empty()) {
        events.push_back({PedalEvent::Kind::Release, std::move(released)});
    }
    if (HeldInputs pressed = Added(before, after); !pressed.empty()) {
        events.push_back({PedalEvent::Kind::Press, std::move(pressed)});
    }
    return events;
}

InterfaceInput::InterfaceInput(const std::optional<std::vector<std::uint8_t>>& descriptor,
                               const std::vector<HidCollection>& collections)
    : layout_(LayoutFor(descriptor, collections)) {}

InterfaceInput::Reading InterfaceInput::Read(std::span<const std::uint8_t> report) {
    if (!layout_) {
        return {};
    }
    std::optional<DecodedInputReport> decoded = DecodeInputReport(*layout_, report);
    if (!decoded) {
        return {};
    }
    HeldInputs& held = held_[decoded->reportId];
    Reading reading{true, Changes(held, decoded->held)};
    held = std::move(decoded->held);
    return reading;
}

bool InterfaceInput::Holding() const {
    return std::any_of(held_.begin(), held_.end(), [](const auto& entry) { return !entry.second.empty(); });
}

} // namespace treadkey
