#include "core/log.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "scout/events.h"
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
