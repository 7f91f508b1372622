#include "codes/match_header.h"

#include "core/cp1252.h"
#include "core/messages.h"

namespace corvane {

MatchHeaderLines matchHeaderLines(const MatchCompanions& match, int labelWidth, const TextMeasure& measure,
                                  const LocaleFormats& formats, const Messages& messages) {
    const auto& info = match.MatchInfo;
    MatchHeaderLines lines;
    // Fitted as drawn, so a cut never falls inside a character.
    lines.home = FitText(cp1252ToUtf8(info[15]), labelWidth - 20, measure) + " " + cp1252ToUtf8(info[26]);
    lines.away = FitText(cp1252ToUtf8(info[19]), labelWidth - 20, measure) + " " + cp1252ToUtf8(info[27]);
    std::string date(trimBlanks(info[3]));
    for (const std::string* part : {&info[4], &info[11]}) {
        if (trimBlanks(*part).empty()) continue;
        date += trimBlanks(date).empty() ? " " : ", ";
        date += *part;
    }
    // The month's name is a message (UTF-8); a slot that is no date stays package text.
    const std::string day = FormatDate(info[0], 0, formats, messages);
    lines.date = cp1252ToUtf8(date) + " " + (day == info[0] ? cp1252ToUtf8(day) : day);
    return lines;
}

}  // namespace corvane
