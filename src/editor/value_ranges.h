#pragma once

#include "protocol/frame_layout.h"
#include "protocol/number_text.h"

namespace treadkey {

// What the command line and profiles accept: stricter than the window's free-text boxes, which take any
// leading number.
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = kSlotCount;
inline constexpr int kMaxKeyDelay = 65535; // milliseconds; the delay frame holds 16 bits

} // namespace treadkey
