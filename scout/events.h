#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvane {

class ApplicationLog;

// One line of Eventi.txt (TArrEventi), members in their file-field order. Texts are cut to their
// member lengths as the record always held them.
struct EventRecord {
    std::string code;         // field 0, 20 characters; characters 4-5 are the event key
    std::string description;  // field 1, 50 characters
    std::int32_t value2 = 0;
    std::string text3;        // 6 characters
    std::string wideText;     // field 4, UTF-8 of the 8-bit field
    std::int32_t value8 = 0;
    std::string text6;        // 6 characters
    std::int32_t value7 = 0;
    std::int32_t value5 = 0;
    std::string text9;        // 6 characters
    std::int32_t value10 = 0;
    std::int32_t value11 = 0;
    std::string extensions;   // field 12: items split by 0xE7, each "search code" 0xE8 "text"
    bool flag13 = false;
    std::string text14;       // 20 characters
    std::int32_t value15 = 0;
    std::string text16;       // 20 characters, lower-cased
    std::string effects;      // field 17: ";"-separated, one per symbol of "=/-!+#"
    std::string text18;       // lower-cased
    std::string text19;
    std::string text20;       // 1 character
};

// Every event line of the package; numbered 1..EventCount() in file order (index 0 is event 1).
// The old table stopped at 100 lines; every line is kept here.
struct EventTable {
    std::vector<EventRecord> records;
    int EventCount() const { return static_cast<int>(records.size()); }
};

inline constexpr char kExtensionSeparator = static_cast<char>(0xE7);
inline constexpr char kExtensionTextSeparator = static_cast<char>(0xE8);

// Reads package folder + Eventi.txt; a missing file leaves the table empty, a line of fewer than
// 13 fields ends the loading there.
EventTable LoadEvents(const std::filesystem::path& eventsFile, ApplicationLog& log);

// One line's fields into a record; nothing when the line has fewer than 13 fields.
bool parseEventLine(const std::string& line, EventRecord& record);

}  // namespace corvane
