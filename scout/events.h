#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
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

inline constexpr char kExtensionSeparator = static_cast<char>(0xE7);
inline constexpr char kExtensionTextSeparator = static_cast<char>(0xE8);

// A real Eventi.txt holds tens of lines. Far beyond that a file is hostile: a larger file is not
// read at all, lines past the count are not loaded, and only the first codes are logged.
inline constexpr std::uintmax_t kMaxEventsFileBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxEventLines = 10000;
inline constexpr std::size_t kMaxLoggedEventCodes = 100;

// One extension item of an entry: a search code and the text it gives.
struct EventExtension {
    std::string pattern;
    std::string text;
};

// What the lookups read of an entry, split once. Identical lines share one.
struct EventEntry {
    const EventRecord* record = nullptr;
    std::vector<std::string> effects;        // one per symbol of "=/-!+#"
    std::vector<EventExtension> extensions;  // items without a text left out
};

// Every event line of the package; numbered 1..EventCount() in file order (index 0 is event 1),
// indexed by event key once so that a lookup never scans the table, however often a line repeats.
class EventTable {
public:
    EventTable() = default;
    explicit EventTable(std::vector<EventRecord> records);
    EventTable(const EventTable& other) : EventTable(other.records_) {}
    EventTable& operator=(const EventTable& other) { return *this = EventTable(other.records_); }
    EventTable(EventTable&&) noexcept = default;
    EventTable& operator=(EventTable&&) noexcept = default;

    const std::vector<EventRecord>& records() const { return records_; }
    int EventCount() const { return static_cast<int>(records_.size()); }

    // The entries whose event key equals key, in file order (a repeated line as often as it stands).
    std::span<const EventEntry* const> withKey(std::string_view key) const;

    // Each distinct entry once, in the order of its last line: where the last of several entries
    // decides, the last of these decides alike.
    const std::vector<EventEntry>& distinct() const { return distinct_; }

private:
    std::vector<EventRecord> records_;
    std::vector<EventEntry> distinct_;
    std::unordered_map<std::string, std::vector<const EventEntry*>> byKey_;  // into distinct_
};


// The two-letter event key of an entry: characters 4 and 5 of its code (fewer when it is shorter).
std::string_view eventKey(const EventRecord& record);

// Reads package folder + Eventi.txt; a missing file leaves the table empty, a line of fewer than
// 13 fields ends the loading there. A file over kMaxEventsFileBytes is refused whole and logged;
// lines past kMaxEventLines are not loaded and that is logged.
EventTable LoadEvents(const std::filesystem::path& eventsFile, ApplicationLog& log);

// One line's fields into a record; nothing when the line has fewer than 13 fields.
bool parseEventLine(const std::string& line, EventRecord& record);

}  // namespace corvane
