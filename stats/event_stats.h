#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codes/analysis_record.h"
#include "scout/code_table.h"

namespace corvane {

// One side's rows of the event statistics. Texts are package text (Windows-1252).
struct EventStatsRow {
    std::string player;              // column 0: number, "-", name ("SQ-..." team row, "TO-..." totals)
    std::vector<std::string> cells;  // one an event column, its values each followed by ";"
};

// Stat.txt in the event layout: every column after the player's is an event, its header
// "EV|label$label..." with the overall value first and an effect symbol a further label.
struct EventStats {
    std::string homeTitle;                // header of column 0: team "|" coach; empty when compact
    std::string opponentTitle;
    std::vector<std::string> headers;     // the event columns, shared by both tables (column 1 first)
    std::vector<EventStatsRow> home;      // the team row second-to-last, the totals row last
    std::vector<EventStatsRow> opponent;
    std::vector<std::string> eventsWithExtensions;
    bool compact = false;                 // team-level statistics only: one data row at most a side
    std::string problem;                  // why the reading stopped before the end; empty otherwise
};

// Bounds on what a file may ask for; past them the reading stops with `problem` set.
inline constexpr int kMaxEventColumns = 100;
inline constexpr int kMaxSubColumns = 7;  // the overall value and the six effect symbols
inline constexpr int kMaxStatsRows = 500;
inline constexpr std::size_t kMaxStatsFileBytes = 8u << 20;

// Reads the file; a missing or unreadable file gives empty tables. A data line that ends inside a
// column ends the reading there, the rows read so far staying.
EventStats LoadEventStats(const std::filesystem::path& file, const MatchCompanions& match);
EventStats readEventStats(const std::vector<std::string>& lines, const MatchCompanions& match);

// Drops every sub-column that is blank in every row of both tables, with its label, and every
// column that loses all its labels.
void PruneEmptySubColumns(EventStats& stats);

// The part of a header before "|" (empty without "|"), and the labels after it.
std::string headerEvent(std::string_view header);
std::vector<std::string> headerLabels(std::string_view header);
// A data cell's values: "3;;1;" gives "3", "", "1".
std::vector<std::string> cellValues(std::string_view cell);

// A click on a data cell of an event statistics table. column 0 is the player column, 1.. the
// event columns (index into headers + 1); subColumn the value under the pointer, -1 for none.
struct EventStatsClick {
    bool home = true;
    int row = 0;  // data row, from 0
    int column = 0;
    int subColumn = -1;
};

// Every data cell, the player cell of the totals row (every action of the side) included.
bool eventCellClickable(const EventStats& stats, const EventStatsClick& click);

// The search code of a click, such as "*05FI#~~~~", and the record it fills (cleared first).
// Nothing when the cell cannot be clicked or its row's shirt number cannot stand in two
// positions of a code.
std::optional<std::string> eventStatisticsSearch(const EventStats& stats, const EventStatsClick& click,
                                                 std::string_view sport, AnalysisRecord& record);

// The two characters a click on this row in an event column puts at positions 2-3: the shirt
// number, "~~" for every player (totals row, player 0), "$$" for the team row unless sport "A".
// Nothing for a number above 99.
std::optional<std::string> eventPlayerPart(const std::vector<EventStatsRow>& rows, int row, std::string_view sport);

}  // namespace corvane
