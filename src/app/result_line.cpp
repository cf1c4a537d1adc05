#include "app/result_line.h"

#include <QRegularExpression>

namespace treadkey {

namespace {

// The locale's long time form without its time-zone field ("HH:mm:ss t" becomes "HH:mm:ss").
QString LongTimeFormatWithoutZone(const QLocale& locale) {
    static const QRegularExpression zoneField(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.replace(zoneField, QStringLiteral(" "));
    return format.trimmed();
}

} // namespace

QString FormatResultLine(const QDateTime& when, const QLocale& locale, const QString& text) {
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time = locale.toString(when.time(), LongTimeFormatWithoutZone(locale));
    return QStringLiteral("[") + date + QStringLiteral(" ") + time + QStringLiteral("]: ") + text;
}

} // namespace treadkey
