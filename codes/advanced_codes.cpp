#include "codes/advanced_codes.h"

#include "core/sport.h"
#include "core/text.h"
#include "scout/code_table.h"

namespace corvane {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool startsWithKeyword(std::string_view text, std::string_view keyword) {
    if (text.size() < keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (upper(text[i]) != keyword[i]) return false;
    return true;
}

// The text between the first "[" and the following "]"; the text is left after that "]".
std::string takeBracketed(std::string_view& text) {
    const std::size_t open = text.find('[');
    if (open == std::string_view::npos) {
        text = {};
        return {};
    }
    const std::size_t close = text.find(']', open + 1);
    const std::string value(
        text.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
    text = close == std::string_view::npos ? std::string_view() : text.substr(close + 1);
    return value;
}

TRules parseRule(std::string_view piece) {
    if (!piece.empty()) piece.remove_prefix(1);  // the "["
    TRules rule;
    const char last = piece.empty() ? '\0' : piece.back();
    rule.kind = last >= '0' && last <= '9' ? last - '0' : 1;
    rule.code = std::string(piece.substr(0, piece.size() >= 2 ? piece.size() - 2 : 0));
    return rule;
}

char positionOf(std::string_view code, std::size_t position) {
    return position <= code.size() ? code[position - 1] : ' ';
}

bool isTeamCode(std::string_view code) { return !code.empty() && (code[0] == '*' || code[0] == 'a'); }

bool isAllBlank(std::string_view code) {
    for (const char c : code)
        if (static_cast<unsigned char>(c) > ' ' && c != '~') return false;
    return true;
}

// The row before `row` that a kind 1 rule looks at, or 0 on the first row. A reception or dig
// rule looks past a set, so that "after a reception" still holds for the attack after the set.
int previousCandidate(const CodeTable& table, int row, bool skipsSet) {
    if (row <= 1) return 0;
    int candidate = row - 1;
    if (skipsSet && positionOf(table.Cell(Code, candidate), 4) == 'E' && candidate > 1) {
        // Codes beginning with "*" or "a" read as 0 here, so they always look past the set.
        const int number = textToInt(table.Cell(Code, candidate).substr(0, 2));
        const int before = textToInt(table.Cell(Code, candidate - 1).substr(0, 2));
        if ((number < 50 && before < 50) || (number > 50 && before > 50)) --candidate;
    }
    return candidate;
}

struct Stretch {
    int first = 0;
    int last = -1;
};

// The rows a stretch search covers from `row`: back to the nearest team code at or above it (or
// row 1), on through the marker rows that follow it. Every row of a stretch has the same stretch.
Stretch stretchAround(const CodeTable& table, int row) {
    Stretch stretch{row, row};
    while (stretch.first > 1 && !isTeamCode(table.Cell(Code, stretch.first))) --stretch.first;
    const int lastRow = table.RowCount() - 1;
    while (stretch.last < lastRow && !isTeamCode(table.Cell(Code, stretch.last + 1))) ++stretch.last;
    return stretch;
}

bool anyMatchIn(const CodeTable& table, Stretch stretch, const PreparedRule& rule) {
    for (int r = stretch.first; r <= stretch.last; ++r)
        if (rule.pattern.matches(table.Cell(Code, r), rule.side)) return true;
    return false;
}

template <typename StretchSearch>
bool ruleHolds(const PreparedRule& rule, int row, const CodeTable& table, StretchSearch&& stretchFound) {
    if (rule.allBlank) return true;
    const int lastRow = table.RowCount() - 1;
    if (row < 1 || row > lastRow) return false;
    const auto matchesRow = [&](int r) { return rule.pattern.matches(table.Cell(Code, r), rule.side); };
    switch (rule.kind) {
        case PreviousCode: {
            const int candidate = previousCandidate(table, row, rule.skipsSet);
            return candidate >= 1 && matchesRow(candidate);
        }
        case NextCode: return row < lastRow && matchesRow(row + 1);
        case InStretch: return stretchFound();
        case NotInStretch: return !stretchFound();
        case OwnCode: return matchesRow(row);
        default: return false;
    }
}

}  // namespace

PreparedRule prepareRule(std::string_view ruleCode, int kind, int side, std::string_view sport) {
    PreparedRule rule;
    rule.pattern = SearchPattern(ruleCode, sport);
    rule.allBlank = isAllBlank(ruleCode);
    const char skill = positionOf(ruleCode, 4);
    rule.skipsSet = isVolleyball(sport) && (skill == 'R' || skill == 'D');
    rule.kind = kind;
    rule.side = side;
    return rule;
}

std::optional<TAvanz> ParseAdvancedCodes(std::string_view text) {
    if (!text.empty() && text.front() == '{') text.remove_prefix(1);
    if (!text.empty() && text.back() == '}') text.remove_suffix(1);
    if (trimBlanks(text).empty()) return std::nullopt;

    TAvanz avanz;
    const std::vector<std::string> pieces = SplitText(text, ';');
    if (pieces.size() > 1) avanz.part2 = pieces[1];
    if (pieces.size() > 2) avanz.part3 = pieces[2];
    if (pieces.size() > 3) {
        std::string_view part4 = pieces[3];
        avanz.part4First = takeBracketed(part4);
        avanz.part4Second = takeBracketed(part4);
    }

    std::string_view group = pieces.empty() ? std::string_view() : std::string_view(pieces[0]);
    if (startsWithKeyword(group, "OR")) {
        avanz.mode = OrGroup;
        group.remove_prefix(2);
    } else if (startsWithKeyword(group, "AND")) {
        avanz.mode = AndGroup;
        group.remove_prefix(3);
    } else {
        avanz.mode = NoGroup;
        return avanz;
    }
    const std::vector<std::string> rulePieces = SplitText(tildesToBlanks(group), ']');
    for (std::size_t i = 0; i < rulePieces.size() && i < avanz.rules.size(); ++i)
        avanz.rules[i] = parseRule(rulePieces[i]);
    return avanz;
}

int ruleSide(std::string_view ruleCode) {
    if (ruleCode.empty()) return AnySide;
    if (ruleCode[0] == '*') return HomeSide;
    if (ruleCode[0] == 'a') return VisitingSide;
    return AnySide;
}

bool TestRule(std::string_view ruleCode, int kind, int side, int row, const CodeTable& table,
              std::string_view sport) {
    const PreparedRule rule = prepareRule(ruleCode, kind, side, sport);
    return ruleHolds(rule, row, table, [&] { return anyMatchIn(table, stretchAround(table, row), rule); });
}

bool TestAdvancedCodes(const TAvanz& avanz, int row, const CodeTable& table, std::string_view sport) {
    return AdvancedCodesTester(avanz, table, sport).passes(row);
}

AdvancedCodesTester::AdvancedCodesTester(const TAvanz& avanz, const CodeTable& table, std::string_view sport)
    : table_(table), mode_(avanz.mode) {
    for (const TRules& rule : avanz.rules) {
        if (rule.code.empty() || rule.kind == -1) break;
        rules_[static_cast<std::size_t>(ruleCount_++)].rule =
            prepareRule(rule.code, rule.kind, ruleSide(rule.code), sport);
    }
}

bool AdvancedCodesTester::passes(int row) {
    if (ruleCount_ == 0) return true;
    if (mode_ == AndGroup) {
        for (int i = 0; i < ruleCount_; ++i)
            if (!holds(rules_[static_cast<std::size_t>(i)], row)) return false;
        return true;
    }
    if (mode_ == OrGroup) {
        for (int i = 0; i < ruleCount_; ++i)
            if (holds(rules_[static_cast<std::size_t>(i)], row)) return true;
        return false;
    }
    return true;
}

bool AdvancedCodesTester::holds(CachedRule& cached, int row) {
    return ruleHolds(cached.rule, row, table_, [&] {
        if (row < cached.stretchFirst || row > cached.stretchLast) {
            const Stretch stretch = stretchAround(table_, row);
            cached.stretchFirst = stretch.first;
            cached.stretchLast = stretch.last;
            cached.stretchFound = anyMatchIn(table_, stretch, cached.rule);
        }
        return cached.stretchFound;
    });
}

}  // namespace corvane
