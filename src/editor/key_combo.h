#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// A key with the modifiers held with it, as the window's toggles and key buttons give it.
struct KeyCombo {
    std::uint8_t modifiers = 0; // bits of kModifiers
    int keyIndex = 0;           // into KeyTable()

    bool operator==(const KeyCombo&) const = default;
};

// The key code a combination's key sends, read from the key table as the window reads it.
double KeyCode(const KeyCombo& combo);

struct ParsedKeyCombo {
    std::optional<KeyCombo> combo;
    std::string error; // one line; for an unknown name it lists the closest names
};

// Reads "ctrl+shift+a", "alt_r+f12", "backslash": names joined by '+', exactly one of them a key, the others
// modifiers, in any order and any case.
ParsedKeyCombo ParseKeyCombo(std::string_view text);

} // namespace treadkey
