#include "protocol/hex_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

TEST(IsCommandTextCharacter, AllowsExactlyHexDigitsAndTheSpace) {
    const std::u32string allowed = U"0123456789abcdefABCDEF ";
    int allowedCount = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const bool isAllowed = IsCommandTextCharacter(c);
        allowedCount += isAllowed ? 1 : 0;
        EXPECT_EQ(isAllowed, allowed.find(c) != std::u32string::npos) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(allowedCount, 23);
}

struct FilterRun {
    std::u32string reported;
    std::u32string remaining;
};

// Each step must shorten the text, so a filter that fails to remove stops here instead of looping.
FilterRun FilterToTheEnd(std::u32string text) {
    FilterRun run;
    while (const auto step = NextHexFilterStep(text)) {
        run.reported += step->reported;
        if (step->remaining.size() >= text.size()) {
            ADD_FAILURE() << "no character removed";
            break;
        }
        text = step->remaining;
    }
    run.remaining = text;
    return run;
}

TEST(NextHexFilterStep, ReportsEachDistinctInvalidCharacterOnceInOrder) {
    const struct {
        std::u32string text;
        std::u32string reported;
        std::u32string remaining;
    } cases[] = {
        {U"AA 0G", U"G", U"AA 0"}, {U"x1x2y", U"xy", U"12"}, {U"aA 09 fF", U"", U"aA 09 fF"},
        {U"", U"", U""},           {U"gGg", U"gG", U""},     {U"A键B键😀\t", U"键😀\t", U"AB"},
    };
    for (const auto& c : cases) {
        const FilterRun run = FilterToTheEnd(c.text);
        EXPECT_EQ(run.reported, c.reported);
        EXPECT_EQ(run.remaining, c.remaining);
    }
}

TEST(NextHexFilterStep, RemovesOnlyTheReportedCharacter) {
    const auto step = NextHexFilterStep(U"x1x2y");
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->reported, U'x');
    EXPECT_EQ(step->remaining, U"12y");
}

TEST(NextHexFilterStep, RemovesEveryOccurrenceInALongTextInOneStep) {
    std::u32string text;
    for (int i = 0; i < 50000; ++i) {
        text += U"A中";
    }
    const auto step = NextHexFilterStep(text);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->reported, U'中');
    EXPECT_EQ(step->remaining, std::u32string(50000, U'A'));
}

} // namespace
} // namespace treadkey
