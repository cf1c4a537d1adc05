#include "cli/interface_wording.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

// Each verdict's name in list's JSON and its sentence: the words follow the verdict, whatever its place.
TEST(InterfaceWording, EachVerdictHasItsNameAndSentence) {
    const struct {
        InterfaceVerdict verdict;
        std::string name;
        std::string sentence;
    } cases[] = {
        {InterfaceVerdict::Chosen, "chosen", "the pedal's frames go here"},
        {InterfaceVerdict::HeldBySystem, "held by the system",
         "passed over: the system keeps keyboard, mouse, pen and touch interfaces to itself"},
        {InterfaceVerdict::DoesNotOpen, "cannot be opened", "not used: it cannot be opened"},
        {InterfaceVerdict::CannotHoldFrame, "report too short",
         "not used: its output report of 2 bytes cannot hold a frame; the frames go to /dev/hidraw3"},
        {InterfaceVerdict::NotChosen, "not chosen", "not used: an earlier interface takes the frames"},
    };
    for (const auto& c : cases) {
        SeenInterface seen;
        seen.verdict = c.verdict;
        seen.opens = true;
        seen.outputReportLength = 2;
        EXPECT_EQ(VerdictName(c.verdict), c.name);
        EXPECT_EQ(DescribeVerdict(seen, "/dev/hidraw3"), c.sentence) << c.name;
    }
}

} // namespace
} // namespace treadkey
