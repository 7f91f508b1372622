#include "scout/events.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "core/log.h"
#include "core/text.h"

#include <algorithm>
#include <optional>

namespace corvane {

namespace {

std::string cut(const std::string& text, std::size_t length) { return text.substr(0, length); }

}  // namespace

bool parseEventLine(const std::string& line, EventRecord& record) {
    const std::vector<std::string> fields = SplitText(line, '\t');
    if (fields.size() < 13) return false;
    const auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string(); };
    const auto number = [&](std::size_t i) { return textToInt(field(i)); };
    record = {};
    record.code = cut(field(0), 20);
    record.description = cut(field(1), 50);
    record.value2 = number(2);
    record.text3 = cut(field(3), 6);
    record.wideText = cp1252ToUtf8(field(4));
    record.value8 = number(8);
    record.text6 = cut(field(6), 6);
    record.value7 = number(7);
    record.value5 = number(5);
    record.text9 = cut(field(9), 6);
    record.value10 = number(10);
    record.value11 = number(11);
    record.extensions = field(12);
    record.flag13 = field(13) == "1";
    record.text14 = cut(field(14), 20);
    record.value15 = number(15);
    record.text16 = asciiLower(cut(field(16), 20));
    record.effects = field(17);
    record.text18 = asciiLower(field(18));
    record.text19 = field(19);
    record.text20 = cut(field(20), 1);
    return true;
}

std::string_view eventKey(const EventRecord& record) {
    return record.code.size() > 3 ? std::string_view(record.code).substr(3, 2) : std::string_view();
}

namespace {

// The members the lookups read, length-prefixed so that no two different entries give one key.
std::string contentKey(const EventRecord& record) {
    std::string key;
    for (const std::string* member : {&record.code, &record.description, &record.effects, &record.extensions})
        key += std::to_string(member->size()) + ':' + *member;
    return key;
}

EventEntry entryOf(const EventRecord& record) {
    EventEntry entry{&record, SplitText(record.effects, ';'), {}};
    for (const std::string& item : SplitText(record.extensions, kExtensionSeparator)) {
        const std::size_t separator = item.find(kExtensionTextSeparator);
        if (separator == std::string::npos) continue;  // an item without a text names nothing
        entry.extensions.push_back({item.substr(0, separator), item.substr(separator + 1)});
    }
    return entry;
}

}  // namespace

EventTable::EventTable(std::vector<EventRecord> records) : records_(std::move(records)) {
    std::vector<std::string> keys;
    keys.reserve(records_.size());
    std::unordered_map<std::string_view, std::size_t> lastLine;
    for (const EventRecord& record : records_) keys.push_back(contentKey(record));
    for (std::size_t line = 0; line < keys.size(); ++line) lastLine[keys[line]] = line;

    std::unordered_map<std::string_view, std::size_t> distinctOf;
    for (std::size_t line = 0; line < keys.size(); ++line) {
        if (lastLine.at(keys[line]) != line) continue;
        distinctOf[keys[line]] = distinct_.size();
        distinct_.push_back(entryOf(records_[line]));
    }
    for (std::size_t line = 0; line < keys.size(); ++line)
        byKey_[std::string(eventKey(records_[line]))].push_back(&distinct_[distinctOf.at(keys[line])]);
}

std::span<const EventEntry* const> EventTable::withKey(std::string_view key) const {
    const auto found = byKey_.find(std::string(key));
    if (found == byKey_.end()) return {};
    return found->second;
}

namespace {

struct EventLines {
    std::vector<EventRecord> records;
    std::vector<std::string> firstCodes;  // field 0 of the first lines, as the log shows them
    bool cut = false;                     // lines past kMaxEventLines were left out
};

EventLines readEventLines(std::string_view content) {
    EventLines lines;
    for (const std::string& line : splitTextLines(content)) {
        EventRecord record;
        if (!parseEventLine(line, record)) break;
        if (lines.records.size() == kMaxEventLines) {
            lines.cut = true;
            break;
        }
        if (lines.firstCodes.size() < kMaxLoggedEventCodes) lines.firstCodes.push_back(SplitText(line, '\t').front());
        lines.records.push_back(std::move(record));
    }
    return lines;
}

// One line a code would make a hostile file a freeze of the log alone; the first codes are plenty.
void logEventLines(const EventLines& lines, ApplicationLog& log) {
    for (const std::string& code : lines.firstCodes) log.WriteLog(code);
    if (lines.records.size() > lines.firstCodes.size())
        log.WriteLog("Carica Eventi: altri " + std::to_string(lines.records.size() - lines.firstCodes.size()) +
                     " codici non scritti");
    if (lines.cut)
        log.WriteLog("Eventi.txt oltre " + std::to_string(kMaxEventLines) + " righe: le successive non caricate");
}

}  // namespace

EventTable LoadEvents(const std::filesystem::path& eventsFile, ApplicationLog& log) {
    log.WriteLog("Carica Eventi");
    if (!fileExists(eventsFile)) return {};
    const std::string tooLarge = "Eventi.txt oltre " + std::to_string(kMaxEventsFileBytes) + " byte: non caricato";
    std::error_code error;
    if (std::filesystem::file_size(eventsFile, error) > kMaxEventsFileBytes && !error) {
        log.WriteLog(tooLarge);
        log.WriteLog("Carica Eventi Fine");
        return {};
    }
    const std::optional<std::string> content = readWholeFile(eventsFile);
    EventLines lines;
    if (content && content->size() > kMaxEventsFileBytes)
        log.WriteLog(tooLarge);  // it grew after it was measured
    else if (content)
        lines = readEventLines(*content);
    logEventLines(lines, log);
    log.WriteLog("Carica Eventi Fine");
    return EventTable(std::move(lines.records));
}

}  // namespace corvane
