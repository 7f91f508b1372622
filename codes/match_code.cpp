#include "codes/match_code.h"

#include <algorithm>

namespace corvane {

namespace {

bool isWildcard(unsigned char c) { return c <= ' ' || c == '~'; }

bool isVisitingDigit(unsigned char c) { return c >= '5' && c <= '9'; }

}  // namespace

SearchPattern::SearchPattern(std::string_view searchCode, std::string_view sport)
    : volleyball_(sport == "1") {
    const std::size_t length = std::min<std::size_t>(searchCode.size(), kMatchedPositions);
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(searchCode[i]);
        if (isWildcard(c)) continue;
        if (i == 0 && volleyball_ && isVisitingDigit(c)) c = static_cast<unsigned char>(c - 5);
        positions_[static_cast<std::size_t>(count_)] = static_cast<unsigned char>(i);
        characters_[static_cast<std::size_t>(count_)] = c;
        ++count_;
    }
}

bool SearchPattern::matches(std::string_view code, int side) const {
    auto first = code.empty() ? static_cast<unsigned char>(' ') : static_cast<unsigned char>(code[0]);
    if (volleyball_) {
        // Codes carry the team as "*" or "a"; older ones as a player number of 50 and above.
        bool visiting = first == 'a';
        if (isVisitingDigit(first)) {
            visiting = true;
            first = static_cast<unsigned char>(first - 5);
        }
        if ((side == HomeSide && visiting) || (side == VisitingSide && !visiting)) return false;
    }
    for (int k = 0; k < count_; ++k) {
        const std::size_t at = positions_[static_cast<std::size_t>(k)];
        const unsigned char c =
            at == 0 ? first : at < code.size() ? static_cast<unsigned char>(code[at]) : ' ';
        if (c != characters_[static_cast<std::size_t>(k)]) return false;
    }
    if (!volleyball_ && !code.empty()) {
        if (side == HomeSide && code[0] == 'a') return false;
        if (side == VisitingSide && code[0] == '*') return false;
    }
    return true;
}

bool MatchCode(std::string_view code, std::string_view searchCode, int side, std::string_view sport) {
    return SearchPattern(searchCode, sport).matches(code, side);
}

std::string tildesToBlanks(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '~', ' ');
    return out;
}

}  // namespace corvane
