#include "app/result_line.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace treadkey {
namespace {

const QDateTime kAfternoon(QDate(2019, 7, 12), QTime(14, 3, 5));

// The time after date + " ", or a null string when the stamp is not of that form.
QString TimeOf(const QString& stamp, const QLocale& locale, const QDateTime& when) {
    const QString head = locale.toString(when.date(), QLocale::ShortFormat) + " ";
    return stamp.startsWith(head) ? stamp.mid(head.size()) : QString();
}

TEST(ResultLine, ShortDateThenTheTime) {
    const QDateTime when(QDate(2019, 7, 12), QTime(14, 3, 5));
    const QLocale c = QLocale::c();
    EXPECT_EQ(ResultTimeStamp(when, c), c.toString(when.date(), QLocale::ShortFormat) + " 14:03:05");
}

// The locales of the pedal's first users, and the shapes of time format that once went wrong: a zone field in
// brackets, a day period, a quoted word.
TEST(ResultLine, FollowsTheLocaleWithSecondsAndNoTimeZone) {
    const struct {
        const char* locale;
        const char* stamp;
    } cases[] = {
        {"zh_CN", "2019/7/12 14:03:05"}, {"zh_TW", "2019/7/12 下午2:03:05"},
        {"de_DE", "12.07.19 14:03:05"},  {"en_US", "7/12/19 2:03:05 PM"},
        {"es_ES", "12/7/19 14:03:05"},   {"nds_DE", "12.07.19 Klock 14.03:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultTimeStamp(kAfternoon, QLocale(QString::fromLatin1(c.locale))),
                  QString::fromUtf8(c.stamp))
            << c.locale;
    }
}

// The numbers written in a text, in whatever digits the locale writes them.
std::vector<int> NumbersIn(const QString& text) {
    std::vector<int> numbers;
    int previous = -1;
    for (const char32_t c : text.toUcs4()) {
        const int digit = QChar::digitValue(c);
        if (digit >= 0) {
            if (previous < 0) {
                numbers.push_back(0);
            }
            numbers.back() = numbers.back() * 10 + digit;
        }
        previous = digit;
    }
    return numbers;
}

// Every locale this Qt knows: no empty brackets, no pattern letter written as itself, no separator left at an
// edge, the hour, minute and second as they were (on a 12-hour clock, told apart by the day period).
TEST(ResultLine, EveryLocaleGivesAClockTimeThatReadsBack) {
    static const QRegularExpression emptyBrackets(
        QStringLiteral("[(\\[{\uFF08\u3010]\\s*[)\\]}\uFF09\u3011]"));
    static const QRegularExpression letterOnDigit(QStringLiteral("[A-Za-z]\\d|\\d[A-Za-z]"));
    const QDateTime night(kAfternoon.date(), QTime(2, 3, 5));
    int checked = 0;
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        const QString afternoon = TimeOf(ResultTimeStamp(kAfternoon, locale), locale, kAfternoon);
        const QString early = TimeOf(ResultTimeStamp(night, locale), locale, night);
        const std::string where = locale.name().toStdString() + ": " + afternoon.toStdString();
        for (const QString& shown : {afternoon, early}) {
            ASSERT_FALSE(shown.isEmpty()) << where;
            EXPECT_FALSE(emptyBrackets.match(shown).hasMatch()) << where;
            QString withoutDayPeriod = shown;
            withoutDayPeriod.remove(locale.amText(), Qt::CaseInsensitive)
                .remove(locale.pmText(), Qt::CaseInsensitive);
            EXPECT_FALSE(letterOnDigit.match(withoutDayPeriod).hasMatch()) << where;
            EXPECT_EQ(shown, shown.trimmed()) << where;
            EXPECT_FALSE(shown.endsWith(u',')) << where;
        }
        const std::vector<int> numbers = NumbersIn(afternoon);
        EXPECT_TRUE(numbers == (std::vector<int>{14, 3, 5}) || numbers == (std::vector<int>{2, 3, 5}))
            << where;
        EXPECT_EQ(NumbersIn(early), (std::vector<int>{2, 3, 5})) << where;
        EXPECT_NE(afternoon, early) << where;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

} // namespace
} // namespace treadkey
