#include "app/form/id_text.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(ParseIdText, AcceptsOnlyHexNumbersThatFitSixteenBits) {
    const struct {
        const char* text;
        std::optional<std::uint16_t> id;
    } cases[] = {
        {"&H2704", 0x2704},
        {"&h2018", 0x2018},
        {"&HFFFF", 0xFFFF},
        {"&H8000", 0x8000},
        {"&H0", 0},
        {"&H00002704", 0x2704},
        {"&H", std::nullopt},
        {"", std::nullopt},
        {"2704", std::nullopt},
        {"&H10000", std::nullopt},
        {"&H27 04", std::nullopt},
        {"&H-1", std::nullopt},
        {"&HG", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIdText(c.text), c.id) << c.text;
    }
}

} // namespace
} // namespace treadkey
