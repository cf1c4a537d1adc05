#include "cli/cli_run_fixture.h"

namespace treadkey {
namespace {

TEST_F(CliRun, ANicknameChoosesItsPedalAndStaysInTheStateFile) {
    const Lines twins{"--virtual-pedal-twin"};
    const auto run = [&](Lines arguments) {
        arguments.insert(arguments.begin(), twins.begin(), twins.end());
        return RunOnPedal(arguments);
    };
    const Outcome named = run({"name", "virtual-2", "right foot"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(named.out, "virtual-2 is now called 'right foot'\n");
    EXPECT_EQ(run({"name", "virtual-1", "left"}).exitCode, 0);
    EXPECT_EQ(LoadPedalNames(namesFile_).names,
              (PedalNames{{"virtual-1", "left"}, {"virtual-2", "right foot"}}));

    const Outcome key = run({"--pedal", "right foot", "mouse", "2", "left"});
    EXPECT_EQ(key.exitCode, 0) << key.err;
    EXPECT_EQ(key.out, "wrote 1 report to virtual-pedal-2\n");
    EXPECT_NE(run({"list"}).out.find("pedal virtual-2 (right foot)\n"), std::string::npos);

    const struct {
        Lines arguments;
        std::string error;
    } refused[] = {
        {{"name", "virtual-1", "right foot"}, "treadkeyctl: 'right foot' already names virtual-2\n"},
        {{"name", "left", "virtual-2"},
         "treadkeyctl: 'virtual-2' is a pedal's identity, so it cannot be a nickname\n"},
        {{"name", "virtual-7", "x"},
         "treadkeyctl: no pedal 'virtual-7' is plugged in; pedals present: virtual-1 (left), virtual-2 "
         "(right "
         "foot)\n"},
    };
    for (const auto& r : refused) {
        const Outcome outcome = run(r.arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err, r.error);
    }
    // Renamed through its nickname, then unnamed: the name no longer chooses it.
    EXPECT_EQ(run({"name", "left", ""}).out, "virtual-1 has no nickname now\n");
    EXPECT_EQ(run({"--pedal", "left", "list"}).exitCode, 2);
    EXPECT_EQ(LoadPedalNames(namesFile_).names, (PedalNames{{"virtual-2", "right foot"}}));

    std::ofstream(namesFile_) << "{\"names\": [";
    const Outcome broken = run({"--pedal", "virtual-1", "list"});
    EXPECT_EQ(broken.exitCode, 0);
    EXPECT_NE(broken.err.find("warning: pedal names not read: "), std::string::npos);
}

} // namespace
} // namespace treadkey
