#pragma once

#include <string_view>

namespace corvane {

// What a package's Sport text stands for. Files and the program state keep the text as the
// package carries it; the logic decides on this kind.
enum class SportKind {
    Volleyball,         // "1": sets 1 to 5, volleyball scout file
    Basketball,         // "2": periods 1 to 4 and an extra period, lower-case scout format
    TwoPeriods,         // first character "3" to "9": periods 1 and 2 and an extra period
    TwoPeriodsNoExtra,  // first character "A": periods 1 and 2 only
    Unknown,            // anything else, the empty text of no open package among them
};

// "1" and "2" count as whole texts; the other kinds are told by the first character.
SportKind sportKind(std::string_view sport);

inline bool isVolleyball(std::string_view sport) { return sportKind(sport) == SportKind::Volleyball; }

}  // namespace corvane
