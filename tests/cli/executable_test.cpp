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

std::string EscapedForSingleQuotes(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        escaped += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return escaped;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// What the shell puts around the program: a command line before it (a limit, a pipe into it), where its
// standard input comes from and where its standard output goes.
struct Surroundings {
    std::string before;
    std::string input;
    std::string output = "/dev/null";
};

// Runs the installed-to-be program itself, so that main's exit codes and streams are what is checked.
// Without a display, a window that got as far as opening would fail with another code, not wait.
Finished RunProgram(const std::vector<std::string>& arguments, const testing::ScratchDirectory& scratch,
                    const std::string& program = TREADKEYCTL_PATH, const Surroundings& around = {}) {
    // The record of a write goes to the scratch folder, never to the user's own state directory.
    std::string command = around.before +
                          "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_STATE_HOME='" +
                          (scratch / "state").string() + "' '" + program + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    const std::filesystem::path err = scratch / "stderr";
    command += (around.input.empty() ? "" : " <'" + around.input + "'") + " >'" + around.output + "' 2>'" +
               err.string() + "'";
    // Run by bash, for its ulimit and pipes, whatever the system's sh is.
    command = "bash -c '" + EscapedForSingleQuotes(command) + "'";
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
         2},
    };
    for (const auto& c : cases) {
        const Finished finished = RunProgram(c.arguments, scratch);
        EXPECT_EQ(finished.exitCode, c.exitCode) << c.arguments.back() << ": " << finished.err;
        if (c.exitCode != 0) {
            EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << finished.err;
        }
    }
}

TEST(CliExecutable, VirtualPedalFilesThatCannotBeUsedAreRefusedBeforeAnythingOpensInBothPrograms) {
    const testing::ScratchDirectory scratch;
    const std::string folder = (scratch / "folder").string();
    const std::string file = (scratch / "file").string();
    const std::string missing = (scratch / "no-dir").string();
    std::filesystem::create_directory(folder);
    std::ofstream{file};
    const struct {
        std::string option;
        std::string path;
        std::string reason;
    } cases[] = {
        {"--virtual-pedal-log", folder, "cannot be written: it is a folder"},
        {"--virtual-pedal-log", missing + "/log", "cannot be written: there is no folder " + missing},
        {"--virtual-pedal-log", file + "/log", "cannot be written: there is no folder " + file},
        {"--virtual-pedal-press", folder, "cannot be read: it is a folder"},
        {"--virtual-pedal-press", missing + "/presses", "cannot be read: there is no folder " + missing},
    };
    // Each program with what follows the options; the window's path is empty in a build without it.
    const std::vector<std::vector<std::string>> programs = {{TREADKEYCTL_PATH, "list"},
                                                            {TREADKEY_SETUP_PATH}};
    for (const std::vector<std::string>& program : programs) {
        if (program[0].empty()) {
            continue;
        }
        const std::string name = std::filesystem::path(program[0]).filename().string();
        for (const auto& c : cases) {
            std::vector<std::string> arguments = {"--virtual-pedal", "--virtual-pedal-composite", c.option,
                                                  c.path};
            arguments.insert(arguments.end(), program.begin() + 1, program.end());
            const Finished finished = RunProgram(arguments, scratch, program[0]);
            EXPECT_EQ(finished.exitCode, 2) << name << " " << c.option << " " << c.path;
            EXPECT_EQ(finished.err, name + ": " + c.option + " " + c.path + " " + c.reason + "\n");
        }
    }
}

// What only the real program meets: its own standard streams, a read that never ends under a memory limit, a
// folder as standard input and a full disk as standard output. Each is one line and its exit code, no abort.
TEST(CliExecutable, EndlessOrUnreadableInputAndUnwritableOutputAreOneLine) {
    const testing::ScratchDirectory scratch;
    const std::string folder = (scratch / "folder").string();
    std::filesystem::create_directory(folder);
    // Far less than the program would take to hold an endless profile, far more than it needs. The sanitizers
    // reserve their shadow memory beyond any such limit and cannot start under it: there the bound alone is
    // checked.
    const std::string limited = std::getenv("ASAN_OPTIONS") == nullptr ? "ulimit -v 300000; " : "";
    const struct {
        std::vector<std::string> arguments;
        Surroundings around;
        std::string err;
        int exitCode;
    } cases[] = {
        {{"--dry-run", "apply", "/dev/zero"},
         {limited, "", "/dev/null"},
         "treadkeyctl: /dev/zero: larger than 64 MiB, far more than any profile holds\n",
         2},
        {{"--dry-run", "apply", "-"},
         {limited + "yes | ", "", "/dev/null"},
         "treadkeyctl: standard input: larger than 64 MiB, far more than any profile holds\n",
         2},
        {{"--dry-run", "apply", "-"},
         {"", folder, "/dev/null"},
         "treadkeyctl: cannot read standard input: Is a directory\n",
         2},
        {{"--virtual-pedal", "--dry-run", "key", "3", "a", "--key-only"},
         {"", "", "/dev/full"},
         "treadkeyctl: cannot write standard output: what was printed is incomplete\n",
         1},
    };
    for (const auto& c : cases) {
        const Finished finished = RunProgram(c.arguments, scratch, TREADKEYCTL_PATH, c.around);
        EXPECT_EQ(finished.exitCode, c.exitCode)
            << c.around.before << c.arguments.back() << ": " << finished.err;
        EXPECT_EQ(finished.err, c.err);
    }
}

} // namespace
} // namespace treadkey
