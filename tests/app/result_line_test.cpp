#include "app/result_line.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace treadkey {
namespace {

const QDateTime kAfternoon(QDate(2019, 7, 12), QTime(14, 3, 5));

// The time between "[" + date + " " and "]: ", or a null string when the line is not of that form.
QString TimeOf(const QString& line, const QLocale& locale, const QDateTime& when) {
    const QString head = QStringLiteral("[") + locale.toString(when.date(), QLocale::ShortFormat) + " ";
    const qsizetype end = line.lastIndexOf(QStringLiteral("]: x"));
    if (!line.startsWith(head) || end < head.size()) {
        return QString();
    }
    return line.mid(head.size(), end - head.size());
}

TEST(ResultLine, DateTimeThenColonThenTheTextUnchanged) {
    const QLocale c = QLocale::c();
    const QString line = FormatResultLine(kAfternoon, c, QStringLiteral("CloseHandle (HIDHandle)"));
    EXPECT_EQ(line, "[" + c.toString(kAfternoon.date(), QLocale::ShortFormat) +
                        " 14:03:05]: CloseHandle (HIDHandle)");
    EXPECT_TRUE(FormatResultLine(kAfternoon, c, QString()).endsWith("]: "));
    EXPECT_TRUE(FormatResultLine(kAfternoon, c, QStringLiteral("  x ")).endsWith("]:   x "));
}

TEST(ResultLine, TheZoneFieldGoesWithItsBracketsAndADayPeriodIsWritten) {
    const struct {
        const char* locale;
        const char* longFormat; // as this Qt gives it, so that a change of locale data is seen as such
        const char* time;
    } cases[] = {
        {"zh_CN", "t HH:mm:ss", "14:03:05"},     {"zh_TW", "Bh:mm:ss [t]", "下午2:03:05"},
        {"es_ES", "H:mm:ss (t)", "14:03:05"},    {"be_BY", "HH:mm:ss, t", "14:03:05"},
        {"en_US", "h:mm:ss AP t", "2:03:05 PM"}, {"nds_DE", "'Klock' H.mm:ss (t)", "Klock 14.03:05"},
        {"de_DE", "HH:mm:ss t", "14:03:05"},     {"my_MM", "t HH:mm:ss", "၁၄:၀၃:၀၅"},
    };
    for (const auto& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        if (locale.timeFormat(QLocale::LongFormat) != QString::fromUtf8(c.longFormat)) {
            ADD_FAILURE() << c.locale << " now has " << locale.timeFormat(QLocale::LongFormat).toStdString();
            continue;
        }
        const QString line = FormatResultLine(kAfternoon, locale, QStringLiteral("x"));
        EXPECT_EQ(TimeOf(line, locale, kAfternoon), QString::fromUtf8(c.time)) << line.toStdString();
    }
}

// The numbers written in a text, in whatever digits the locale writes them.
std::vector<int> NumbersIn(const QString& text) {
    std::vector<int> numbers;
    bool inNumber = false;
    for (const char32_t c : text.toUcs4()) {
        const int digit = QChar::digitValue(c);
        if (digit < 0) {
            inNumber = false;
        } else if (inNumber) {
            numbers.back() = numbers.back() * 10 + digit;
        } else {
            numbers.push_back(digit);
            inNumber = true;
        }
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
        const QString afternoon =
            TimeOf(FormatResultLine(kAfternoon, locale, QStringLiteral("x")), locale, kAfternoon);
        const QString early = TimeOf(FormatResultLine(night, locale, QStringLiteral("x")), locale, night);
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
