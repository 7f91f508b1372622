#include "support/frame_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;
};

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

std::string shellQuoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Decodes the frames with the given numbers, in order, as BGRA pictures of the given width (the
// film's own when 0). Frames are chosen by count, not by seeking (ffmpeg's -ss lands a frame or two
// early in a program stream), so the expected stamp is exact.
std::vector<Picture> decodeFrames(const fs::path& film, int filmWidth, int filmHeight, int width,
                                  const std::vector<int>& frameNumbers, const TempFolder& folder) {
    std::string select;
    for (int n : frameNumbers) select += (select.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(n) + ")";
    const int height = width ? filmHeight * width / filmWidth / 2 * 2 : filmHeight;
    if (!width) width = filmWidth;
    const fs::path raw = folder / "frames.bgra";
    const std::string filters = "select='" + select + "',scale=" + std::to_string(width) + ":" + std::to_string(height);
    const int status = run("ffmpeg -nostdin -y -i " + shellQuoted(film) + " -vf \"" + filters +
                           "\" -vsync passthrough -f rawvideo -pix_fmt bgra " + shellQuoted(raw));
    if (status != 0) return {};
    const std::string bytes = readFile(raw);
    const std::size_t size = std::size_t(width) * height * 4;
    std::vector<Picture> pictures;
    for (std::size_t offset = 0; offset + size <= bytes.size(); offset += size)
        pictures.push_back({width, height, {bytes.begin() + offset, bytes.begin() + offset + size}});
    return pictures;
}

std::optional<FrameStamp> read(const Picture& picture) {
    return readFrameStamp(picture.bgra.data(), picture.width, picture.height, picture.width * 4,
                          PixelFormat::Bgra);
}

struct FilmCase {
    const char* codec;
    int width, height;
    const char* name;
};

class FrameStampFilm : public ::testing::TestWithParam<FilmCase> {
protected:
    // One film per case for the whole run: making films is the slow part.
    static const TempFolder& films() {
        static const TempFolder folder;
        return folder;
    }

    void SetUp() override {
        if (run("ffmpeg -version") != 0) GTEST_SKIP() << "ffmpeg is not installed";
        const FilmCase& film = GetParam();
        path_ = films() / film.name;
        if (fs::exists(path_)) return;
        const std::string tool = std::string(CORVANE_SOURCE_DIR) + "/tools/make_film.sh";
        ASSERT_EQ(run(shellQuoted(tool) + " " + shellQuoted(path_) + " --codec " + film.codec + " --size " +
                      std::to_string(film.width) + "x" + std::to_string(film.height) + " --seconds 2 --audio"),
                  0);
    }

    TempFolder folder_;
    fs::path path_;
};

// The frames either side of the second's boundary and of the film's ends are the ones a rounding
// fault would misread.
const std::vector<int> kFrames{0, 1, 12, 23, 24, 25, 26, 37, 48, 49};

TEST_P(FrameStampFilm, ReadsEverySecondAndFrameAtFullSizeAndScaledDown) {
    const FilmCase& film = GetParam();
    for (int width : {0, 352}) {
        SCOPED_TRACE(width ? "scaled to 352" : "full size");
        const auto pictures = decodeFrames(path_, film.width, film.height, width, kFrames, folder_);
        ASSERT_EQ(pictures.size(), kFrames.size());
        for (std::size_t i = 0; i < kFrames.size(); ++i) {
            const auto stamp = read(pictures[i]);
            ASSERT_TRUE(stamp) << "frame " << kFrames[i];
            EXPECT_EQ(*stamp, (FrameStamp{kFrames[i] / 25, kFrames[i] % 25})) << "frame " << kFrames[i];
        }
    }
}

TEST_P(FrameStampFilm, ReadsPaddedRowsInEitherByteOrder) {
    const FilmCase& film = GetParam();
    const auto pictures = decodeFrames(path_, film.width, film.height, 0, {37}, folder_);
    ASSERT_EQ(pictures.size(), 1u);
    const Picture& picture = pictures.front();
    const int stride = picture.width * 4 + 64;
    std::vector<std::uint8_t> rgba(std::size_t(stride) * picture.height, 0x55);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* from = &picture.bgra[(std::size_t(y) * picture.width + x) * 4];
            std::uint8_t* to = &rgba[std::size_t(y) * stride + x * 4];
            to[0] = from[2], to[1] = from[1], to[2] = from[0], to[3] = 0;
        }
    const auto stamp = readFrameStamp(rgba.data(), picture.width, picture.height, stride, PixelFormat::Rgba);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(*stamp, (FrameStamp{1, 12}));
}

TEST_P(FrameStampFilm, RejectsAPictureWithOneCellChanged) {
    const FilmCase& film = GetParam();
    auto pictures = decodeFrames(path_, film.width, film.height, 0, {37}, folder_);
    ASSERT_EQ(pictures.size(), 1u);
    Picture& picture = pictures.front();
    ASSERT_TRUE(read(picture));
    // Second bit 3 (column 6, row 1) is 0 at second 1: paint it white.
    for (int y = picture.height / 24; y < 2 * picture.height / 24; ++y)
        for (int x = 6 * picture.width / 32; x < 7 * picture.width / 32; ++x)
            for (int c = 0; c < 3; ++c) picture.bgra[(std::size_t(y) * picture.width + x) * 4 + c] = 255;
    EXPECT_FALSE(read(picture));
}

INSTANTIATE_TEST_SUITE_P(Films, FrameStampFilm,
                         ::testing::Values(FilmCase{"mpeg2", 720, 576, "mpeg2.mpg"},
                                           FilmCase{"h264", 1280, 720, "h264.mp4"},
                                           FilmCase{"mpeg1", 352, 288, "mpeg1.mpg"}),
                         [](const auto& info) { return std::string(info.param.codec); });

TEST(FrameStamp, FindsNothingInPicturesWithoutACode) {
    const int width = 352, height = 288;
    std::vector<std::uint8_t> grey(std::size_t(width) * height * 4, 128);
    EXPECT_FALSE(readFrameStamp(grey.data(), width, height, width * 4, PixelFormat::Bgra));

    std::vector<std::uint8_t> stripes(grey.size());
    for (std::size_t i = 0; i < stripes.size(); ++i) stripes[i] = (i / 4 / 7) % 2 ? 255 : 0;
    EXPECT_FALSE(readFrameStamp(stripes.data(), width, height, width * 4, PixelFormat::Bgra));

    EXPECT_FALSE(readFrameStamp(grey.data(), 40, 30, 160, PixelFormat::Bgra));
    EXPECT_FALSE(readFrameStamp(nullptr, width, height, width * 4, PixelFormat::Bgra));
    EXPECT_FALSE(readFrameStamp(grey.data(), width, height, width * 2, PixelFormat::Bgra));
}

}  // namespace
}  // namespace corvane::testing
