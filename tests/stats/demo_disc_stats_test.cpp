#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "codes/code_passes.h"
#include "codes/match_code.h"
#include "core/files.h"
#include "core/log.h"
#include "core/program_state.h"
#include "core/text.h"
#include "scout/packages.h"
#include "stats/event_stats.h"
#include "stats/stat_generator.h"
#include "support/test_support.h"

namespace corvane {
namespace {

std::filesystem::path demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

class DemoDiscStatistics : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video"))
            << "no demo disc at " << demoDisc() << ": make it with tools/make_demo_disc.sh";
        platform.cache = cache.path();
        auto log = ApplicationLog::discarding(platform);
        const auto lists = ListPackages(demoDisc(), log);
        std::string folder = demoDisc().string() + "/";
        state.folders.ProgramFolder = folder;
        state.folders.SystemFolder = folder + "System";
        for (const std::string& name : lists.MatchList)
            if (name.find(GetParam()) != std::string::npos) {
                ASSERT_TRUE(OpenPackageData(state, name, false, log, platform));
                LoadFilmList(state, log);
                return;
            }
        FAIL() << "no package named like " << GetParam();
    }

    std::size_t listed(const std::string& search) const {
        AnalysisRecord record;
        record[AnalysisRecord::main_code] = search;
        return FillCodeList(state.codeTable, search, {}, record, {state.Sport, false, 0}).size();
    }

    testing::TempFolder cache;
    testing::FixedPlatform platform;
    ProgramState state;
};

// Every figure of the package's Stat.txt, as the window shows it after pruning, against the
// number of codes its click lists. The file is made from the codes by the disc's own tools, so
// any difference is a fault of the reading, the pruning or the click.
TEST_P(DemoDiscStatistics, EveryStoredFigureListsAsManyCodes) {
    auto stats = LoadEventStats(state.package.statisticsFile, state.match);
    PruneEmptySubColumns(stats);
    ASSERT_TRUE(stats.problem.empty()) << stats.problem;
    ASSERT_FALSE(stats.headers.empty());
    std::size_t figures = 0;
    for (const bool home : {true, false}) {
        const auto& rows = home ? stats.home : stats.opponent;
        for (int row = 0; row < static_cast<int>(rows.size()); ++row)
            for (int column = 1; column <= static_cast<int>(stats.headers.size()); ++column) {
                const auto values = cellValues(rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column - 1)]);
                for (int sub = 0; sub < static_cast<int>(values.size()); ++sub) {
                    AnalysisRecord record;
                    const auto search = eventStatisticsSearch(stats, {home, row, column, sub}, state.Sport, record);
                    ASSERT_TRUE(search);
                    const std::string& shown = values[static_cast<std::size_t>(sub)];
                    EXPECT_EQ(shown.empty() ? 0 : textToInt(shown, -1), static_cast<int>(listed(*search)))
                        << (home ? "home" : "opponent") << " row " << rows[static_cast<std::size_t>(row)].player
                        << " column " << stats.headers[static_cast<std::size_t>(column - 1)] << " sub-column " << sub
                        << " search " << *search;
                    ++figures;
                }
            }
    }
    EXPECT_GT(figures, 100u);
}

// Every level the generator produces below every extension button, every count against what its
// click lists; a level with rows below it is opened too.
TEST_P(DemoDiscStatistics, EveryGeneratedFigureListsAsManyCodes) {
    auto stats = LoadEventStats(state.package.statisticsFile, state.match);
    PruneEmptySubColumns(stats);
    ASSERT_FALSE(stats.eventsWithExtensions.empty());
    std::size_t figures = 0, levels = 0, deepest = 0;
    const std::function<void(const std::string&, std::size_t)> check = [&](const std::string& pattern, std::size_t level) {
        const ExtensionStats ext = readExtensionStats(
            splitTextLines(formatExtensionStats(computeExtensionStats(state.codeTable, state.Sport, pattern))));
        ++levels;
        deepest = std::max(deepest, level);
        const auto labels = extensionLabels(ext);
        for (int row = 1; row + 1 < static_cast<int>(ext.rows.size()); ++row) {
            const ExtensionRow& data = ext.rows[static_cast<std::size_t>(row)];
            const auto values = SplitText(data.values, ';');
            ASSERT_EQ(values.size(), labels.size()) << data.code;
            for (int label = 0; label < static_cast<int>(labels.size()); ++label) {
                if (labels[static_cast<std::size_t>(label)].front() == '%') continue;
                const std::string search = extensionClickPattern(pattern, ext, row, label);
                EXPECT_EQ(values[static_cast<std::size_t>(label)], std::to_string(listed(search)))
                    << "level " << level << " row " << data.code << " label " << labels[static_cast<std::size_t>(label)];
                ++figures;
            }
            // The code's own click lists the whole row, as its "t" says.
            EXPECT_EQ(values[0], std::to_string(listed(extensionClickPattern(pattern, ext, row, kClickOnCode))));
            if (ext.opensDeeperLevel(data.code)) check(overlayForButton(pattern, data.code), level + 1);
        }
    };
    for (const std::string& event : stats.eventsWithExtensions)
        for (const bool home : {true, false}) {
            const auto& rows = home ? stats.home : stats.opponent;
            for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
                const auto player = eventPlayerPart(rows, row, state.Sport);
                ASSERT_TRUE(player);
                const std::string pattern = extensionPattern(home, tildesToBlanks(*player), event);
                check(pattern, 1);
                // The level's totals are the cell's overall figure: a row's button counts what the
                // row's cell counts (the team's own actions on the team row, every player on the last).
                const auto level = computeExtensionStats(state.codeTable, state.Sport, pattern);
                if (!level.hasDataRows()) continue;
                EXPECT_EQ(SplitText(level.rows.back().values, ';')[0],
                          std::to_string(listed(std::string(1, pattern[0]) + *player + event + "~~~~")))
                    << pattern;
            }
        }
    EXPECT_GT(figures, 200u);
    EXPECT_EQ(deepest, 2u);
    RecordProperty("levels", static_cast<int>(levels));
}

INSTANTIATE_TEST_SUITE_P(OtherSports, DemoDiscStatistics, ::testing::Values("Basket", "Pallamano"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace corvane
