#include "stats/stat_generator.h"

#include <gtest/gtest.h>

#include "codes/code_passes.h"
#include "codes/code_rows.h"
#include "codes/match_code.h"
#include "stats/event_stats.h"
#include "core/files.h"
#include "core/text.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::CodeLine;

// Player 5's shots: lay-ups in zones, a dunk, one shot with no extension, one whose extension
// leaves position 8 blank, one without a time and one without a film (neither is listed).
CodeTable shots() {
    return testing::tableOf({
        CodeLine("*05FI#LAZ1"),
        CodeLine("*05FI=LAZ1abc"),  // positions past 10 are never compared
        CodeLine("*05FI#LAZ3"),
        CodeLine("*05FI#LA"),
        CodeLine("*05FI/DU"),
        CodeLine("*05FI="),
        CodeLine("*05FI=L"),
        CodeLine("*05FI#DU", "1", "1", "-"),
        CodeLine("*05FI#DU", "1", ""),
        CodeLine("*07FI#LAZ1"),
        CodeLine("a05FI#LAZ1"),
        CodeLine("*05TO=PA"),
    });
}

std::size_t listed(const CodeTable& table, const std::string& search) {
    AnalysisRecord record;
    return FillCodeList(table, search, {}, record, PassContext{"2", false, 0}).size();
}

TEST(ExtensionStatsGenerator, LevelOneGroupsByTheExtensionAndCountsWhatEachClickLists) {
    const CodeTable table = shots();
    const std::string pattern = extensionPattern(true, "05", "FI");
    const auto stats = computeExtensionStats(table, "2", pattern);
    EXPECT_EQ(formatExtensionStats(stats),
              "[testata]\r\nt$=$%$/$%$#$%\r\n[home]\r\n"
              "*05FI~DU|1;0;0%;1;100%;0;0%\r\n"
              "*05FI~LA|4;1;25%;0;0%;3;75%\r\n"
              "*05FI~L~|5;2;40%;0;0%;3;60%\r\n"  // "L " leaves position 8 open: every L code
              "Totali|7;3;43%;1;14%;3;43%\r\n"
              "[eventswithext]\r\n*05FI~LA;*05FI~L~\r\n");
    // Every count, including the ones past the rows' own texts, is what the click lists.
    const auto labels = extensionLabels(stats);
    for (int row = 1; row + 1 < static_cast<int>(stats.rows.size()); ++row) {
        const auto values = SplitText(stats.rows[static_cast<std::size_t>(row)].values, ';');
        for (int label = 0; label < static_cast<int>(labels.size()); ++label) {
            if (labels[static_cast<std::size_t>(label)][0] == '%') continue;
            SCOPED_TRACE(stats.rows[static_cast<std::size_t>(row)].code + " " + labels[static_cast<std::size_t>(label)]);
            EXPECT_EQ(values[static_cast<std::size_t>(label)],
                      std::to_string(listed(table, extensionClickPattern(pattern, stats, row, label))));
        }
    }
}

TEST(ExtensionStatsGenerator, LevelTwoGroupsByPositionsNineAndTenOnly) {
    const CodeTable table = shots();
    const std::string pattern = overlayForButton(extensionPattern(true, "05", "FI"), "*05FI~LA");
    EXPECT_EQ(formatExtensionStats(computeExtensionStats(table, "2", pattern)),
              "[testata]\r\nt$=$%$#$%\r\n[home]\r\n"
              "*05FI~LAZ1|2;1;50%;1;50%\r\n"
              "*05FI~LAZ3|1;0;0%;1;100%\r\n"
              "Totali|4;1;25%;3;75%\r\n");
    // Nothing further can be told apart: no rows, and a pattern that selects nothing has none.
    EXPECT_FALSE(computeExtensionStats(table, "2", overlayForButton(pattern, "~~~~~~~~Z1")).hasDataRows());
    EXPECT_FALSE(computeExtensionStats(table, "2", extensionPattern(true, "09", "FI")).hasDataRows());
}

TEST(ExtensionStatsGenerator, TheTeamRowsButtonCountsTheTeamsOwnActions) {
    // The team row's pattern takes the player part its cells search with, never "00".
    const CodeTable table = testing::tableOfCodes({"*$$TO=24", "*$$TO=24", "*00TO=PA", "*05TO=PA"});
    const std::vector<EventStatsRow> rows{{"05-Galli", {}}, {"SQ-Squadra", {}}, {"TO-Totali", {}}};
    const struct {
        int row;
        const char* sport;
        const char* totals;
    } cases[] = {{1, "2", "Totali|2;2;100%"}, {2, "2", "Totali|4;4;100%"}, {0, "2", "Totali|1;1;100%"}, {1, "A", "Totali|4;4;100%"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + c.sport);
        const auto player = eventPlayerPart(rows, c.row, c.sport);
        ASSERT_TRUE(player);
        const auto stats = computeExtensionStats(table, "2", extensionPattern(true, tildesToBlanks(*player), "TO"));
        ASSERT_TRUE(stats.hasDataRows());
        EXPECT_EQ(stats.rows.back().code + "|" + stats.rows.back().values, c.totals);
    }
}

struct GeneratorFiles : ::testing::Test {
    testing::TempFolder package;
    testing::TempFolder documents;
    testing::FixedPlatform platform;
    std::string scout;

    void SetUp() override {
        platform.documents = documents.path();
        platform.cache = documents / "cache";
        scout = package.write("Match.sco",
                              "[match]\r\nA - B;x\r\n\r\n\r\n\r\n\r\n\r\n[hometeam]\r\n[oppteam]\r\n[scout]\r\n"
                              "*05FI#LAZ1;1;0;1;10;2-0\r\n*05FI=LA;1;0;1;20;2-0\r\n*05FI#DU;1;0;1;30;4-0\r\n")
                    .string();
    }
    std::string output() const { return extensionStatsFile(platform).string(); }
};

TEST_F(GeneratorFiles, WritesIntoTheDocumentsFolderAndLeavesThePackageAlone) {
    EXPECT_EQ(extensionStatsFile(platform), documents / "StatExt.txt");
    const auto outcome = GeneraStatEstensioni("2", scout, output(), (package / "Eventi.txt").string(),
                                              extensionPattern(true, "05", "FI"), platform);
    ASSERT_TRUE(outcome.written) << outcome.problem;
    const auto stats = LoadExtensionStats(output());
    ASSERT_TRUE(stats);
    ASSERT_EQ(stats->rows.size(), 4u);
    EXPECT_EQ(stats->rows[1].code, "*05FI~DU");
    EXPECT_EQ(stats->rows[2].values, "2;1;50%;1;50%");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(package.path()), {}), 1);
    testing::FixedPlatform nowhere;
    EXPECT_TRUE(extensionStatsFile(nowhere).empty());
}

TEST_F(GeneratorFiles, AFailureRemovesTheFiguresOfAnEarlierPattern) {
    const std::string pattern = extensionPattern(true, "05", "FI");
    const std::string events = (package / "Eventi.txt").string();
    const struct {
        const char* what;
        std::string sport, scoutFile, pattern;
    } cases[] = {
        {"a missing scout file", "2", (package / "none.sco").string(), pattern},
        {"an argument past 255 characters", "2", scout + std::string(300, 'x'), pattern},
        {"a pattern past 13 characters", "2", scout, pattern + "XY"},
        {"a pattern that would break the file", "2", scout, "*05FI|LA"},
        {"a sport of two characters", "22", scout, pattern},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(GeneraStatEstensioni("2", scout, output(), events, pattern, platform).written);
        const auto outcome = GeneraStatEstensioni(c.sport, c.scoutFile, output(), events, c.pattern, platform);
        EXPECT_FALSE(outcome.written);
        EXPECT_FALSE(outcome.problem.empty());
        EXPECT_FALSE(fileExists(output()));
    }
}

}  // namespace
}  // namespace corvane
