#include "stats/event_stats.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/files.h"
#include "support/test_support.h"

namespace corvane {
namespace {

MatchCompanions teams() {
    MatchCompanions match;
    match.MatchInfo[15] = "Aquile";
    match.MatchInfo[16] = "Bellini";
    match.MatchInfo[19] = "Lupi";
    match.MatchInfo[20] = "Gallo";
    return match;
}

EventStats read(const std::string& content) { return readEventStats(splitTextLines(content), teams()); }

std::vector<std::string> players(const std::vector<EventStatsRow>& rows) {
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.player);
    return names;
}

// Two events: FI with a total and three effects, TO with a total only.
const std::string kHeader = "[testata]\r\nFI|Tot$=$/$#;TO|Tot\r\n";
const std::string kHome = "[home]\r\n04;Bianchi;5;2;;3;1\r\n05;Esposito;;;;;\r\nSQ;Squadra;;;;;2\r\nTO;Totali;5;2;;3;3\r\n";
const std::string kOpponent = "[opponent]\r\n10;Moretti;4;4;;;\r\nSQ;Squadra;;;;;\r\nTO;Totali;4;4;;;\r\n";

TEST(EventStatsFile, DealsTheValuesColumnByColumn) {
    const auto stats = read("before any section\r\n" + kHeader + kHome + kOpponent + "[eventswithext]\r\nFI;TO\r\n");
    EXPECT_EQ(stats.homeTitle, "Aquile|Bellini");
    EXPECT_EQ(stats.opponentTitle, "Lupi|Gallo");
    EXPECT_EQ(stats.headers, (std::vector<std::string>{"FI|Tot$=$/$#", "TO|Tot"}));
    ASSERT_EQ(stats.home.size(), 4u);
    EXPECT_EQ(stats.home[0].player, "04-Bianchi");
    EXPECT_EQ(stats.home[0].cells, (std::vector<std::string>{"5;2;;3;", "1;"}));
    EXPECT_EQ(stats.home[2].cells[1], "2;");
    EXPECT_EQ(players(stats.opponent), (std::vector<std::string>{"10-Moretti", "SQ-Squadra", "TO-Totali"}));
    EXPECT_EQ(stats.eventsWithExtensions, (std::vector<std::string>{"FI", "TO"}));
    EXPECT_FALSE(stats.compact);
    EXPECT_TRUE(stats.problem.empty());
}

TEST(EventStatsFile, ALineEndingInsideAColumnEndsTheWholeReading) {
    // "06" stops two values into FI's four: nothing after it is read, not even the opponent.
    const auto stats = read(kHeader + "[home]\r\n04;Bianchi;5;2;;3;1\r\n06;Greco;1;1\r\n07;Romano;1;1;;;\r\n" + kOpponent);
    EXPECT_EQ(players(stats.home), (std::vector<std::string>{"04-Bianchi", "06-Greco"}));
    EXPECT_EQ(stats.home[1].cells, (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(stats.opponent.empty());
    EXPECT_NE(stats.problem.find("FI|Tot$=$/$#"), std::string::npos);

    // A line that simply stops at a column's start is whole; the columns after it stay empty.
    const auto shorter = read(kHeader + "[home]\r\n04;Bianchi;5;2;;3\r\n" + kOpponent);
    EXPECT_EQ(shorter.home[0].cells, (std::vector<std::string>{"5;2;;3;", ""}));
    EXPECT_EQ(shorter.opponent.size(), 3u);
}

TEST(EventStatsFile, OneRowASideIsTheCompactLayout) {
    const auto compact = read(kHeader + "[home]\r\nTO;Totali;5;2;;3;1\r\n[opponent]\r\nTO;Totali;4;4;;;\r\n");
    EXPECT_TRUE(compact.compact);
    EXPECT_EQ(compact.homeTitle, "");
    EXPECT_EQ(compact.opponentTitle, "");
    EXPECT_FALSE(read(kHeader + kHome + "[opponent]\r\nTO;Totali;4;4;;;\r\n").compact);
}

TEST(EventStatsFile, TheLargestHeaderIsReadWholeAndOneColumnMoreIsRefused) {
    const auto fileOf = [](int columns) {
        std::string header = "[testata]\r\n";
        std::string row = "[home]\r\n04;Bianchi";
        for (int i = 1; i <= columns; ++i) {
            header += (i > 1 ? ";E" : "E") + std::to_string(i) + "|T";
            row += ";" + std::to_string(i);
        }
        return header + "\r\n" + row + "\r\n";
    };
    const auto largest = read(fileOf(kMaxEventColumns));
    EXPECT_TRUE(largest.problem.empty()) << largest.problem;
    ASSERT_EQ(largest.headers.size(), static_cast<std::size_t>(kMaxEventColumns));
    ASSERT_EQ(largest.home.size(), 1u);
    EXPECT_EQ(largest.home[0].cells.back(), std::to_string(kMaxEventColumns) + ";");

    const auto tooMany = read(fileOf(kMaxEventColumns + 1));
    EXPECT_NE(tooMany.problem.find("more than 100 columns"), std::string::npos) << tooMany.problem;
    EXPECT_TRUE(tooMany.headers.empty());
    EXPECT_TRUE(tooMany.home.empty());

    // The same bound for the values of one column.
    const auto sevenValues = read("[testata]\r\nFI|a$b$c$d$e$f$g\r\n[home]\r\n04;B;1;2;3;4;5;6;7\r\n");
    EXPECT_TRUE(sevenValues.problem.empty()) << sevenValues.problem;
    ASSERT_EQ(sevenValues.home.size(), 1u);
    EXPECT_EQ(sevenValues.home[0].cells[0], "1;2;3;4;5;6;7;");
}

TEST(EventStatsFile, HostileFilesStopWithAReason) {
    testing::TempFolder folder;
    std::string manyColumns = "[testata]\r\n";
    for (int i = 0; i < 150; ++i) manyColumns += "E" + std::to_string(i) + "|T;";
    const struct {
        const char* what;
        std::string content;
        const char* reason;
    } cases[] = {
        {"many columns", manyColumns, "more than 100 columns"},
        {"many sub-columns", "[testata]\r\nFI|a$b$c$d$e$f$g$h\r\n", "more than 7 sub-columns"},
        {"a huge line", kHeader + "[home]\r\n04;" + std::string(3'000'000, 'x') + "\r\n", ""},
        {"binary garbage", std::string("[home]\r\n\0\xff\x01;\x80", 13) + "\r\n", ""},
        {"a number past INT_MAX", kHeader + "[home]\r\n" + std::to_string(LLONG_MAX) + ";x;1;1;1;1;1\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto stats = LoadEventStats(folder.write("Stat.txt", c.content), teams());
        EXPECT_NE(stats.problem.find(c.reason), std::string::npos) << stats.problem;
        AnalysisRecord record;
        for (int row = 0; row < static_cast<int>(stats.home.size()); ++row)
            for (int column = 0; column <= static_cast<int>(stats.headers.size()); ++column)
                eventStatisticsSearch(stats, {true, row, column, 1}, "2", record);
    }
    std::string rows = kHeader + "[home]\r\n";
    for (int i = 0; i < 600; ++i) rows += "04;B;1;1;1;1;1\r\n";
    EXPECT_EQ(read(rows).home.size(), static_cast<std::size_t>(kMaxStatsRows));
    const auto big = folder.write("Big.txt", kHeader + std::string(9u << 20, ';'));
    EXPECT_NE(LoadEventStats(big, teams()).problem.find("larger than"), std::string::npos);
    EXPECT_TRUE(LoadEventStats(folder / "missing.txt", teams()).home.empty());
}

TEST(EventStatsPruning, DropsBlankSubColumnsAndColumnsThatLoseEveryLabel) {
    // "/" is blank everywhere; AS is blank everywhere and the column after it, RO, loses its "="
    // too; XY has no "|" and stays as it is.
    auto stats = read(
        "[testata]\r\nFI|Tot$=$/$#;AS|Tot;RO|Tot$=;XY\r\n"
        "[home]\r\n04;Bianchi;5;2; ;3;;1;;1\r\nTO;Totali;5;2;;3;;1;;\r\n"
        "[opponent]\r\n10;Moretti;4;;;4;;;\r\n");
    PruneEmptySubColumns(stats);
    EXPECT_EQ(stats.headers, (std::vector<std::string>{"FI|Tot$=$#", "RO|Tot", "XY"}));
    EXPECT_EQ(stats.home[0].cells, (std::vector<std::string>{"5;2;3;", "1;", "1;"}));
    EXPECT_EQ(stats.home[1].cells, (std::vector<std::string>{"5;2;3;", "1;", ";"}));
    EXPECT_EQ(stats.opponent[0].cells, (std::vector<std::string>{"4;;4;", ";", ""}));  // XY got no field
}

struct ClickCase {
    const char* what;
    bool home;
    int row;
    int column;
    int subColumn;
    const char* sport;
    const char* pattern;  // "" when the cell is no click
};

TEST(EventStatsClick, BuildsTheSearchOfEveryKindOfCell) {
    auto stats = read("[testata]\r\nFI|Tot$=$/$#;TO|Tot\r\n"
                      "[home]\r\n04;Bianchi;5;2;1;3;1\r\n00;Nessuno;1;1;;;\r\n123;Lungo;1;1;;;\r\n"
                      "SQ;Squadra;;;;;2\r\nTO;Totali;5;2;;3;3\r\n"
                      "[opponent]\r\n10;Moretti;4;4;;;\r\n07;Corto;3;1;;2\r\nSQ;Squadra;;;;;\r\nTO;Totali;4;4;;;\r\n");
    ASSERT_EQ(stats.opponent[1].cells[1], "") << "Corto's line stops before the TO column";
    const ClickCase cases[] = {
        {"a player's effect", true, 0, 1, 3, "2", "*04FI#~~~~"},
        {"the overall sub-column leaves the effect open", true, 0, 1, 0, "2", "*04FI~~~~"},
        {"a gap leaves the effect open", true, 0, 1, -1, "2", "*04FI~~~~"},
        {"past the cell's values", true, 0, 2, 1, "2", "*04TO~~~~"},
        {"player 0 is every player", true, 1, 1, 1, "2", "*~~FI=~~~~"},
        {"the team row", true, 3, 1, 2, "2", "*$$FI/~~~~"},
        {"the team row with sport A reads the number", true, 3, 1, 2, "A", "*~~FI/~~~~"},
        {"the totals row", true, 4, 1, 3, "2", "*~~FI#~~~~"},
        {"the player column", true, 0, 0, -1, "2", "*04~~~~~~~"},
        {"the player column of the team row", true, 3, 0, -1, "2", "*$$~~~~~~~"},
        {"the player column of the totals row is every action of the side", true, 4, 0, -1, "2", "*~~~~~~~~~"},
        {"the opponent's totals row too", false, 3, 0, -1, "2", "a~~~~~~~~~"},
        {"a cell the line never reached is the event with every effect", false, 1, 2, 0, "2", "a07TO~~~~"},
        {"the same cell off its sub-columns", false, 1, 2, -1, "2", "a07TO~~~~"},
        {"a number past two positions is no click", true, 2, 1, 0, "2", ""},
        {"the opponent", false, 0, 1, 1, "2", "a10FI=~~~~"},
        {"a row past the table", false, 4, 1, 1, "2", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AnalysisRecord record;
        record[AnalysisRecord::folder] = "stale";
        const auto pattern = eventStatisticsSearch(stats, {c.home, c.row, c.column, c.subColumn}, c.sport, record);
        const std::string expected = c.pattern;
        if (expected.empty()) {
            EXPECT_FALSE(pattern);
            continue;
        }
        ASSERT_TRUE(pattern);
        EXPECT_EQ(*pattern, expected);
        EXPECT_EQ(record[AnalysisRecord::main_code], expected);
        EXPECT_EQ(record[AnalysisRecord::team], c.home ? "0" : "1");
        EXPECT_EQ(record[AnalysisRecord::seconds_prev], "2");
        EXPECT_EQ(record[AnalysisRecord::play_end_rally], "1");
        EXPECT_EQ(record[AnalysisRecord::folder], "");
    }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// The sports read deciphered are told by their first character, so a longer "A" text is the
// same sport as "A" and its team row has no "$$" either.
TEST(EventStatsClick, TheTeamRowOfEverySportTextBeginningWithA) {
    const std::vector<EventStatsRow> rows{{"05-Galli", {}}, {"SQ-Squadra", {}}, {"TO-Totali", {}}};
    const struct {
        const char* sport;
        const char* teamRow;
    } cases[] = {{"A", "~~"}, {"AB", "~~"}, {"2", "$$"}, {"3", "$$"}, {"1", "$$"}, {"B", "$$"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sport);
        EXPECT_EQ(eventPlayerPart(rows, 1, c.sport), std::optional<std::string>(c.teamRow));
    }
}

}  // namespace
}  // namespace corvane
