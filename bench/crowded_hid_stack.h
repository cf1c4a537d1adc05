#pragma once

#include "device/fake_hid_backend.h"

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

} // namespace treadkey::bench
