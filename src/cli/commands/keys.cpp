#include "cli/commands/command.h"
#include "editor/input_names.h"
#include "editor/key_table.h"
#include "editor/modifier_keys.h"

#include <iomanip>
#include <sstream>

namespace treadkey {
namespace {

constexpr int kNameWidth = 14;
constexpr int kCodeWidth = 4;
constexpr int kCaptionWidth = 13; // the widest caption, "Num  Lock", in quotes, and two blanks

// The aliases of a name after the columns before them, nothing when there are none.
std::string AlsoColumn(std::string_view name, const std::string& columns) {
    const std::vector<std::string_view> aliases = AliasesOf(name);
    if (aliases.empty()) {
        return columns;
    }
    std::ostringstream line;
    line << std::left << std::setw(kNameWidth + kCodeWidth + 2 + kCaptionWidth) << columns << "also";
    for (std::size_t i = 0; i < aliases.size(); ++i) {
        line << (i == 0 ? " " : ", ") << aliases[i];
    }
    return line.str();
}

class KeysCommand final : public Command {
public:
    KeysCommand()
        : Command(
              {.name = "keys",
               .summary = "every key name, with its key code and on-screen caption",
               .details =
                   R"(Prints the key names COMBO takes, one a line: the name, the key code stored in the slot and the
caption of the window's key, then the modifiers; after "also", the other names COMBO takes for it
(del, escape, return, pgup, super, cmd, ...). Keypad keys start with kp_.
)"}) {}

    int Run(const CommandRun& run) override {
        std::ostream& out = run.services.out;
        for (const KeyName& key : KeyNames()) {
            const KeyEntry& entry = KeyTable()[static_cast<std::size_t>(key.keyIndex)];
            std::ostringstream columns;
            columns << std::left << std::setw(kNameWidth) << key.name << std::right << std::setw(kCodeWidth)
                    << entry.code << "  \"" << entry.caption << "\"";
            out << AlsoColumn(key.name, columns.str()) << '\n';
        }
        for (const ModifierKey& modifier : kModifiers) {
            std::ostringstream columns;
            columns << std::left << std::setw(kNameWidth) << modifier.name << "modifier";
            out << AlsoColumn(modifier.name, columns.str()) << '\n';
        }
        return kExitDone;
    }
};

} // namespace

extern const CommandMaker MakeKeysCommand = MakeCommandOf<KeysCommand>;

} // namespace treadkey
