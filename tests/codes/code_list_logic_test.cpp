#include <gtest/gtest.h>

#include "codes/action_end.h"
#include "codes/code_description.h"
#include "codes/code_list_rules.h"

namespace corvane {
namespace {

// Rows of code, film, second.
CodeTable tableOf(const std::vector<std::array<std::string, 3>>& rows) {
    CodeTable table;
    for (const auto& [code, film, second] : rows) {
        CodeTable::Cells cells{};
        cells[Code] = code;
        cells[Film] = film;
        cells[VideoSec] = second;
        cells[SetNo] = "1";
        table.appendRow(cells);
    }
    return table;
}

TEST(PlayTarget, SubtractsThePreRollExceptInASynthesisAndHoldsAtZero) {
    const CodeTable table = tableOf({{"*07SM+", "1", "1"}, {"a12RM#", "2", "40"}});
    EXPECT_EQ(playTargetOf(table, 1, 2, false).second, 0);  // second 1, pre-roll 2
    EXPECT_EQ(playTargetOf(table, 2, 2, false).second, 38);
    EXPECT_EQ(playTargetOf(table, 2, 2, false).film, "2");
    EXPECT_EQ(playTargetOf(table, 2, 2, true).second, 40);
}

TEST(ActionCodes, NeedTeamPlayerSkillAndEvaluation) {
    for (const char* code : {"*07SM+", "a12AH#", "*$$F~!", "a00&x="}) EXPECT_TRUE(isActionCode(code)) << code;
    for (const char* code : {"*p05:07", ">ENDACT", "**1set", "*07XM+", "*07SM?", "b07SM+", "*x7SM+", "*07S"})
        EXPECT_FALSE(isActionCode(code)) << code;
}

TEST(SetCombo, ItemsAndTheFilterTextBySport) {
    EXPECT_EQ(setComboItems("1", "Tutti", "Suppl."), (std::vector<std::string>{"Tutti", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(setComboItems("2", "Tutti", "Suppl."), (std::vector<std::string>{"Tutti", "1", "2", "3", "4", "Suppl."}));
    EXPECT_EQ(setComboItems("3", "Tutti", "Suppl."), (std::vector<std::string>{"Tutti", "1", "2", "Suppl."}));
    EXPECT_EQ(setComboItems("A", "Tutti", "Suppl."), (std::vector<std::string>{"Tutti", "1", "2"}));

    EXPECT_EQ(SetFilterText({{"Tutti", true}, {"1", true}, {"2", false}, {"3", true}}, "1", "Suppl."), "1;3;");
    EXPECT_EQ(SetFilterText({{"Tutti", false}, {"1", false}}, "1", "Suppl."), "");
    EXPECT_EQ(SetFilterText({{"Tutti", false}, {"4", true}, {"Suppl.", true}}, "2", "Suppl."), "4;5;");
    EXPECT_EQ(SetFilterText({{"Tutti", false}, {"2", true}, {"Suppl.", true}}, "3", "Suppl."), "2;3;");
}

TEST(CodeListWidth, RawIsFixedClearTextAFifthOfTheScreenWithAMinimum) {
    EXPECT_EQ(codeListWidth(false, 1920, "1"), 173 + 52 + 27 + 20);
    EXPECT_EQ(codeListWidth(false, 1920, "2"), 140 + 51 + 30 + 20);
    EXPECT_EQ(codeListWidth(false, 800, "1"), 170);
    EXPECT_EQ(codeListWidth(true, 1920, "1"), 384);
    EXPECT_EQ(codeListWidth(true, 1024, "1"), 270);
    EXPECT_EQ(codeListWidth(true, 1024, "2"), 240);
}

struct Description : ::testing::Test {
    MatchCompanions match;
    EventTable events;
    CodeDescriptionSources sources{"1", match, events, "Fine azione"};

    void SetUp() override {
        match.MatchInfo[15] = "Pallavolo Modena";
        match.MatchInfo[19] = "Treviso";
        match.HomePlayers.records[1].slots[0] = "7";
        match.HomePlayers.records[1].slots[2] = "Rossi";
        match.HomePlayers.records[2].slots[0] = "9";
        match.HomePlayers.records[2].slots[2] = "Bianchi";
        match.AwayPlayers.records[1].slots[0] = "12";
        match.AwayPlayers.records[1].slots[2] = "Verdi";
        EventRecord attack;
        attack.code = "~~~AH";
        attack.description = "Attacco";
        attack.effects = "Errore;Murato;;;Positivo;Punto";
        attack.extensions = std::string("~~~~~~V5") + kExtensionTextSeparator + "Veloce" + kExtensionSeparator;
        events.records.push_back(attack);
    }
};

TEST_F(Description, NamesThePlayerTheEventItsEffectAndExtension) {
    // Home has two players: the team's short name comes first.
    EXPECT_EQ(DescribeCode("*07AH#", sources), "Pallavolo M, Rossi Attacco Punto");
    EXPECT_EQ(DescribeCode("a12AH=V5", sources), "Verdi Attacco Errore Veloce");
    EXPECT_EQ(DescribeCode("a12AH!X1", sources), "Verdi Attacco X1");  // a blank effect adds nothing
    EXPECT_EQ(DescribeCode("a12SQ+", sources), "Verdi SQ+");           // no event: the raw fields
    EXPECT_EQ(DescribeCode("a33AH+", sources), " Attacco Positivo");    // no such player
}

TEST_F(Description, SpecialRowsAndBlanks) {
    EXPECT_EQ(DescribeCode("   ", sources), "");
    EXPECT_EQ(DescribeCode("*p05:07  ", sources), "*p05:07");
    EXPECT_EQ(DescribeCode("*z1", sources), "*z1");
    EXPECT_EQ(DescribeCode("*ENDACT", sources), "Fine azione");
    EXPECT_EQ(DescribeCode(">Timeout Modena", sources), ">Timeout Modena");
    sources.sport = "2";
    EXPECT_EQ(DescribeCode("*p05", sources), " 5");  // other sports describe point rows like any code
}

// A rally: serve, reception, attack, point; then the next rally.
CodeTable rally() {
    return tableOf({{"*07SM+", "1", "10"},
                    {"a12RM#", "1", "11"},
                    {"a12AH#", "1", "13"},
                    {"ap00:01", "1", "14"},
                    {"a05SM+", "1", "30"},
                    {"*07RM-", "1", "31"}});
}

TEST(ActionEnd, AnUnfilteredListFollowsTheFilmCodeByCode) {
    const CodeTable table = rally();
    const std::vector<int> all{1, 2, 3, 4, 5, 6};
    ActionEndQuery query{table, all, 2, 12, false, true, false, 0};
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);  // row 3 starts at 13
    query.positionSeconds = 13;
    const auto decision = CheckActionEnd(query);
    EXPECT_EQ(decision.step, ActionEndStep::SelectNextRow);
    EXPECT_TRUE(decision.moveHighlightOnly);
    query.listRow = 6;
    query.positionSeconds = 100;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);  // the last code ends nothing
}

TEST(ActionEnd, AFilteredListPlaysToTheRallysEndLessTheOffset) {
    const CodeTable table = rally();
    const std::vector<int> attacks{3, 6};
    ActionEndQuery query{table, attacks, 1, 12, false, true, false, 1};
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);
    query.positionSeconds = 13;  // the point row at 14, less 1
    const auto decision = CheckActionEnd(query);
    EXPECT_EQ(decision.step, ActionEndStep::SelectNextRow);
    EXPECT_FALSE(decision.moveHighlightOnly);
    query.stopAtEnd = true;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Pause);
    query.listRow = 2;  // no rally end after row 6: the action runs on
    query.positionSeconds = 1000;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);
}

TEST(ActionEnd, ASynthesisEndsOneSecondAfterTheCodeAndMovesToTheNextAnalysis) {
    const CodeTable table = rally();
    const std::vector<int> chosen{2, 3};
    ActionEndQuery query{table, chosen, 1, 11, true, true, false, 0};
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);
    query.positionSeconds = 12;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::SelectNextRow);
    query.listRow = 2;
    query.positionSeconds = 14;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::NextAnalysis);
}

}  // namespace
}  // namespace corvane
