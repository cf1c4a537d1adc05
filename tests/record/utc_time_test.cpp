#include "record/utc_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace treadkey {
namespace {

using namespace std::chrono;

// Where a calendar reckoned by hand goes wrong: the epoch, a leap day, the last millisecond of a year, a
// century that is no leap year, a moment past 32-bit time_t; and where the milliseconds are cut, not rounded.
TEST(UtcText, WritesTheDateAndTimeOfEachMomentInBothPrecisions) {
    const struct {
        sys_days day;
        milliseconds into;
        std::string seconds;
        std::string millis;
    } cases[] = {
        {sys_days{1970y / January / 1}, 0ms, "1970-01-01T00:00:00Z", "1970-01-01T00:00:00.000Z"},
        {sys_days{2024y / February / 29}, 23h + 59min + 59s + 999ms, "2024-02-29T23:59:59Z",
         "2024-02-29T23:59:59.999Z"},
        {sys_days{2026y / December / 31}, 24h - 1ms, "2026-12-31T23:59:59Z", "2026-12-31T23:59:59.999Z"},
        {sys_days{2100y / March / 1}, 7ms, "2100-03-01T00:00:00Z", "2100-03-01T00:00:00.007Z"},
        {sys_days{2038y / January / 19}, 3h + 14min + 8s + 40ms, "2038-01-19T03:14:08Z",
         "2038-01-19T03:14:08.040Z"},
    };
    for (const auto& c : cases) {
        const system_clock::time_point at = c.day + c.into;
        EXPECT_EQ(UtcText(at, UtcPrecision::Seconds), c.seconds);
        EXPECT_EQ(UtcText(at, UtcPrecision::Milliseconds), c.millis);
    }
}

// Finer clocks than milliseconds are cut too: 0.9999 s is still the second it began in.
TEST(UtcText, CutsWhatIsFinerThanAMillisecond) {
    const system_clock::time_point at = sys_days{2026y / March / 1} + 12h + microseconds(999'900);
    EXPECT_EQ(UtcText(at, UtcPrecision::Milliseconds), "2026-03-01T12:00:00.999Z");
    EXPECT_EQ(UtcText(at, UtcPrecision::Seconds), "2026-03-01T12:00:00Z");
}

} // namespace
} // namespace treadkey
