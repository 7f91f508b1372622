#pragma once

#include <string>

#include "core/platform.h"
#include "core/text.h"
#include "scout/code_table.h"

namespace corvane {

class Messages;

// The information strip's lines of the open match, as UTF-8 to show.
struct MatchHeaderLines {
    std::string home;   // team name fitted to the label, a blank, sets won
    std::string away;
    std::string date;   // competition, phase, city, then the date as day, month name and year
};

// The measure takes UTF-8, the text as drawn.
MatchHeaderLines matchHeaderLines(const MatchCompanions& match, int labelWidth, const TextMeasure& measure,
                                  const LocaleFormats& formats, const Messages& messages);

}  // namespace corvane
