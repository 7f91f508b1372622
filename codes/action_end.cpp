#include "codes/action_end.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "codes/code_list_rules.h"
#include "core/text.h"
#include "core/transport_rules.h"

namespace corvane {

namespace {

bool endsRally(std::string_view code) {
    return (code.size() >= 7 && code.substr(1, 6) == "ENDACT") || (code.size() >= 2 && code[1] == 'p');
}

// Where an action ends, and whether the position has reached it.
struct ActionEnd : ListActionEnd {
    bool reached(int position, bool atFilmEnd) const {
        switch (kind) {
            case AtSecond: return position >= second;
            case AtFilmEnd: return atFilmEnd;
            case Never: return false;
        }
        return false;
    }
};

int offsetOf(int endOffsetSeconds) { return std::clamp(endOffsetSeconds, -kOffsetLimit, kOffsetLimit); }

ActionEnd endAt(ListActionEnd::Kind kind, int second = 0) {
    ActionEnd end;
    end.kind = kind;
    end.second = second;
    return end;
}

ActionEnd synthesisActionEnd(const CodeTable& table, int tableRow, int endOffsetSeconds) {
    const std::string_view film = table.Cell(Film, tableRow);
    for (int row = tableRow + 1; row < table.RowCount(); ++row) {
        if (table.Cell(Film, row) != film) break;  // the film's last code
        if (const auto second = codeSecond(table, row))
            return endAt(ActionEnd::AtSecond, *second - offsetOf(endOffsetSeconds));
    }
    return endAt(ActionEnd::AtFilmEnd);
}

ActionEnd filteredActionEnd(const CodeTable& table, int tableRow, int endOffsetSeconds) {
    const std::string_view film = table.Cell(Film, tableRow);
    for (int row = tableRow + 1; row < table.RowCount(); ++row) {
        // The seconds of the next film count from its own start: the rally ended with its film.
        if (table.Cell(Film, row) != film) return endAt(ActionEnd::AtFilmEnd);
        if (!endsRally(table.Cell(Code, row))) continue;
        const auto second = codeSecond(table, row);
        return second ? endAt(ActionEnd::AtSecond, *second - offsetOf(endOffsetSeconds)) : ActionEnd{};
    }
    return {};
}

// Whether the position is a second of the code's film.
bool shownFilm(const ActionEndQuery& q, int tableRow) {
    if (!q.playingFilm) return true;
    const auto film = parseIntInRange(q.table.Cell(Film, tableRow), 0, kFilmNumberLimit);
    return film && *film == *q.playingFilm;
}

bool outsideAction(const ActionEndQuery& q, int tableRow, const ActionEnd& end) {
    const auto second = codeSecond(q.table, tableRow);
    const int preRoll = q.synthesisMode ? 0 : std::clamp(q.preRollSeconds, -kOffsetLimit, kOffsetLimit);
    const int start = second ? std::max(0, *second - preRoll) : 0;
    return q.positionSeconds < start || (end.kind == ActionEnd::AtSecond && q.positionSeconds >= end.second);
}

// An unfiltered list: the last code of the film at or before the position, from the current row on.
ActionEndDecision followTheFilm(const ActionEndQuery& q) {
    const int listRows = static_cast<int>(q.listTableRows.size());
    const auto tableRowOf = [&](int listRow) { return q.listTableRows[static_cast<std::size_t>(listRow - 1)]; };
    const std::string_view film = q.table.Cell(Film, tableRowOf(q.listRow));
    int target = q.listRow;
    // Another film shown: the position says nothing of where this film's codes stand.
    const int lastRowToTry = shownFilm(q, tableRowOf(q.listRow)) ? listRows : q.listRow;
    for (int row = q.listRow + 1; row <= lastRowToTry; ++row) {
        if (q.table.Cell(Film, tableRowOf(row)) != film) break;
        const auto second = codeSecond(q.table, tableRowOf(row));
        if (!second) continue;
        if (*second > q.positionSeconds) break;
        target = row;
    }
    if (target == q.listRow && q.listRow < listRows) {
        // The next code lies in another film: it starts once the position has passed its second.
        const auto next = codeSecond(q.table, tableRowOf(q.listRow + 1));
        const int nextRow = tableRowOf(q.listRow + 1);
        if (q.table.Cell(Film, nextRow) != film && shownFilm(q, nextRow) && next && q.positionSeconds >= *next)
            target = q.listRow + 1;
    }
    if (target == q.listRow) return {};
    ActionEndDecision decision;
    decision.moveHighlightOnly = q.followFilm;
    decision.step = q.stopAtEnd ? ActionEndStep::Pause : ActionEndStep::SelectNextRow;
    decision.nextListRow = target;
    return decision;
}

}  // namespace

ActionEndDecision CheckActionEnd(const ActionEndQuery& q) {
    const int listRows = static_cast<int>(q.listTableRows.size());
    if (q.listRow < 1 || q.listRow > listRows) return {};
    if (!q.synthesisMode && listRows == q.table.codeRowCount()) return followTheFilm(q);

    const int tableRow = q.listTableRows[static_cast<std::size_t>(q.listRow - 1)];
    if (!shownFilm(q, tableRow)) return {};
    const ActionEnd end = q.synthesisMode ? synthesisActionEnd(q.table, tableRow, q.endOffsetSeconds)
                                          : filteredActionEnd(q.table, tableRow, q.endOffsetSeconds);
    if (q.filmMovedByUser && outsideAction(q, tableRow, end)) return {ActionEndStep::Release};
    if (!end.reached(q.positionSeconds, q.atFilmEnd)) return {};

    const bool lastRow = q.listRow == listRows;
    ActionEndDecision decision;
    if (q.synthesisMode && lastRow) {
        decision.step = ActionEndStep::NextAnalysis;
    } else if (!lastRow) {
        decision.step = q.stopAtEnd ? ActionEndStep::Pause : ActionEndStep::SelectNextRow;
        decision.nextListRow = q.listRow + 1;
    }
    return decision;
}

ListActionEnd listActionEnd(const CodeTable& table, const std::vector<int>& listTableRows, int listRow,
                            bool synthesisMode, int endOffsetSeconds) {
    const int listRows = static_cast<int>(listTableRows.size());
    if (listRow < 1 || listRow > listRows) return {};
    const int tableRow = listTableRows[static_cast<std::size_t>(listRow - 1)];
    if (synthesisMode) return synthesisActionEnd(table, tableRow, endOffsetSeconds);
    if (listRows != table.codeRowCount()) return filteredActionEnd(table, tableRow, endOffsetSeconds);
    // An unfiltered list follows the film: the highlight leaves the row when the film reaches the
    // next code of the same film that has a readable second.
    const std::string_view film = table.Cell(Film, tableRow);
    for (int row = listRow + 1; row <= listRows; ++row) {
        const int next = listTableRows[static_cast<std::size_t>(row - 1)];
        if (table.Cell(Film, next) != film) break;
        if (const auto second = codeSecond(table, next)) return endAt(ActionEnd::AtSecond, *second);
    }
    return endAt(ActionEnd::AtFilmEnd);
}

}  // namespace corvane
