#pragma once

#include <array>
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
    // True when no position is tested: every code of the side matches.
    bool anyCode() const { return count_ == 0; }

private:
    std::array<unsigned char, kMatchedPositions> positions_{};
    std::array<unsigned char, kMatchedPositions> characters_{};
    int count_ = 0;
    bool volleyball_ = false;
};

// Whether a code matches a search code, comparing positions 1 to 10 only. For volleyball
// (sport "1") the visiting side is a code beginning with "a" or with a digit "5" to "9", which
// compares as that digit less 5.
bool MatchCode(std::string_view code, std::string_view searchCode, int side, std::string_view sport);

// Every "~" turned into a blank: how a stored search code is written for matching.
std::string tildesToBlanks(std::string_view text);

}  // namespace corvane
