#include "core/log.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "scout/events.h"
#include "scout/packages.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::readFile;
using testing::TempFolder;

TEST(ApplicationLog, LinesCarryTheLocaleTimeStampAndEndWithCrLf) {
    TempFolder folder;
    FixedPlatform platform;
    platform.formats = {"dd/MM/yyyy", "HH:mm:ss", ":"};
    ApplicationLog log(platform, folder.path());
    log.WriteLog("-999");
    platform.clock = {2026, 1, 2, 0, 0, 0};
    log.WriteLog("at midnight");
    platform.formats = {"M/d/yy", "h:mm:ss AP", ":"};
    platform.clock = {2026, 3, 4, 15, 6, 7};
    log.WriteLog("us");
    EXPECT_EQ(readFile(folder / "Application.Log"),
              "07/12/2026 14:32:43 -999\r\n02/01/2026 at midnight\r\n3/4/2026 3:06:07 PM us\r\n");
}

TEST(ApplicationLog, OnlyStartFreshEmptiesTheLogAndNoLoggedTextIsACommand) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    log.startFresh();  // on a missing log: nothing happens
    EXPECT_FALSE(std::filesystem::exists(folder / "Application.Log"));
    log.WriteLog("first");
    log.WriteLog("-1");  // an events-file field, say: an ordinary line
    EXPECT_EQ(readFile(folder / "Application.Log"), "07/12/2026 14:32:43 first\r\n07/12/2026 14:32:43 -1\r\n");
    log.startFresh();
    EXPECT_FALSE(std::filesystem::exists(folder / "Application.Log"));
    log.WriteLog("again");
    EXPECT_EQ(readFile(folder / "Application.Log"), "07/12/2026 14:32:43 again\r\n");
}

TEST(ApplicationLog, AnEventsFieldOfMinusOneIsLoggedAndKeepsTheLinesBeforeIt) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    log.WriteLog("-999");
    LoadEvents(folder.write("Eventi.txt", "-1" + std::string(13, '\t') + "\r\n"), log);
    const std::string content = readFile(folder / "Application.Log");
    EXPECT_EQ(content.find("-999"), 20u) << content;
    EXPECT_NE(content.find(" -1\r\n"), std::string::npos) << content;
}

TEST(ApplicationLog, EveryLineIsInTheFileAsSoonAsItIsWritten) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    for (int i = 0; i < 3; ++i) {
        log.WriteLog("line " + std::to_string(i));
        // Read while the log is still open: nothing waits in a buffer for a crash to lose.
        EXPECT_EQ(splitTextLines(readFile(folder / "Application.Log")).size(), static_cast<std::size_t>(i + 1));
    }
}

TEST(ApplicationLog, AnEmptyOrRelativeFolderKeepsNoLog) {
    TempFolder folder;
    FixedPlatform platform;
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (const char* relative : {"", "Quintera/Corvane Player", "."}) {
        ApplicationLog log(platform, relative);
        log.WriteLog("nowhere");
        EXPECT_TRUE(log.filePath().empty()) << relative;
    }
    std::filesystem::current_path(here);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// Text from a disc may carry any byte: whatever it holds, one call is one line of the log, and
// the reader can still tell which character was there.
TEST(ApplicationLog, ControlCharactersAreWrittenAsEscapesOnTheMessagesOwnLine) {
    struct Case {
        std::string message;
        const char* logged;
    };
    const std::vector<Case> cases = {
        {"Partita\nFalsa", "Partita\\nFalsa"},
        {"a\r\nb", "a\\r\\nb"},
        {"tab\there", "tab\\there"},
        {std::string("nul\0end", 7), "nul\\x00end"},
        {"\x1b[31mred", "\\x1B[31mred"},
        {"del\x7f", "del\\x7F"},
        {"\x1f", "\\x1F"},
        // Printable text, backslashes and UTF-8 pass unchanged.
        {"C:\\Quintera\\Corvane Player", "C:\\Quintera\\Corvane Player"},
        {"Citt\xc3\xa0 ~ !", "Citt\xc3\xa0 ~ !"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        TempFolder folder;
        FixedPlatform platform;
        ApplicationLog log(platform, folder.path());
        log.WriteLog(c.message);
        log.WriteLog("next");
        EXPECT_EQ(readFile(folder / "Application.Log"),
                  std::string("07/12/2026 14:32:43 ") + c.logged + "\r\n07/12/2026 14:32:43 next\r\n");
    }
}

// A package folder whose name holds a line break: the listing logs it on one line, and no line
// of the log starts with anything but a time stamp.
TEST(ApplicationLog, APackageNameWithALineBreakStaysOnItsListingLine) {
    TempFolder disc;
    std::filesystem::create_directories(disc / "Tlx_Video" / "Partita\n-999 forged");
    std::filesystem::create_directories(disc / "Tlx_Video" / "Seconda");
    TempFolder logFolder;
    FixedPlatform platform;
    ApplicationLog log(platform, logFolder.path());
    const PackageLists lists = ListPackages(disc.path(), log);
    ASSERT_EQ(lists.MatchList.size(), 2u);
    const std::vector<std::string> lines = splitTextLines(readFile(logFolder / "Application.Log"));
    ASSERT_EQ(lines.size(), 2u);
    const std::string root = (disc / "Tlx_Video").string();
    EXPECT_EQ(lines[0], "07/12/2026 14:32:43 " + root + " Partita\\n-999 forged");
    EXPECT_EQ(lines[1], "07/12/2026 14:32:43 " + root + " Seconda");
}

TEST(ApplicationLog, AnUnwritableLogIsReportedOnceAndDoesNotStopTheProgram) {
    FixedPlatform platform;
    ApplicationLog log(platform, "/nonexistent-folder/for/the/log");
    ::testing::internal::CaptureStderr();
    log.WriteLog("one");
    log.WriteLog("two");
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("cannot write the log"), std::string::npos);
    EXPECT_EQ(errors.find("cannot write the log"), errors.rfind("cannot write the log"));
}

}  // namespace
}  // namespace corvane
