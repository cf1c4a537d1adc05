#include "record/utc_time.h"

#include <array>
#include <cstdio>

namespace treadkey {

// From the calendar of <chrono> rather than gmtime: the same on every system, and safe on any thread.
std::string UtcText(std::chrono::system_clock::time_point at, UtcPrecision precision) {
    using namespace std::chrono;
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss time(floor<milliseconds>(at - day));
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    std::string utc = text.data();
    if (precision == UtcPrecision::Milliseconds) {
        std::snprintf(text.data(), text.size(), ".%03d", static_cast<int>(time.subseconds().count()));
        utc += text.data();
    }
    return utc + "Z";
}

} // namespace treadkey
