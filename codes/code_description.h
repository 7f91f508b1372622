#pragma once

#include <string>
#include <string_view>

#include "scout/code_table.h"
#include "scout/events.h"

namespace corvane {

// What describing a code in words reads: the open package's players and events, and the text
// of message 131 (an end-of-action row).
struct CodeDescriptionSources {
    std::string_view sport;
    const MatchCompanions& match;
    const EventTable& events;
    std::string endOfActionText;
};

// The longest clear text: far beyond a player, an event, its effect and its extension, so only an
// events file that repeats an event's line many times is cut there.
inline constexpr std::size_t kMaxClearTextLength = 512;

// The clear text of a code in its pieces, so that a narrow list can shorten the player and the
// extension and still show what happened and how it ended. A code shown as one text (an end of
// action, a comment, a volleyball point or set row, or a code that describes to nothing) has only
// `whole`. Windows-1252.
struct CodeDescriptionParts {
    std::string team;         // the team's short name, when its side has several players
    std::string player;       // the player's name as the package writes it
    std::string shirtNumber;  // as the player list writes it
    std::string event;        // the first event entry's description
    std::string effect;       // its effect for the code's evaluation, or empty
    std::string rest;         // its extension and every further entry, with their leading blanks
    std::string whole;
};
CodeDescriptionParts DescribeCodeParts(std::string_view code, const CodeDescriptionSources& sources);

// The clear text of a code: the player's name (after the team's short name when the side has
// several players), then the description, effect and extension of every entry of the event, cut at
// kMaxClearTextLength. Windows-1252.
std::string DescribeCode(std::string_view code, const CodeDescriptionSources& sources);

}  // namespace corvane
