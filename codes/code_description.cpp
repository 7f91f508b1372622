#include "codes/code_description.h"

#include <span>
#include <unordered_map>

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

std::string_view extensionOf(std::string_view code, const EventEntry& entry, std::string_view sport) {
    if (const std::string* text = matchingExtension(entry, code, sport)) return *text;
    return positions(code, 7, 2);
}

// What one entry of the event adds to the clear text.
std::string entryText(std::string_view code, const EventEntry& entry, std::string_view sport) {
    std::string text = " " + entry.record->description;
    const std::string_view evaluation = positions(code, 6, 1);
    const std::size_t symbol = evaluation.empty() ? std::string_view::npos : kEvaluationSymbols.find(evaluation);
    // A blank effect adds nothing, not a second blank.
    if (symbol < entry.effects.size() && !isBlank(entry.effects[symbol])) text += " " + entry.effects[symbol];
    if (!isBlank(positions(code, 7, 2))) text += " " + std::string(extensionOf(code, entry, sport));
    return text;
}

// Each entry's part in file order until the text is full. A repeated line's part is made once.
void appendEntries(std::string& text, std::string_view code, std::span<const EventEntry* const> entries,
                   std::string_view sport) {
    std::unordered_map<const EventEntry*, std::string> made;
    for (const EventEntry* entry : entries) {
        if (text.size() >= kMaxClearTextLength) break;
        auto [part, fresh] = made.try_emplace(entry);
        if (fresh) part->second = entryText(code, *entry, sport);
        text += part->second;
    }
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
    const auto entries = sources.events.withKey(event);
    if (entries.empty())
        text += " " + std::string(event) + std::string(positions(code, 6, 1)) + std::string(positions(code, 7, 2));
    else
        appendEntries(text, code, entries, sources.sport);
    if (text.size() > kMaxClearTextLength) text.resize(kMaxClearTextLength);
    return text.empty() ? std::string(code) : text;
}

}  // namespace corvane
