#pragma once

#include "editor/key_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The names by which the command line and profiles refer to keys, modifiers and mouse buttons. Names are
// lower case and matched case-insensitively.

// The keys that have a name in the key table, in its order.
struct KeyName {
    std::string_view name;
    int keyIndex; // into KeyTable()
};
const std::array<KeyName, kNamedKeyCount>& KeyNames();
// By name or by one of its aliases.
std::optional<int> KeyIndexByName(std::string_view name);

// Another name people type for a key or a modifier ("del", "escape", "super"), and the name it stands for.
struct NameAlias {
    std::string_view alias;
    std::string_view name;
};
const std::vector<NameAlias>& KeyAliases();
// The aliases of a key or modifier name, in the order the tables give them.
std::vector<std::string_view> AliasesOf(std::string_view name);

// The modifiers' own names (ctrl, shift, alt, win and their _r forms), then their aliases: the left-hand
// forms ctrl_l, shift_l, alt_l, win_l, and other makers' names (control, option, super, meta, cmd) with their
// _l and _r forms.
struct ModifierName {
    std::string name;
    std::uint8_t bit;
    std::string_view ownName; // the name this one stands for; itself for an own name
};
const std::vector<ModifierName>& ModifierNames();
std::optional<std::uint8_t> ModifierBitByName(std::string_view name);

// The index into kMouseButtons of a button's name.
std::optional<std::size_t> MouseButtonByName(std::string_view name);

std::string ToLowerAscii(std::string_view text);

} // namespace treadkey
