#include "scout/event_lookups.h"

#include "codes/match_code.h"
#include "core/text.h"
#include "scout/code_table.h"

namespace corvane {

const std::string* matchingExtension(const EventEntry& entry, std::string_view extensionCode, std::string_view sport) {
    for (const EventExtension& extension : entry.extensions)
        if (MatchCode(extensionCode, extension.pattern, AnySide, sport)) return &extension.text;
    return nullptr;
}

std::string EventDescription(std::string_view event, const EventTable& table) {
    const auto entries = table.withKey(event);
    return entries.empty() ? std::string(event) : entries.front()->record->description;
}

std::string EffectDescription(std::string_view event, std::string_view evaluation, std::string_view fallback,
                              const EventTable& table) {
    std::string result = event.size() > 5 ? std::string(1, event[5]) : std::string(fallback);
    const auto entries = table.withKey(event);
    if (entries.empty() || evaluation.empty()) return result;
    const std::size_t symbol = kEvaluationSymbols.find(evaluation.front());
    const std::vector<std::string>& effects = entries.front()->effects;
    if (symbol < effects.size() && !trimBlanks(effects[symbol]).empty()) result = effects[symbol];
    return result;
}

std::string ExtensionText(std::string_view code, std::string_view extensionCode, const EventTable& table,
                          std::string_view sport) {
    const std::string* text = nullptr;
    for (const EventEntry& entry : table.distinct()) {
        if (!MatchCode(code, entry.record->code, AnySide, sport)) continue;
        if (const std::string* found = matchingExtension(entry, extensionCode, sport)) text = found;
    }
    return text ? *text : std::string(extensionCode);
}

}  // namespace corvane
