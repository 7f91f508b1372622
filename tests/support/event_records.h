#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "scout/events.h"

namespace corvane::testing {

// An events entry with the members the lookups read.
inline EventRecord eventRecord(std::string code, std::string description, std::string effects = "",
                               std::string extensions = "") {
    EventRecord record;
    record.code = std::move(code);
    record.description = std::move(description);
    record.effects = std::move(effects);
    record.extensions = std::move(extensions);
    return record;
}

// Extension items: search code, 0xE8, text; items joined by 0xE7.
inline std::string extensionItems(std::initializer_list<std::pair<std::string, std::string>> items) {
    std::string text;
    for (const auto& [code, label] : items) {
        if (!text.empty()) text += kExtensionSeparator;
        text += code + kExtensionTextSeparator + label;
    }
    return text;
}

}  // namespace corvane::testing
