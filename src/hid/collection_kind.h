#pragma once

#include "hid/hid_usage.h"

#include <vector>

namespace treadkey {

// What a top-level collection is, as far as choosing the pedal's configuration interface and naming it to
// the user need.
enum class CollectionKind {
    // Opened by the system for its exclusive use.
    Pointer,
    Mouse,
    Keyboard,
    Keypad,
    Digitizer,
    Pen,
    TouchScreen,
    TouchPad,
    // Opened shared.
    Joystick,
    GamePad,
    SystemControl,
    ConsumerControl,
    VendorDefined,
    Other,
};

CollectionKind CollectionKindOf(HidCollection collection);

// An interface with these collections, all held by the system: it cannot be the pedal's configuration
// interface. An interface whose collections are unknown (none given) stays a candidate.
bool IsPassedOver(const std::vector<HidCollection>& collections);

} // namespace treadkey
