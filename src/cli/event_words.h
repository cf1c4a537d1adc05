#pragma once

#include "hid/input_changes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace treadkey {

// How treadkeyctl monitor words what the pedal sent.

// "press   ctrl+shift+a   < Ctrl + Shift + A >", "release mouse right": the keys' captions as the key log
// line writes them; a line of mouse buttons alone has none.
std::string EventLine(const PedalEvent& event);

// One JSON object, no line break: time, interface, the raw report in hex and the event decoded.
std::string EventJson(const PedalEvent& event, std::string_view time, std::string_view interfacePath,
                      std::span<const std::uint8_t> report);

} // namespace treadkey
