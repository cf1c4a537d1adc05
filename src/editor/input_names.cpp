#include "editor/input_names.h"

#include "editor/key_table.h"
#include "editor/modifier_keys.h"
#include "editor/mouse_buttons.h"

#include <algorithm>

namespace treadkey {
namespace {

std::array<KeyName, kNamedKeyCount> CollectKeyNames() {
    // The key table holds exactly kNamedKeyCount names; it checks so as it is compiled.
    std::array<KeyName, kNamedKeyCount> names{};
    std::size_t count = 0;
    for (const KeyEntry& key : KeyTable()) {
        if (!key.name.empty()) {
            names[count++] = {key.name, key.index};
        }
    }
    return names;
}

constexpr std::string_view kRightSuffix = "_r";
constexpr std::string_view kLeftSuffix = "_l";

// The names other keyboards, systems and habits give the left-hand modifiers; each also takes _l and _r.
constexpr NameAlias kModifierAliases[] = {
    {"control", "ctrl"}, {"option", "alt"}, {"super", "win"}, {"meta", "win"}, {"cmd", "win"},
};

const ModifierKey& ModifierNamed(std::string_view name) {
    return *std::find_if(kModifiers.begin(), kModifiers.end(),
                         [name](const ModifierKey& modifier) { return modifier.name == name; });
}

std::vector<ModifierName> BuildModifierNames() {
    std::vector<ModifierName> names;
    for (const ModifierKey& modifier : kModifiers) {
        names.push_back({std::string(modifier.name), modifier.bit, modifier.name});
    }
    for (const ModifierKey& modifier : kModifiers) {
        if (!modifier.name.ends_with(kRightSuffix)) {
            names.push_back(
                {std::string(modifier.name) + std::string(kLeftSuffix), modifier.bit, modifier.name});
        }
    }
    for (const auto& [alias, name] : kModifierAliases) {
        const ModifierKey& right = ModifierNamed(std::string(name) + std::string(kRightSuffix));
        const ModifierKey& left = ModifierNamed(name);
        names.push_back({std::string(alias), left.bit, left.name});
        names.push_back({std::string(alias) + std::string(kLeftSuffix), left.bit, left.name});
        names.push_back({std::string(alias) + std::string(kRightSuffix), right.bit, right.name});
    }
    return names;
}

} // namespace

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

const std::array<KeyName, kNamedKeyCount>& KeyNames() {
    static const std::array<KeyName, kNamedKeyCount> names = CollectKeyNames();
    return names;
}

const std::vector<NameAlias>& KeyAliases() {
    static const std::vector<NameAlias> aliases = {
        {"escape", "esc"},
        {"del", "delete"},
        {"ins", "insert"},
        {"return", "enter"},
        {"bksp", "backspace"},
        {"pgup", "page_up"},
        {"pageup", "page_up"},
        {"pgdn", "page_down"},
        {"pagedown", "page_down"},
        {"prtsc", "print_screen"},
        {"printscreen", "print_screen"},
        {"scrlk", "scroll_lock"},
        {"scrolllock", "scroll_lock"},
        {"caps", "caps_lock"},
        {"capslock", "caps_lock"},
        {"numlock", "num_lock"},
        {"break", "pause"},
        {"spacebar", "space"},
        {"backtick", "grave"},
        {"tilde", "grave"},
        {"hyphen", "minus"},
        {"equals", "equal"},
        {"quote", "apostrophe"},
        {"apps", "menu"},
        {"kp_del", "kp_dot"},
    };
    return aliases;
}

std::optional<int> KeyIndexByName(std::string_view name) {
    std::string lower = ToLowerAscii(name);
    for (const NameAlias& alias : KeyAliases()) {
        if (alias.alias == lower) {
            lower = alias.name;
            break;
        }
    }
    for (const KeyName& key : KeyNames()) {
        if (key.name == lower) {
            return key.keyIndex;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> AliasesOf(std::string_view name) {
    std::vector<std::string_view> aliases;
    for (const NameAlias& alias : KeyAliases()) {
        if (alias.name == name) {
            aliases.push_back(alias.alias);
        }
    }
    for (const ModifierName& modifier : ModifierNames()) {
        if (modifier.ownName == name && modifier.name != name) {
            aliases.push_back(modifier.name);
        }
    }
    return aliases;
}

const std::vector<ModifierName>& ModifierNames() {
    static const std::vector<ModifierName> names = BuildModifierNames();
    return names;
}

std::optional<std::uint8_t> ModifierBitByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (const ModifierName& modifier : ModifierNames()) {
        if (modifier.name == lower) {
            return modifier.bit;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> MouseButtonByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (std::size_t i = 0; i < kMouseButtons.size(); ++i) {
        if (kMouseButtons[i].name == lower) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace treadkey
