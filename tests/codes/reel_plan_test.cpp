#include "codes/reel_plan.h"

#include <gtest/gtest.h>

#include "codes/code_rows.h"

namespace corvane {
namespace {

using testing::CodeLine;
using testing::tableOf;

struct ExpectedClip {
    int film;
    double start;
    double end;
    std::vector<int> listRows;
};

struct PlanCase {
    const char* name;
    std::vector<CodeLine> lines;  // CodeLine(code, set, film, second)
    std::vector<int> listed;      // table rows of the list; empty for the whole table
    std::vector<int> chosen;      // list rows; empty for all
    bool synthesis;
    int preRoll;
    int endOffset;
    std::vector<std::optional<double>> films;
    std::vector<ExpectedClip> clips;
    std::vector<SkippedRow> skipped;
};

// A rally: serve, reception, attack and point at 100..112, then another ending at 130.
const std::vector<CodeLine> kRallies = {
    {"*07SM+", "1", "1", "100"}, {"a12RM#", "1", "1", "102"}, {"a05AH#", "1", "1", "105"},
    {"ap01:00", "1", "1", "112"}, {"*07SM-", "1", "1", "120"}, {"a09AH=", "1", "1", "124"},
    {"*p01:01", "1", "1", "130"},
};

const PlanCase kCases[] = {
    {"a filtered list plays each code from its pre-roll to its rally's end less the offset",
     kRallies, {3, 6}, {}, false, 3, 1, {300.0},
     {{1, 102, 111, {1}}, {1, 121, 129, {2}}}, {}},
    {"a pre-roll longer than the rally before merges the clips that overlap",
     kRallies, {3, 6}, {}, false, 15, 0, {300.0},
     {{1, 90, 130, {1, 2}}}, {}},
    {"clips that only touch are merged",
     {{"*07AH#", "1", "1", "10"}, {"*p01:00", "1", "1", "20"}, {"*07AH#", "1", "1", "22"}, {"*p02:00", "1", "1", "30"}},
     {1, 3}, {}, false, 2, 0, {100.0},
     {{1, 8, 30, {1, 2}}}, {}},
    {"a gap of a second keeps them apart",
     {{"*07AH#", "1", "1", "10"}, {"*p01:00", "1", "1", "20"}, {"*07AH#", "1", "1", "23"}, {"*p02:00", "1", "1", "30"}},
     {1, 3}, {}, false, 2, 0, {100.0},
     {{1, 8, 20, {1}}, {1, 21, 30, {2}}}, {}},
    {"an end offset that reaches the start leaves nothing to play",
     kRallies, {3}, {}, false, 0, 7, {300.0},
     {}, {{1, ReelSkip::NoLength}}},
    {"a rally without an end row plays to the film's end, held to the film's length",
     {{"*07AH#", "1", "1", "50"}, {"*07SM+", "1", "1", "60"}}, {1}, {}, false, 2, 1, {80.5},
     {{1, 48, 80.5, {1}}}, {}},
    {"an unfiltered list plays to the next code; the film's last code to the film's end",
     {{"*07SM+", "1", "1", "10"}, {"a12RM#", "1", "1", "14"}, {"*07SM+", "2", "2", "5"}},
     {}, {1, 2, 3}, false, 3, 5, {60.0, 40.0},
     {{1, 7, 60, {1, 2}}, {2, 2, 40, {3}}}, {}},
    {"a ticked subset of an unfiltered list still ends at the list's next code",
     {{"*07SM+", "1", "1", "10"}, {"a12RM#", "1", "1", "20"}, {"*07SM+", "1", "1", "30"}},
     {}, {1, 3}, false, 2, 0, {60.0},
     {{1, 8, 20, {1}}, {1, 28, 60, {3}}}, {}},
    {"a synthesis has no pre-roll and ends at the table's next code less the offset",
     {{"*07SM+", "1", "1", "0"}, {"a12RM#", "1", "1", "8"}, {"*09AH#", "1", "1", "20"}},
     {1, 3}, {}, true, 5, 1, {30.0},
     {{1, 0, 7, {1}}, {1, 20, 30, {2}}}, {}},
    {"clips stay in list order across films, and only the same film merges",
     {{"*07AH#", "1", "2", "10"}, {"*p01:00", "1", "2", "20"}, {"*07AH#", "1", "1", "15"}, {"*p02:00", "1", "1", "25"}},
     {1, 3}, {}, false, 2, 0, {100.0, 100.0},
     {{2, 8, 20, {1}}, {1, 13, 25, {2}}}, {}},
    {"codes the list would not play are skipped: no second, beyond the film, no such film, film unreadable",
     {{"*07AH#", "1", "1", "-"}, {"*07AH#", "1", "1", "90"}, {"*07AH#", "1", "3", "10"}, {"*07AH#", "1", "2", "10"},
      {"*07AH#", "1", " 1", "10"}, {"*07AH#", "1", "1", "1"}, {"*p01:00", "1", "1", "5"}},
     {1, 2, 3, 4, 5, 6}, {}, false, 3, 0, {80.0, std::nullopt},
     {{1, 0, 5, {6}}},
     {{1, ReelSkip::NoSecond}, {2, ReelSkip::OutsideFilm}, {3, ReelSkip::NoSuchFilm}, {4, ReelSkip::FilmUnreadable},
      {5, ReelSkip::NoSuchFilm}}},
    {"a film cell with blanks names no film, though its rally would play",
     {{"*07AH#", "1", " 1", "10"}, {"*p01:00", "1", " 1", "20"}, {"*07AH#", "1", "1 ", "40"},
      {"*p02:00", "1", "1 ", "50"}},
     {1, 3}, {}, false, 2, 0, {100.0},
     {}, {{1, ReelSkip::NoSuchFilm}, {2, ReelSkip::NoSuchFilm}}},
    {"a code at exactly the film's length plays its pre-roll",
     {{"*07AH#", "1", "1", "80"}}, {}, {}, false, 2, 0, {80.0},
     {{1, 78, 80, {1}}}, {}},
    {"a code a frame before the film's length plays to the film's end",
     {{"*07AH#", "1", "1", "80"}}, {}, {}, false, 2, 0, {80.04},
     {{1, 78, 80.04, {1}}}, {}},
    {"a code a frame beyond the film's length is outside it",
     {{"*07AH#", "1", "1", "80"}}, {}, {}, false, 2, 0, {79.96},
     {}, {{1, ReelSkip::OutsideFilm}}},
    {"chosen rows outside the list are skipped, the others kept in the order given",
     kRallies, {3, 6}, {2, 9, 1}, false, 0, 0, {300.0},
     {{1, 124, 130, {2}}, {1, 105, 112, {1}}}, {{9, ReelSkip::NotListed}}},
};

void PrintTo(const PlanCase& c, std::ostream* out) { *out << c.name; }

class ReelPlanCases : public ::testing::TestWithParam<PlanCase> {};

TEST_P(ReelPlanCases, ClipsAsTheListPlaysThem) {
    const PlanCase& c = GetParam();
    const CodeTable table = tableOf(c.lines);
    std::vector<CodeListRow> rows;
    std::vector<int> listed = c.listed;
    if (listed.empty())
        for (int row = 1; row <= table.codeRowCount(); ++row) listed.push_back(row);
    for (const int row : listed) rows.push_back({std::string(table.Cell(Code, row)), "", "", "", row});
    const ReelPlan plan =
        planReel({table, rows, c.chosen, c.films, c.synthesis, c.preRoll, c.endOffset});
    ASSERT_EQ(plan.clips.size(), c.clips.size());
    for (std::size_t i = 0; i < c.clips.size(); ++i) {
        SCOPED_TRACE(i);
        const ReelClip& clip = plan.clips[i];
        EXPECT_EQ(clip.film, c.clips[i].film);
        EXPECT_DOUBLE_EQ(clip.start, c.clips[i].start);
        EXPECT_DOUBLE_EQ(clip.end, c.clips[i].end);
        std::vector<int> listRows;
        for (const ReelCode& code : clip.codes) listRows.push_back(code.listRow);
        EXPECT_EQ(listRows, c.clips[i].listRows);
    }
    ASSERT_EQ(plan.skippedRows.size(), c.skipped.size());
    for (std::size_t i = 0; i < c.skipped.size(); ++i) {
        EXPECT_EQ(plan.skippedRows[i].listRow, c.skipped[i].listRow) << i;
        EXPECT_EQ(plan.skippedRows[i].reason, c.skipped[i].reason) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ReelPlanCases, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name.substr(0, 60) + "_" + std::to_string(info.index);
});

TEST(ReelPlan, EachCodeOfAMergedClipKeepsWhereItsOwnActionStarts) {
    const CodeTable table = tableOf(kRallies);
    const std::vector<CodeListRow> rows{{"a05AH#", "", "", "", 3}, {"a09AH=", "", "", "", 6}};
    const ReelPlan plan = planReel({table, rows, {}, {300.0}, false, 12, 0});
    ASSERT_EQ(plan.clips.size(), 1u);
    ASSERT_EQ(plan.clips[0].codes.size(), 2u);
    EXPECT_DOUBLE_EQ(plan.clips[0].codes[0].start, 93);
    EXPECT_DOUBLE_EQ(plan.clips[0].codes[1].start, 112);
    EXPECT_EQ(plan.clips[0].codes[1].tableRow, 6);
}

TEST(ReelPlan, TheCaptionIsTheClearTextOfTheList) {
    EXPECT_EQ(reelCaption("Rossi Attacco Punto", {"*07AH#", "1", "0.01.40", "2", 5}),
              "Rossi Attacco Punto (0.01.40 set 2)");
}

}  // namespace
}  // namespace corvane
