#pragma once

#include <optional>
#include <vector>

#include "scout/code_table.h"

namespace corvane {

// What the code list does when the position timer asks whether the action being played has
// ended.
enum class ActionEndStep {
    Nothing,         // not ended, or nothing follows
    Pause,           // StopAtEnd: hold the film at the end of the action
    SelectNextRow,   // go on to a later listed code (nextListRow)
    NextAnalysis,    // a synthesis's last code: on to the next analysis
    Release,         // the user took the film out of the action: the list stops driving it
};

struct ActionEndDecision {
    ActionEndStep step = ActionEndStep::Nothing;
    // The row change only moves the highlight: the film plays on (an unfiltered list following it).
    bool moveHighlightOnly = false;
    int nextListRow = 0;  // the row SelectNextRow selects
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
    bool atFilmEnd = false;        // the player stands at the film's last picture
    int preRollSeconds = 0;        // where the list started the action, before the code
    bool filmMovedByUser = false;  // the track bar or a jump moved the film since the last check
    // The number of the film the player shows; the position is a second of that film. Empty when
    // it is not known: the films of the codes are then taken to be the one shown.
    std::optional<int> playingFilm;
};

// The end of the current action and what follows it.
// - An unfiltered list (as many rows as the table) follows the film: its highlight moves to the
//   last code at or before the position, however many codes the film has passed since the last
//   check.
// - A filtered list ends an action at the rally's end (an "ENDACT" or a point row), less the end
//   offset.
// - A synthesis's film holds its actions one after the other: an action ends where the table's
//   next code starts, less the offset; the film's last code runs to the end of the film.
// A list that plays actions lets go of the film once the user has moved it outside the current
// action (before its pre-roll or past its end).
// A second is a second of one film: a code of another film than the one shown neither ends nor
// starts by the position, and a rally's end is looked for in its own film only (a rally without
// one there runs to its film's end).
ActionEndDecision CheckActionEnd(const ActionEndQuery& query);

// Where the action of a list row stops when the list plays it: at a second of its film, at the
// end of its film, or never by itself (a filtered list whose rally has no readable end row, which
// then plays on to the film's end). The rules are those of CheckActionEnd; an unfiltered list's
// action runs until the film reaches the next listed code of the same film.
struct ListActionEnd {
    enum Kind { AtSecond, AtFilmEnd, Never } kind = Never;
    int second = 0;
};
ListActionEnd listActionEnd(const CodeTable& table, const std::vector<int>& listTableRows, int listRow,
                            bool synthesisMode, int endOffsetSeconds);

}  // namespace corvane
