#include "stats/volleyball_stats.h"

#include <gtest/gtest.h>

#include "core/messages.h"
#include "support/test_support.h"

namespace corvane {
namespace {

struct StatsFile : ::testing::Test {
    testing::TempFolder folder;
    testing::CatalogueMessages texts{"132=Serve|Tot$Err$Ace\n133=Reception|Tot$Err$Perf\n"
                                     "134=Attack|Tot$Err$Blk$Pts$Pts%\n135=Block|Err$Pts\n"};
    const Messages& messages = texts.messages;
    MatchCompanions match;

    void SetUp() override {
        match.MatchInfo[15] = "Modena";
        match.MatchInfo[16] = "Rossi";
        match.MatchInfo[19] = "Treviso";
        match.MatchInfo[20] = "Verdi";
    }
    VolleyballStats load(const std::string& content) {
        return LoadVolleyballStats(folder.write("Stat.txt", content), match, messages);
    }
};

const std::string kPlayer5 = "05;Galli;1;0;0;;;8;0;0;0;0;0;1;0;0;0;0%;0;1";
const std::string kTotals = "TO;Totale;8;13;11;;;40;3;1;34;5;4;44;4;4;25;57%;5;6";

TEST_F(StatsFile, ReadsHeadersPlayersAndTotals) {
    const auto stats = load("ignored before any section\r\n[testata]\r\nf_b;f_r;f_s;f_x\r\n[home]\r\n" + kPlayer5 +
                            "\r\n" + kTotals + "\r\n[opponent]\r\n" + kPlayer5 + "\r\n");
    EXPECT_EQ(stats.home.headers[0], "Modena|Rossi");
    EXPECT_EQ(stats.opponent.headers[0], "Treviso|Verdi");
    EXPECT_EQ(stats.home.headers[1], "|1$2$3$4$5$");
    EXPECT_EQ(stats.home.headers[2], "Serve|Tot$Err$Ace");
    EXPECT_EQ(stats.home.headers[5], "");  // an unknown key leaves its header empty
    ASSERT_EQ(stats.home.rows.size(), 2u);
    EXPECT_EQ(stats.home.rows[0][0], "05-Galli");
    EXPECT_EQ(stats.home.rows[0][1], "1;0;0;;");
    EXPECT_EQ(stats.home.rows[0][4], "1;0;0;0;0%");
    EXPECT_EQ(stats.home.rows[0][5], "0;1");
    EXPECT_EQ(stats.home.rows[1][0].substr(0, 2), "TO");
    EXPECT_EQ(stats.opponent.rows.size(), 1u);
}

TEST_F(StatsFile, AShortLineEndsTheReadingAndASectionLineAfterAnotherIsData) {
    auto stats = load("[home]\r\n" + kPlayer5 + "\r\n05;too;short\r\n" + kPlayer5 + "\r\n");
    EXPECT_EQ(stats.home.rows.size(), 1u);
    stats = load("[home]\r\n[opponent]\r\n" + kPlayer5 + "\r\n");
    EXPECT_TRUE(stats.home.rows.empty());  // "[opponent]" was read as a home line and ended the reading
    EXPECT_TRUE(stats.opponent.rows.empty());
    EXPECT_TRUE(LoadVolleyballStats(folder / "missing.txt", match, messages).home.rows.empty());
}

TEST_F(StatsFile, ASectionLineAsTheLastLineEndsTheReadingWithWhatWasRead) {
    for (const char* end : {"", "\r\n"}) {
        const auto stats = load("[home]\r\n" + kPlayer5 + "\r\n" + kTotals + "\r\n[opponent]" + end);
        ASSERT_EQ(stats.home.rows.size(), 2u) << "ending " << end;
        EXPECT_EQ(stats.home.rows[1][0], "TO-Totale");
        EXPECT_TRUE(stats.opponent.rows.empty());
    }
    // A file of one section line holds nothing.
    EXPECT_TRUE(load("[testata]").home.rows.empty());
}

TEST(StatisticsFields, KeepEveryEmptyField) {
    EXPECT_EQ(statisticsFields("a;;b;"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(statisticsFields(""), std::vector<std::string>{""});
}

TEST(StatisticsSearch, EveryClickBecomesItsSearchCode) {
    const struct {
        StatisticsCell cell;
        const char* code;
        const char* clause;
    } cases[] = {
        {{true, false, "05-Galli", 2, 1}, "*05S~=~~~", ""},
        {{true, false, "05-Galli", 0, -1}, "*05~~~~~~~", ""},
        {{false, false, "12-Verdi", 0, -1}, "a12~~~~~~~", ""},
        {{true, true, "TO-Totale", 4, 3}, "*~~A~#~~~", ""},
        {{true, false, "5-Galli", 3, 1}, "*05R~~~~~", "OR[~~~~~=,5][~~~~~/,5]"},
        {{true, false, "05-Galli", 3, 2}, "*05R~#~~~", ""},
        {{true, false, "05-Galli", 4, -1}, "*05A~~~~~", ""},  // a gap between sub-columns
        {{true, false, "05-Galli", 5, 0}, "*05B~=~~~", ""},
        {{false, false, "05-Galli", 5, 1}, "a05B~#~~~", ""},
        {{true, false, "05-Galli", 2, 4}, "*05S~~~~~", ""},  // no such serve sub-column
    };
    for (const auto& c : cases) {
        AnalysisRecord record;
        record[AnalysisRecord::set] = "stale";
        statisticsSearch(c.cell, record);
        EXPECT_EQ(record[AnalysisRecord::main_code], c.code);
        EXPECT_EQ(record[AnalysisRecord::adv_codes], c.clause);
        EXPECT_EQ(record[AnalysisRecord::team], c.cell.home ? "0" : "1");
        EXPECT_EQ(record[AnalysisRecord::seconds_prev], "0");
        EXPECT_EQ(record[AnalysisRecord::play_end_rally], "1");
        EXPECT_TRUE(record[AnalysisRecord::set].empty());
    }
}

TEST(StatisticsSearch, WhatCanBeClicked) {
    EXPECT_TRUE(statisticsCellClickable(0, false, false));
    EXPECT_FALSE(statisticsCellClickable(0, true, false));
    EXPECT_FALSE(statisticsCellClickable(1, false, false));
    EXPECT_TRUE(statisticsCellClickable(4, true, false));
    EXPECT_FALSE(statisticsCellClickable(4, false, true));
}

}  // namespace
}  // namespace corvane
