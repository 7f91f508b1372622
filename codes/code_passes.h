#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codes/analysis_record.h"

namespace corvane {

class CodeTable;

// One row of the code list, as its five columns hold it.
struct CodeListRow {
    std::string code;
    std::string film;
    std::string time;  // VideoSec as h.mm.ss
    std::string set;
    int row = 0;  // the code's row in the code table
};

// What the passes need to know of the open package and the program.
struct PassContext {
    std::string Sport;
    bool SynthesisMode = false;
    int LanguageNumber = 0;
};

// The pass of a match package: every code that matches the search code ("~" for blanks, empty
// for every code), lies in one of the sets of the set filter ("1;3;", empty for every set) and
// has a film and a time. Volleyball matches also apply the record's adv_codes. Position 4 "r"
// asks for an attack after the team's own reception in the same rally, "d" for an attack after
// another own touch (a player or team code, not a set end or marker row) that is neither a
// reception nor a set. An empty result is a list of one empty row.
std::vector<CodeListRow> FillCodeList(const CodeTable& table, std::string_view searchCode,
                                      std::string_view setFilter, const AnalysisRecord& analysis,
                                      const PassContext& context);

// The pass of a synthesis: the codes of the record's main_code (team marks ignored, no rally
// search) in the set filter; in a synthesis only those of analysis `index` (the Clock column).
// Basketball's generic two-point code stands for both two-point event codes of the language;
// languages without codes of their own use those of language 1.
std::vector<CodeListRow> ApplyAnalysis(const CodeTable& table, int index, std::string_view setFilter,
                                       const AnalysisRecord& analysis, const PassContext& context);

// Whether ApplyAnalysis with no set filter would list any code, stopping at the first.
bool AnalysisSelectsAnyCode(const CodeTable& table, int index, const AnalysisRecord& analysis,
                            const PassContext& context);

}  // namespace corvane
