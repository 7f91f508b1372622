#include <gtest/gtest.h>

#include "codes/match_header.h"
#include "codes/search_code_entry.h"
#include "core/messages.h"
#include "support/test_support.h"

namespace corvane {
namespace {

TEST(SearchCodeEntry, TypingSwapsLetterCaseAndMovesOn) {
    SearchCodeEntry entry;
    entry.type('*');
    entry.type('0');
    entry.type('7');
    entry.type('a');  // typed plain: a capital
    entry.type('H');  // typed with Shift: a small letter
    EXPECT_EQ(entry.searchCode().substr(0, 6), "*07Ah ");
    EXPECT_EQ(entry.cursor(), 5);
    entry.press(SearchCodeEntry::Key::Backspace);
    EXPECT_EQ(entry.cursor(), 4);
    EXPECT_EQ(entry.searchCode().substr(0, 6), "*07A  ");
    entry.press(SearchCodeEntry::Key::Escape);
    EXPECT_EQ(entry.searchCode(), std::string(20, ' '));
    // A cleared entry is typed again from its first cell.
    EXPECT_EQ(entry.cursor(), 0);
    entry.type('a');
    EXPECT_EQ(entry.searchCode().substr(0, 2), "A ");
}

TEST(SearchCodeEntry, TheSecondCellKeepsRallyMarksAndTheCursor) {
    SearchCodeEntry entry;
    entry.setCursor(1);
    entry.type('p');
    EXPECT_EQ(entry.cell(1), 'p');
    EXPECT_EQ(entry.cursor(), 1);
    entry.type('T');
    EXPECT_EQ(entry.cell(1), 'T');
    entry.type('r');
    EXPECT_EQ(entry.cell(1), 'R');
    EXPECT_EQ(entry.cursor(), 2);
    entry.setCursor(19);
    entry.type('x');
    EXPECT_EQ(entry.cursor(), 19);  // the last cell keeps the cursor
    entry.press(SearchCodeEntry::Key::Right);
    EXPECT_EQ(entry.cursor(), 19);
    entry.setCursor(0);
    entry.press(SearchCodeEntry::Key::Left);
    entry.press(SearchCodeEntry::Key::Backspace);
    EXPECT_EQ(entry.cursor(), 0);
}

TEST(MatchHeader, TeamLinesAndTheDateLine) {
    const testing::CatalogueMessages texts("174=marzo\n");
    const Messages& messages = texts.messages;
    MatchCompanions match;
    match.MatchInfo[0] = "07/03/2026";
    match.MatchInfo[3] = " Serie A1 ";
    match.MatchInfo[4] = "Regular";
    match.MatchInfo[11] = "Citt\xE0";
    match.MatchInfo[15] = "Pallavolo Modena";
    match.MatchInfo[26] = "3";
    match.MatchInfo[19] = "Treviso";
    match.MatchInfo[27] = "1";
    const TextMeasure eightPixels = [](std::string_view text) { return static_cast<int>(text.size()) * 8; };
    const auto lines = matchHeaderLines(match, 120, eightPixels, {"dd/MM/yyyy", "HH:mm:ss", ":"}, messages);
    EXPECT_EQ(lines.home, "Pallavolo... 3");  // 100 pixels for the name: 76 for letters, then the dots
    EXPECT_EQ(lines.away, "Treviso 1");
    EXPECT_EQ(lines.date, "Serie A1, Regular, Città 7 marzo 2026");
    match.MatchInfo[3] = "";
    EXPECT_EQ(matchHeaderLines(match, 120, eightPixels, {}, messages).date, " Regular, Città 7 marzo 2026");
}

}  // namespace
}  // namespace corvane
