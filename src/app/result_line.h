#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace treadkey {

// The time stamp of a line of the result list: short date + " " + long time, in the user's locale. The time
// carries seconds but no time zone, as the user reads a clock.
QString ResultTimeStamp(const QDateTime& when, const QLocale& locale);

} // namespace treadkey
