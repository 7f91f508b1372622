#pragma once

#include <vector>

#include "scout/code_table.h"

namespace corvane {

// What the code list does when the position timer asks whether the action being played has
// ended.
enum class ActionEndStep {
    Nothing,         // not ended, or nothing follows
    Pause,           // StopAtEnd: hold the film at the end of the action
    SelectNextRow,   // go on to the next listed code
    NextAnalysis,    // a synthesis's last code: on to the next analysis
};

struct ActionEndDecision {
    ActionEndStep step = ActionEndStep::Nothing;
    // The row change only moves the highlight: the film plays on (an unfiltered list following it).
    bool moveHighlightOnly = false;
};

struct ActionEndQuery {
    const CodeTable& table;
    const std::vector<int>& listTableRows;  // column 4 of each list row, list row 1 first
    int listRow = 1;                         // the list's current row, from 1
    int positionSeconds = 0;                 // whole seconds of the player's position
    bool synthesisMode = false;
    bool followFilm = false;
    bool stopAtEnd = false;
    int endOffsetSeconds = 0;
};

// The end of the current action and what follows it. An unfiltered list (as many rows as the
// table) ends an action at the next code; a filtered one at the rally's end (an "ENDACT" or a
// point row), less the end offset; a synthesis one second after the code, less the offset.
ActionEndDecision CheckActionEnd(const ActionEndQuery& query);

}  // namespace corvane
