#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli/cli_runner.h"
#include "support/folder_snapshot.h"
#include "support/reel_frames.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

const std::string kVolley = "2026-11-28_Volley_Falchi-Delfini";

std::string demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

class ReelCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(demoDisc() + "/Tlx_Video")) << "no demo disc at " << demoDisc();
    }
    testing::TempFolder scratch;
};

TEST_F(ReelCommand, BadInputEndsWithTwoAndWritesNothing) {
    const std::string package = demoDisc() + "/Tlx_Video/" + kVolley;
    const std::string out = (scratch / "reel.mp4").string();
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"reel", demoDisc(), kVolley}, "--out"},
        {{"reel", demoDisc(), "No such match", "--out", out}, "no match package"},
        {{"reel", demoDisc() + "/nowhere", kVolley, "--out", out}, "no disc folder"},
        {{"reel", demoDisc(), kVolley, "--code", "*99A~#", "--out", out}, "no action"},
        {{"reel", demoDisc(), kVolley, "--analysis", "0", "--out", out}, "Analisi.ini"},
        {{"reel", demoDisc(), kVolley, "--out", package + "/reel.mp4"}, "package folders"},
        {{"reel", demoDisc(), kVolley, "--out", (scratch / "missing" / "reel.mp4").string()}, "no folder"},
        {{"reel", demoDisc(), kVolley, "--pre-roll", "x", "--out", out}, "pre-roll"},
    };
    const auto before = testing::snapshot(demoDisc() + "/Tlx_Video");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        std::string errors;
        EXPECT_EQ(runCli(c.arguments, &errors).exitCode, 2);
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    }
    EXPECT_TRUE(fs::is_empty(scratch.path()));
    EXPECT_EQ(testing::differences(before, testing::snapshot(demoDisc() + "/Tlx_Video")), "");
}

TEST_F(ReelCommand, WritesTheClipsOfASearchWithItsProgressOnStandardError) {
    // Kills of number 7 of the home side in the first set, each to its rally's point.
    const std::string folder = (scratch / "clips").string();
    std::string errors;
    const CliRun run = runCli({"reel", demoDisc(), kVolley, "--code", "*07A~#", "--sets", "1;", "--out", folder,
                               "--clips", "--captions", "--end-offset", "1"},
                              &errors);
    ASSERT_EQ(run.exitCode, 0) << errors;
    EXPECT_NE(errors.find("clip 1/"), std::string::npos) << errors;
    std::vector<fs::path> clips;
    for (const auto& entry : fs::directory_iterator(folder)) clips.push_back(entry.path());
    ASSERT_FALSE(clips.empty());
    EXPECT_NE(errors.find(std::to_string(clips.size()) + " clips written"), std::string::npos) << errors;
    std::sort(clips.begin(), clips.end());
    EXPECT_EQ(clips.front().filename(), "01.mp4");
    // Each clip is one unbroken stretch of its film.
    for (const fs::path& clip : clips) EXPECT_EQ(testing::stampRuns(testing::filmStamps(clip)).size(), 1u) << clip;
}

}  // namespace
}  // namespace corvane
