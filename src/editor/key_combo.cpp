#include "editor/key_combo.h"

#include "arguments/shown_text.h"
#include "editor/closest_names.h"
#include "editor/input_names.h"
#include "editor/key_table.h"
#include "protocol/number_text.h"

#include <vector>

namespace treadkey {
namespace {

constexpr char kSeparator = '+';
constexpr std::size_t kMostSuggestions = 3;

std::vector<NameSpelling> ComboNameSpellings() {
    std::vector<NameSpelling> spellings;
    for (const KeyName& key : KeyNames()) {
        spellings.push_back({key.name, std::string(key.name)});
        // A caption such as "=" or "Pg up" finds the key it labels.
        spellings.push_back(
            {key.name, std::string(KeyTable()[static_cast<std::size_t>(key.keyIndex)].caption)});
    }
    for (const NameAlias& alias : KeyAliases()) {
        spellings.push_back({alias.name, std::string(alias.alias)});
    }
    // An alias's typo suggests the modifier's own name ("supr" is "win").
    for (const ModifierName& modifier : ModifierNames()) {
        spellings.push_back({modifier.ownName, modifier.name});
    }
    return spellings;
}

std::string UnknownNameError(std::string_view name) {
    static const std::vector<NameSpelling> spellings = ComboNameSpellings();
    std::string error = "unknown key name " + DoubleQuoted(name);
    const std::vector<std::string_view> closest = ClosestNames(name, spellings, kMostSuggestions);
    for (std::size_t i = 0; i < closest.size(); ++i) {
        error += (i == 0 ? "; closest: " : ", ") + std::string(closest[i]);
    }
    return error + " ('treadkeyctl keys' lists every key name)";
}

ParsedKeyCombo Failure(std::string error) {
    return {std::nullopt, std::move(error)};
}

} // namespace

double KeyCode(const KeyCombo& combo) {
    return ReadLeadingNumber(KeyTable()[static_cast<std::size_t>(combo.keyIndex)].code);
}

ParsedKeyCombo ParseKeyCombo(std::string_view text) {
    KeyCombo combo;
    std::optional<std::string_view> keyName;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(text.find(kSeparator, start), text.size());
        const std::string_view name = text.substr(start, end - start);
        if (name.empty()) {
            return Failure(DoubleQuoted(text) + " has an empty name: join names with single '+'");
        }
        if (const std::optional<std::uint8_t> bit = ModifierBitByName(name)) {
            if ((combo.modifiers & *bit) != 0) {
                return Failure(DoubleQuoted(text) + " names the same modifier twice");
            }
            combo.modifiers = static_cast<std::uint8_t>(combo.modifiers | *bit);
        } else if (const std::optional<int> keyIndex = KeyIndexByName(name)) {
            if (keyName) {
                return Failure(DoubleQuoted(text) + " names two keys, " + ShownText(*keyName) + " and " +
                               ShownText(name) + ": a slot holds one key");
            }
            keyName = name;
            combo.keyIndex = *keyIndex;
        } else {
            return Failure(UnknownNameError(name));
        }
        if (end == text.size()) {
            break;
        }
        start = end + 1;
    }
    if (!keyName) {
        return Failure(DoubleQuoted(text) + " names no key, only modifiers");
    }
    return {combo, ""};
}

} // namespace treadkey
