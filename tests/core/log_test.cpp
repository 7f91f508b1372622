#include "core/log.h"

#include <gtest/gtest.h>

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
              "07/12/2026 14:32:43 -999\r\n02/01/2026 at midnight\r\n3/4/26 3:06:07 PM us\r\n");
}

TEST(ApplicationLog, MinusOneDeletesTheFileAndWritesNothing) {
    TempFolder folder;
    FixedPlatform platform;
    ApplicationLog log(platform, folder.path());
    log.WriteLog("-1");  // on a missing log: nothing happens
    EXPECT_FALSE(std::filesystem::exists(folder / "Application.Log"));
    log.WriteLog("first");
    log.WriteLog("-1");
    EXPECT_FALSE(std::filesystem::exists(folder / "Application.Log"));
    log.WriteLog("again");
    EXPECT_EQ(readFile(folder / "Application.Log"), "07/12/2026 14:32:43 again\r\n");
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
