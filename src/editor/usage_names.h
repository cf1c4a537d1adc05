#pragma once

#include "hid/input_layout.h"

#include <cstdint>
#include <optional>
#include <string>

namespace treadkey {

// How the program names a usage the pedal sends: by the on-screen key that sends it where there is one, else
// by the HID usage tables, else by its page and usage in hex.

// The index into KeyTable() of the visible key that sends a keyboard-page usage.
std::optional<int> KeyIndexForUsage(std::uint16_t usage);

// A keyboard-page usage no on-screen key sends, as the usage tables name it: a command-line name ("f13") and
// a caption ("F13"). Nothing for a usage the tables leave reserved.
struct UsageWords {
    std::string name;
    std::string caption;
};
std::optional<UsageWords> UnlistedKeyWords(std::uint16_t usage);

// Both words of a keyboard-page usage: its key's, else its usage-table words, else its hex.
UsageWords KeyUsageWords(std::uint16_t usage);

// The caption of a usage of another page ("Volume Increment"), else its hex.
std::string OtherUsageCaption(HidUsage usage);

} // namespace treadkey
