#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scout/line_cipher.h"
#include "scout/scout_readers.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using corvane::testing::fixture;
using corvane::testing::readFile;
using corvane::testing::TempFolder;

struct CodeRow {
    std::string code, set, analysis, film, second, column14;
    bool operator==(const CodeRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const CodeRow& row) {
    return out << '[' << row.code << '|' << row.set << '|' << row.analysis << '|' << row.film << '|' << row.second
               << '|' << row.column14 << ']';
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    return content;
}

class LowerCaseScoutTest : public ::testing::Test {
protected:
    bool read(const std::filesystem::path& file, bool decipher = false) {
        return ReadLowerCaseScout(file, decipher, {table, match});
    }
    bool readLines(const std::vector<std::string>& lines, bool decipher = false) {
        return read(folder.write("package/scout.txt", joinLines(lines)), decipher);
    }
    CodeRow row(int n) const {
        return {std::string(table.Cell(CodeColumn::Code, n)),     std::string(table.Cell(CodeColumn::SetNo, n)),
                std::string(table.Cell(CodeColumn::Clock, n)),    std::string(table.Cell(CodeColumn::Film, n)),
                std::string(table.Cell(CodeColumn::VideoSec, n)), std::string(table.Cell(CodeColumn::Score, n))};
    }
    std::vector<CodeRow> rows() const {
        std::vector<CodeRow> all;
        for (int n = 1; n < table.RowCount(); ++n) all.push_back(row(n));
        return all;
    }
    std::string_view info(int slot) const { return match.MatchInfo[static_cast<std::size_t>(slot)]; }
    const PlayerRecord& home(int n) const { return match.HomePlayers.records[static_cast<std::size_t>(n)]; }
    const PlayerRecord& away(int n) const { return match.AwayPlayers.records[static_cast<std::size_t>(n)]; }

    TempFolder folder;
    CodeTable table;
    MatchCompanions match;
};

TEST_F(LowerCaseScoutTest, CodeLinesFillTheirColumns) {
    ASSERT_TRUE(read(fixture("scout/lower_case_sport2.txt")));
    EXPECT_EQ(rows(), (std::vector<CodeRow>{
                          {"*04TIR", "1", "2", "3", "35", " six "},  // trimmed but for the sixth field
                          {"*05ASS", "2", "3", "", "", ""},          // three fields: no film, no second
                          {"[note]", "", "", "", "", ""},            // unread brackets are a code here
                          {"a07REB", "2", "1", "1", "90", "extra"},
                      }));
    // The columns the other format fills stay empty.
    for (int column : {1, 2, 3, 4, 5, 6, 9, 10, 13}) EXPECT_EQ(table.Cell(column, 4), "") << column;
}

TEST_F(LowerCaseScoutTest, HeaderPassReadsMatchAndTeams) {
    ASSERT_TRUE(read(fixture("scout/lower_case_sport2.txt")));
    // "[Match]" in capitals; its own line gives way to the title, the empty line to the match data.
    EXPECT_EQ(info(0), "15/03/2024");
    EXPECT_EQ(info(3), "League");
    EXPECT_EQ(info(7), "Friendly");
    // Team lines: coach and assistant are fields 2 and 3, sets won field 4.
    EXPECT_EQ(info(14), "HOM");
    EXPECT_EQ(info(15), "Home Basket");
    EXPECT_EQ(info(16), "Coach H");
    EXPECT_EQ(info(17), "Assistant H");
    EXPECT_EQ(info(26), "2");
    EXPECT_EQ(info(18), "VIS");
    EXPECT_EQ(info(19), "Visitors");
    EXPECT_EQ(info(20), "Coach V");
    EXPECT_EQ(info(21), "Assistant V");
    EXPECT_EQ(info(27), "1");
    EXPECT_EQ(info(8), "Referee");
    EXPECT_EQ(info(13), "Scouter");
    EXPECT_EQ(info(22), "comment one");
    EXPECT_EQ(info(25), "four");

    // Player fields keep their order.
    EXPECT_EQ(home(1).slots[0], "4");
    EXPECT_EQ(home(1).slots[1], "x");
    EXPECT_EQ(home(1).slots[2], "Rossi Mario");
    EXPECT_EQ(home(1).slots[3], "g");
    EXPECT_EQ(home(2).slots[2], "Bianchi Luca");
    EXPECT_TRUE(home(3).empty());
    EXPECT_EQ(away(1).slots[2], "Verdi Paolo");
    EXPECT_EQ(PlayerLabel("a07REB", match, "2"), "7 - Verdi Paolo");
}

TEST_F(LowerCaseScoutTest, MatchesDataCountsEveryLine) {
    ASSERT_TRUE(read(fixture("scout/lower_case_sport2.txt")));
    EXPECT_TRUE(match.HasMatchesData);
    ASSERT_EQ(match.MatchesCount, 3);
    EXPECT_EQ(match.MatchesData[1].slots[3], "VIS");
    EXPECT_EQ(match.MatchesData[2].slots, MatchRecord().slots);  // the empty line
    EXPECT_EQ(match.MatchesData[3].slots[6], "Milano");
}

TEST_F(LowerCaseScoutTest, SecondReadingKeepsNothingOfTheFirst) {
    ASSERT_TRUE(read(fixture("scout/lower_case_sport2.txt")));
    ASSERT_TRUE(readLines({"[match]", "title", "x;y", "[scout]", "*01TIR;1;1;1;5", "[matches_data]", "9;only"}));
    EXPECT_EQ(match.MatchesCount, 1);
    EXPECT_EQ(match.MatchesData[1].slots[0], "9");
    EXPECT_EQ(match.MatchesData[1].slots[3], "");
    EXPECT_EQ(match.MatchesData[3].slots, MatchRecord().slots);
    EXPECT_FALSE(match.HomePlayers.hasAnyPlayer());
    EXPECT_EQ(info(14), "");
    ASSERT_EQ(table.RowCount(), 2);

    ASSERT_TRUE(read(fixture("scout/lower_case_one_code.txt")));
    EXPECT_FALSE(match.HasMatchesData);
    EXPECT_EQ(match.MatchesCount, 0);
    EXPECT_EQ(match.MatchesData[1].slots[0], "");

    EXPECT_FALSE(read(folder / "absent.txt"));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(info(3), "");
}

TEST_F(LowerCaseScoutTest, ExactlyOneCodeLine) {
    // Upper-case headers and LF ends.
    ASSERT_TRUE(read(fixture("scout/lower_case_one_code.txt")));
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(row(1), (CodeRow{"*08TIR", "1", "2", "1", "12", ""}));
    EXPECT_EQ(info(3), "Cup");
}

TEST_F(LowerCaseScoutTest, FirstLineIsSkippedUnreadWithoutDeciphering) {
    // The code pass never sees the "[scout]" header, and the header pass stops at it.
    ASSERT_TRUE(read(fixture("scout/lower_case_starts_with_scout.txt"), false));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(match.MatchInfo, MatchCompanions().MatchInfo);

    // The header pass, unlike the code pass, reads the first line: "[Match]" opens the match.
    ASSERT_TRUE(readLines({"[Match]", "Title", "15/03/2024;18:00", "[scout]", "*01TIR;1;1;1;5"}, false));
    EXPECT_EQ(info(1), "18:00");
    EXPECT_EQ(table.RowCount(), 2);
}

TEST_F(LowerCaseScoutTest, ShortCodeLines) {
    ASSERT_TRUE(readLines({"[match]", "[scout]", "*09FAL;1", "*10FAL", "*11FAL;;", ";;;;;", "[SCOUT] again"}));
    EXPECT_EQ(rows(), (std::vector<CodeRow>{
                          {"*09FAL", "1", "", "", "", ""},
                          {"*10FAL", "", "", "", "", ""},
                          {"*11FAL", "", "", "", "", ""},
                          {"", "", "", "", "", ""},  // fields, all empty: still a code line
                      }));
}

TEST_F(LowerCaseScoutTest, HeaderPassLineQuirks) {
    ASSERT_TRUE(readLines({
        "[match]",
        "a title; with a field",  // line 1 all the same
        "",                       // no ";": the next line takes its place
        "15/03/2024;18:00",
        "HOM;Home",
        "VIS;Away",
        "Referee;1",
        "a comment without fields",  // gives way to the header below ...
        "[hometeam]",                // ... which still opens the team
        "4;x;Rossi",
        "",
        "  [HOMETEAM]  ",  // the team's own header again: no player
        "6;x;Neri",
        "[oppteam]",
        "7;x;Verdi",
        "[matches_data]",  // unknown to the header pass: a player line
        "[scout]",
        "8;x;ignored",
    }));
    EXPECT_EQ(info(0), "15/03/2024");
    EXPECT_EQ(info(14), "HOM");
    EXPECT_EQ(info(19), "Away");
    EXPECT_EQ(info(8), "Referee");
    EXPECT_EQ(info(22), "");
    EXPECT_EQ(home(1).slots[2], "Rossi");
    EXPECT_TRUE(home(2).empty());  // an empty line is an empty player record
    EXPECT_EQ(home(3).slots[2], "Neri");
    EXPECT_EQ(away(1).slots[2], "Verdi");
    EXPECT_EQ(away(2).slots[0], "[matches_data]");
    EXPECT_TRUE(away(3).empty());
}

TEST_F(LowerCaseScoutTest, ReadMatchSectionAlone) {
    ReadMatchSection(fixture("scout/lower_case_sport2.txt"), match);
    EXPECT_EQ(info(15), "Home Basket");
    EXPECT_EQ(home(2).slots[0], "5");
    ReadMatchSection(folder / "absent.txt", match);
    EXPECT_EQ(info(15), "");
}

TEST_F(LowerCaseScoutTest, SurplusPlayersAndMatchesAreDropped) {
    std::vector<std::string> lines{"[match]", "[hometeam]"};
    for (int n = 1; n <= 101; ++n) lines.push_back(std::to_string(n) + ";;P" + std::to_string(n));
    lines.push_back("[scout]");
    lines.push_back("*01TIR;1;1;1;5");
    lines.push_back("[matches_data]");
    for (int n = 1; n <= 52; ++n) lines.push_back(std::to_string(n));
    ASSERT_TRUE(readLines(lines, true));
    EXPECT_EQ(home(99).slots[2], "P99");
    EXPECT_EQ(match.MatchesCount, 50);
    EXPECT_EQ(match.MatchesData[50].slots[0], "50");
    EXPECT_EQ(table.RowCount(), 2);
}

// The lines of a plain scout file; read with deciphering, a bracketed line in the codes is skipped.
const std::vector<std::string> kPlainLines{
    "[Match]", "Title", "16/03/2024;20:00;2023/24;Cup", "HOM;Home;Coach;Assistant;3", "VIS;Away;C;A;0",
    "[hometeam]", "4;x;Rossi", "[oppteam]", "7;x;Verdi", "[scout]", "*04TIR;1;1;1;35", "[note]", "", "a07REB;1;2;1;40;s",
};

TEST_F(LowerCaseScoutTest, PlainFileWithDecipherFlagIsReadDirectly) {
    ASSERT_TRUE(readLines(kPlainLines, true));
    EXPECT_EQ(rows(), (std::vector<CodeRow>{{"*04TIR", "1", "1", "1", "35", ""}, {"a07REB", "1", "2", "1", "40", "s"}}));
    EXPECT_EQ(home(1).slots[2], "Rossi");
    EXPECT_EQ(away(1).slots[2], "Verdi");
    EXPECT_EQ(info(26), "3");

    // Without the flag the same bracketed line is a code.
    ASSERT_TRUE(readLines(kPlainLines, false));
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(row(2).code, "[note]");
}

class EncipheredScoutTest : public LowerCaseScoutTest {
protected:
    std::filesystem::path writeEnciphered() {
        std::vector<std::string> lines;
        std::uint8_t seed = 1;
        for (const std::string& plain : kPlainLines) {
            const std::array<std::uint8_t, 8> iv{seed, 2, 3, 4, 5, 6, 7, static_cast<std::uint8_t>(seed * 3)};
            lines.push_back(plain.empty() ? std::string() : EncipherLine(plain, iv));
            ++seed;
        }
        lines.insert(lines.end() - 1, "!not Base64!");  // a line that fails arrives empty
        return folder.write("package/scout.txt", joinLines(lines));
    }
    void expectPlainContentRead() {
        EXPECT_EQ(rows(),
                  (std::vector<CodeRow>{{"*04TIR", "1", "1", "1", "35", ""}, {"a07REB", "1", "2", "1", "40", "s"}}));
        EXPECT_EQ(info(15), "Home");
        EXPECT_EQ(info(26), "3");
        EXPECT_EQ(home(1).slots[2], "Rossi");
        EXPECT_EQ(away(1).slots[2], "Verdi");
    }
};

// The cipher keeps a package's scouting private: the plain lines are read in memory and no copy
// is left in the package folder or anywhere else.
TEST_F(EncipheredScoutTest, ReadsThePlainLinesInMemoryAndWritesNothing) {
    const auto file = writeEnciphered();
    const auto before = testing::snapshot(folder.path());
    ASSERT_TRUE(read(file, true));
    expectPlainContentRead();
    EXPECT_EQ(testing::differences(before, testing::snapshot(folder.path())), "");
}

TEST_F(EncipheredScoutTest, WithoutTheFlagTheCipherTextIsNotRead) {
    ASSERT_TRUE(read(writeEnciphered(), false));
    EXPECT_EQ(table.RowCount(), 1);
}

}  // namespace
}  // namespace corvane
