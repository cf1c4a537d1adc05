#include "cli/input_names.h"

#include "editor/key_table.h"
#include "editor/modifier_keys.h"
#include "editor/mouse_buttons.h"

#include <algorithm>
#include <utility>

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

std::vector<ModifierName> BuildModifierNames() {
    std::vector<ModifierName> names;
    for (const ModifierKey& modifier : kModifiers) {
        names.push_back({std::string(modifier.name), modifier.bit});
    }
    const std::size_t ownNames = names.size();
    for (std::size_t i = 0; i < ownNames; ++i) {
        if (!names[i].name.ends_with(kRightSuffix)) {
            ModifierName alias{names[i].name + std::string(kLeftSuffix), names[i].bit};
            names.push_back(std::move(alias));
        }
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

std::optional<int> KeyIndexByName(std::string_view name) {
    const std::string lower = ToLowerAscii(name);
    for (const KeyName& key : KeyNames()) {
        if (key.name == lower) {
            return key.keyIndex;
        }
    }
    return std::nullopt;
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
