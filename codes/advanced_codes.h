#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "codes/match_code.h"

namespace corvane {

class CodeTable;

// One rule of an advanced-codes group: a search code (blanks, not "~") and the kind of
// neighbour it tests; kind -1 when the rule is absent.
struct TRules {
    std::string code;
    int kind = -1;
};

inline constexpr int kMaxRules = 5;
using TCodeFilterRules = std::array<TRules, kMaxRules>;

enum AdvancedMode : int { NoGroup = -1, AndGroup = 0, OrGroup = 1 };

// A parsed advanced-codes expression. The parts after the group are kept but never tested.
struct TAvanz {
    int mode = NoGroup;
    TCodeFilterRules rules;
    std::string part2;
    std::string part3;
    std::string part4First;
    std::string part4Second;
};

// Rule kinds: what the rule code is matched against.
enum RuleKind : int {
    PreviousCode = 1,
    NextCode = 2,
    InStretch = 3,
    NotInStretch = 4,
    OwnCode = 5,
};

// "{OR[code,kind]...;part2;part3;[first][second]}": nothing for an empty or blank text. A
// keyword other than OR or AND (any case) gives a record with no rules, which every code
// passes. Rules beyond the fifth are dropped.
std::optional<TAvanz> ParseAdvancedCodes(std::string_view text);

// 0 for a rule code beginning with "*", 1 with "a", 2 otherwise.
int ruleSide(std::string_view ruleCode);

// Whether a rule holds for the code in row `row` (1..N) of the table.
bool TestRule(std::string_view ruleCode, int kind, int side, int row, const CodeTable& table,
              std::string_view sport);

// Whether the code in row `row` passes the expression.
bool TestAdvancedCodes(const TAvanz& avanz, int row, const CodeTable& table, std::string_view sport);

// A rule ready to be tested against many rows.
struct PreparedRule {
    SearchPattern pattern;
    bool allBlank = false;
    bool skipsSet = false;  // a volleyball kind 1 rule for a reception or dig looks past a set
    int kind = -1;
    int side = AnySide;
};
PreparedRule prepareRule(std::string_view ruleCode, int kind, int side, std::string_view sport);

// The expression test for the rows of one pass: patterns are prepared once, and the answer of a
// stretch search is kept for every row of that stretch, so a pass stays linear however long the
// stretches are.
class AdvancedCodesTester {
public:
    AdvancedCodesTester(const TAvanz& avanz, const CodeTable& table, std::string_view sport);

    bool passes(int row);

private:
    struct CachedRule {
        PreparedRule rule;
        int stretchFirst = 0;
        int stretchLast = -1;
        bool stretchFound = false;
    };

    bool holds(CachedRule& cached, int row);

    const CodeTable& table_;
    int mode_;
    std::array<CachedRule, kMaxRules> rules_;
    int ruleCount_ = 0;
};

}  // namespace corvane
