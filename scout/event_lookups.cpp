#include "scout/event_lookups.h"

#include <optional>

#include "codes/match_code.h"
#include "core/text.h"
#include "scout/code_table.h"

namespace corvane {

namespace {

// The text of the first extension of an entry whose search code matches, if any.
std::optional<std::string> matchingExtension(const EventRecord& record, std::string_view extensionCode,
                                             std::string_view sport) {
    for (const std::string& item : SplitText(record.extensions, kExtensionSeparator)) {
        const std::size_t separator = item.find(kExtensionTextSeparator);
        if (separator == std::string::npos) continue;  // an item without a text names nothing
        const std::string_view pattern = std::string_view(item).substr(0, separator);
        if (MatchCode(extensionCode, pattern, AnySide, sport)) return item.substr(separator + 1);
    }
    return std::nullopt;
}

}  // namespace

std::string_view eventKey(const EventRecord& record) {
    return record.code.size() > 3 ? std::string_view(record.code).substr(3, 2) : std::string_view();
}

std::string EventDescription(std::string_view event, const EventTable& table) {
    for (const EventRecord& record : table.records)
        if (eventKey(record) == event) return record.description;
    return std::string(event);
}

std::string EffectDescription(std::string_view event, std::string_view evaluation, std::string_view fallback,
                              const EventTable& table) {
    std::string result = event.size() > 5 ? std::string(1, event[5]) : std::string(fallback);
    for (const EventRecord& record : table.records) {
        if (eventKey(record) != event) continue;
        const std::size_t symbol =
            evaluation.empty() ? std::string_view::npos : kEvaluationSymbols.find(evaluation.front());
        if (symbol != std::string_view::npos) {
            const std::vector<std::string> effects = SplitText(record.effects, ';');
            if (symbol < effects.size() && !trimBlanks(effects[symbol]).empty()) result = effects[symbol];
        }
        break;
    }
    return result;
}

std::string ExtensionText(std::string_view code, std::string_view extensionCode, const EventTable& table,
                          std::string_view sport) {
    std::optional<std::string> text;
    for (const EventRecord& record : table.records) {
        if (!MatchCode(code, record.code, AnySide, sport)) continue;
        if (auto found = matchingExtension(record, extensionCode, sport)) text = std::move(found);
    }
    return text ? *text : std::string(extensionCode);
}

}  // namespace corvane
