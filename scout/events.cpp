#include "scout/events.h"

#include "core/cp1252.h"
#include "core/files.h"
#include "core/log.h"
#include "core/text.h"

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

EventTable LoadEvents(const std::filesystem::path& eventsFile, ApplicationLog& log) {
    EventTable table;
    log.WriteLog("Carica Eventi");
    if (!fileExists(eventsFile)) return table;
    for (const std::string& line : readTextLines(eventsFile)) {
        EventRecord record;
        if (!parseEventLine(line, record)) break;
        log.WriteLog(SplitText(line, '\t').front());
        table.records.push_back(std::move(record));
    }
    log.WriteLog("Carica Eventi Fine");
    return table;
}

}  // namespace corvane
