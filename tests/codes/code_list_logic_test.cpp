#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "codes/action_end.h"
#include "codes/code_description.h"
#include "codes/code_list_rules.h"
#include "codes/code_rows.h"

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
    EXPECT_EQ(playTargetOf(table, 1, 2, false)->second, 0);  // second 1, pre-roll 2
    EXPECT_EQ(playTargetOf(table, 2, 2, false)->second, 38);
    EXPECT_EQ(playTargetOf(table, 2, 2, false)->film, "2");
    EXPECT_EQ(playTargetOf(table, 2, 2, true)->second, 40);
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
    MatchCompanions match = testing::describedPlayers();
    EventTable events;
    CodeDescriptionSources sources{"1", match, events, "Fine azione"};

    void SetUp() override {
        EventRecord attack;
        attack.code = "~~~AH";
        attack.description = "Attacco";
        attack.effects = "Errore;Murato;;;Positivo;Punto";
        attack.extensions = std::string("~~~~~~V5") + kExtensionTextSeparator + "Veloce" + kExtensionSeparator;
        events = EventTable({attack});
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

TEST_F(Description, PartsSayWhoWhatHowAndTheRest) {
    const CodeDescriptionParts home = DescribeCodeParts("*07AH#", sources);
    EXPECT_EQ(home.team, "Pallavolo M");
    EXPECT_EQ(home.player, "Rossi");
    EXPECT_EQ(home.shirtNumber, "7");  // as the player list writes it, not the code
    EXPECT_EQ(home.event, "Attacco");
    EXPECT_EQ(home.effect, "Punto");
    EXPECT_EQ(home.rest, "");
    const CodeDescriptionParts away = DescribeCodeParts("a12AH=V5", sources);
    EXPECT_EQ(away.team, "");  // one player on that side: no team before the name
    EXPECT_EQ(away.effect, "Errore");
    EXPECT_EQ(away.rest, " Veloce");
    EXPECT_EQ(DescribeCodeParts("a12AH!X1", sources).effect, "");
    EXPECT_EQ(DescribeCodeParts("a12SQ+", sources).event, "SQ+");
    EXPECT_EQ(DescribeCodeParts("*ENDACT", sources).whole, "Fine azione");
    EXPECT_EQ(DescribeCodeParts(">Timeout Modena", sources).whole, ">Timeout Modena");
    EXPECT_EQ(DescribeCodeParts("a33AH+", sources).player, "");
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

TEST(ActionEnd, AFilteredListEndsAtAnEndOfActionRowOrAPointRowAfterTheSelectedOne) {
    // Rally ends written both ways: a seven-character end-of-action row and point rows.
    const CodeTable table = tableOf({{"*07SM+", "1", "10"},
                                     {"a12AH#", "1", "13"},
                                     {"*ENDACT", "1", "16"},
                                     {"a05SM+", "1", "30"},
                                     {"*p01:00", "1", "33"},
                                     {"*07AH#", "1", "40"},
                                     {"ap01:01", "1", "44"}});
    const std::vector<int> attacks{2, 6};
    const std::vector<int> points{5, 7};  // each selected row itself ends a rally
    struct Case {
        const char* what;
        const std::vector<int>& list;
        int listRow, position;
        ActionEndStep expected;
    };
    const Case cases[] = {
        {"before the end-of-action row", attacks, 1, 15, ActionEndStep::Nothing},
        {"at the end-of-action row", attacks, 1, 16, ActionEndStep::SelectNextRow},
        {"a point row: its own second ends nothing", points, 1, 33, ActionEndStep::Nothing},
        {"a point row: the next point row ends it", points, 1, 44, ActionEndStep::SelectNextRow},
    };
    for (const Case& c : cases) {
        const ActionEndQuery query{table, c.list, c.listRow, c.position, false, true, false, 0};
        EXPECT_EQ(CheckActionEnd(query).step, c.expected) << c.what;
    }
    EXPECT_EQ(listActionEnd(table, attacks, 1, false, 0).second, 16);
    EXPECT_EQ(listActionEnd(table, points, 1, false, 0).second, 44);
}

TEST(ActionEnd, ASynthesisActionLastsUntilTheNextCodeOfTheTableLessTheOffset) {
    // A synthesis film: its actions follow each other; the list holds two of them.
    const CodeTable table = tableOf({{"*07SM+", "1", "0"},
                                     {"a12AH#", "1", "8"},
                                     {"*09AH#", "1", "17"},
                                     {"*07BM#", "1", "25"},
                                     {"a05AH#", "2", "3"}});
    const std::vector<int> chosen{2, 3};
    ActionEndQuery query{table, chosen, 1, 15, true, true, false, 1};
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing);  // row 3 starts at 17, less 1
    query.positionSeconds = 16;
    const auto decision = CheckActionEnd(query);
    EXPECT_EQ(decision.step, ActionEndStep::SelectNextRow);
    EXPECT_EQ(decision.nextListRow, 2);
    EXPECT_FALSE(decision.moveHighlightOnly);
    query.stopAtEnd = true;
    EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Pause);

    // The analysis's last code: the next code of the table still ends it.
    ActionEndQuery last{table, chosen, 2, 23, true, true, false, 1};
    EXPECT_EQ(CheckActionEnd(last).step, ActionEndStep::Nothing);
    last.positionSeconds = 24;
    EXPECT_EQ(CheckActionEnd(last).step, ActionEndStep::NextAnalysis);
}

TEST(ActionEnd, ASynthesisFilmsLastCodeRunsToTheEndOfTheFilm) {
    const CodeTable table = tableOf({{"a12AH#", "1", "8"}, {"*07BM#", "1", "25"}, {"a05AH#", "2", "3"}});
    for (const std::vector<int>& chosen : {std::vector<int>{2}, std::vector<int>{3}}) {
        ActionEndQuery query{table, chosen, 1, 5000, true, true, false, 0};
        EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::Nothing) << chosen.front();
        query.atFilmEnd = true;
        EXPECT_EQ(CheckActionEnd(query).step, ActionEndStep::NextAnalysis) << chosen.front();
    }
}

TEST(ActionEnd, AFollowingListCatchesUpWithTheFilmInOneCheck) {
    // Codes closer together than the timer's second: the highlight must not lag behind.
    const CodeTable table = tableOf({{"*07SM+", "1", "40"},
                                     {"a12RM#", "1", "41"},
                                     {"a12EH#", "1", "41"},
                                     {"a12AH#", "1", "42"},
                                     {"*09DH+", "1", "43"},
                                     {"*p01:01", "1", "46"},
                                     {"a05SM+", "2", "2"}});
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7};
    struct Case {
        int listRow, position, expectedRow;  // 0: the highlight stays
    };
    const Case cases[] = {
        {1, 40, 0}, {1, 41, 3}, {1, 44, 5}, {2, 55, 6}, {5, 45, 0},
        {6, 2, 7},   // film 2's first code, once the position has passed its second
        {7, 90, 0},  // the last code ends nothing
    };
    for (const Case& c : cases) {
        const ActionEndQuery query{table, all, c.listRow, c.position, false, true, false, 0};
        const auto decision = CheckActionEnd(query);
        if (c.expectedRow == 0) {
            EXPECT_EQ(decision.step, ActionEndStep::Nothing) << c.listRow << " at " << c.position;
            continue;
        }
        EXPECT_EQ(decision.step, ActionEndStep::SelectNextRow) << c.listRow << " at " << c.position;
        EXPECT_EQ(decision.nextListRow, c.expectedRow) << c.listRow << " at " << c.position;
        EXPECT_TRUE(decision.moveHighlightOnly);
    }
}

TEST(ActionEnd, AListLetsGoOfAFilmTheUserMovedOutOfTheAction) {
    // Attack at 13 played from 11 (pre-roll 2); its rally ends at 14 (offset 0).
    const CodeTable table = rally();
    const std::vector<int> attacks{3, 6};
    struct Case {
        bool synthesis;
        int position;
        ActionEndStep expected;
    };
    const Case cases[] = {
        {false, 10, ActionEndStep::Release},        // moved back before the pre-roll
        {false, 11, ActionEndStep::Nothing},        // moved inside the action
        {false, 60, ActionEndStep::Release},        // moved far past its end
        {true, 12, ActionEndStep::Release},         // a synthesis has no pre-roll: 13 is the start
        {true, 20, ActionEndStep::Release},         // past the next code of the table (14)
        {true, 13, ActionEndStep::Nothing},
    };
    for (const Case& c : cases) {
        ActionEndQuery query{table, attacks, 1, c.position, c.synthesis, true, false, 0};
        query.preRollSeconds = 2;
        query.filmMovedByUser = true;
        EXPECT_EQ(CheckActionEnd(query).step, c.expected) << c.synthesis << " at " << c.position;
        query.filmMovedByUser = false;  // the film played there itself: the list goes on
        EXPECT_NE(CheckActionEnd(query).step, ActionEndStep::Release);
    }
}

TEST(ActionEnd, ASecondIsASecondOfTheFilmShown) {
    // Film 1 ends with an attack whose rally has no end in film 1; film 2 starts at its own 0.
    const CodeTable table = tableOf({{"*07SM+", "1", "10"},
                                     {"ap00:01", "1", "14"},
                                     {"*09AH#", "1", "40"},
                                     {"a05SM+", "2", "2"},
                                     {"*p01:01", "2", "5"},
                                     {"*07SM+", "2", "30"},
                                     {"ap01:02", "2", "33"}});
    const std::vector<int> found{1, 3, 6};
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7};
    struct Case {
        const char* what;
        const std::vector<int>& list;
        bool synthesis;
        int listRow, playingFilm, position;
        bool atFilmEnd;
        ActionEndStep expected;
        int nextRow;
    };
    const Case cases[] = {
        {"its rally's end in its film", found, false, 1, 1, 14, false, ActionEndStep::SelectNextRow, 2},
        {"the same second of another film", found, false, 1, 2, 14, false, ActionEndStep::Nothing, 0},
        {"a rally end of the next film", found, false, 2, 1, 38, false, ActionEndStep::Nothing, 0},
        {"no rally end in its film: its film's end", found, false, 2, 1, 99, true, ActionEndStep::SelectNextRow, 3},
        {"the film of the next code shown", found, false, 2, 2, 31, false, ActionEndStep::Nothing, 0},
        {"following: the next film's code in this film", all, false, 3, 1, 41, false, ActionEndStep::Nothing, 0},
        {"following: the next film shown", all, false, 3, 2, 3, false, ActionEndStep::SelectNextRow, 4},
        {"following: another film shown", all, false, 1, 2, 40, false, ActionEndStep::Nothing, 0},
        {"synthesis: the end of another film", found, true, 2, 2, 99, true, ActionEndStep::Nothing, 0},
        {"synthesis: the end of its film", found, true, 2, 1, 99, true, ActionEndStep::SelectNextRow, 3},
    };
    for (const Case& c : cases) {
        ActionEndQuery query{table, c.list, c.listRow, c.position, c.synthesis, true, false, 0};
        query.playingFilm = c.playingFilm;
        query.atFilmEnd = c.atFilmEnd;
        const auto decision = CheckActionEnd(query);
        EXPECT_EQ(decision.step, c.expected) << c.what;
        if (c.expected == ActionEndStep::SelectNextRow) EXPECT_EQ(decision.nextListRow, c.nextRow) << c.what;
    }
    // Where the list's plan says the action stops: the same rule.
    EXPECT_EQ(listActionEnd(table, found, 2, false, 0).kind, ListActionEnd::AtFilmEnd);
    EXPECT_EQ(listActionEnd(table, found, 1, false, 0).second, 14);
}

TEST(ScoutNumbers, SecondsAtTheEndsOfIntNeitherOverflowNorPlay) {
    struct Case {
        const char* second;
        std::optional<int> target;  // where a click seeks, pre-roll 2
    };
    const Case cases[] = {
        {"2147483647", {}}, {"-2147483648", {}}, {"99999999999", {}}, {"360001", {}}, {"x", {}}, {"", {}},
        {"360000", 359998}, {"-360000", 0},      {"1", 0},            {"40", 38},
    };
    for (const Case& c : cases) {
        const CodeTable table = tableOf({{"a12AH#", "1", c.second}, {"*p01:00", "1", c.second}});
        const auto target = playTargetOf(table, 1, 2, false);
        EXPECT_EQ(target ? std::optional<int>(target->second) : std::nullopt, c.target) << c.second;
        const std::vector<int> one{1};
        for (const bool synthesis : {false, true}) {
            // The end of the action is the point row or the next code at the same second.
            const ActionEndQuery query{table, one, 1, std::numeric_limits<int>::max(), synthesis, true, false,
                                       std::numeric_limits<int>::min()};
            const auto step = CheckActionEnd(query).step;
            EXPECT_TRUE(step == ActionEndStep::Nothing || step == ActionEndStep::NextAnalysis) << c.second;
        }
    }
}

}  // namespace
}  // namespace corvane
