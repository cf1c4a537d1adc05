#include "cli/commands/command_table.h"

#include "editor/closest_names.h"

namespace treadkey {

// The commands in the order the overview lists them: a new command is a file of its own in this folder,
// defining the maker Make<Name>Command, and a row here.
#define TREADKEY_COMMANDS(ROW)                                                                               \
    ROW(List)                                                                                                \
    ROW(Doctor)                                                                                              \
    ROW(Keys)                                                                                                \
    ROW(Monitor)                                                                                             \
    ROW(Identify)                                                                                            \
    ROW(Name)                                                                                                \
    ROW(Key)                                                                                                 \
    ROW(Mouse)                                                                                               \
    ROW(Playback)                                                                                            \
    ROW(ClearAll)                                                                                            \
    ROW(Raw)                                                                                                 \
    ROW(Apply)                                                                                               \
    ROW(Show)                                                                                                \
    ROW(Export)                                                                                              \
    ROW(Verify)                                                                                              \
    ROW(Help)

#define TREADKEY_DECLARE_MAKER(name) extern const CommandMaker Make##name##Command;
TREADKEY_COMMANDS(TREADKEY_DECLARE_MAKER)

const std::vector<CommandMaker>& CommandTable() {
#define TREADKEY_MAKER_ROW(name) Make##name##Command,
    static const std::vector<CommandMaker> table = {TREADKEY_COMMANDS(TREADKEY_MAKER_ROW)};
    return table;
}

std::unique_ptr<Command> MakeCommand(std::string_view name) {
    for (const CommandMaker make : CommandTable()) {
        std::unique_ptr<Command> command = make();
        if (command->Description().name == name) {
            return command;
        }
    }
    return nullptr;
}

std::string UnknownCommand(std::string_view name) {
    std::vector<std::unique_ptr<Command>> commands;
    std::vector<NameSpelling> names;
    for (const CommandMaker make : CommandTable()) {
        const std::string_view commandName = commands.emplace_back(make())->Description().name;
        names.push_back({commandName, std::string(commandName)});
    }
    std::string message = "unknown command " + Quoted(name);
    const std::vector<std::string_view> closest = ClosestNames(name, names, 1);
    if (!closest.empty()) {
        message += "; did you mean " + Quoted(closest.front()) + "?";
    }
    return message + " ('treadkeyctl --help' lists the commands)";
}

} // namespace treadkey
