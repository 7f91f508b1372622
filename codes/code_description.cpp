#include "codes/code_description.h"

#include <optional>
#include <span>
#include <unordered_map>

#include "core/files.h"
#include "core/sport.h"
#include "core/text.h"
#include "scout/event_lookups.h"

namespace corvane {

namespace {

// Characters from position `from` (counted from 1), `count` of them, empty past the end.
std::string_view positions(std::string_view code, std::size_t from, std::size_t count) {
    return from - 1 < code.size() ? code.substr(from - 1, count) : std::string_view();
}

bool isBlank(std::string_view text) { return trimBlanks(text).empty(); }

struct Player {
    std::string team;  // empty when the side has one player with a number
    std::string name;
    std::string shirtNumber;
};

std::optional<Player> playerOf(std::string_view code, const MatchCompanions& match) {
    const bool home = code.front() == '*';
    if (!home && code.front() != 'a') return std::nullopt;
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
    if (!found) return std::nullopt;
    Player player{{}, found->slots[2], std::string(trimBlanks(found->slots[0]))};
    if (withNumber > 1) player.team = AbbreviateText(match.MatchInfo[home ? 15 : 19], 11, 5, false);
    return player;
}

std::string nameText(const std::optional<Player>& player) {
    if (!player) return {};
    return player->team.empty() ? player->name : player->team + ", " + player->name;
}

std::string_view effectOf(std::string_view code, const EventEntry& entry) {
    const std::string_view evaluation = positions(code, 6, 1);
    const std::size_t symbol = evaluation.empty() ? std::string_view::npos : kEvaluationSymbols.find(evaluation);
    // A blank effect adds nothing, not a second blank.
    if (symbol < entry.effects.size() && !trimBlanks(entry.effects[symbol]).empty()) return entry.effects[symbol];
    return {};
}

std::string_view extensionOf(std::string_view code, const EventEntry& entry, std::string_view sport) {
    if (const std::string* text = matchingExtension(entry, code, sport)) return *text;
    return positions(code, 7, 2);
}

// What one entry of the event adds to the clear text.
std::string entryText(std::string_view code, const EventEntry& entry, std::string_view sport) {
    std::string text = " " + entry.record->description;
    if (const std::string_view effect = effectOf(code, entry); !effect.empty()) text += " " + std::string(effect);
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

CodeDescriptionParts DescribeCodeParts(std::string_view rawCode, const CodeDescriptionSources& sources) {
    const std::string_view code = trimBlanks(rawCode);
    CodeDescriptionParts parts;
    if (code.empty()) return parts;
    if (isVolleyball(sources.sport) && code.size() >= 2) {
        const char second = static_cast<char>(asciiLower(code.substr(1, 1)).front());
        if (second == 'z' || second == 'p' || second == 't') {
            parts.whole = code;
            return parts;
        }
    }
    if (positions(code, 2, 6) == "ENDACT") {
        parts.whole = sources.endOfActionText;
        return parts;
    }
    if (code.front() == '>') {
        parts.whole = code;
        return parts;
    }

    const auto player = playerOf(code, sources.match);
    std::string text = nameText(player);
    const std::string_view event = positions(code, 4, 2);
    const auto entries = sources.events.withKey(event);
    if (entries.empty()) {
        parts.event = std::string(event) + std::string(positions(code, 6, 1)) + std::string(positions(code, 7, 2));
        text += " " + parts.event;
    } else {
        parts.event = entries.front()->record->description;
        parts.effect = effectOf(code, *entries.front());
        appendEntries(text, code, entries, sources.sport);
    }
    if (text.size() > kMaxClearTextLength) text.resize(kMaxClearTextLength);
    // The first entry's own words lead the text; what follows them is the rest.
    const std::string lead =
        nameText(player) + " " + parts.event + (parts.effect.empty() ? "" : " " + parts.effect);
    if (!text.starts_with(lead)) {
        parts = CodeDescriptionParts{};
        parts.whole = text;
        return parts;
    }
    if (player) {
        parts.team = player->team;
        parts.player = player->name;
        parts.shirtNumber = player->shirtNumber;
    }
    parts.rest = text.substr(lead.size());
    return parts;
}

std::string DescribeCode(std::string_view code, const CodeDescriptionSources& sources) {
    const CodeDescriptionParts parts = DescribeCodeParts(code, sources);
    if (!parts.whole.empty() || trimBlanks(code).empty()) return parts.whole;
    std::string text = parts.team.empty() ? parts.player : parts.team + ", " + parts.player;
    text += " " + parts.event;
    if (!parts.effect.empty()) text += " " + parts.effect;
    return text + parts.rest;
}

}  // namespace corvane
