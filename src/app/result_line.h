#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace treadkey {

// A line of the result list: "[" + short date + " " + long time + "]" + ": " + text, in the user's locale.
// The time carries seconds but no time zone, as the user reads a clock.
QString FormatResultLine(const QDateTime& when, const QLocale& locale, const QString& text);

} // namespace treadkey
