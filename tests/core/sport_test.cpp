#include "core/sport.h"

#include <gtest/gtest.h>

#include "core/program_state.h"

namespace corvane {
namespace {

TEST(SportKind, EachTextOfMatchCfgReadsAsItsKind) {
    const struct {
        const char* text;
        SportKind kind;
    } cases[] = {
        {"1", SportKind::Volleyball},
        {"2", SportKind::Basketball},
        {"3", SportKind::TwoPeriods},
        {"9", SportKind::TwoPeriods},
        {"9x", SportKind::TwoPeriods},  // the two-period rows look at the first character only
        {"A", SportKind::TwoPeriodsNoExtra},
        {"AB", SportKind::TwoPeriodsNoExtra},
        // "1" and "2" count as whole texts, so a longer text beginning with them is no sport.
        {"10", SportKind::Unknown},
        {"11", SportKind::Unknown},
        {"22", SportKind::Unknown},
        {"1 ", SportKind::Unknown},
        {" 1", SportKind::Unknown},
        // The neighbours of the ranges and the other letter case.
        {"0", SportKind::Unknown},
        {":", SportKind::Unknown},
        {"@", SportKind::Unknown},
        {"B", SportKind::Unknown},
        {"a", SportKind::Unknown},
        {"", SportKind::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(sportKind(c.text), c.kind);
        EXPECT_EQ(isVolleyball(c.text), c.kind == SportKind::Volleyball);
    }
}

TEST(SportKind, TheProgramStateFollowsItsTextAtOnce) {
    ProgramState state;
    EXPECT_EQ(state.sport(), SportKind::Unknown);  // no package open
    state.Sport = "1";
    EXPECT_EQ(state.sport(), SportKind::Volleyball);
    state.Sport = "2";
    EXPECT_EQ(state.sport(), SportKind::Basketball);
}

}  // namespace
}  // namespace corvane
