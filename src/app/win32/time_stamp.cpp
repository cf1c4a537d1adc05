#include "app/win32/time_stamp.h"

#include "app/win32/wide_text.h"

#include <windows.h>

#include <array>

namespace treadkey {

std::string LocalTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::array<wchar_t, 128> date{};
    std::array<wchar_t, 128> time{};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date.data(),
                    static_cast<int>(date.size()), nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &now, nullptr, time.data(), static_cast<int>(time.size()));
    return Utf8OfWide(date.data()) + " " + Utf8OfWide(time.data());
}

} // namespace treadkey
