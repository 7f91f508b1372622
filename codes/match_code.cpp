#include "codes/match_code.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/sport.h"

namespace corvane {

namespace {

bool isWildcard(unsigned char c) { return c <= ' ' || c == '~'; }

bool isVisitingDigit(unsigned char c) { return c >= '5' && c <= '9'; }

}  // namespace

SearchPattern::SearchPattern(std::string_view searchCode, std::string_view sport)
    : volleyball_(isVolleyball(sport)) {
    std::array<unsigned char, kMatchedPositions> bytes{}, mask{};
    const std::size_t length = std::min<std::size_t>(searchCode.size(), kMatchedPositions);
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(searchCode[i]);
        if (isWildcard(c)) continue;
        if (i == 0 && volleyball_ && isVisitingDigit(c)) c = static_cast<unsigned char>(c - 5);
        bytes[i] = c;
        mask[i] = 0xFF;
    }
    std::memcpy(&low_, bytes.data(), sizeof low_);
    std::memcpy(&lowMask_, mask.data(), sizeof lowMask_);
    std::memcpy(&high_, bytes.data() + sizeof low_, sizeof high_);
    std::memcpy(&highMask_, mask.data() + sizeof low_, sizeof highMask_);
}

bool SearchPattern::matches(std::string_view code, int side) const {
    // The first ten positions, blank-padded, compared all at once.
    std::array<unsigned char, kMatchedPositions> bytes;
    if (code.size() >= kMatchedPositions) {
        std::memcpy(bytes.data(), code.data(), kMatchedPositions);
    } else {
        bytes.fill(' ');
        std::copy(code.begin(), code.end(), bytes.begin());
    }
    if (volleyball_) {
        // Codes carry the team as "*" or "a"; older ones as a player number of 50 and above.
        bool visiting = bytes[0] == 'a';
        if (isVisitingDigit(bytes[0])) {
            visiting = true;
            bytes[0] = static_cast<unsigned char>(bytes[0] - 5);
        }
        if ((side == HomeSide && visiting) || (side == VisitingSide && !visiting)) return false;
    }
    std::uint64_t low;
    std::uint16_t high;
    std::memcpy(&low, bytes.data(), sizeof low);
    std::memcpy(&high, bytes.data() + sizeof low, sizeof high);
    if (((low ^ low_) & lowMask_) != 0 || ((high ^ high_) & highMask_) != 0) return false;
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
