#include "codes/action_end.h"

#include <optional>

#include "core/text.h"

namespace corvane {

namespace {

bool endsRally(std::string_view code) {
    return (code.size() >= 7 && code.substr(1, 6) == "ENDACT") || (code.size() >= 2 && code[1] == 'p');
}

// The second at which the action ends, or nothing when it never does.
std::optional<int> actionEnd(const ActionEndQuery& q, int tableRow, bool wholeTable) {
    if (q.synthesisMode) {
        const std::string_view second = q.table.Cell(VideoSec, tableRow);
        return (second.empty() ? 0 : textToInt(second) + 1) - q.endOffsetSeconds;
    }
    if (wholeTable) return textToInt(q.table.Cell(VideoSec, q.listRow + 1));
    for (int row = tableRow + 1; row < q.table.RowCount(); ++row)
        if (endsRally(q.table.Cell(Code, row))) return textToInt(q.table.Cell(VideoSec, row)) - q.endOffsetSeconds;
    return std::nullopt;
}

}  // namespace

ActionEndDecision CheckActionEnd(const ActionEndQuery& q) {
    const int listRows = static_cast<int>(q.listTableRows.size());
    if (q.listRow < 1 || q.listRow > listRows) return {};
    const bool wholeTable = !q.synthesisMode && listRows == q.table.codeRowCount();
    const bool lastRow = q.listRow == listRows;
    if (wholeTable && lastRow) return {};

    const auto end = actionEnd(q, q.listTableRows[static_cast<std::size_t>(q.listRow - 1)], wholeTable);
    if (!end || q.positionSeconds < *end) return {};

    ActionEndDecision decision;
    decision.moveHighlightOnly = q.followFilm && wholeTable;
    if (q.synthesisMode && lastRow) {
        decision.step = ActionEndStep::NextAnalysis;
    } else if (!lastRow) {
        decision.step = q.stopAtEnd ? ActionEndStep::Pause : ActionEndStep::SelectNextRow;
    }
    return decision;
}

}  // namespace corvane
