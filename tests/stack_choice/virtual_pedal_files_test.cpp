#include "stack_choice/virtual_pedal_files.h"

#include "fixtures/scratch_directory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace treadkey {
namespace {

// Writers started together on a log not there yet, as a script starting several runs at once: each checks the
// log as a program does before anything opens, then writes its report. Checking never loses another's line.
TEST(VirtualPedalFiles, WritersStartingAtOnceOnANewLogKeepEveryLine) {
    constexpr int kWriters = 12;
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        const testing::ScratchDirectory scratch;
        VirtualPedalOptions options;
        options.logFile = scratch / "pedal.log";
        std::latch start(kWriters);
        std::vector<std::thread> writers;
        for (int writer = 0; writer < kWriters; ++writer) {
            writers.emplace_back([&options, &start, writer] {
                start.arrive_and_wait();
                EXPECT_EQ(CheckVirtualPedalFiles(options), "");
                VirtualPedal pedal(options);
                OpenResult opened = pedal.open(VirtualPedal::kPath);
                ASSERT_TRUE(opened.device) << opened.problem;
                const std::vector<std::uint8_t> report = {
                    0x00, 0xAA, 0x01, static_cast<std::uint8_t>(writer * 4), 0x00, 0x04, 0x00, 0x00, 0x00};
                EXPECT_EQ(opened.device->write(report), 9);
            });
        }
        for (std::thread& writer : writers) {
            writer.join();
        }
        std::ifstream log(*options.logFile);
        std::set<std::string> lines;
        for (std::string line; std::getline(log, line);) {
            lines.insert(line);
        }
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(kWriters)) << "round " << round;
    }
}

} // namespace
} // namespace treadkey
