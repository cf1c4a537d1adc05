#include "cli/commands/command_table.h"

#include "editor/closest_names.h"

namespace treadkey {

// Each is defined in the command's own file.
std::unique_ptr<Command> MakeListCommand();
std::unique_ptr<Command> MakeDoctorCommand();
std::unique_ptr<Command> MakeKeysCommand();
std::unique_ptr<Command> MakeMonitorCommand();
std::unique_ptr<Command> MakeIdentifyCommand();
std::unique_ptr<Command> MakeNameCommand();
std::unique_ptr<Command> MakeKeyCommand();
std::unique_ptr<Command> MakeMouseCommand();
std::unique_ptr<Command> MakePlaybackCommand();
std::unique_ptr<Command> MakeClearAllCommand();
std::unique_ptr<Command> MakeRawCommand();
std::unique_ptr<Command> MakeApplyCommand();
std::unique_ptr<Command> MakeShowCommand();
std::unique_ptr<Command> MakeExportCommand();
std::unique_ptr<Command> MakeVerifyCommand();
std::unique_ptr<Command> MakeHelpCommand();

const std::vector<CommandMaker>& CommandTable() {
    static const std::vector<CommandMaker> table = {
        MakeListCommand,     MakeDoctorCommand,   MakeKeysCommand,   MakeMonitorCommand,
        MakeIdentifyCommand, MakeNameCommand,     MakeKeyCommand,    MakeMouseCommand,
        MakePlaybackCommand, MakeClearAllCommand, MakeRawCommand,    MakeApplyCommand,
        MakeShowCommand,     MakeExportCommand,   MakeVerifyCommand, MakeHelpCommand,
    };
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
