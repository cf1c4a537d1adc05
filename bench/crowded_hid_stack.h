#pragma once

#include "hid/input_layout.h"
#include "stacks/fake_hid_backend.h"

#include <span>

#include <string>

namespace treadkey::bench {

// An in-memory HID stack of `count` interfaces with the pedal plugged last, so that a tick walks past every
// other interface before it finds it.
inline void PlugOthersThenPedal(testing::FakeHidBackend& backend, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        backend.Plug({"other-" + std::to_string(i), 0x046D, static_cast<std::uint16_t>(0xC000 + i), 9, true});
    }
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
}

// The keyboard and mouse interfaces of a real pedal, after its configuration interface; their descriptors are
// the boot ones.
inline void PlugKeyboardAndMouse(testing::FakeHidBackend& backend) {
    const std::span<const std::uint8_t> keyboard = BootKeyboardDescriptor();
    backend.Plug(
        {"pedal-keyboard", 0x2704, 0x2018, 2, true, {{0x01, 0x06}}, {{keyboard.begin(), keyboard.end()}}});
    const std::span<const std::uint8_t> mouse = BootMouseDescriptor();
    backend.Plug({"pedal-mouse", 0x2704, 0x2018, 0, true, {{0x01, 0x02}}, {{mouse.begin(), mouse.end()}}});
}

} // namespace treadkey::bench
