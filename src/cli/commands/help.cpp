#include "cli/commands/command_table.h"
#include "cli/help_text.h"

namespace treadkey {
namespace {

class HelpCommand final : public Command {
public:
    HelpCommand()
        : Command({.name = "help",
                   .operands = "[COMMAND]",
                   .maxOperands = 1,
                   .summary = "show the help of a command",
                   .details = "Shows the help of COMMAND, or the overview without one.\n"}) {}

    void Read(const CommandArguments& arguments) override {
        if (arguments.operands.empty()) {
            return;
        }
        asked_ = MakeCommand(arguments.operands[0]);
        if (asked_ == nullptr) {
            throw UsageError{UnknownCommand(arguments.operands[0])};
        }
    }

    int Run(const CommandRun& run) override {
        run.services.out << (asked_ != nullptr ? CommandHelp(asked_->Description()) : OverviewHelp());
        return kExitDone;
    }

private:
    std::unique_ptr<Command> asked_; // none for the overview
};

} // namespace

extern const CommandMaker MakeHelpCommand = MakeCommandOf<HelpCommand>;

} // namespace treadkey
