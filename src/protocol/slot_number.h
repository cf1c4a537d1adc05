#pragma once

#include <string>
#include <string_view>

namespace treadkey {

// The slot box is free text: its leading number is the slot (no leading number gives 0), not limited to the
// list's 1 to 12. Slot n lives at device address (n - 1) * 4.

// The address byte of a slot as two hex digits ("08" for slot 3, "FC" for slot 0), computed without overflow
// for any text: only the address's low byte reaches the frame.
std::string SlotAddressHex(std::string_view slotText);

// The slot number as the log lines show it: "3", "0", "2.5", "100000".
std::string SlotNumberText(std::string_view slotText);

} // namespace treadkey
