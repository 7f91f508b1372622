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

}  // namespace
}  // namespace corvane
