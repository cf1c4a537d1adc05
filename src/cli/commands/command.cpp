#include "cli/commands/command.h"

#include "arguments/shown_text.h"
#include "cli/help_text.h"
#include "editor/profile.h"
#include "protocol/number_text.h"

namespace treadkey {

const std::string* CommandArguments::Value(std::string_view option) const {
    const auto found = values.find(option);
    return found != values.end() ? &found->second : nullptr;
}

CommandDescription Writing(CommandDescription description) {
    description.need = PedalNeed::OneToWrite;
    description.use = PedalUse::Opens;
    return description;
}

int ReadSlot(const std::string& text) {
    const std::optional<int> slot = ParseWholeNumber(text, kFirstSlot, kLastSlot);
    if (!slot) {
        throw UsageError{"slot must be a whole number from 1 to 12, not " + Quoted(text)};
    }
    return *slot;
}

std::optional<std::chrono::milliseconds> ReadWatchTimeout(const CommandArguments& arguments) {
    constexpr int kLongestTimeout = 86'400;
    const std::string* text = arguments.Value("--timeout");
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::optional<int> seconds = ParseWholeNumber(*text, 1, kLongestTimeout);
    if (!seconds) {
        throw UsageError{"--timeout must be a whole number of seconds from 1 to 86400, not " + Quoted(*text)};
    }
    return std::chrono::seconds(*seconds);
}

std::string Quoted(std::string_view text) {
    return "'" + ShownText(text) + "'";
}

int Fail(CliServices& services, const std::string& message, int exitCode) {
    services.err << kProgramName << ": " << message << '\n';
    return exitCode;
}

} // namespace treadkey
