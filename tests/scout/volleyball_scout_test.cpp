#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scout/scout_readers.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using corvane::testing::fixture;
using corvane::testing::TempFolder;

std::vector<std::string> rowCells(const CodeTable& table, int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < CodeTable::kColumns; ++column) cells.emplace_back(table.Cell(column, row));
    return cells;
}

class VolleyballScoutTest : public ::testing::Test {
protected:
    bool read(const std::filesystem::path& file, bool synthesisMode = false) {
        return ReadScoutFile(file, synthesisMode, {table, match}, formats);
    }
    // Reads a file of the given lines (CR LF ends).
    bool readLines(const std::vector<std::string>& lines, bool synthesisMode = false) {
        std::string content;
        for (const auto& line : lines) content += line + "\r\n";
        return read(folder.write("scout.dvw", content), synthesisMode);
    }
    std::string_view info(int slot) const { return match.MatchInfo[static_cast<std::size_t>(slot)]; }
    std::string_view score(int row) const { return table.Cell(CodeColumn::Score, row); }

    TempFolder folder;
    LocaleFormats formats;  // dd/MM/yyyy, HH:mm:ss
    CodeTable table;
    MatchCompanions match;
};

TEST_F(VolleyballScoutTest, CodeRowsCarryTheTransformedFields) {
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    // Twelve code lines: one holds brackets and one is empty, neither is a code.
    ASSERT_EQ(table.RowCount(), 11);

    EXPECT_EQ(rowCells(table, 1),
              (std::vector<std::string>{"*06SH+   81C        ", "s", "t", "u", "v", "w", "x", "13.45.12", "1", "9",
                                        "10", "1", "100", "13", " 0 :  0"}));
    EXPECT_EQ(table.Cell(CodeColumn::Code, 4), "*13AT#X5ABCDEFGHIJKL");  // 25 characters cut to 20
    EXPECT_EQ(table.Cell(CodeColumn::Code, 5), "a05                 ");  // 3 padded to 20
    EXPECT_EQ(table.Cell(CodeColumn::Code, 6), "ap24:25             ");  // "*07SQ-;[note]..." skipped

    // Twelve fields: film is the last one read, the time and column 13 stay empty.
    EXPECT_EQ(table.Cell(CodeColumn::Code, 9), "a07SM+              ");
    EXPECT_EQ(table.Cell(CodeColumn::Film, 9), "2");
    EXPECT_EQ(table.Cell(CodeColumn::VideoSec, 9), "");
    EXPECT_EQ(table.Cell(13, 9), "");
    EXPECT_EQ(table.Cell(CodeColumn::Clock, 9), "13.51.00");
}

TEST_F(VolleyballScoutTest, RunningScoreFollowsPointAndSetEndCodes) {
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    const std::vector<std::string> expected{
        " 0 :  0",  // before any point
        " 5 :  7",  // *p05:07 on its own row
        " 5 :  7", " 5 :  7", " 5 :  7",  // and on the rows that follow
        "24 : 25",  // ap24:25
        "24 : 25",  // the set end still shows the set's final score
        " 0 :  0",  // the row after the set end
        " 0 :  0",
        " 3 :  9",  // "*p 3:9x": blanks skipped, reading stops at the first non-digit
    };
    for (int row = 1; row < table.RowCount(); ++row)
        EXPECT_EQ(score(row), expected[static_cast<std::size_t>(row - 1)]) << "row " << row;
}

TEST_F(VolleyballScoutTest, MatchCompanionsFilledFromTheirSections) {
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    // Line 2's third field, a day count, replaces the date of line 1.
    EXPECT_EQ(info(0), "15/03/2024 18:00:00");
    for (int slot = 1; slot <= 7; ++slot) EXPECT_FALSE(info(slot).empty()) << slot;
    EXPECT_EQ(info(3), "Serie A1");
    EXPECT_EQ(info(7), "League");
    EXPECT_EQ(info(60), "ALPHA");
    EXPECT_EQ(info(61), "BETA");

    // Teams: sets won is the third field; the third team line is surplus.
    EXPECT_EQ(info(14), "HOM");
    EXPECT_EQ(info(15), "Home Volley");
    EXPECT_EQ(info(26), "3");
    EXPECT_EQ(info(16), "Coach H");
    EXPECT_EQ(info(17), "Assistant H");
    EXPECT_EQ(info(18), "VIS");
    EXPECT_EQ(info(19), "Visitors Club");
    EXPECT_EQ(info(27), "1");
    EXPECT_EQ(info(20), "Coach V");
    EXPECT_EQ(info(21), "Assistant V");

    EXPECT_EQ(info(8), "Referee A, Referee B");
    EXPECT_EQ(info(13), "Scout Person");

    // The last comment line wins; the one holding brackets is no record.
    EXPECT_EQ(info(22), "final comment");
    EXPECT_EQ(info(23), "line2");
    EXPECT_EQ(info(24), "");
    EXPECT_EQ(info(25), "last");

    EXPECT_EQ(info(30), "True");
    EXPECT_EQ(info(31), "8-6");
    EXPECT_EQ(info(35), "28");
    EXPECT_EQ(info(36), "True");
    EXPECT_EQ(info(41), "26");
    EXPECT_EQ(info(42), "False");
    EXPECT_EQ(info(54), "False");
    EXPECT_EQ(info(28), "");
    EXPECT_EQ(info(29), "");

    EXPECT_FALSE(match.HasMatchesData);
    EXPECT_EQ(match.MatchesCount, 0);
}

TEST_F(VolleyballScoutTest, PlayerLinesAreReordered) {
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    const auto& rossi = match.HomePlayers.records[1].slots;
    EXPECT_EQ(rossi[0], "7");
    EXPECT_EQ(rossi[1], "ROSSI-M");
    EXPECT_EQ(rossi[2], "Mario Rossi");
    EXPECT_EQ(rossi[3], "0");
    for (int slot = 4; slot <= 9; ++slot) EXPECT_EQ(rossi[static_cast<std::size_t>(slot)], std::to_string(slot - 2));
    // Slots 10 to 23 from the same fields; fields 24 and 25 have no slot.
    for (int slot = 10; slot <= 23; ++slot) EXPECT_EQ(rossi[static_cast<std::size_t>(slot)], std::to_string(slot));

    // The empty line between the two players is no record.
    EXPECT_EQ(match.HomePlayers.records[2].slots[2], "Luca Bianchi");
    EXPECT_TRUE(match.HomePlayers.records[3].empty());
    EXPECT_EQ(match.AwayPlayers.records[1].slots[0], "9");
    EXPECT_EQ(match.AwayPlayers.records[1].slots[2], "Paolo Verdi");
    EXPECT_EQ(PlayerLabel("a09SM+", match, "1"), "9 - Paolo Verdi");
}

TEST_F(VolleyballScoutTest, SectionOrderAndRepeatedHeadersDoNotChangeWhatIsRead) {
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    const CodeTable usualTable = table;
    const MatchCompanions usualMatch = match;

    // Other order, LF ends, the set and scout sections each split by a repeated header.
    ASSERT_TRUE(read(fixture("scout/volleyball_reordered.dvw")));
    ASSERT_EQ(table.RowCount(), usualTable.RowCount());
    for (int row = 1; row < table.RowCount(); ++row) EXPECT_EQ(rowCells(table, row), rowCells(usualTable, row));
    EXPECT_EQ(match.MatchInfo, usualMatch.MatchInfo);
    for (int n = 1; n <= TeamPlayers::kRecords; ++n) {
        EXPECT_EQ(match.HomePlayers.records[n].slots, usualMatch.HomePlayers.records[n].slots) << n;
        EXPECT_EQ(match.AwayPlayers.records[n].slots, usualMatch.AwayPlayers.records[n].slots) << n;
    }
}

TEST_F(VolleyballScoutTest, SynthesisTakesColumn14FromTheLineAndReadsTheMatches) {
    const auto file = fixture("scout/volleyball_synthesis.dvw");
    ASSERT_TRUE(read(file, true));
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(score(1), "5-3");
    EXPECT_EQ(score(2), "6-3");  // a point code writes no score
    EXPECT_EQ(score(3), "");     // the line has no field 14
    EXPECT_EQ(table.Cell(CodeColumn::Clock, 3), "2");  // the analysis number

    EXPECT_TRUE(match.HasMatchesData);
    ASSERT_EQ(match.MatchesCount, 2);
    EXPECT_EQ(match.MatchesData[1].slots[2], "HOM");
    EXPECT_EQ(match.MatchesData[2].slots[3], "OTH");
    EXPECT_EQ(match.MatchesData[2].slots[8], "x");

    ASSERT_TRUE(read(file, false));
    EXPECT_EQ(score(1), " 0 :  0");
    EXPECT_EQ(score(2), " 6 :  3");
}

TEST_F(VolleyballScoutTest, FileWithoutCodesLeavesOnlyTheHeaderRow) {
    ASSERT_TRUE(read(fixture("scout/volleyball_no_codes.dvw")));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(info(3), "Serie A1");
}

TEST_F(VolleyballScoutTest, MissingFileEmptiesEverythingOfTheEarlierPackage) {
    ASSERT_TRUE(read(fixture("scout/volleyball_synthesis.dvw"), true));
    ASSERT_TRUE(read(fixture("scout/volleyball_match.dvw")));
    ASSERT_GT(table.RowCount(), 1);

    EXPECT_FALSE(read(folder / "absent.dvw"));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(match.MatchInfo, MatchCompanions().MatchInfo);
    EXPECT_FALSE(match.HomePlayers.hasAnyPlayer());
    EXPECT_FALSE(match.AwayPlayers.hasAnyPlayer());
    EXPECT_FALSE(match.HasMatchesData);
    EXPECT_EQ(match.MatchesCount, 0);
    EXPECT_TRUE(match.MatchesData[1].slots[2].empty());
}

TEST_F(VolleyballScoutTest, SecondMatchLineDate) {
    struct Case {
        std::string line2;
        std::string date;
    };
    const std::vector<Case> cases{
        {"A;B;45366.5", "15/03/2024 12:00:00"},
        {"A;B;45366", "15/03/2024"},         // midnight leaves the time out
        {"A;B;2024-03-15", "2024-03-15"},   // already a date: as it stands
        {"A;B;", "01/02/2024"},             // two fields: line 1's date stays
        {"A;B;;x", "01/02/2024"},           // an empty third field too
        {"A;B;not a number", "30/12/1899"},  // reads as day 0
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(readLines({"[3MATCH]", "01/02/2024;20.30.00", c.line2}));
        EXPECT_EQ(info(0), c.date) << c.line2;
        EXPECT_EQ(info(60), "A");
        EXPECT_EQ(info(61), "B");
    }
}

TEST_F(VolleyballScoutTest, HeaderRecognition) {
    ASSERT_TRUE(readLines({
        "*06SH+;;;;;;;10:00:00;1",       // before any header: ignored
        "  [3SCOUT]  ",                   // blanks around a header are trimmed
        "a01SM+;;;;;;;10:00:01;1",
        "[3scout]",                       // case matters: an unknown header, no record, section kept
        "a02SM+;;;;;;;10:00:02;1",
        "[3COMMENTS]x",                   // not a header of its own, still no record
        "a03SM+;;;;;;;10:00:03;1",
        "a04SM+ ] [;;;;;;;10:00:04;1",    // brackets anywhere make a header line
        "[3COMMENTS]",
        "a05SM+;;;;;;;10:00:05;1",        // now a comment, not a code
    }));
    ASSERT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.Cell(CodeColumn::Code, 1).substr(0, 6), "a01SM+");
    EXPECT_EQ(table.Cell(CodeColumn::Code, 2).substr(0, 6), "a02SM+");
    EXPECT_EQ(table.Cell(CodeColumn::Code, 3).substr(0, 6), "a03SM+");
    EXPECT_EQ(info(22), "a05SM+");
}

TEST_F(VolleyballScoutTest, CommentLineEndsBecomeMarkers) {
    // Only LF ends a line, so a lone CR stays in a comment's text.
    ASSERT_TRUE(read(folder.write("scout.dvw", "[3COMMENTS]\r\nfirst\rsecond;b\r\n")));
    EXPECT_EQ(info(22), "first\xE7second");
    EXPECT_EQ(info(23), "b");
}

TEST_F(VolleyballScoutTest, SurplusRecordsAreDropped) {
    std::vector<std::string> lines{"[3PLAYERS-H]"};
    for (int n = 1; n <= 101; ++n) lines.push_back("0;" + std::to_string(n) + ";;;;;;;ID;Player " + std::to_string(n));
    lines.push_back("[3MATCHES_DATA]");
    for (int n = 1; n <= 52; ++n) lines.push_back(std::to_string(n) + ";match");
    lines.push_back("[3SCOUT]");
    lines.push_back("*06SH+;;;;;;;10:00:00;1");
    ASSERT_TRUE(readLines(lines));

    EXPECT_EQ(match.HomePlayers.records[99].slots[2], "Player 99");
    EXPECT_EQ(match.MatchesCount, 50);
    EXPECT_EQ(match.MatchesData[50].slots[0], "50");
    EXPECT_EQ(table.RowCount(), 2);  // the reading went on after the surplus
}

TEST_F(VolleyballScoutTest, ShortAndOddCodeLines) {
    ASSERT_TRUE(readLines({"[3SCOUT]", ";", "*p", "*p7", "**", "a~~~~"}));
    ASSERT_EQ(table.RowCount(), 6);
    EXPECT_EQ(rowCells(table, 1), (std::vector<std::string>{std::string(20, ' '), "", "", "", "", "", "", "", "",
                                                             "", "", "", "", "", " 0 :  0"}));
    EXPECT_EQ(score(2), " 0 :  0");  // a point code without digits reads 0 : 0
    EXPECT_EQ(score(3), " 7 :  0");
    EXPECT_EQ(score(4), " 7 :  0");
    EXPECT_EQ(table.Cell(CodeColumn::Code, 5), "a" + std::string(19, ' '));
    EXPECT_EQ(score(5), " 0 :  0");
}

}  // namespace
}  // namespace corvane
