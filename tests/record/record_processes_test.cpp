// The record shared by programs that run at once or die midway: record_updater processes against one file.
#include "record/record_file.h"

#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

namespace treadkey {
namespace {

// A running record_updater whose "done N" lines are read from a pipe.
class Updater {
public:
    Updater(const std::filesystem::path& file, int first, int last, int count) {
        const std::string arguments[] = {file.string(), std::to_string(first), std::to_string(last),
                                         std::to_string(count)};
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::execl(TREADKEY_RECORD_UPDATER, TREADKEY_RECORD_UPDATER, arguments[0].c_str(),
                    arguments[1].c_str(), arguments[2].c_str(), arguments[3].c_str(), nullptr);
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        out_ = ::fdopen(pipeFds[0], "r");
    }
    ~Updater() { std::fclose(out_); }
    Updater(const Updater&) = delete;
    Updater& operator=(const Updater&) = delete;

    // Reads up to `lines` more "done" lines; returns how many came before the output ended.
    int ReadDone(int lines) {
        int read = 0;
        char line[64];
        while (read < lines && std::fgets(line, sizeof line, out_) != nullptr) {
            ++read;
        }
        return read;
    }
    // The exit status, after a kill or not.
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return status;
    }
    void Kill() { ::kill(pid_, SIGKILL); }

private:
    pid_t pid_ = -1;
    std::FILE* out_ = nullptr;
};

unsigned Counter(const RecordedWord& word) {
    return word.word.data[0] | (word.word.data[1] << 8u);
}

TEST(RecordProcesses, TwoUpdatingAtOnceLoseNothing) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch / "records" / "p.json";
    Updater a(file, 0, 0, 100);
    Updater b(file, 1, 1, 100);
    EXPECT_EQ(a.ReadDone(1000), 100);
    EXPECT_EQ(b.ReadDone(1000), 100);
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);
    const LoadedRecord loaded = LoadPedalRecord(file, "t");
    EXPECT_EQ(loaded.warning + loaded.error, "");
    EXPECT_EQ(Counter(loaded.record.slotWords[0]), 100u);
    EXPECT_EQ(Counter(loaded.record.slotWords[1]), 100u);
}

// Killed at random points of 1,000 updates: each time the record reads whole, as the last update stored or
// the one under way, and the next program goes on at once (the lock died with its holder).
TEST(RecordProcesses, AKillDuringUpdatesLeavesTheOldOrTheNewRecord) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch / "records" / "p.json";
    constexpr int kUpdates = 1000;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int stored = 0;
    int kills = 0;
    while (stored < kUpdates) {
        Updater updater(file, 2, 11, kUpdates - stored);
        const int before = std::uniform_int_distribution<int>(1, 120)(random);
        const int firstRead = updater.ReadDone(before);
        ASSERT_EQ(firstRead, std::min(before, kUpdates - stored)) << "after " << kills << " kills";
        stored += firstRead;
        if (stored < kUpdates) {
            updater.Kill();
            ++kills;
        }
        stored += updater.ReadDone(kUpdates);
        updater.Wait();

        const LoadedRecord loaded = LoadPedalRecord(file, "t");
        ASSERT_EQ(loaded.warning + loaded.error, "");
        const unsigned counter = Counter(loaded.record.slotWords[2]);
        ASSERT_TRUE(counter == static_cast<unsigned>(stored) || counter == static_cast<unsigned>(stored) + 1)
            << counter << " after " << stored << " stored";
        for (int slot = 3; slot <= 11; ++slot) {
            ASSERT_EQ(Counter(loaded.record.slotWords[slot]), counter) << "slot index " << slot;
        }
        // An update the kill cut short after its rename counts as stored.
        stored = static_cast<int>(counter);
    }
    EXPECT_GE(kills, 8);
}

} // namespace
} // namespace treadkey
