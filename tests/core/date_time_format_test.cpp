#include "core/date_time_format.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// The patterns are the ones the desktop locales give (the time zone already taken out).
TEST(LocaleDateTime, EveryLocaleWritesAFourDigitYearInItsOrderAndKeepsQuotedTextAsText) {
    const LocalDateTime when{2026, 12, 10, 10, 19, 15};
    const struct {
        const char* locale;
        LocaleFormats formats;
        std::string expected;
    } cases[] = {
        {"it_IT", {"dd/MM/yy", "HH:mm:ss", ":"}, "10/12/2026 10:19:15"},
        {"en_US", {"M/d/yy", "h:mm:ss AP", ":"}, "12/10/2026 10:19:15 AM"},
        {"de_DE", {"dd.MM.yy", "HH:mm:ss", ":"}, "10.12.2026 10:19:15"},
        {"fr_CA", {"yyyy-MM-dd", "HH 'h' mm 'min' ss 's'", " "}, "2026-12-10 10 h 19 min 15 s"},
        {"bg_BG", {"d.MM.yy 'г'.", "H:mm:ss", ":"}, "10.12.2026 г. 10:19:15"},
        {"quote", {"dd/MM/yyyy", "HH 'o''clock' mm''", ":"}, "10/12/2026 10 o'clock 19'"},
        {"unclosed", {"dd/MM/yyyy 'at", "HH:mm:ss", ":"}, "10/12/2026 at 10:19:15"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatLocaleDateTime(c.formats, when), c.expected) << c.locale;
}

TEST(LocaleDateTime, ExactlyMidnightCarriesTheDateOnly) {
    EXPECT_EQ(formatLocaleDateTime({"dd/MM/yy", "HH:mm:ss", ":"}, {2026, 1, 2, 0, 0, 0}), "02/01/2026");
    EXPECT_EQ(formatLocaleDateTime({"dd/MM/yy", "HH:mm:ss", ":"}, {2026, 1, 2, 0, 0, 1}), "02/01/2026 00:00:01");
}

// Two-digit years: 00 to 49 are this century's, 50 to 99 the last one's; longer years stand as written.
TEST(LocaleDate, TwoDigitYearsOnEachSideOfTheCenturyRule) {
    const LocaleFormats dayFirst{"dd/MM/yy", "HH:mm:ss", ":"};
    const struct {
        const char* text;
        int year;  // 0: not a date
    } cases[] = {
        {"07/03/49", 2049}, {"07/03/50", 1950}, {"07/03/00", 2000}, {"07/03/99", 1999},
        {"07/03/0", 2000},  {"07/03/050", 50},  {"07/03/2049", 2049}, {"07/03/1950", 1950},
        {"07/03/12345", 0},
    };
    for (const auto& c : cases) {
        const auto date = parseLocaleDate(dayFirst, c.text);
        ASSERT_EQ(date.has_value(), c.year != 0) << c.text;
        if (!date) continue;
        EXPECT_EQ(date->year, c.year) << c.text;
        EXPECT_EQ(date->month, 3) << c.text;
        EXPECT_EQ(date->day, 7) << c.text;
    }
}

TEST(LocaleDate, AShortDatePatternWithoutAllThreePartsReadsDayMonthYear) {
    struct Case {
        const char* pattern;
        const char* text;
        int day, month, year;
    };
    const Case cases[] = {
        {"yyyy-MM-dd", "2026-03-07", 7, 3, 2026},  // all three parts: the pattern's order
        {"M/d/yy", "3/7/26", 7, 3, 2026},
        {"MM/yyyy", "07/03/26", 7, 3, 2026},       // no day in the pattern
        {"dd/MM", "07/03/26", 7, 3, 2026},         // no year
        {"", "07/03/26", 7, 3, 2026},
    };
    for (const Case& c : cases) {
        const auto date = parseLocaleDate({c.pattern, "HH:mm:ss", ":"}, c.text);
        ASSERT_TRUE(date) << c.pattern;
        EXPECT_EQ(date->day, c.day) << c.pattern;
        EXPECT_EQ(date->month, c.month) << c.pattern;
        EXPECT_EQ(date->year, c.year) << c.pattern;
    }
}

}  // namespace
}  // namespace corvane
