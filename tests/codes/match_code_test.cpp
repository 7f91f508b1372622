#include "codes/match_code.h"

#include <gtest/gtest.h>

#include <ostream>

namespace corvane {
namespace {

struct MatchCase {
    const char* label;
    std::string code;
    std::string search;
    int side;
    const char* sport;
    bool matches;
};

const MatchCase kCases[] = {
    {"same fixed positions", "*07AH#", "*07A #", AnySide, "1", true},
    {"tilde is a blank", "*07AH#", "*07A~#", AnySide, "1", true},
    {"other evaluation", "*07AH+", "*07A~#", AnySide, "1", false},
    {"other player", "*08AH#", "*07A", AnySide, "1", false},
    {"all-blank search matches anything", "a12RM=", "          ", AnySide, "1", true},
    {"empty search matches anything", "a12RM=", "", AnySide, "1", true},
    {"empty search matches an empty code", "", "~~~~", AnySide, "1", true},
    {"code shorter than the search", "*07", "*07A", AnySide, "1", false},
    {"empty code against a search", "", "*", AnySide, "1", false},
    {"position 10 compared", "*07AH#1234", "~~~~~~~~~5", AnySide, "1", false},
    {"position 11 never compared", "*07AH#12345", "~~~~~~~~~~X", AnySide, "1", true},
    {"search cut at 10", "*07AH#1234", "*07AH#1234ZZZZ", AnySide, "1", true},
    {"control characters are blanks", "*07AH#", "*07\tH#", AnySide, "1", true},
    {"bytes above 127 compared", "*07A\xE9#", "~~~~\xE9", AnySide, "1", true},
    {"bytes above 127 differ", "*07A\xE8#", "~~~~\xE9", AnySide, "1", false},

    // Volleyball sides: "a" and the digits 5..9 are the visiting team.
    {"home side keeps home codes", "*07AH#", "~~~A", HomeSide, "1", true},
    {"home side refuses visiting codes", "a07AH#", "~~~A", HomeSide, "1", false},
    {"visiting side keeps visiting codes", "a07AH#", "~~~A", VisitingSide, "1", true},
    {"visiting side refuses home codes", "*07AH#", "~~~A", VisitingSide, "1", false},
    {"visiting side refuses marker codes", ">note", "", VisitingSide, "1", false},
    {"digit 5 to 9 is visiting", "507AH#", "~~~A", VisitingSide, "1", true},
    {"digit visiting refused at home", "97AH#", "~~A", HomeSide, "1", false},
    {"digit below 5 is home", "27AH#", "~~A", HomeSide, "1", true},
    {"visiting digit compares lowered", "57AH#", "07A", AnySide, "1", true},
    {"search digit lowered too", "07AH#", "57A", AnySide, "1", true},
    {"lowered digit differs", "67AH#", "07A", AnySide, "1", false},

    // Other sports: no lowering, the team test comes after the positions.
    {"other sport home refuses a", "a07TS#", "~~~TS", HomeSide, "2", false},
    {"other sport visiting refuses *", "*07TS#", "~~~TS", VisitingSide, "2", false},
    {"other sport visiting keeps a", "a07TS#", "~~~TS", VisitingSide, "2", true},
    {"other sport home keeps unmarked", "507TS#", "~~~TS", HomeSide, "2", true},
    {"other sport digits not lowered", "507TS#", "007", AnySide, "2", false},
};

void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.label; }

class MatchCodeTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchCodeTest, MatchesAsTheFixedPositionsSay) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchCode(c.code, c.search, c.side, c.sport), c.matches) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, MatchCodeTest, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace corvane
