#include "cli/cli_run_fixture.h"
#include "cli/commands/command_table.h"

#include <set>

namespace treadkey {
namespace {

TEST_F(CliRun, UsageErrorsSayOneLineAndWriteNothing) {
    const struct {
        Lines arguments;
        const char* message;
    } cases[] = {
        {{}, "no command given"},
        {{"bogus"}, "unknown command 'bogus'"},
        {{"kye", "1", "a"}, "did you mean 'key'?"},
        {{"key", "13", "a"}, "slot must be a whole number from 1 to 12, not '13'"},
        {{"key", "0", "a"}, "not '0'"},
        {{"key", "2.5", "a"}, "not '2.5'"},
        {{"key", "3", "a", "b"}, "usage: treadkeyctl key SLOT COMBO"},
        {{"key", "3", "ctlr+a"}, "unknown key name \"ctlr\"; closest: ctrl"},
        {{"key", "3", "a", "--delay", "65536"},
         "--delay must be a whole number of milliseconds from 0 to 65535"},
        {{"key", "3", "a", "--delay", "-1"}, "not '-1'"},
        {{"key", "3", "a", "--delay"}, "--delay needs a value"},
        {{"key", "3", "a", "--once=yes"}, "--once takes no value"},
        {{"key", "3", "a", "--twice"}, "unknown option '--twice' for 'key'"},
        {{"key", "3", "a", "--key-only", "--delay", "5"}, "--delay goes with the settings frames"},
        {{"key", "--once", "3", "a", "--key-only"}, "--once goes with the settings frames"},
        {{"--once", "key", "3", "a"}, "unknown option '--once' before the command"},
        {{"mouse", "3", "centre"}, "unknown mouse button 'centre'"},
        {{"playback", "loop"}, "playback needs --auto-run on|off"},
        {{"playback", "twice", "--auto-run", "on"}, "'loop' or 'single'"},
        {{"playback", "loop", "--auto-run", "maybe"}, "--auto-run is 'on' or 'off'"},
        {{"clear-all"}, "add --yes"},
        {{"raw", "AA 01 ZZ"}, "hex digits and spaces only, not 'Z'"},
        {{"raw", "  "}, "raw needs hex digits"},
        {{"help", "bogus"}, "unknown command 'bogus'"},
        {{"--report-length", "0", "key", "1", "a"}, "--report-length must be a whole number"},
        {{"-v"}, "unknown option '-v' before the command"},
        {{"apply", "-", "extra"}, "usage: treadkeyctl apply FILE"},
        {{"monitor", "--count", "0"}, "--count must be a whole number of events from 1 on, not '0'"},
        {{"monitor", "--count", "x"}, "not 'x'"},
        {{"monitor", "--timeout", "-1"},
         "--timeout must be a whole number of seconds from 1 to 86400, not '-1'"},
        {{"identify", "--timeout", "1.5"}, "not '1.5'"},
        {{"monitor"},
         "the virtual pedal has no keyboard or mouse interface to watch: add --virtual-pedal-composite"},
        {{"--virtual-pedal-press", "presses", "list"},
         "--virtual-pedal-press needs --virtual-pedal-composite"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(outcome.exitCode, 2) << shown;
        EXPECT_TRUE(outcome.err.starts_with("treadkeyctl: ")) << outcome.err;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << shown << ": " << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.out, "") << shown;
        EXPECT_TRUE(LoggedReports().empty()) << shown;
    }
}

// Each answer says what is so: a --pedal that names no pedal known, what doctor looks at, a dry run's cut
// frames, a command's whole usage line, a flag given a value, a dry run of a command that writes nothing.
TEST_F(CliRun, AnswersSayWhatIsSo) {
    // virtual-2 is recorded and named but not plugged in; virtual-1 is plugged in with no record.
    ASSERT_EQ(RunOnPedal({"--virtual-pedal-twin", "--pedal", "virtual-2", "mouse", "1", "left"}).exitCode, 0);
    ASSERT_EQ(RunOnPedal({"--virtual-pedal-twin", "name", "virtual-2", "right"}).exitCode, 0);
    const std::string unknownLeft = "treadkeyctl: no pedal 'left' is plugged in or recorded; pedals known: "
                                    "virtual-1, virtual-2 (right)\n";
    const struct {
        Lines arguments;
        std::string said; // a part of standard output, then standard error
        int exitCode;
    } cases[] = {
        {{"--pedal", "lfet", "show"},
         "treadkeyctl: no pedal 'lfet' is plugged in or recorded; pedals known: virtual-1, virtual-2 "
         "(right)\n",
         2},
        {{"--pedal", "left", "export", "-"}, unknownLeft, 2},
        {{"--pedal", "left", "show", "--json"}, unknownLeft, 2},
        {{"--pedal", "right", "show"}, "pedal virtual-2 (right), as this computer wrote or saw it:\n", 0},
        {{"--pedal", "virtual-2", "export", "-"}, "\"mouse\": \"left\"", 0},
        {{"--pedal", "virtual-1", "show"}, "slot 1   unknown", 0},
        {{"doctor"},
         "treadkeyctl: note: doctor checks the system's real pedal; the virtual pedal needs no access\n",
         1},
        {{"--dry-run", "--report-length", "2", "raw", "AA 01"},
         "treadkeyctl: warning: virtual-pedal: its output report of 2 bytes cannot hold a whole frame (8 "
         "bytes)",
         0},
        {{"list", "extra"},
         "treadkeyctl: usage: treadkeyctl list [--json] ('treadkeyctl help list' tells more)\n",
         2},
        {{"monitor", "extra"}, "usage: treadkeyctl monitor [--json] [--count N] [--timeout S] ('", 2},
        {{"key", "1"}, "usage: treadkeyctl key SLOT COMBO [--delay MS] [--once] [--key-only] ('", 2},
        {{"--dry-run=yes", "key", "1", "a"}, "treadkeyctl: --dry-run takes no value\n", 2},
        {{"keys", "--help=all"}, "treadkeyctl: --help takes no value\n", 2},
        {{"--version="}, "treadkeyctl: --version takes no value\n", 2},
        {{"--dry-run", "show"},
         "treadkeyctl: --dry-run goes with the commands that write; 'show' writes nothing to the pedal\n",
         2},
        {{"doctor", "--dry-run"}, "'doctor' writes nothing to the pedal", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        std::filesystem::remove(log_);
        const Outcome outcome = RunOnPedal(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_NE((outcome.out + outcome.err).find(c.said), std::string::npos) << outcome.out << outcome.err;
        EXPECT_TRUE(LoggedReports().empty());
    }
}

// Every command has its help both ways, and --dry-run is listed in that of the commands that write alone.
TEST_F(CliRun, EveryCommandHasHelpBothWays) {
    const std::set<std::string> writing = {"key", "mouse", "playback", "clear-all", "raw", "apply"};
    for (const CommandMaker make : CommandTable()) {
        const std::string name(make()->Description().name);
        const Outcome byHelp = Run({"help", name});
        const Outcome byOption = Run({name, "--help"});
        EXPECT_EQ(byHelp.exitCode, 0) << name;
        EXPECT_EQ(byOption.exitCode, 0) << name;
        EXPECT_TRUE(byHelp.out.starts_with("Usage: treadkeyctl [OPTION]... " + name)) << byHelp.out;
        EXPECT_EQ(byHelp.out, byOption.out) << name;
        EXPECT_EQ(byHelp.out.find("\n  --dry-run ") != std::string::npos, writing.contains(name))
            << byHelp.out;
    }
    const Outcome overview = Run({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    for (const CommandMaker make : CommandTable()) {
        const std::unique_ptr<Command> made = make();
        const CommandDescription& command = made->Description();
        EXPECT_NE(overview.out.find("\n  " + std::string(command.name)), std::string::npos) << command.name;
        // Every summary starts in the summaries' column, two blanks or more after its synopsis.
        const std::size_t summary = overview.out.find(std::string(command.summary));
        ASSERT_NE(summary, std::string::npos) << command.name;
        const std::size_t lineStart = overview.out.rfind('\n', summary) + 1;
        EXPECT_EQ(summary - lineStart, 42u) << command.name;
        EXPECT_EQ(overview.out.substr(summary - 2, 2), "  ") << command.name;
    }
    // Each exit code starts a line of its own.
    for (const char* status : {"\n  0  done\n", "\n  1  no pedal found", "\n  2  a usage error"}) {
        EXPECT_NE(overview.out.find(status), std::string::npos) << status;
    }
    EXPECT_EQ(Run({"help"}).out, overview.out);
    EXPECT_TRUE(Run({"--version"}).out.starts_with("treadkeyctl "));
    EXPECT_EQ(Run({"-V"}).out, Run({"--version"}).out);
}

TEST_F(CliRun, KeysListsEveryNameWithCodeAndCaption) {
    const Outcome outcome = Run({"keys"});
    const Lines lines = testing::SplitLines(outcome.out);
    EXPECT_EQ(lines.size(), 96u + 8u);
    for (const char* line : {
             "kp_enter        88  \"Enter\"",
             "space           44  \" \"          also spacebar",
             "page_up         75  \"Pg up\"      also pgup, pageup",
             "win           modifier           also win_l, super, super_l, meta, meta_l, cmd, cmd_l",
             "shift_r       modifier",
         }) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line << "\n" << outcome.out;
    }
}

// A stream buffer on a full disk: every write fails.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Output that cannot be written makes the run fail, whichever command printed it.
TEST_F(CliRun, OutputThatCannotBeWrittenFailsTheRun) {
    ASSERT_EQ(RunOnPedal({"key", "3", "a"}).exitCode, 0);
    FullDisk full;
    outBuffer_ = &full;
    const Lines cases[] = {
        {"export", "-"}, {"show"},   {"show", "--json"}, {"--dry-run", "key", "3", "a"},
        {"keys"},        {"--help"}, {"list"},
    };
    for (const Lines& arguments : cases) {
        const Outcome outcome = RunOnPedal(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments[0];
        EXPECT_TRUE(outcome.err.ends_with(
            "treadkeyctl: cannot write standard output: what was printed is incomplete\n"))
            << arguments[0] << ": " << outcome.err;
    }
    // A profile file export cannot write says why, as the system tells it.
    outBuffer_ = nullptr;
    const std::string folder = log_.parent_path().string();
    const struct {
        std::string path;
        std::string error;
    } files[] = {
        {folder, "treadkeyctl: cannot write " + folder + ": Is a directory\n"},
        {folder + "/none/x.json",
         "treadkeyctl: cannot write " + folder + "/none/x.json: No such file or directory\n"},
        {"", "treadkeyctl: cannot write '': No such file or directory\n"},
    };
    for (const auto& f : files) {
        const Outcome outcome = RunOnPedal({"export", f.path});
        EXPECT_EQ(outcome.exitCode, 1) << f.path;
        EXPECT_TRUE(outcome.err.ends_with(f.error)) << outcome.err;
    }
}

// User text in a message is shown escaped and cut, wherever it is echoed: no message is split, colours the
// terminal or grows with the input.
TEST_F(CliRun, UserTextInMessagesIsEscapedAndCut) {
    const std::string huge(1'000'000, 'q');
    const std::string cut = std::string(kMostShownCharacters, 'q') + "...";
    int files = 0;
    const auto profileFile = [this, &files](const std::string& json) {
        const std::filesystem::path file = scratch_ / ("echo-" + std::to_string(++files) + ".json");
        std::ofstream(file, std::ios::binary) << json;
        return file.string();
    };
    std::string accents;
    for (int i = 0; i < 70; ++i) {
        accents += "\xC3\xA9"; // é
    }
    const struct {
        Lines arguments;
        std::string shown; // what the one line holds in place of the text
    } cases[] = {
        {{"key", "3", "\x1B[31mred"}, "unknown key name \"\\x1B[31mred\""},
        {{"key", "3", "a\nb"}, "unknown key name \"a\\nb\""},
        {{"key", "3",
          "ctrl+\xC2\x9B"
          "1m\t"},
         "unknown key name \"\\x9B1m\\t\""},
        {{"key", "3", "a+\xFF"}, "unknown key name \"\\xFF\""},
        {{"key", "3", huge}, "unknown key name \"" + cut + "\""},
        {{"key", "3", accents}, "\"" + accents.substr(0, 2 * kMostShownCharacters) + "...\""},
        {{"key", "3", "a+b+" + huge}, "\"a+b+" + std::string(kMostShownCharacters - 4, 'q') + "...\" names"},
        {{"mouse", "3", "\x1B]0;title\x07"}, "unknown mouse button '\\x1B]0;title\\x07'"},
        {{"key", "3", "a",
          "--\x1B"
          "x"},
         "unknown option '--\\x1Bx'"},
        {{"key", "\r3", "a"}, "not '\\r3'"},
        {{"key", "3", "a", "--delay", huge}, "not '" + cut + "'"},
        {{"raw", "AA \x1B"}, "not '\\x1B' in 'AA \\x1B'"},
        {{"--report-length", "\n", "key", "3", "a"}, "not \"\\n\""},
        {{"--pedal", "left\nfoot", "key", "3", "a"}, "no pedal 'left\\nfoot' is plugged in"},
        {{"name", "virtual-1", "a\nb"}, "a nickname cannot hold control characters, as 'a\\nb' does"},
        {{"name", "virtual-1", "\x1B[2J"}, "'\\x1B[2J'"},
        // The name alone: Windows refuses the escape in a file name with a reason of its own.
        {{"apply", (scratch_ / "no\x1B[1Afile").string()}, "no\\x1B[1Afile: "},
        {{"apply", profileFile(R"({"slots": {"1": {"key": "\u001b[31m"}}})")}, "\"\\x1B[31m\""},
        {{"apply", profileFile(R"({"slots": {"1": {"mouse": "\n"}}})")}, "unknown mouse button \"\\n\""},
        {{"apply", profileFile(R"({"a\u0007": 1})")}, "unknown field \"a\\x07\""},
        {{"apply", profileFile(R"({"slots": {"\n": null}})")}, "\"\\n\" is not a slot"},
        {{"apply", profileFile(R"({"x\n": 1, "x\n": 2})")}, "\"x\\n\" is given twice"},
        {{"apply", profileFile(R"({"playback": ")" + huge + R"("})")}, "not \"" + cut + "\""},
        {{"apply", profileFile(R"({"slots": {"1": {"key": ")" + huge + R"("}}})")}, "\"" + cut + "\""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunOnPedal(c.arguments);
        const std::string shown = ::testing::PrintToString(outcome.err.substr(0, 200));
        EXPECT_EQ(outcome.exitCode, 2) << shown;
        EXPECT_NE(outcome.err.find(c.shown), std::string::npos) << shown;
        EXPECT_LT(outcome.err.size(), 400u) << shown;
        EXPECT_EQ(
            std::count_if(outcome.err.begin(), outcome.err.end(),
                          [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == '\x7F'; }),
            1)
            << shown; // the line's own end alone
        EXPECT_TRUE(outcome.err.ends_with("\n")) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(namesFile_));
}

} // namespace
} // namespace treadkey
