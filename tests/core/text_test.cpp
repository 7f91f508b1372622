#include "core/text.h"

#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "core/messages.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitText, TrailingSeparatorAddsNoPieceAndEmptyTextHasNone) {
    EXPECT_EQ(SplitText("a;b", ';'), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("a;b;", ';'), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitText("a;;b", ';'), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitText(";", ';'), (Pieces{""}));
    EXPECT_EQ(SplitText("", ';'), Pieces{});
    EXPECT_EQ(SplitText("x\t\ty\t", '\t'), (Pieces{"x", "", "y"}));
}

TEST(ReplaceText, IgnoresCaseWhereAskedKeepsTheRestAndNeverRescans) {
    EXPECT_EQ(ReplaceText("Ab ab AB", "ab", "x", false), "x x x");
    EXPECT_EQ(ReplaceText("Ab ab AB", "ab", "x", true), "Ab x AB");
    EXPECT_EQ(ReplaceText("aaa", "a", "aa", false), "aaaaaa");
    EXPECT_EQ(ReplaceText("MiXeD", "", "z", false), "MiXeD");
}

TEST(PadText, CutsPadsAndTurnsEveryBlankIntoThePadCharacter) {
    EXPECT_EQ(PadText(false, 2, "7", '0'), "07");
    EXPECT_EQ(PadText(true, 5, "a b", '-'), "a-b--");
    EXPECT_EQ(PadText(true, 3, "abcdef", ' '), "abc");
    EXPECT_EQ(PadText(false, 2, "5", ' '), " 5");
    EXPECT_EQ(PadText(true, 1, "", ' '), " ");
}

TEST(FormatCodeTime, WritesOneHourCharacterAndTwoDigitMinutesAndSeconds) {
    const struct {
        const char* seconds;
        const char* text;
    } cases[] = {{"3725", "1.02.05"}, {"59", "0.00.59"}, {"36000", "1.00.00"}, {"0", "0.00.00"},
                 {"-5", "-0.00.05"}, {"", ""},         {"12a", ""},           {"7.5", ""}};
    for (const auto& c : cases) EXPECT_EQ(FormatCodeTime(c.seconds), c.text) << c.seconds;
}

TEST(FitText, ShortensWithDotsWhenTheTextDoesNotFitTheWidthLessTheDots) {
    const TextMeasure tenPixelsEach = [](std::string_view text) { return static_cast<int>(text.size()) * 10; };
    EXPECT_EQ(FitText("abc", 60, tenPixelsEach), "abc");     // 30 <= 60 - 30
    EXPECT_EQ(FitText("abcd", 60, tenPixelsEach), "abc...");  // fits 60 but not 60 - 30
    EXPECT_EQ(FitText("ab cdefgh", 60, tenPixelsEach), "ab...");
}

TEST(AbbreviateText, CutsAtTheLastBlankKeepingTheFirstLetterOfTheCutWord) {
    EXPECT_EQ(AbbreviateText("Volley Club", 11, 5, false), "Volley Club");
    EXPECT_EQ(AbbreviateText("Pallavolo Modena", 11, 5, false), "Pallavolo M");
    EXPECT_EQ(AbbreviateText("Pallavolo Modena", 11, 5, true), "Pallavolo M.");
    EXPECT_EQ(AbbreviateText("Sisley Treviso", 11, 5, true), "Sisley T.");
    EXPECT_EQ(AbbreviateText("Abcdefghijklmn", 11, 5, true), "Abcdefghijk");  // no blank in range
    EXPECT_EQ(AbbreviateText("Ab cdefghijklmn", 11, 5, true), "Ab cdefghij");  // blank before minimum
    EXPECT_EQ(AbbreviateText("Abcdefghijk lmn", 11, 5, true), "Abcdefghijk");  // the cut is at a blank
}

TEST(SwapLetterCase, SwapsAsciiLettersOnly) {
    EXPECT_EQ(SwapLetterCase('r'), 'R');
    EXPECT_EQ(SwapLetterCase('R'), 'r');
    EXPECT_EQ(SwapLetterCase('#'), '#');
    EXPECT_EQ(SwapLetterCase(static_cast<char>(0xE0)), static_cast<char>(0xE0));
}

TEST(WholeNumbers, AcceptBlanksAndSignButNothingElse) {
    EXPECT_EQ(textToInt(" 12 "), 12);
    EXPECT_EQ(textToInt("-3"), -3);
    EXPECT_EQ(textToInt("12x"), 0);
    EXPECT_EQ(textToInt("", 7), 7);
    EXPECT_EQ(leadingInteger(" 5:07"), 5);
    EXPECT_EQ(leadingInteger("x1"), 0);
}

TEST(WholeNumbers, AreKeptOnlyInsideTheirRange) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"0", 0},           {"-100", -100},        {"100", 100},          {" 42 ", 42},
        {"101", {}},        {"-101", {}},          {"2147483647", {}},    {"-2147483648", {}},
        {"2147483648", {}}, {"99999999999999999999", {}}, {"", {}},       {"4x", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseIntInRange(c.text, -100, 100), c.expected) << c.text;
    // The range's own ends are the int's ends when a caller asks for them.
    EXPECT_EQ(parseIntInRange("2147483647", 0, std::numeric_limits<int>::max()), std::numeric_limits<int>::max());
    EXPECT_EQ(parseIntInRange("-2147483649", std::numeric_limits<int>::min(), 0), std::nullopt);
}

std::string monthTexts() {
    std::string texts;
    for (int month = 1; month <= 12; ++month) {
        texts += std::to_string(159 + month) + "=B" + std::to_string(month) + "\n";
        texts += std::to_string(171 + month) + "=A" + std::to_string(month) + "\n";
    }
    return texts;
}

struct DateTexts : ::testing::Test {
    testing::CatalogueMessages texts{monthTexts()};
    const Messages& messages = texts.messages;
    testing::RecordingBoxes& boxes = texts.boxes;
    LocaleFormats dayFirst{"dd/MM/yyyy", "HH:mm:ss", ":"};
    LocaleFormats monthFirst{"M/d/yyyy", "h:mm:ss AP", ":"};
};

TEST_F(DateTexts, MonthNamesComeFromTheirLists) {
    EXPECT_EQ(MonthName(3, MonthList::A, messages), "A3");
    EXPECT_EQ(MonthName(12, MonthList::B, messages), "B12");
    EXPECT_EQ(MonthName(13, MonthList::A, messages), "");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DateTexts, FormatDateFollowsTheLocaleOrderAndLeavesOtherTextsAlone) {
    EXPECT_EQ(FormatDate("07/03/2026", 0, dayFirst, messages), "7 A3 2026");
    EXPECT_EQ(FormatDate("07/03/2026", 1, dayFirst, messages), "7 B3 2026");
    EXPECT_EQ(FormatDate("3/7/2026", 0, monthFirst, messages), "7 A3 2026");
    EXPECT_EQ(FormatDate("31/02/2026", 0, dayFirst, messages), "31/02/2026");
    EXPECT_EQ(FormatDate("Sunday", 0, dayFirst, messages), "Sunday");
    EXPECT_EQ(FormatDate("", 0, dayFirst, messages), "");
}

TEST_F(DateTexts, DaysToDateTextCountsFromTheLastDayOf1899) {
    EXPECT_EQ(DaysToDateText("", dayFirst), "");
    EXPECT_EQ(DaysToDateText("07/12/2026", dayFirst), "07/12/2026");
    EXPECT_EQ(DaysToDateText("2026-12-07", dayFirst), "2026-12-07");
    EXPECT_EQ(DaysToDateText("46000", dayFirst), "09/12/2025");
    EXPECT_EQ(DaysToDateText("46000.5", dayFirst), "09/12/2025 12:00:00");
    EXPECT_EQ(DaysToDateText("abc", dayFirst), "30/12/1899");
    EXPECT_EQ(DaysToDateText("1e300", dayFirst), "");
}

}  // namespace
}  // namespace corvane
