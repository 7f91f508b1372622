#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// Team test of a match: 0 home only, 1 visiting only, 2 no team test.
enum TeamSide : int { HomeSide = 0, VisitingSide = 1, AnySide = 2 };

// Only the first ten positions of a code ever take part in a match.
inline constexpr int kMatchedPositions = 10;

// A search code prepared once for many codes. A character not above the space, and "~" which
// stands for a blank in stored search codes, matches anything.
class SearchPattern {
public:
    SearchPattern() = default;
    SearchPattern(std::string_view searchCode, std::string_view sport);

    bool matches(std::string_view code, int side) const;

private:
    // The compared positions as bytes of the first ten, with a mask of those that count.
    std::uint64_t low_ = 0, lowMask_ = 0;
    std::uint16_t high_ = 0, highMask_ = 0;
    bool volleyball_ = false;
};

// Whether a code matches a search code, comparing positions 1 to 10 only. For volleyball
// (sport "1") the visiting side is a code beginning with "a" or with a digit "5" to "9", which
// compares as that digit less 5.
bool MatchCode(std::string_view code, std::string_view searchCode, int side, std::string_view sport);

// Every "~" turned into a blank: how a stored search code is written for matching.
std::string tildesToBlanks(std::string_view text);

}  // namespace corvane
