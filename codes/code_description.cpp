#include "codes/code_description.h"

#include "codes/match_code.h"
#include "core/files.h"
#include "core/text.h"
#include "scout/event_lookups.h"

namespace corvane {

namespace {

// Characters from position `from` (counted from 1), `count` of them, empty past the end.
std::string_view positions(std::string_view code, std::size_t from, std::size_t count) {
    return from - 1 < code.size() ? code.substr(from - 1, count) : std::string_view();
}

bool isBlank(std::string_view text) { return trimBlanks(text).empty(); }

std::string playerName(std::string_view code, const MatchCompanions& match) {
    const bool home = code.front() == '*';
    if (!home && code.front() != 'a') return {};
    const TeamPlayers& team = home ? match.HomePlayers : match.AwayPlayers;
    const int number = textToInt(positions(code, 2, 2));
    const PlayerRecord* found = nullptr;
    int withNumber = 0;
    for (int n = 1; n <= TeamPlayers::kRecords; ++n) {
        const PlayerRecord& player = team.records[static_cast<std::size_t>(n)];
        if (player.empty()) continue;
        ++withNumber;
        if (!found && textToInt(player.slots[0]) == number) found = &player;
    }
    if (!found) return {};
    if (withNumber <= 1) return found->slots[2];
    const std::string& teamName = match.MatchInfo[home ? 15 : 19];
    return AbbreviateText(teamName, 11, 5, false) + ", " + found->slots[2];
}

std::string extensionOf(std::string_view code, const EventRecord& entry, std::string_view sport) {
    for (const std::string& item : SplitText(entry.extensions, kExtensionSeparator)) {
        const std::size_t separator = item.find(kExtensionTextSeparator);
        if (separator == std::string::npos) continue;
        if (MatchCode(code, item.substr(0, separator), 2, sport)) return item.substr(separator + 1);
    }
    return std::string(positions(code, 7, 2));
}

}  // namespace

std::string DescribeCode(std::string_view rawCode, const CodeDescriptionSources& sources) {
    const std::string_view code = trimBlanks(rawCode);
    if (code.empty()) return {};
    if (sources.sport == "1" && code.size() >= 2) {
        const char second = static_cast<char>(asciiLower(code.substr(1, 1)).front());
        if (second == 'z' || second == 'p' || second == 't') return std::string(code);
    }
    if (positions(code, 2, 6) == "ENDACT") return sources.endOfActionText;
    if (code.front() == '>') return std::string(code);

    std::string text = playerName(code, sources.match);
    const std::string_view event = positions(code, 4, 2);
    const std::string_view evaluation = positions(code, 6, 1);
    const std::string_view extension = positions(code, 7, 2);
    bool matched = false;
    for (const EventRecord& entry : sources.events.records) {
        if (eventKey(entry) != event) continue;
        matched = true;
        text += " " + entry.description;
        const std::size_t symbol = evaluation.empty() ? std::string_view::npos : kEvaluationSymbols.find(evaluation);
        if (symbol != std::string_view::npos) {
            const auto effects = SplitText(entry.effects, ';');
            // A blank effect adds nothing, not a second blank.
            if (effects.size() > symbol && !isBlank(effects[symbol])) text += " " + effects[symbol];
        }
        if (!isBlank(extension)) text += " " + extensionOf(code, entry, sources.sport);
    }
    if (!matched) text += " " + std::string(event) + std::string(evaluation) + std::string(extension);
    return text.empty() ? std::string(code) : text;
}

}  // namespace corvane
