#include "codes/action_end.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "codes/code_list_rules.h"

namespace corvane {

namespace {

bool endsRally(std::string_view code) {
    return (code.size() >= 7 && code.substr(1, 6) == "ENDACT") || (code.size() >= 2 && code[1] == 'p');
}

// Where an action ends: at a second, at the end of its film, or never (a filtered list whose
// rally has no end row).
struct ActionEnd {
    enum Kind { AtSecond, AtFilmEnd, Never } kind = Never;
    int second = 0;

    bool reached(int position, bool atFilmEnd) const {
        switch (kind) {
            case AtSecond: return position >= second;
            case AtFilmEnd: return atFilmEnd;
            case Never: return false;
        }
        return false;
    }
};

int offsetOf(const ActionEndQuery& q) { return std::clamp(q.endOffsetSeconds, -kOffsetLimit, kOffsetLimit); }

ActionEnd synthesisActionEnd(const ActionEndQuery& q, int tableRow) {
    const std::string_view film = q.table.Cell(Film, tableRow);
    for (int row = tableRow + 1; row < q.table.RowCount(); ++row) {
        if (q.table.Cell(Film, row) != film) break;  // the film's last code
        if (const auto second = codeSecond(q.table, row)) return {ActionEnd::AtSecond, *second - offsetOf(q)};
    }
    return {ActionEnd::AtFilmEnd};
}

ActionEnd filteredActionEnd(const ActionEndQuery& q, int tableRow) {
    for (int row = tableRow + 1; row < q.table.RowCount(); ++row) {
        if (!endsRally(q.table.Cell(Code, row))) continue;
        const auto second = codeSecond(q.table, row);
        return second ? ActionEnd{ActionEnd::AtSecond, *second - offsetOf(q)} : ActionEnd{};
    }
    return {};
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
    for (int row = q.listRow + 1; row <= listRows; ++row) {
        if (q.table.Cell(Film, tableRowOf(row)) != film) break;
        const auto second = codeSecond(q.table, tableRowOf(row));
        if (!second) continue;
        if (*second > q.positionSeconds) break;
        target = row;
    }
    if (target == q.listRow && q.listRow < listRows) {
        // The next code lies in another film: it starts once the position has passed its second.
        const auto next = codeSecond(q.table, tableRowOf(q.listRow + 1));
        if (q.table.Cell(Film, tableRowOf(q.listRow + 1)) != film && next && q.positionSeconds >= *next)
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
    const ActionEnd end = q.synthesisMode ? synthesisActionEnd(q, tableRow) : filteredActionEnd(q, tableRow);
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

}  // namespace corvane
