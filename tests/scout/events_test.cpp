#include "scout/events.h"

#include <gtest/gtest.h>

#include "core/log.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::TempFolder;

std::string eventLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const auto& field : fields) line += field + "\t";
    return line;
}

TEST(EventLine, ThirteenFieldsGiveARecordWithTheOptionalMembersEmpty) {
    EventRecord record;
    ASSERT_TRUE(parseEventLine(eventLine({"~~~TS", "Tiro", "7", "abcdefgh", "x", "5", "t6", "77", "8", "t9",
                                          "10", "11", "ext"}),
                               record));
    EXPECT_EQ(record.code, "~~~TS");
    EXPECT_EQ(record.value2, 7);
    EXPECT_EQ(record.text3, "abcdef");
    EXPECT_EQ(record.value5, 5);
    EXPECT_EQ(record.value7, 77);
    EXPECT_EQ(record.value8, 8);
    EXPECT_EQ(record.extensions, "ext");
    EXPECT_FALSE(record.flag13);
    EXPECT_TRUE(record.text14.empty());
    EXPECT_TRUE(record.effects.empty());
    EXPECT_TRUE(record.text20.empty());
}

TEST(EventLine, TextsAreCutToTheirMembersAndLowerCasedWhereTheyAre) {
    std::vector<std::string> fields(21, "");
    fields[0] = std::string(25, 'c');
    fields[1] = std::string(60, 'd');
    fields[4] = "Citt\xE0";
    fields[13] = "1";
    fields[16] = "MiXeD CaSe text over twenty";
    fields[17] = "Errore;Scarso;;Buono";
    fields[18] = "LOWER";
    fields[20] = "xyz";
    EventRecord record;
    ASSERT_TRUE(parseEventLine(eventLine(fields), record));
    EXPECT_EQ(record.code.size(), 20u);
    EXPECT_EQ(record.description.size(), 50u);
    EXPECT_EQ(record.wideText, "Città");
    EXPECT_TRUE(record.flag13);
    EXPECT_EQ(record.text16, "mixed case text over");
    EXPECT_EQ(record.effects, "Errore;Scarso;;Buono");
    EXPECT_EQ(record.text18, "lower");
    EXPECT_EQ(record.text20, "x");
    EXPECT_FALSE(parseEventLine("a\tb\tc", record));
}

TEST(LoadEvents, AShortLineEndsTheLoadingAndEveryLineBeyondAHundredIsKept) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    std::string content;
    for (int n = 0; n < 120; ++n)
        content += eventLine({"~~~E" + std::to_string(n % 10), "Event " + std::to_string(n), "", "", "", "", "",
                              "", "", "", "", "", ""}) + "\r\n";
    content += "short\tline\r\n";
    content += eventLine({"~~~ZZ", "after", "", "", "", "", "", "", "", "", "", "", ""}) + "\r\n";
    const EventTable table = LoadEvents(folder.write("Eventi.txt", content), log);
    EXPECT_EQ(table.EventCount(), 120);
    EXPECT_EQ(table.records()[119].description, "Event 119");
    const std::string text = testing::readFile(folder / "Application.Log");
    EXPECT_NE(text.find("Carica Eventi\r\n"), std::string::npos);
    EXPECT_NE(text.find("Carica Eventi Fine"), std::string::npos);
}

TEST(LoadEvents, AMissingFileLeavesTheTableEmpty) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    EXPECT_EQ(LoadEvents(folder / "Eventi.txt", log).EventCount(), 0);
}

std::size_t countOf(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

std::string repeatedAttackLines(std::size_t count) {
    const std::string line = eventLine({"~~~AH", "Attacco", "", "", "", "", "", "", "", "", "", "", ""}) + "\r\n";
    std::string content;
    for (std::size_t n = 0; n < count; ++n) content += line;
    return content;
}

// One line repeated past the line bound: the first lines load, the rest is refused in one log
// line, and only the first codes are logged.
TEST(LoadEvents, LinesPastTheBoundAreRefusedAndTheLogStaysShort) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    const std::string content = repeatedAttackLines(kMaxEventLines + 5);
    const EventTable table = LoadEvents(folder.write("Eventi.txt", content), log);
    EXPECT_EQ(table.EventCount(), static_cast<int>(kMaxEventLines));
    const std::string text = testing::readFile(folder / "Application.Log");
    EXPECT_EQ(countOf(text, " ~~~AH\r\n"), kMaxLoggedEventCodes);
    EXPECT_EQ(countOf(text, "Carica Eventi: altri 9900 codici non scritti\r\n"), 1u);
    EXPECT_EQ(countOf(text, "Eventi.txt oltre 10000 righe: le successive non caricate\r\n"), 1u);
    EXPECT_LT(countOf(text, "\r\n"), kMaxLoggedEventCodes + 10);
    EXPECT_TRUE(text.ends_with("Carica Eventi Fine\r\n"));
}

TEST(LoadEvents, ExactlyTheBoundIsLoadedWithoutARefusal) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    const std::string content = repeatedAttackLines(kMaxEventLines);
    const EventTable table = LoadEvents(folder.write("Eventi.txt", content + "\r\n"), log);
    EXPECT_EQ(table.EventCount(), static_cast<int>(kMaxEventLines));
    EXPECT_EQ(testing::readFile(folder / "Application.Log").find("righe"), std::string::npos);
}

TEST(LoadEvents, AFileOverTheSizeBoundIsRefusedWhole) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    std::string content = repeatedAttackLines(1);
    content += std::string(kMaxEventsFileBytes + 1 - content.size(), 'x');
    const EventTable table = LoadEvents(folder.write("Eventi.txt", content), log);
    EXPECT_EQ(table.EventCount(), 0);
    const std::string text = testing::readFile(folder / "Application.Log");
    EXPECT_EQ(countOf(text, "Eventi.txt oltre 4194304 byte: non caricato\r\n"), 1u);
    EXPECT_EQ(text.find("~~~AH"), std::string::npos);
    // One byte less is read.
    content.pop_back();
    EXPECT_EQ(LoadEvents(folder.write("Eventi.txt", content), log).EventCount(), 1);
}

}  // namespace
}  // namespace corvane
