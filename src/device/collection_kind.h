#pragma once

#include "device/hid_backend.h"

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

// Whether the system keeps a collection of this kind to itself, so that no program may open it for writing.
bool IsHeldBySystem(CollectionKind kind);

// An interface whose collections are all held by the system: it cannot be the pedal's
// configuration interface. An interface whose collections are unknown stays a candidate.
bool IsPassedOver(const HidInterface& interface);

} // namespace treadkey
