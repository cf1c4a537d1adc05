// The record's state files when they cannot be used as they stand, and a write while another program holds
// the record locked: Linux only, for the system's own reasons in the messages and the lock held by another
// process.
#include "fixtures/cli_in_process.h"
#include "fixtures/lock_holder.h"
#include "fixtures/scratch_directory.h"
#include "record/record_file.h"
#include "record/state_file.h"
#include "stack_choice/backend_options.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace treadkey {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

using Outcome = testing::CliOutcome;

class StateFiles : public ::testing::Test {
protected:
    // treadkeyctl on a virtual pedal that logs what it receives, with the state directory given.
    Outcome Run(Lines arguments, const std::function<void(std::chrono::milliseconds)>& sleep = {}) {
        arguments.insert(arguments.begin(), {"--virtual-pedal", "--virtual-pedal-log", log_.string()});
        return testing::RunCliInProcess(arguments, [&](CliServices& services) {
            services.sleep = sleep;
            services.stateDirectory = stateDirectory_;
        });
    }
    std::string Logged() const {
        std::ifstream file(log_);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::filesystem::path RecordFile() const { return PedalRecordFile(scratch_ / "state", "virtual-1"); }
    std::uint8_t RecordedKey(int slot) const {
        return LoadPedalRecord(RecordFile(), "")
            .record.slotWords[static_cast<std::size_t>(slot) - 1]
            .word.data[1];
    }

    testing::ScratchDirectory scratch_;
    std::filesystem::path log_ = scratch_ / "pedal.log";
    std::optional<std::filesystem::path> stateDirectory_ = scratch_ / "state";
};

std::optional<std::filesystem::path> StateDirectoryOf(const std::map<std::string, std::string>& variables) {
    return StateDirectory([&variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
}

// Each state directory or record file the record cannot use as it stands is said at once in one line: a
// command that would leave the record untrue writes nothing (exit 1), and a write with no place for the
// record goes through and says so.
TEST_F(StateFiles, TroubleIsSaidAtOnceInOneLine) {
    const std::filesystem::path aFile = scratch_ / "a-file";
    const std::filesystem::path home = scratch_ / "home";
    const std::filesystem::path record = RecordFile();
    const std::string unreadable = ParsePedalRecord("second").error;
    const struct {
        const char* what;
        std::function<void()> arrange;
        Lines command;
        std::string err;
        int exitCode;
    } rows[] = {
        {"the state directory is a file",
         [&] {
             std::ofstream{aFile};
             stateDirectory_ = StateDirectoryOf({{"XDG_STATE_HOME", aFile.string()}});
         },
         {"show"},
         "treadkeyctl: the state directory " + (aFile / "treadkey").string() +
             " cannot be used: Not a directory\n",
         1},
        {"a write with the state directory a file",
         [&] {
             std::ofstream{aFile};
             stateDirectory_ = StateDirectoryOf({{"XDG_STATE_HOME", aFile.string()}});
         },
         {"key", "3", "z", "--key-only"},
         "treadkeyctl: the state directory " + (aFile / "treadkey").string() +
             " cannot be used: Not a directory; nothing written\n",
         1},
        {"a relative XDG_STATE_HOME, passed over for HOME's",
         [&] {
             stateDirectory_ =
                 StateDirectoryOf({{"XDG_STATE_HOME", "relative/state"}, {"HOME", home.string()}});
         },
         {"key", "3", "z", "--key-only"},
         "",
         0},
        {"neither HOME nor XDG_STATE_HOME but relative ones",
         [&] {
             stateDirectory_ = StateDirectoryOf({{"XDG_STATE_HOME", "state"}, {"HOME", "home"}});
         },
         {"key", "3", "z", "--key-only"},
         "treadkeyctl: warning: no record of what the pedal holds is kept: neither XDG_STATE_HOME nor HOME "
         "is set "
         "to an absolute path\n",
         0},
        {"the lock file is a folder",
         [&] { std::filesystem::create_directories(record.string() + ".lock"); },
         {"key", "3", "z", "--key-only"},
         "treadkeyctl: the pedal's record: cannot lock " + record.string() + ": its lock file " +
             record.string() + ".lock cannot be used (it is a folder: Is a directory); nothing written\n",
         1},
        {"a record unreadable twice in one second",
         [&] {
             std::filesystem::create_directories(record.parent_path());
             std::ofstream(record) << "first";
             ASSERT_EQ(Run({"show"}).exitCode, 0);
             std::ofstream(record) << "second";
         },
         {"show"},
         "treadkeyctl: warning: the record " + record.string() + " cannot be read (" + unreadable +
             "); it was set aside as " + record.string() +
             ".unreadable-20260301120000-2 and a fresh record begins\n",
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(scratch_ / "state");
        std::filesystem::remove(log_);
        stateDirectory_ = scratch_ / "state";
        row.arrange();
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = Run(row.command);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_EQ(outcome.err, row.err);
        EXPECT_EQ(outcome.exitCode, row.exitCode);
        const bool writes = row.command[0] == "key" && row.exitCode == 0;
        EXPECT_EQ(Logged(), writes ? "00 AA 01 08 00 1D 00 00 00\n" : "");
    }
    // Where the relative XDG_STATE_HOME's record went, and that the first record set aside is kept.
    EXPECT_TRUE(
        std::filesystem::exists(PedalRecordFile(home / ".local" / "state" / "treadkey", "virtual-1")));
    std::ifstream first(record.string() + ".unreadable-20260301120000");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(first), {}), "first");
}

// Written and then not recorded, the pedal would hold z while show went on saying a.
TEST_F(StateFiles, AWriteThatCannotLockTheRecordWritesNothing) {
    ASSERT_EQ(Run({"key", "3", "a", "--key-only"}).exitCode, 0);
    const std::string before = Logged();
    testing::LockHolder other(RecordFile().string() + ".lock");
    ASSERT_TRUE(other.held());

    const Outcome refused = Run({"key", "3", "z", "--key-only"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "treadkeyctl: the pedal's record: cannot lock " + RecordFile().string() +
                               ": another program kept it locked for 5 seconds; nothing written\n");
    EXPECT_EQ(Logged(), before);
    EXPECT_EQ(RecordedKey(3), 0x04); // a

    other.Release();
    const Outcome written = Run({"key", "3", "z", "--key-only"});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(RecordedKey(3), 0x1D); // z
}

// Another program that wants the record while the write is under way waits for it to be recorded: the lock
// is held from before the first report.
TEST_F(StateFiles, TheLockIsHeldFromTheFirstReportToTheRecord) {
    int lockedInPauses = 0;
    const Outcome written = Run({"key", "3", "a"}, [&](std::chrono::milliseconds) {
        const LoadedRecord tried = UpdatePedalRecord(
            RecordFile(), "virtual-1", [](PedalRecord&) {}, "t", std::chrono::milliseconds(0));
        lockedInPauses += tried.behind ? 1 : 0;
    });
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(lockedInPauses, 2);
}

} // namespace
} // namespace treadkey
