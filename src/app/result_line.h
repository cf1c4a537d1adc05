#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace treadkey {

// The time stamp of a line of the result list: short date + " " + long time, in the user's locale. The time
// carries seconds but no time zone, as the user reads a clock.
QString ResultTimeStamp(const QDateTime& when, const QLocale& locale);

// The locale's long time form as a Qt time format, less its time-zone field and whatever framed or
// separated it ("H:mm:ss (t)" becomes "H:mm:ss"), with a day period Qt cannot write given as AM/PM.
QString ResultTimeFormat(const QLocale& locale);

} // namespace treadkey
