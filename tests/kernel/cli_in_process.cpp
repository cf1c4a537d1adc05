#include "kernel/cli_in_process.h"

#include "cli/pedal_names.h"
#include "cli/run.h"
#include "fixtures/scratch_directory.h"

#include "record/state_file.h"
#include "stack_choice/backend_options.h"

#include <cstdlib>
#include <ostream>
#include <sstream>

namespace treadkey::kerneltest {

std::string SharedText::Text() {
    const std::lock_guard lock(mutex_);
    return text_;
}

bool SharedText::WaitFor(const std::string& part, std::chrono::seconds longest) {
    std::unique_lock lock(mutex_);
    return grew_.wait_for(lock, longest, [&] { return text_.find(part) != std::string::npos; });
}

SharedText::int_type SharedText::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    xsputn(&character, 1);
    return c;
}

std::streamsize SharedText::xsputn(const char* text, std::streamsize count) {
    {
        const std::lock_guard lock(mutex_);
        text_.append(text, static_cast<std::size_t>(count));
    }
    grew_.notify_all();
    return count;
}

CliOutcome RunCli(const std::vector<std::string>& arguments, const CliRun& run) {
    std::ostringstream out;
    SharedText ownErr;
    SharedText& errText = run.err != nullptr ? *run.err : ownErr;
    std::ostream err(&errText);
    CliServices services{out, err, MakeBackend, [](std::chrono::milliseconds) {}};
    // A run that keeps no records of the test's own keeps them where nothing reads them, as a user's would be
    // kept: a write with no state directory at all says so.
    const testing::ScratchDirectory scratch;
    const auto environment = [](const char* name) { return std::getenv(name); };
    services.pedalNamesFile = run.keepsRecords ? PedalNamesFile(environment) : scratch / "pedal-names.json";
    services.stateDirectory = run.keepsRecords ? StateDirectory(environment) : scratch / "state";
    const int exitCode = RunTreadkeyctl(arguments, services);
    return {exitCode, out.str(), errText.Text()};
}

} // namespace treadkey::kerneltest
