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

// The clear text of a code: the player's name (after the team's short name when the side has
// several players), then the description, effect and extension of every entry of the event, cut at
// kMaxClearTextLength. Windows-1252.
std::string DescribeCode(std::string_view code, const CodeDescriptionSources& sources);

}  // namespace corvane
