#include "cli/commands/watch_timeout.h"

#include "protocol/number_text.h"

namespace treadkey {

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

} // namespace treadkey
