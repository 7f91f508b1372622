#include "stats/stat_generator.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

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

TEST(ExtensionStatsGenerator, APatternWithOneOfPositionsSevenAndEightOpenGroupsByNineAndTen) {
    // Only both positions open make a first level; with one of them laid in, the open one stays
    // open in every row's search and the level tells positions 9-10 apart.
    const CodeTable table = shots();
    for (const char* extension : {"~~~~~~L~", "~~~~~~~A"}) {
        SCOPED_TRACE(extension);
        const std::string pattern = overlayForButton(extensionPattern(true, "05", "FI"), extension);
        const auto stats = computeExtensionStats(table, "2", pattern);
        ASSERT_EQ(stats.rows.size(), 4u);
        const std::string open = std::string(extension).substr(6, 2) == "L~" ? "L~" : "~A";
        EXPECT_EQ(stats.rows[1].code, "*05FI~" + open + "Z1");
        EXPECT_EQ(stats.rows[2].code, "*05FI~" + open + "Z3");
        for (int row = 1; row + 1 < static_cast<int>(stats.rows.size()); ++row)
            EXPECT_EQ(SplitText(stats.rows[static_cast<std::size_t>(row)].values, ';')[0],
                      std::to_string(listed(table, extensionClickPattern(pattern, stats, row, 0))));
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

// A table of codes drawn from few characters, blanks and "~" among them, some short, some without a
// film or a time: every figure a level shows, and every button it offers, must be what the click
// or the deeper level would give when searched one by one.
CodeTable drawnCodes(unsigned seed) {
    std::mt19937 random(seed);
    const auto pick = [&](std::string_view from) { return from[random() % from.size()]; };
    std::vector<CodeLine> lines;
    for (int n = 0; n < 400; ++n) {
        std::string code{pick("*a"), '0', pick("5567$"), 'F', pick("IIG"), pick("=/#!~ "), pick("LLD ~"), pick("AU ~"),
                         pick("ZZ ~"), pick("123 ~"), pick("xy")};
        code.resize(random() % 5 == 0 ? 6 + random() % 5 : code.size());
        if (code[2] == '$') code[1] = '$';
        lines.emplace_back(code, "1", random() % 20 == 0 ? "" : "1", random() % 20 == 0 ? "-" : "");
    }
    return testing::tableOf(lines);
}

void expectEveryFigureIsWhatItsSearchLists(const CodeTable& table, const std::string& pattern, int depth) {
    SCOPED_TRACE("pattern \"" + pattern + "\"");
    const auto stats = computeExtensionStats(table, "2", pattern);
    if (!stats.hasDataRows()) return;
    const auto labels = extensionLabels(stats);
    const std::string level = tildesToBlanks(pattern + std::string(13 - std::min<std::size_t>(13, pattern.size()), ' '));
    for (int row = 1; row < static_cast<int>(stats.rows.size()); ++row) {
        const ExtensionRow& data = stats.rows[static_cast<std::size_t>(row)];
        const bool totals = row + 1 == static_cast<int>(stats.rows.size());
        const auto values = SplitText(data.values, ';');
        ASSERT_EQ(values.size(), labels.size()) << data.code;
        for (int label = 0; label < static_cast<int>(labels.size()); ++label) {
            if (labels[static_cast<std::size_t>(label)][0] == '%') continue;
            std::string search = extensionClickPattern(level, stats, row, label);
            if (totals) (search = level)[kEffectPosition - 1] = extensionLabelEffect(labels, label);
            EXPECT_EQ(values[static_cast<std::size_t>(label)], std::to_string(listed(table, search)))
                << data.code << " " << labels[static_cast<std::size_t>(label)];
        }
        if (totals) continue;
        const std::string deeper = overlayForButton(level, data.code);
        EXPECT_EQ(stats.opensDeeperLevel(data.code), computeExtensionStats(table, "2", deeper).hasDataRows()) << data.code;
        if (depth > 0 && stats.opensDeeperLevel(data.code)) expectEveryFigureIsWhatItsSearchLists(table, deeper, depth - 1);
    }
}

TEST(ExtensionStatsGenerator, EveryFigureOfDrawnCodesIsWhatItsClickLists) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const CodeTable table = drawnCodes(seed);
        for (const std::string& pattern : {extensionPattern(true, "05", "FI"), extensionPattern(false, "06", "FI"),
                                           extensionPattern(true, "$$", "FI"), extensionPattern(true, "  ", "FG"),
                                           std::string("~~~FI"), std::string("*05FI#"), std::string("*05FI~~~Z")})
            expectEveryFigureIsWhatItsSearchLists(table, pattern, 2);
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
    ASSERT_TRUE(outcome.written) << describe(outcome.problem);
    ASSERT_TRUE(outcome.stats);
    const auto stats = LoadExtensionStats(output());
    ASSERT_TRUE(stats);
    ASSERT_EQ(stats->rows.size(), 4u);
    EXPECT_EQ(stats->rows[1].code, "*05FI~DU");
    EXPECT_EQ(stats->rows[2].values, "2;1;50%;1;50%");
    // The record holds exactly the figures handed back.
    EXPECT_EQ(formatExtensionStats(*stats), formatExtensionStats(*outcome.stats));
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
        EXPECT_FALSE(outcome.stats);
        EXPECT_NE(outcome.problem, GeneratorProblem::None);
        EXPECT_FALSE(fileExists(output()));
    }
}

TEST_F(GeneratorFiles, EachArgumentMayHoldExactly255Characters) {
    const std::string events = (package / "Eventi.txt").string();
    const std::string pattern = extensionPattern(true, "05", "FI");
    // A path of a given length to a file holding what the package's scout file holds.
    const auto pathOfLength = [&](const testing::TempFolder& folder, std::size_t length) {
        const std::size_t folderLength = folder.path().string().size() + 1;
        return (folder / std::string(length - folderLength, 's')).string();
    };
    for (const std::size_t length : {std::size_t{255}, std::size_t{256}}) {
        SCOPED_TRACE(length);
        const std::string longScout = pathOfLength(package, length);
        std::filesystem::copy_file(scout, longScout, std::filesystem::copy_options::overwrite_existing);
        ASSERT_EQ(longScout.size(), length);
        const auto byScout = GeneraStatEstensioni("2", longScout, output(), events, pattern, platform);
        const std::string longOutput = pathOfLength(documents, length);
        const auto byOutput = GeneraStatEstensioni("2", scout, longOutput, events, pattern, platform);
        if (length == 255) {
            EXPECT_TRUE(byScout.written) << describe(byScout.problem);
            EXPECT_TRUE(byOutput.written) << describe(byOutput.problem);
            EXPECT_TRUE(fileExists(longOutput));
        } else {
            EXPECT_EQ(byScout.problem, GeneratorProblem::ArgumentTooLong);
            EXPECT_EQ(byOutput.problem, GeneratorProblem::ArgumentTooLong);
            EXPECT_FALSE(byScout.stats);
            EXPECT_FALSE(fileExists(longOutput));
        }
        std::filesystem::remove(longScout);
    }
}

// The figures over a table in memory, as the window asks for them, with the record in the
// documents folder.
struct GeneratorRecord : GeneratorFiles {
    const CodeTable table = shots();
    const std::string pattern = extensionPattern(true, "05", "FI");
    const std::string expected = formatExtensionStats(computeExtensionStats(table, "2", pattern));
    const std::string planted = "[testata]\r\nt$#$%\r\n[home]\r\n*05FI~LA|999;999;100%\r\nTotali|999;999;100%\r\n";
};

TEST_F(GeneratorRecord, TheFiguresComeBackAndTheRecordHoldsThem) {
    std::filesystem::copy_file(documents.write("old.txt", planted), output());
    const auto outcome = generateExtensionStats(table, "2", pattern, output());
    ASSERT_TRUE(outcome.written) << describe(outcome.problem);
    ASSERT_TRUE(outcome.stats);
    EXPECT_EQ(formatExtensionStats(*outcome.stats), expected);
    EXPECT_EQ(testing::readFile(output()), expected);
}

TEST_F(GeneratorRecord, ARecordThatCannotBeWrittenStillGivesTheFigures) {
    // A documents folder under a regular file cannot be made, even by root.
    const std::filesystem::path blocked = documents.write("not-a-folder", "x") / "StatExt.txt";
    // A file past 64 bytes cannot be completed: the disc is full while the record is written.
    struct FullDisc {
        rlimit old{};
        void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
        FullDisc() {
            getrlimit(RLIMIT_FSIZE, &old);
            rlimit small = old;
            small.rlim_cur = 64;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        ~FullDisc() {
            setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, oldHandler);
        }
    };
    const struct {
        const char* what;
        std::filesystem::path file;
        bool fullDisc;
        GeneratorProblem problem;
    } cases[] = {
        {"no documents folder", {}, false, GeneratorProblem::NoOutputFile},
        {"a folder that cannot be made", blocked, false, GeneratorProblem::CannotWrite},
        {"a full disc", output(), true, GeneratorProblem::CannotWrite},
        {"a path past 255 characters", documents / (std::string(250, 'd') + "/StatExt.txt"), false,
         GeneratorProblem::ArgumentTooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        documents.write("StatExt.txt", planted);
        std::optional<GeneratorOutcome> outcome;
        {
            std::optional<FullDisc> full;
            if (c.fullDisc) full.emplace();
            outcome = generateExtensionStats(table, "2", pattern, c.file);
        }
        EXPECT_FALSE(outcome->written);
        EXPECT_EQ(outcome->problem, c.problem);
        ASSERT_TRUE(outcome->stats);
        EXPECT_EQ(formatExtensionStats(*outcome->stats), expected);
        // Nothing half-written is left beside the record, and a record that was not replaced
        // goes rather than keep another pattern's figures.
        for (const auto& entry : std::filesystem::directory_iterator(documents.path()))
            EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
        if (c.file == output()) EXPECT_FALSE(fileExists(output()));
    }
}

}  // namespace
}  // namespace corvane
