#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "codes/code_passes.h"
#include "codes/reel_plan.h"
#include "core/files.h"
#include "core/log.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "reels/reel_job.h"
#include "scout/packages.h"
#include "support/folder_snapshot.h"
#include "support/reel_frames.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::FrameStamp;
using testing::StampRun;
using testing::TempFolder;

constexpr int kFps = 25;

fs::path demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

// The demo's volleyball match, opened as the player opens it.
class DemoMatch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(demoDisc() / "Tlx_Video")) << "no demo disc at " << demoDisc();
        std::string folder = fs::absolute(demoDisc()).string() + "/";
        state.folders.ProgramFolder = folder;
        state.folders.SystemFolder = folder + "System";
        state.folders.LogFolder = folder;
        const PackageLists lists = ListPackages(demoDisc(), log);
        ASSERT_FALSE(lists.MatchList.empty());
        ASSERT_TRUE(OpenPackageData(state, lists.MatchList.front(), false, log, platform));
        LoadFilmList(state, log);
        ASSERT_EQ(state.Sport, "1");
        ASSERT_EQ(state.package.films.size(), 2u);
    }

    // A short reel from a search: kills of the home team, two actions of each film.
    ReelPlan killsOfBothFilms(std::vector<CodeListRow>& rows) {
        rows = FillCodeList(state.codeTable, "*~~A~#", "", {}, {state.Sport, false, state.LanguageNumber});
        std::vector<int> first, second;
        for (int n = 1; n <= static_cast<int>(rows.size()); ++n)
            (rows[static_cast<std::size_t>(n - 1)].film == "1" ? first : second).push_back(n);
        EXPECT_GE(first.size(), 2u);
        EXPECT_GE(second.size(), 2u);
        std::vector<int> chosen{first[0], first[1], second[0], second[1]};
        return planReel({state.codeTable, rows, chosen, filmLengths(state.package.films), false, 2, 1});
    }

    ReelJob jobOf(const ReelPlan& plan, const std::vector<CodeListRow>& rows, fs::path destination,
                  ReelOutput output) {
        return {reelSources(plan, rows, state.package.films, {}), std::move(destination), output, demoDisc()};
    }

    static void expectClip(const StampRun& run, const ReelClip& clip) {
        EXPECT_EQ(run.firstFrame, static_cast<int>(std::lround(clip.start * kFps)));
        EXPECT_EQ(run.lastFrame + 1, static_cast<int>(std::lround(clip.end * kFps)));
    }

    const SystemPlatform platform;
    ApplicationLog log = ApplicationLog::discarding(platform);
    ProgramState state;
    std::atomic<bool> cancel{false};
};

TEST_F(DemoMatch, OneFilmHoldsEveryClipFromItsPreRollToTheListsStopInListOrder) {
    std::vector<CodeListRow> rows;
    const ReelPlan plan = killsOfBothFilms(rows);
    ASSERT_EQ(plan.clips.size(), 4u);  // the four kills lie in four rallies
    ASSERT_EQ(plan.clips[0].film, 1);
    ASSERT_EQ(plan.clips[3].film, 2);
    TempFolder out;
    std::vector<ReelProgress> reports;
    const ReelResult result = writeReel(jobOf(plan, rows, out / "reel.mp4", ReelOutput::OneFilm),
                                        [&](const ReelProgress& p) { reports.push_back(p); }, cancel);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    // Only the finished film is left: the temporary one took its name.
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);

    const std::vector<StampRun> runs = testing::stampRuns(testing::filmStamps(out / "reel.mp4"));
    ASSERT_EQ(runs.size(), plan.clips.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        expectClip(runs[i], plan.clips[i]);
        // The clip starts at the code's second less the pre-roll.
        const CodeListRow& row = rows[static_cast<std::size_t>(plan.clips[i].codes.front().listRow - 1)];
        const int second = std::atoi(std::string(state.codeTable.Cell(VideoSec, row.row)).c_str());
        EXPECT_EQ(runs[i].firstFrame, (second - 2) * kFps);
    }
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().clipCount, 4);
    EXPECT_DOUBLE_EQ(reports.back().secondsDone, reports.back().secondsTotal);
}

TEST_F(DemoMatch, TheClipFolderHoldsOneFilmForEveryMergedClip) {
    std::vector<CodeListRow> rows;
    ReelPlan plan = killsOfBothFilms(rows);
    // A long pre-roll merges actions: the folder follows the merged clips, not the codes.
    plan = planReel({state.codeTable, rows, {1, 2, 3}, filmLengths(state.package.films), false, 40, 0});
    ASSERT_LT(plan.clips.size(), 3u);
    TempFolder out;
    const ReelResult result = writeReel(jobOf(plan, rows, out / "clips", ReelOutput::ClipFolder), {}, cancel);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(out / "clips")) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), plan.clips.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(files[i], fs::path(i == 0 ? "01.mp4" : "02.mp4"));
        const auto runs = testing::stampRuns(testing::filmStamps(out / "clips" / files[i]));
        ASSERT_EQ(runs.size(), 1u);
        expectClip(runs[0], plan.clips[i]);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

TEST_F(DemoMatch, ACancelledExportLeavesNothingBehind) {
    std::vector<CodeListRow> rows;
    const ReelPlan plan = killsOfBothFilms(rows);
    for (const ReelOutput output : {ReelOutput::OneFilm, ReelOutput::ClipFolder}) {
        TempFolder out;
        const ReelResult result = writeReel(jobOf(plan, rows, out / "reel", output),
                                            [&](const ReelProgress& p) {
                                                if (p.clip == 2 && p.secondsDone > 0) cancel = true;
                                            },
                                            cancel);
        EXPECT_EQ(result.status, ReelStatus::Cancelled);
        EXPECT_TRUE(fs::is_empty(out.path())) << testing::differences({}, testing::snapshot(out.path()));
        cancel = false;
    }
}

TEST_F(DemoMatch, APackageFolderIsRefusedAsDestination) {
    std::vector<CodeListRow> rows;
    const ReelPlan plan = killsOfBothFilms(rows);
    const fs::path package = state.package.folder;
    const auto before = testing::snapshot(demoDisc() / "Tlx_Video");
    for (const fs::path& destination :
         {package / "reel.mp4", package / "sub" / "reel.mp4", package / ".." / "reel.mp4", fs::path(state.package.films[0])}) {
        SCOPED_TRACE(destination);
        const ReelResult result = writeReel(jobOf(plan, rows, destination, ReelOutput::OneFilm), {}, cancel);
        EXPECT_EQ(result.status, ReelStatus::InsidePackages);
    }
    EXPECT_EQ(testing::differences(before, testing::snapshot(demoDisc() / "Tlx_Video")), "");
    // Beside the disc is allowed.
    EXPECT_FALSE(insidePackages(demoDisc() / "reel.mp4", demoDisc()));
}

TEST_F(DemoMatch, SoundLastsAsLongAsThePictures) {
    std::vector<CodeListRow> rows;
    const ReelPlan plan = killsOfBothFilms(rows);
    TempFolder out;
    ASSERT_EQ(writeReel(jobOf(plan, rows, out / "reel.mp4", ReelOutput::OneFilm), {}, cancel).status, ReelStatus::Done);
    const std::string command = "ffprobe -v error -show_entries stream=codec_name,duration -of csv=p=0 '" +
                                (out / "reel.mp4").string() + "' > '" + (out / "probe").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string probe = testing::readFile(out / "probe");
    double video = 0, audio = 0;
    for (const std::string& line : splitTextLines(probe)) {
        const auto comma = line.find(',');
        if (comma == std::string::npos) continue;
        const double seconds = std::atof(line.c_str() + comma + 1);
        if (line.starts_with("h264")) video = seconds;
        if (line.starts_with("aac")) audio = seconds;
    }
    double total = 0;
    for (const ReelClip& clip : plan.clips) total += clip.end - clip.start;
    EXPECT_NEAR(video, total, 0.05) << probe;
    EXPECT_NEAR(audio, video, 0.05) << probe;
}

}  // namespace
}  // namespace corvane
