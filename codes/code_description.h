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

// The clear text of a code: the player's name (after the team's short name when the side has
// several players), then the event's description, its effect and its extension. Windows-1252.
std::string DescribeCode(std::string_view code, const CodeDescriptionSources& sources);

}  // namespace corvane
