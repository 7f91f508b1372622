#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "codes/analysis_record.h"
#include "scout/code_table.h"

namespace corvane {

class Messages;

// One side's table of the volleyball statistics: six columns of text cells, the values of
// columns 1 to 5 joined by ";". Header texts are "title|sub$sub$..." (UTF-8); cells are package
// text (Windows-1252).
struct StatsTable {
    static constexpr int kColumns = 6;
    std::array<std::string, kColumns> headers;
    std::vector<std::array<std::string, kColumns>> rows;  // data rows; the last is the totals row
};

struct VolleyballStats {
    StatsTable home;
    StatsTable opponent;
};

// Reads Stat.txt: "[testata]" names the fundamental columns' messages, "[home]" and "[opponent]"
// hold a line of 20 fields a player and the totals line last. A line with too few fields ends the
// reading there; a file that cannot be read gives empty tables.
VolleyballStats LoadVolleyballStats(const std::filesystem::path& file, const MatchCompanions& match,
                                    const Messages& messages);

// Every field of a statistics line: empty ones count, a last one after the final ";" too.
std::vector<std::string> statisticsFields(const std::string& line);

// The skill letters of the fundamental columns 2 to 5.
inline constexpr const char* kStatisticsSkills = "SRAB";

// What a click on a statistics cell searches for. column 0..5; subColumn the value under the
// pointer (-1 in a gap or in column 0).
struct StatisticsCell {
    bool home = true;
    bool totalsRow = false;
    std::string firstCell;  // column 0 of the clicked row
    int column = 0;
    int subColumn = -1;
};

// Clickable: not the header, not column 1, not column 0 of the totals row, never in a synthesis.
bool statisticsCellClickable(int column, bool totalsRow, bool synthesisMode);

// Fills the analysis record for the click (the record is cleared first): main_code the search
// code such as "*05S~=~~~", adv_codes the alternative clause of a reception error.
void statisticsSearch(const StatisticsCell& cell, AnalysisRecord& record);

}  // namespace corvane
