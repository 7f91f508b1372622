#include "app/player/video_info.h"

#include "app/player/tplayer.h"

#include <gtest/gtest.h>

#include "gui/player_test_support.h"
#include "support/test_support.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace corvane {
namespace {

struct ProbeCase {
    const testing::TestFilm& (*film)();
    std::int32_t tipo;
    std::int32_t keyFrame;

    friend void PrintTo(const ProbeCase& c, std::ostream* out) { *out << c.film().name; }
};

class VideoInfoTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(VideoInfoTest, FillsTheRecordFromTheFilm) {
    const testing::TestFilm& film = GetParam().film();
    VideoInfoRecord record;
    record.FileName = testing::filmPath(film).string();
    GetVideoInfo(record, "/unused/System");
    EXPECT_EQ(record.Errore, ProbeOk);
    EXPECT_EQ(record.Width, film.width);
    EXPECT_EQ(record.Height, film.height);
    EXPECT_EQ(record.Tipo, GetParam().tipo);
    EXPECT_NEAR(record.Durata, film.seconds, 1);
    EXPECT_EQ(record.FrameRate, 25);
    EXPECT_EQ(record.Standard, "PAL");
    EXPECT_EQ(record.KeyFrame, GetParam().keyFrame);
    EXPECT_EQ(record.Audio, film.audio);
    // The container's rate: file size over duration, give or take the muxing overhead.
    const double bytesPerSecond = double(std::filesystem::file_size(record.FileName)) / film.seconds;
    EXPECT_NEAR(record.BytRate, bytesPerSecond, bytesPerSecond * 0.1);
}

INSTANTIATE_TEST_SUITE_P(Films, VideoInfoTest,
                         ::testing::Values(ProbeCase{&testing::mpeg2Film, VideoMpeg2, 12},
                                           ProbeCase{&testing::mpeg1Film, VideoMpeg1, 12},
                                           ProbeCase{&testing::h264Film, VideoH264, 250}),
                         [](const auto& info) {
                             const std::string name = info.param.film().name;
                             return name.substr(0, name.find('_'));
                         });

// A film beyond the film limits is measured from its container's headers, before anything of it
// is decoded.
TEST(VideoInfoLimits, APictureBeyondTheLimitsIsMeasuredAsItsHeadersSay) {
    testing::TempFolder folder;
    struct Case {
        int width;
        int height;
    };
    for (const Case c : {Case{8200, 16}, Case{16, 8194}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        VideoInfoRecord record;
        record.FileName = testing::makeGreyMjpegFilm(folder / "film.avi", c.width, c.height, 2).string();
        GetVideoInfo(record, "");
        EXPECT_EQ(record.Errore, ProbeOk);
        EXPECT_EQ(record.Tipo, VideoMotionJpeg);
        EXPECT_EQ(record.Width, c.width);
        EXPECT_EQ(record.Height, c.height);
        EXPECT_FALSE(filmPictureWithinLimits(record.Width, record.Height));
    }
}

TEST(VideoInfoErrorTest, AFileThatIsNoFilmLeavesTheOutputsAndSetsTheError) {
    testing::TempFolder folder;
    VideoInfoRecord text;
    text.FileName = folder.write("notes.mpg", "These are the coach's notes, not a film.\n").string();
    GetVideoInfo(text, "");
    EXPECT_NE(text.Errore, ProbeOk);
    EXPECT_EQ(text.Width, 0);
    EXPECT_EQ(text.Tipo, VideoNotProbed);
    EXPECT_FALSE(text.Audio);

    VideoInfoRecord missing;
    missing.FileName = (folder / "absent.mpg").string();
    GetVideoInfo(missing, "");
    EXPECT_EQ(missing.Errore, ProbeCannotOpen);

    VideoInfoRecord unnamed;
    GetVideoInfo(unnamed, "");
    EXPECT_EQ(unnamed.Errore, ProbeCannotOpen);
}

TEST(VideoInfoErrorTest, CodesAndStandards) {
    EXPECT_EQ(videoStreamType(AV_CODEC_ID_MPEG2VIDEO), 3);
    EXPECT_EQ(videoStreamType(AV_CODEC_ID_MPEG1VIDEO), 1);
    EXPECT_EQ(videoStreamType(AV_CODEC_ID_H264), 10);
    EXPECT_EQ(videoStreamType(AV_CODEC_ID_MPEG4), 2);
    EXPECT_EQ(videoStreamType(AV_CODEC_ID_PRORES), 99);
    EXPECT_EQ(videoStandard(25, 576), "PAL");
    EXPECT_EQ(videoStandard(29.97, 480), "NTSC");
    EXPECT_EQ(videoStandard(0, 288), "PAL");
    EXPECT_EQ(videoStandard(24, 1080), "");
}

TEST(VideoInfoErrorTest, TheProbeStillWorksAfterAPlayerHasComeAndGone) {
    { TPlayer player; ASSERT_TRUE(player.available()) << player.lastError(); }
    VideoInfoRecord record;
    record.FileName = testing::filmPath(testing::mpeg1Film()).string();
    GetVideoInfo(record, "");
    EXPECT_EQ(record.Errore, ProbeOk);
    EXPECT_EQ(record.Tipo, VideoMpeg1);
}

}  // namespace
}  // namespace corvane
