#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "core/files.h"
#include "reels/caption_fit.h"
#include "reels/reel_films.h"
#include "reels/reel_writer.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Six tenths of the size a character, whatever it is; a UTF-8 character counts once.
double fixedWidth(std::string_view line, int size) {
    int characters = 0;
    for (const char c : line) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return 0.6 * size * characters;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (true) {
        const auto end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        if (end == std::string::npos) return lines;
        at = end + 1;
    }
}

TEST(CaptionFit, ShrinksThenWrapsThenCutsAndNeverGoesBeyondTheRoom) {
    // A room of 300 pixels, sizes 20 down to 10: 25 characters a line at 20, 50 at 10.
    struct Case {
        std::string text;
        int size;
        int lines;
        bool cut;
    };
    const std::string word = "Bianchi ";
    std::string many;
    for (int i = 0; i < 30; ++i) many += word;
    const std::vector<Case> cases{
        {"Ace by 7", 20, 1, false},
        {std::string(25, 'x'), 20, 1, false},                    // exactly a line
        {"one two three four five six seven eight nine", 20, 2, false},
        {many.substr(0, 8 * 9), 20, 3, false},                   // three lines at the largest size
        {many.substr(0, 8 * 12), 16, 3, false},                  // smaller, still three lines
        {many, 10, 3, true},                                      // the smallest, cut, ellipsis
        {std::string(400, 'W'), 10, 3, true},                     // one word, broken then cut
        {"", 20, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CaptionLayout layout = fitCaption(c.text, 300, 20, 10, fixedWidth);
        EXPECT_EQ(layout.fontSize, c.size);
        const std::vector<std::string> lines = linesOf(layout.text);
        EXPECT_EQ(static_cast<int>(lines.size()), c.lines);
        for (const std::string& line : lines) EXPECT_LE(fixedWidth(line, layout.fontSize), 300) << line;
        EXPECT_EQ(layout.text.ends_with("\xE2\x80\xA6"), c.cut);
    }
}

TEST(CaptionFit, NeverSplitsAUtf8Character) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "\xC3\xA8";  // è
    const CaptionLayout layout = fitCaption(text, 100, 12, 10, fixedWidth);
    for (const std::string& line : linesOf(layout.text)) {
        SCOPED_TRACE(line);
        ASSERT_FALSE(line.empty());
        EXPECT_NE(static_cast<unsigned char>(line.front()) & 0xC0, 0x80);
        EXPECT_LE(fixedWidth(line, layout.fontSize), 100);
    }
}

// The brightest luma of a grey picture's columns [from, to) over rows [top, height).
int brightest(const std::string& pixels, int width, int from, int to, int top, int height) {
    int most = 0;
    for (int y = top; y < height; ++y)
        for (int x = from; x < to; ++x)
            most = std::max(most, static_cast<int>(static_cast<unsigned char>(pixels[std::size_t(y) * width + x])));
    return most;
}

TEST(CaptionFit, ALongCaptionStaysInsideThePicture) {
    if (!captionFontFile()) GTEST_SKIP() << "no caption font";
    testing::TempFolder folder;
    // A black film: only the caption's letters are bright.
    const fs::path black = folder / "black.mkv";
    ASSERT_TRUE(testing::shell("ffmpeg -nostdin -v error -f lavfi -i color=black:size=320x240:rate=25:duration=2 "
                               "-c:v mjpeg -q:v 2 " + testing::quoted(black)));
    std::string longest;
    for (int i = 0; i < 25; ++i) longest += "WWMM Wide Winning Serve ";
    std::atomic<bool> cancel{false};
    const ReelJob job{{{black, 0, 1, {{0, 1, longest}}}}, folder / "reel.mp4", ReelOutput::OneFilm, folder / "none"};
    const ReelResult result = writeReel(job, {}, cancel);
    ASSERT_EQ(result.status, ReelStatus::Done) << result.detail;
    const fs::path raw = folder / "frame.gray";
    ASSERT_TRUE(testing::shell("ffmpeg -nostdin -v error -i " + testing::quoted(folder / "reel.mp4") +
                               " -frames:v 1 -f rawvideo -pix_fmt gray " + testing::quoted(raw)));
    const std::string pixels = testing::readFile(raw);
    ASSERT_EQ(pixels.size(), 320u * 240u);
    // The letters are there, in the lower part of the picture...
    EXPECT_GT(brightest(pixels, 320, 0, 300, 120, 240), 150);
    // ...and none reaches the right margin.
    EXPECT_LT(brightest(pixels, 320, 308, 320, 0, 240), 60);
}

}  // namespace
}  // namespace corvane
