#include "arguments/utf8_path.h"
#include "fixtures/scratch_directory.h"
#include "record/file_lock.h"
#include "record/pedal_names.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace treadkey {
namespace {

TEST(PedalNamesFile, LiesInTheUsersStateDirectory) {
    using Environment = std::map<std::string, std::string>;
    const struct {
        Environment environment;
        std::optional<std::filesystem::path> file;
    } cases[] = {
        {{{"XDG_STATE_HOME", "/s"}, {"LOCALAPPDATA", "/l"}, {"HOME", "/h"}}, "/s/treadkey/pedal-names.json"},
        {{{"XDG_STATE_HOME", ""}, {"LOCALAPPDATA", "/l"}, {"HOME", "/h"}}, "/l/treadkey/pedal-names.json"},
        {{{"HOME", "/h"}}, "/h/.local/state/treadkey/pedal-names.json"},
        // A folder named outside the system's code page, as a user's own may be on Windows: kept whole both
        // ways, into a path and back into the UTF-8 that messages show.
        {{{"LOCALAPPDATA", "/用户/José/😀"}},
         std::filesystem::path(u8"/用户/José/😀/treadkey/pedal-names.json")},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto file = PedalNamesFile([&c](const char* name) {
            const auto found = c.environment.find(name);
            return found != c.environment.end() ? found->second.c_str() : nullptr;
        });
        EXPECT_EQ(file, c.file) << c.environment.size();
        for (const auto& [name, value] : c.environment) {
            EXPECT_EQ(Utf8OfPath(PathOfUtf8(value)), value) << name;
        }
    }
}

// Each save reads the file again under the lock, so that runs at once keep every name.
TEST(SavePedalName, RunsAtOnceLoseNoName) {
    const testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch / "state" / "pedal-names.json";
    std::vector<std::thread> runs;
    for (int i = 0; i < 8; ++i) {
        runs.emplace_back([&file, i] {
            EXPECT_EQ(SavePedalName(file, "usb-1-" + std::to_string(i), "pedal " + std::to_string(i)), "");
        });
    }
    for (std::thread& run : runs) {
        run.join();
    }
    const LoadedNames loaded = LoadPedalNames(file);
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.names.size(), 8u);
    EXPECT_EQ(loaded.names.at("usb-1-5"), "pedal 5");
    // Every run gave the lock back.
    EXPECT_TRUE(FileLock(file.string() + ".lock", std::chrono::milliseconds(0)).held());
}

} // namespace
} // namespace treadkey
