#include "codes/code_passes.h"

#include <optional>

#include "codes/advanced_codes.h"
#include "codes/match_code.h"
#include "core/sport.h"
#include "core/text.h"
#include "scout/code_table.h"

namespace corvane {

namespace {

char positionOf(std::string_view code, std::size_t position) {
    return position <= code.size() ? code[position - 1] : ' ';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A set filter holds the ticked sets as "1;3;"; a row without a set is in none of them.
bool inSetFilter(std::string_view setNo, std::string_view setFilter) {
    return setFilter.empty() || (!setNo.empty() && setFilter.find(setNo) != std::string_view::npos);
}

CodeListRow listRow(const CodeTable& table, int row) {
    return {std::string(table.Cell(Code, row)), std::string(table.Cell(Film, row)),
            FormatCodeTime(table.Cell(VideoSec, row)), std::string(table.Cell(SetNo, row)), row};
}

enum class RallySearch { None, AfterReception, AfterOwnTouch };

// Point codes and the other codes that end a rally.
bool endsRally(std::string_view code) {
    const char c = positionOf(code, 2);
    return c == 'p' || c == 'z' || c == 'c' || c == 'T';
}

// A touch by a player or by the team, as opposed to a set end ("**") or another marker row, whose
// position 4 may hold any letter.
bool isActionCode(std::string_view code) {
    const char tens = positionOf(code, 2);
    const char units = positionOf(code, 3);
    return (isDigit(tens) && isDigit(units)) || (tens == '$' && units == '$');
}

// Looks back through the rally of the attack in `row`; stops at the rally's start or at the
// attack before, so every row is looked at by one attack at most.
bool rallyTouchFound(const CodeTable& table, int row, RallySearch search) {
    const char team = positionOf(table.Cell(Code, row), 1);
    for (int r = row - 1; r >= 1; --r) {
        const std::string_view code = table.Cell(Code, r);
        if (endsRally(code)) return false;
        const char skill = positionOf(code, 4);
        if (positionOf(code, 1) == team) {
            if (search == RallySearch::AfterReception && skill == 'R') return true;
            if (search == RallySearch::AfterOwnTouch && skill != 'R' && skill != 'E' && isActionCode(code))
                return true;
        }
        if (skill == 'A') return false;
    }
    return false;
}

struct TwoPointCodes {
    std::string_view generic, first, second;
};

// Languages 0 and 2 write the two-point events TS and TF, language 1 FI and FG; languages added
// later have no codes of their own and use language 1's.
TwoPointCodes twoPointCodes(int languageNumber) {
    if (languageNumber == 0 || languageNumber == 2) return {"T2", "TS", "TF"};
    return {"F2", "FI", "FG"};
}

// The search code with positions 4-5 set to a two-letter event code.
std::string withEvent(std::string searchCode, std::string_view event) {
    searchCode[3] = event[0];
    searchCode[4] = event[1];
    return searchCode;
}

// The selection of one analysis over the rows of the table.
class AnalysisSelection {
public:
    AnalysisSelection(const AnalysisRecord& analysis, const PassContext& context, int index)
        : index_(index), synthesis_(context.SynthesisMode) {
        // The pass matches no team marks and makes no rally search; adv_codes is not tested here.
        std::string search = tildesToBlanks(analysis[AnalysisRecord::main_code]);
        if (search.empty()) search.assign(20, ' ');
        if (search[0] == '*' || search[0] == 'a') search[0] = ' ';
        if (search.size() >= 4 && (search[3] == 'r' || search[3] == 'd')) search[3] = 'A';
        pattern_ = SearchPattern(search, context.Sport);
        if (sportKind(context.Sport) == SportKind::Basketball && search.size() >= 5) {
            const TwoPointCodes codes = twoPointCodes(context.LanguageNumber);
            if (std::string_view(search).substr(3, 2) == codes.generic) {
                twoPoint_ = true;
                pattern_ = SearchPattern(withEvent(search, codes.first), context.Sport);
                secondPattern_ = SearchPattern(withEvent(search, codes.second), context.Sport);
            }
        }
    }

    bool accepts(const CodeTable& table, int row, std::string_view setFilter) const {
        const std::string_view code = table.Cell(Code, row);
        const bool candidate =
            pattern_.matches(code, AnySide) || (twoPoint_ && secondPattern_.matches(code, AnySide));
        if (!candidate || code.empty()) return false;
        if (!inSetFilter(table.Cell(SetNo, row), setFilter)) return false;
        if (synthesis_) {
            // A synthesis keeps in Clock the number of the analysis the code belongs to.
            const auto number = parseWholeNumber(table.Cell(Clock, row));
            if (!number || *number != index_) return false;
        }
        return true;
    }

private:
    SearchPattern pattern_;
    SearchPattern secondPattern_;
    bool twoPoint_ = false;
    int index_;
    bool synthesis_;
};

}  // namespace

std::vector<CodeListRow> FillCodeList(const CodeTable& table, std::string_view searchCode,
                                      std::string_view setFilter, const AnalysisRecord& analysis,
                                      const PassContext& context) {
    std::string search = tildesToBlanks(searchCode);
    RallySearch rally = RallySearch::None;
    if (search.size() >= 4 && (search[3] == 'r' || search[3] == 'd')) {
        rally = search[3] == 'r' ? RallySearch::AfterReception : RallySearch::AfterOwnTouch;
        search[3] = 'A';
    }
    const SearchPattern pattern(search, context.Sport);

    std::optional<AdvancedCodesTester> advanced;
    if (isVolleyball(context.Sport) && !context.SynthesisMode)
        advanced.emplace(ParseAdvancedCodes(analysis[AnalysisRecord::adv_codes]).value_or(TAvanz{}), table,
                         context.Sport);

    std::vector<CodeListRow> rows;
    const int lastRow = table.RowCount() - 1;
    for (int row = 1; row <= lastRow; ++row) {
        const std::string_view code = table.Cell(Code, row);
        if (!pattern.matches(code, AnySide) || code.empty()) continue;
        if (!inSetFilter(table.Cell(SetNo, row), setFilter)) continue;
        if (table.Cell(VideoSec, row).empty() || table.Cell(Film, row).empty()) continue;
        if (advanced && !advanced->passes(row)) continue;
        if (rally != RallySearch::None && !rallyTouchFound(table, row, rally)) continue;
        rows.push_back(listRow(table, row));
    }
    return rows;
}

std::vector<CodeListRow> ApplyAnalysis(const CodeTable& table, int index, std::string_view setFilter,
                                       const AnalysisRecord& analysis, const PassContext& context) {
    const AnalysisSelection selection(analysis, context, index);
    std::vector<CodeListRow> rows;
    const int lastRow = table.RowCount() - 1;
    for (int row = 1; row <= lastRow; ++row)
        if (selection.accepts(table, row, setFilter)) rows.push_back(listRow(table, row));
    return rows;
}

bool AnalysisSelectsAnyCode(const CodeTable& table, int index, const AnalysisRecord& analysis,
                            const PassContext& context) {
    const AnalysisSelection selection(analysis, context, index);
    const int lastRow = table.RowCount() - 1;
    for (int row = 1; row <= lastRow; ++row)
        if (selection.accepts(table, row, {})) return true;
    return false;
}

}  // namespace corvane
