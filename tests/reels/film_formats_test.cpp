// Reels from films whose frames change format partway, whose frame rates differ from the reel's
// or vary, and whose pictures are beyond the largest the program takes.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>

#include "reels/reel_writer.h"
#include "reels/reel_films.h"
#include "support/reel_frames.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::FrameStamp;
using testing::TempFolder;

// One folder of films for the whole suite: they take a while to make.
class FilmFormats : public ::testing::Test {
protected:
    static void SetUpTestSuite() { films_ = std::make_unique<TempFolder>(); }
    static void TearDownTestSuite() { films_.reset(); }

    static fs::path film(const std::string& name, const std::string& options) {
        const fs::path path = *films_ / name;
        if (!fs::exists(path)) testing::makeFilm(path, options);
        return path;
    }

    // A film of MJPEG pictures, 25 a second, made of parts of the sizes given ("WxH:seconds"
    // each), one after the other in one stream.
    static fs::path mjpegFilm(const std::string& name, const std::vector<std::string>& parts) {
        const fs::path path = *films_ / name;
        if (fs::exists(path)) return path;
        const fs::path joined = *films_ / (name + ".mjpeg");
        for (const std::string& part : parts) {
            const auto colon = part.find(':');
            EXPECT_TRUE(testing::shell("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=" + part.substr(0, colon) +
                                       ":rate=25:duration=" + part.substr(colon + 1) + " -c:v mjpeg -q:v 8 -f mjpeg - >> " +
                                       testing::quoted(joined)));
        }
        EXPECT_TRUE(testing::shell("ffmpeg -nostdin -v error -framerate 25 -f mjpeg -i " + testing::quoted(joined) +
                                   " -c copy " + testing::quoted(path)));
        return path;
    }

    ReelResult write(std::vector<ReelSource> clips, const fs::path& destination, ReelOutput output) {
        return writeReel({std::move(clips), destination, output, out.path() / "no-disc"}, {}, cancel);
    }

    static inline std::unique_ptr<TempFolder> films_;
    TempFolder out;
    std::atomic<bool> cancel{false};
};

TEST_F(FilmFormats, SoundChangingItsLayoutPartwayIsExportedAcrossEveryChange) {
    // Stereo, then mono, then 5.1: two changes inside the clip.
    const fs::path changing = film("changing.ts", "--codec mpeg2 --size 320x240 --seconds 9 --channels 2,1,6");
    const ReelResult result = write({{changing, 1, 8, {}}}, out / "reel.mp4", ReelOutput::OneFilm);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    const testing::StreamSeconds seconds = testing::streamSeconds(out / "reel.mp4");
    EXPECT_NEAR(seconds.video, 7, 0.05);
    EXPECT_NEAR(seconds.audio, seconds.video, 0.05);
    // Each part's sound is there, not silence in place of what could not be converted.
    for (const double from : {0.5, 3.0, 5.5}) {
        SCOPED_TRACE(from);
        EXPECT_GT(testing::meanVolume(out / "reel.mp4", from, 1.0), -40);
    }
    const auto runs = testing::stampRuns(testing::filmStamps(out / "reel.mp4"));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].firstFrame, 25);
    EXPECT_EQ(runs[0].lastFrame, 8 * 25 - 1);
}

TEST_F(FilmFormats, PicturesChangingSizePartwayAreScaledToTheReelsSize) {
    const fs::path changing = mjpegFilm("sizes.mkv", {"320x240:2", "160x96:2", "640x360:2"});
    const ReelResult result = write({{changing, 1, 5, {}}}, out / "reel.mp4", ReelOutput::OneFilm);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    EXPECT_NEAR(testing::streamSeconds(out / "reel.mp4").video, 4, 0.05);
    EXPECT_TRUE(testing::shell("ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0 " +
                               testing::quoted(out / "reel.mp4") + " | grep -qx 320,240"));
}

// The picture a reel's frame shows, in seconds of its film of fps frames a second.
double stampSeconds(const FrameStamp& stamp, int fps) { return stamp.second + static_cast<double>(stamp.frame) / fps; }

TEST_F(FilmFormats, ClipsOfFilmsOfOtherRatesKeepTheirDurationAndSound) {
    // The reel takes the first film's rate, 25; the others are converted to it.
    struct Case {
        int fps;
        double start;
        double end;
    };
    const std::vector<Case> cases{{25, 1, 4}, {50, 2, 9}, {24, 1, 5}, {60, 0.5, 3.5}, {60, 4, 5}, {30, 3, 4}};
    std::vector<ReelSource> clips;
    for (const Case& c : cases) {
        const std::string name = "rate" + std::to_string(c.fps) + ".mpg";
        clips.push_back({film(name, "--codec mpeg2 --size 320x240 --seconds 10 --audio --fps " + std::to_string(c.fps)),
                         c.start, c.end, {}});
    }
    const ReelResult result = write(clips, out / "clips", ReelOutput::ClipFolder);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.fps);
        SCOPED_TRACE(c.start);
        const fs::path clip = out / "clips" / ("0" + std::to_string(i + 1) + ".mp4");
        const testing::StreamSeconds seconds = testing::streamSeconds(clip);
        EXPECT_NEAR(seconds.video, c.end - c.start, 0.05);
        EXPECT_NEAR(seconds.audio, seconds.video, 0.05);
        EXPECT_GT(testing::meanVolume(clip, seconds.video - 1, 0.9), -40);  // sound to the end, no silence
        const std::vector<FrameStamp> stamps = testing::filmStamps(clip);
        ASSERT_EQ(static_cast<int>(stamps.size()), static_cast<int>(std::lround((c.end - c.start) * 25)));
        // Frame n of the clip shows the film's picture of its moment: the latest one not after
        // it, give or take the stamps' rounding. The clip starts on the reel's frame nearest
        // its start.
        const long long first = std::llround(c.start * 25);
        for (std::size_t n = 0; n < stamps.size(); ++n) {
            const double moment = static_cast<double>(first + static_cast<long long>(n)) / 25;
            const double shown = stampSeconds(stamps[n], c.fps);
            ASSERT_GE(stamps[n].second, 0) << "frame " << n;
            EXPECT_LE(shown, moment + 0.5 / c.fps + 1e-6) << "frame " << n;
            EXPECT_GT(shown, moment - 1.0 / c.fps - 1e-6) << "frame " << n;
        }
    }
}

TEST_F(FilmFormats, AFilmOfVaryingRateKeepsItsDuration) {
    // Every third picture of a 25 a second film left out, the others keeping their moments.
    const fs::path steady = film("steady.mpg", "--codec mpeg2 --size 320x240 --seconds 8 --audio");
    const fs::path varying = *films_ / "varying.mkv";
    ASSERT_TRUE(testing::shell("ffmpeg -nostdin -v error -y -i " + testing::quoted(steady) +
                               " -vf \"select='not(eq(mod(n,3),2))'\" -fps_mode vfr -c:v mjpeg -q:v 6 -c:a copy " +
                               testing::quoted(varying)));
    const ReelResult result = write({{steady, 0, 1, {}}, {varying, 2, 6, {}}}, out / "clips", ReelOutput::ClipFolder);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    const testing::StreamSeconds seconds = testing::streamSeconds(out / "clips" / "02.mp4");
    EXPECT_NEAR(seconds.video, 4, 0.05);
    EXPECT_NEAR(seconds.audio, 4, 0.05);
    const std::vector<FrameStamp> stamps = testing::filmStamps(out / "clips" / "02.mp4");
    ASSERT_EQ(stamps.size(), 100u);
    for (std::size_t n = 0; n < stamps.size(); ++n) {
        const int frame = stamps[n].second * 25 + stamps[n].frame;
        const int slot = 50 + static_cast<int>(n);
        // The missing picture's slot shows the one before it.
        EXPECT_EQ(frame, slot % 3 == 2 ? slot - 1 : slot) << "frame " << n;
    }
}

TEST_F(FilmFormats, APictureBeyondTheLimitIsRefusedWhenTheFilmIsProbed) {
    const fs::path wide = mjpegFilm("wide.mkv", {"8200x64:1"});
    const ReelResult result = write({{wide, 0, 1, {}}}, out / "reel.mp4", ReelOutput::OneFilm);
    EXPECT_EQ(result.status, ReelStatus::CannotReadFilm);
    EXPECT_NE(result.detail.find("wide.mkv: picture 8200x64 is larger than 8K"), std::string::npos) << result.detail;
    EXPECT_FALSE(filmLengthSeconds(wide));
    EXPECT_TRUE(fs::is_empty(out.path()));
    // At the limit the film is taken.
    const fs::path widest = mjpegFilm("widest.mkv", {"8192x64:1"});
    EXPECT_TRUE(filmLengthSeconds(widest));
}

TEST_F(FilmFormats, PicturesGrowingBeyondTheLimitPartwayAreRefused) {
    const fs::path growing = mjpegFilm("growing.mkv", {"320x240:3", "8200x64:1"});
    ASSERT_TRUE(filmLengthSeconds(growing));  // its header gives the first size
    const ReelResult result = write({{growing, 1, 3.8, {}}}, out / "reel.mp4", ReelOutput::OneFilm);
    EXPECT_EQ(result.status, ReelStatus::CannotReadFilm);
    EXPECT_NE(result.detail.find("growing.mkv: picture 8200x64 is larger than 8K"), std::string::npos) << result.detail;
    EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace corvane
