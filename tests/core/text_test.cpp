#include "core/text.h"

#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include <algorithm>

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

// Ten pixels a character, counting UTF-8 characters rather than bytes.
int tenPixelsACharacter(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; })) *
           10;
}

// Every lead byte is followed by exactly the continuation bytes it announces.
// As a font draws it: a character ten pixels, a lone first byte of a cut character a narrower
// replacement mark.
int asDrawn(std::string_view text) {
    int width = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte & 0xC0) == 0x80) continue;
        const bool cut = byte >= 0xC0 && (at + 1 == text.size() || (static_cast<unsigned char>(text[at + 1]) & 0xC0) != 0x80);
        width += cut ? 5 : 10;
    }
    return width;
}

bool validUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || at + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
        at += length;
    }
    return true;
}

TEST(FitText, CutsBetweenCharactersOfTheDrawnText) {
    const struct {
        const char* text;
        int width;
        const char* fitted;
    } cases[] = {
        {"Città di Castello", 80, "Citt\xC3\xA0..."},  // the accent is kept whole
        {"Città di Castello", 70, "Citt..."},              // or dropped whole,
        {"Città di Castello", 75, "Citt..."},              // never halved where half would fit
        {"Забава Волей", 60, "Заб..."},                     // two bytes a letter throughout
        {"Ünïcødé", 200, "Ünïcødé"},                       // fits: untouched
        {"", 0, ""},
        {"Città", 0, "..."},
    };
    for (const auto& c : cases) {
        const std::string fitted = FitText(c.text, c.width, asDrawn);
        EXPECT_EQ(fitted, c.fitted) << c.text << " at " << c.width;
        EXPECT_TRUE(validUtf8(fitted)) << fitted;
    }
}

TEST(FitFigure, KeepsTheWholeFigureWhileItFitsThenShortensItAsAFigure) {
    const auto sixPixelsEach = [](std::string_view text) { return 6 * static_cast<int>(text.size()); };
    const struct {
        const char* figure;
        int width;
        const char* shown;
    } cases[] = {
        {"100%", 24, "100%"},  // just fits
        {"100%", 23, "100"},   // just does not: the share without its sign
        {"100%", 18, "100"},
        {"100%", 17, "#"},     // never "10", which reads as another figure
        {"5%", 12, "5%"},
        {"5%", 11, "5"},
        {"5%", 6, "5"},
        {"5%", 5, ""},         // no room even for the mark
        {"1234", 24, "1234"},
        {"1234", 23, "1k"},    // a count in thousands
        {"12345", 29, "12k"},
        {"12345", 17, "#"},
        {"999", 17, "#"},      // under a thousand there is no shorter count
        {"7", 6, "7"},
        {"7", 5, ""},
        {"-3", 11, "#"},       // not a count: never cut
        {"", 40, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FitFigure(c.figure, c.width, sixPixelsEach), c.shown) << c.figure << " in " << c.width;
}

TEST(FigureForms, LongestFirstEndingWithTheNoRoomMark) {
    using Forms = std::vector<std::string>;
    EXPECT_EQ(FigureForms("100%"), (Forms{"100%", "100", "#"}));
    EXPECT_EQ(FigureForms("12345"), (Forms{"12345", "12k", "#"}));
    EXPECT_EQ(FigureForms("999"), (Forms{"999", "#"}));
    EXPECT_EQ(FigureForms("%"), (Forms{"%", "#"}));
    EXPECT_TRUE(FigureForms("").empty());
}

TEST(FitText, MeasuresALogarithmicNumberOfTimesAndNeverMoreThanTheWidthCanShow) {
    std::string name;
    for (int i = 0; i < 20000; ++i) name += i % 7 == 0 ? "\xC3\xA0" : "x";  // a long accented team name
    for (const int width : {150, 400000}) {
        int measurements = 0;
        std::size_t longest = 0;
        const TextMeasure counting = [&](std::string_view text) {
            ++measurements;
            longest = std::max(longest, text.size());
            return tenPixelsACharacter(text);
        };
        const std::string fitted = FitText(name, width, counting);
        EXPECT_TRUE(validUtf8(fitted));
        if (width == 150) {
            EXPECT_EQ(tenPixelsACharacter(fitted), 150 - 30 + 30);  // 12 characters and the dots
            EXPECT_LE(longest, 2u * 150);                           // at most the first 150 characters
        } else {
            EXPECT_EQ(fitted, name);
        }
        EXPECT_LE(measurements, 2 + 16) << "width " << width;  // the dots, the whole, then halving 20,000
    }
    // Wide enough for the whole text, but not for it and the dots: the cut is still found by halving.
    int measurements = 0;
    const TextMeasure counting = [&](std::string_view text) {
        ++measurements;
        return tenPixelsACharacter(text);
    };
    const std::string fitted = FitText(name, 200010, counting);
    EXPECT_EQ(tenPixelsACharacter(fitted), 200010);  // 19,998 characters and the dots
    EXPECT_LE(measurements, 2 + 16);
}

TEST(Utf8Prefix, EndsBetweenCharacters) {
    const std::string text = "a\xC3\xA0\xE2\x82\xAC" "b";  // a, à, €, b
    const std::size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 7, 7};
    for (std::size_t bytes = 0; bytes < std::size(expected); ++bytes)
        EXPECT_EQ(Utf8Prefix(text, bytes).size(), expected[bytes]) << bytes;
}

TEST(FitTextKeepingSuffix, TheSuffixStaysWholeAfterTheFittedText) {
    const struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"Falchi C, RINALDI Tommaso Battuta", 500, "Falchi C, RINALDI Tommaso Battuta (0.00.09 set 1)"},
        {"Falchi C, RINALDI Tommaso Battuta", 300, "Falchi C, R... (0.00.09 set 1)"},
        {"Città di Castello", 280, "Città di... (0.00.09 set 1)"},
    };
    for (const auto& c : cases) {
        const std::string shown = FitTextKeepingSuffix(c.text, " (0.00.09 set 1)", c.width, asDrawn);
        EXPECT_EQ(shown, c.shown) << c.width;
        EXPECT_LE(asDrawn(shown), c.width);
    }
}

TEST(PlacePiecesInOrder, KeepsDesignedEdgesWhereThePiecesFitAndPushesOnWhereTheyDoNot) {
    const struct {
        const char* what;
        std::vector<LinePiece> pieces;
        std::vector<int> lefts;
    } cases[] = {
        {"narrow pieces", {{1, 40}, {49, 15}, {68, 6}, {76, 6}, {84, 14}}, {1, 49, 68, 76, 84}},
        {"a wide first piece", {{1, 56}, {49, 24}, {68, 8}, {76, 6}, {84, 14}}, {1, 59, 85, 95, 103}},
        {"an empty piece takes no room", {{1, 40}, {49, 0}, {50, 10}}, {1, 49, 50}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlacePiecesInOrder(c.pieces, 2), c.lefts) << c.what;
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

TEST(AbbreviateText, TheBlanksAtTheEndsOfTheRangeLookedAt) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Abcdefghijk", "Abcdefghijk"},       // exactly the width: unchanged
        {"Abcdefghijkl", "Abcdefghijk"},      // one more, no blank: the width's characters
        {"Abcd efghijklmn", "Abcd e."},       // a blank at the minimum is still looked at
        {"Abc defghijklmn", "Abc defghij"},   // one before it is not
        {"Abcdefghij klmn", "Abcdefghij "},   // a blank at the width itself leaves the width's characters
        {"Abcdefghi jklmn", "Abcdefghi j."},  // one before the width cuts there
    };
    for (const auto& c : cases) EXPECT_EQ(AbbreviateText(c.text, 11, 5, true), c.expected) << c.text;
}

TEST(SwapLetterCase, SwapsAsciiLettersOnly) {
    EXPECT_EQ(SwapLetterCase('r'), 'R');
    EXPECT_EQ(SwapLetterCase('R'), 'r');
    EXPECT_EQ(SwapLetterCase('#'), '#');
    EXPECT_EQ(SwapLetterCase(static_cast<char>(0xE0)), static_cast<char>(0xE0));
    // The ends of both letter ranges, and the characters just outside them.
    const std::pair<char, char> ends[] = {{'A', 'a'}, {'Z', 'z'}, {'a', 'A'}, {'z', 'Z'},
                                          {'@', '@'}, {'[', '['}, {'`', '`'}, {'{', '{'}};
    for (const auto& [character, swapped] : ends) EXPECT_EQ(SwapLetterCase(character), swapped) << character;
}

TEST(WholeNumbers, AcceptBlanksAndSignButNothingElse) {
    EXPECT_EQ(textToInt(" 12 "), 12);
    EXPECT_EQ(textToInt("-3"), -3);
    EXPECT_EQ(textToInt("12x"), 0);
    EXPECT_EQ(textToInt("", 7), 7);
    EXPECT_EQ(leadingInteger(" 5:07"), 5);
    EXPECT_EQ(leadingInteger("x1"), 0);
}

TEST(WholeNumbers, AWrittenPlusSignIsTheNumberItself) {
    EXPECT_EQ(textToInt("+12"), 12);
    EXPECT_EQ(textToInt(" +7 "), 7);
    EXPECT_EQ(parseIntInRange("+100", -100, 100), 100);
    EXPECT_EQ(parseIntInRange("+101", -100, 100), std::nullopt);
    EXPECT_EQ(FormatCodeTime("+3725"), "1.02.05");
    // One sign only, and nothing but digits after it.
    for (const char* text : {"+", "++1", "+-1", "-+1", "+ 1", "+1x"}) EXPECT_EQ(textToInt(text, -999), -999) << text;
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
