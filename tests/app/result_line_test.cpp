#include "app/result_line.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(ResultLine, DateTimeThenColonThenTheTextUnchanged) {
    const QDateTime when(QDate(2019, 7, 12), QTime(14, 3, 5));
    const QLocale c = QLocale::c();
    const QString line = FormatResultLine(when, c, QStringLiteral("CloseHandle (HIDHandle)"));
    EXPECT_EQ(line,
              "[" + c.toString(when.date(), QLocale::ShortFormat) + " 14:03:05]: CloseHandle (HIDHandle)");
    EXPECT_TRUE(FormatResultLine(when, c, QString()).endsWith("]: "));
    EXPECT_TRUE(FormatResultLine(when, c, QStringLiteral("  x ")).endsWith("]:   x "));
}

TEST(ResultLine, FollowsTheLocaleWithSecondsAndNoTimeZone) {
    const QDateTime when(QDate(2019, 7, 12), QTime(14, 3, 5));
    const struct {
        QLocale locale;
        const char* date;
    } cases[] = {
        {QLocale(QLocale::Chinese, QLocale::China), "2019/7/12"},
        {QLocale(QLocale::German, QLocale::Germany), "12.07.19"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "7/12/19"},
    };
    for (const auto& c : cases) {
        const QString line = FormatResultLine(when, c.locale, QStringLiteral("x"));
        EXPECT_TRUE(line.startsWith(QStringLiteral("[") + c.date + " ")) << line.toStdString();
        EXPECT_TRUE(line.contains("3:05")) << line.toStdString();
        EXPECT_FALSE(line.contains("UTC")) << line.toStdString();
        EXPECT_FALSE(line.contains(" ]")) << line.toStdString();
    }
}

} // namespace
} // namespace treadkey
