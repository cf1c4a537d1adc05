#pragma once

#include "arguments/option_table.h"
#include "cli/cli_services.h"
#include "record/pedal_names.h"
#include "stack_choice/backend_options.h"
#include "stacks/hid_backend.h"

#include <chrono>
#include <cstddef>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// treadkeyctl's exit codes, which a command's run returns.
inline constexpr int kExitDone = 0;
inline constexpr int kExitDeviceError = 1; // no pedal, a pedal that cannot be opened, a failed write
inline constexpr int kExitUsageError = 2;  // bad arguments or a faulty profile; nothing written

// A command line that cannot be used, thrown by a command reading its arguments: one line, nothing written.
struct UsageError {
    std::string message;
};

// A command's arguments as the command line gave them, sorted but not yet understood.
struct CommandArguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> values; // options with a value
    std::set<std::string, std::less<>> flags;               // options without one

    const std::string* Value(std::string_view option) const;
    bool Has(std::string_view flag) const { return flags.contains(flag); }
};

// Which pedal a command works on; the runner chooses it once, before the command runs.
enum class PedalNeed {
    None,       // it opens no pedal of --pedal's
    AnyOrAll,   // the one --pedal names, or every pedal plugged in
    OneToWrite, // the one --pedal names, or the one plugged in: a write never guesses between several; it
                // opens the pedal and takes --dry-run
    OnePresent, // the one --pedal names, or the only one plugged in
    Recorded,   // the one --pedal names, plugged in or only recorded, else the one plugged in
};

// What the virtual pedal must offer the command: files it can use, and an interface to watch.
enum class PedalUse { None, Opens, Watches };

constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

// What a command is: its name, what it takes and its help.
struct CommandDescription {
    std::string_view name = {};
    std::string_view operands = {}; // as the usage line shows them
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;
    std::vector<OptionSpec> options = {};
    std::string_view summary = {}; // one line for the overview
    std::string_view details = {}; // the rest of the command's help
    PedalNeed need = PedalNeed::None;
    PedalUse use = PedalUse::None;

    bool Writes() const { return need == PedalNeed::OneToWrite; }
};

// The description of a command that writes to the pedal: it opens the one pedal it may write to.
CommandDescription Writing(CommandDescription description);

// What the runner hands a command: the services, the pedal options and the pedal it chose.
struct CommandRun {
    CliServices& services;
    const BackendOptions& backend;
    bool dryRun;
    HidBackend* hid;                         // none for a command that needs no pedal
    const std::string& pedal;                // its identity; empty for every pedal or the first present
    const PedalNames& names;                 // the nicknames
    const std::vector<std::string>& present; // the identities of the pedals plugged in
};

// One command of treadkeyctl. A run makes one, lets it read its arguments, and runs it.
class Command {
public:
    explicit Command(CommandDescription description) : description_(std::move(description)) {}
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const CommandDescription& Description() const { return description_; }

    // Takes its operands and options into typed ones; throws UsageError. By default keeps them as given, for
    // a command with nothing in them to check.
    virtual void Read(const CommandArguments& arguments) { arguments_ = arguments; }
    // Which pedal the user asked for: --pedal, unless the command takes it as an operand.
    virtual const std::string& AskedPedal(const BackendOptions& backend) const { return backend.pedal; }
    // Returns the exit code.
    virtual int Run(const CommandRun& run) = 0;

protected:
    // The arguments the default Read kept.
    const CommandArguments& Given() const { return arguments_; }

private:
    CommandDescription description_;
    CommandArguments arguments_;
};

// What the command table holds for each command: a maker of a fresh one for a run.
using CommandMaker = std::unique_ptr<Command> (*)();
template <class Made> std::unique_ptr<Command> MakeCommandOf() {
    return std::make_unique<Made>();
}

// A slot number as the user typed it, 1 to 12; throws UsageError.
int ReadSlot(const std::string& text);

// --timeout S of the commands that watch the pedal, 1 to 86400: a day of waiting, and no more, stays in an
// int. Nothing when it is not given; throws UsageError.
std::optional<std::chrono::milliseconds> ReadWatchTimeout(const CommandArguments& arguments);

// User text in a message, in quotes.
std::string Quoted(std::string_view text);

// Writes "treadkeyctl: MESSAGE" on standard error and returns the exit code.
int Fail(CliServices& services, const std::string& message, int exitCode);

} // namespace treadkey
