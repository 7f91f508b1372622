#pragma once

#include <string>
#include <string_view>

#include "scout/events.h"

namespace corvane {

// The text of the entry's first extension whose search code matches extensionCode, or nothing.
const std::string* matchingExtension(const EventEntry& entry, std::string_view extensionCode, std::string_view sport);

// The description of the first entry of the event, or the event itself when none has it.
std::string EventDescription(std::string_view event, const EventTable& table);

// The first entry's effect description for the evaluation symbol ("=/-!+#", first character of
// `evaluation`) when it has a non-blank one; else the fallback, or the sixth character of
// `event` when that is longer than five characters.
std::string EffectDescription(std::string_view event, std::string_view evaluation, std::string_view fallback,
                              const EventTable& table);

// The text of the first extension matching `extensionCode` in an entry whose code pattern
// matches `code`, the last such entry deciding; `extensionCode` itself when none does.
std::string ExtensionText(std::string_view code, std::string_view extensionCode, const EventTable& table,
                          std::string_view sport);

}  // namespace corvane
