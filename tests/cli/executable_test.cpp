#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace treadkey {
namespace {

struct Finished {
    int exitCode = -1;
    std::string err;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the installed-to-be program itself, so that main's exit codes and streams are what is checked.
Finished RunProgram(const std::vector<std::string>& arguments, const testing::ScratchDirectory& scratch) {
    std::string command = "'" TREADKEYCTL_PATH "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    const std::filesystem::path err = scratch / "stderr";
    command += " >/dev/null 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(err)};
}

TEST(CliExecutable, ExitCodesTellUsageErrorsFromDeviceErrors) {
    const testing::ScratchDirectory scratch;
    const std::string unplugged = (scratch / "not-there").string();
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
    } cases[] = {
        {{"--virtual-pedal", "key", "3", "ctrl+shift+a"}, 0},
        {{"--virtual-pedal", "clear-all", "--yes"}, 0},
        {{"--help"}, 0},
        {{"key", "13", "a"}, 2},
        {{"--virtual-pedal", "key", "1", "ctlr+a"}, 2},
        {{"--virtual-pedal", "clear-all"}, 2},
        {{"--report-length", "9", "key", "1", "a"}, 2},
        {{"frobnicate"}, 2},
        {{"--virtual-pedal", "--virtual-pedal-present", unplugged, "key", "1", "a"}, 1},
        {{"--virtual-pedal", "--virtual-pedal-present", unplugged, "list"}, 1},
        {{"--virtual-pedal", "--virtual-pedal-log", (scratch / "no-dir" / "log").string(), "mouse", "1",
          "left"},
         1},
    };
    for (const auto& c : cases) {
        const Finished finished = RunProgram(c.arguments, scratch);
        EXPECT_EQ(finished.exitCode, c.exitCode) << c.arguments.back() << ": " << finished.err;
        if (c.exitCode != 0) {
            EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << finished.err;
        }
    }
}

} // namespace
} // namespace treadkey
