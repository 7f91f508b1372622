#include "app/full_screen_fit.h"

#include <cmath>

#include <gtest/gtest.h>

namespace corvane {
namespace {

// The player's height for a width: the width over the film's display aspect, rounded.
std::function<int(int)> heightOf(double aspect) {
    return [aspect](int width) { return static_cast<int>(std::lround(width / aspect)); };
}

TEST(FitPictureToScreen, WidestPictureWhoseHeightFitsCentred) {
    const struct {
        const char* what;
        int screenWidth, screenHeight;
        double aspect;
        PictureFit fit;
    } cases[] = {
        {"4:3 film on a 16:9 screen", 1920, 1080, 4.0 / 3.0, {1440, 1080, 240, 0}},
        {"16:9 film on a 4:3 screen", 1024, 768, 16.0 / 9.0, {1024, 576, 0, 96}},
        {"5:4 film (720x576, square pixels)", 1920, 1080, 1.25, {1350, 1080, 285, 0}},
        {"HiDPI 1920x1080 at 150 %", 1280, 720, 4.0 / 3.0, {960, 720, 160, 0}},
        {"HiDPI 1920x1080 at 125 %", 1536, 864, 4.0 / 3.0, {1152, 864, 192, 0}},
        {"odd margin: half rounded towards zero", 1365, 768, 4.0 / 3.0, {1024, 768, 170, 0}},
        {"the player's rounding lets one more pixel in", 1280, 719, 16.0 / 9.0, {1279, 719, 0, 0}},
        {"a 4:3 screen for a 4:3 film", 1280, 960, 4.0 / 3.0, {1280, 960, 0, 0}},
    };
    for (const auto& c : cases) {
        const PictureFit fit = FitPictureToScreen(c.screenWidth, c.screenHeight, heightOf(c.aspect));
        EXPECT_EQ(fit.width, c.fit.width) << c.what;
        EXPECT_EQ(fit.height, c.fit.height) << c.what;
        EXPECT_EQ(fit.left, c.fit.left) << c.what;
        EXPECT_EQ(fit.top, c.fit.top) << c.what;
    }
}

TEST(FitPictureToScreen, APictureThatFitsAtNoWidthIsNoneWide) {
    const PictureFit fit = FitPictureToScreen(800, 600, [](int) { return 601; });
    EXPECT_EQ(fit.width, 0);
    EXPECT_EQ(fit.height, 0);
    EXPECT_EQ(fit.left, 400);
    EXPECT_EQ(fit.top, 300);
}

}  // namespace
}  // namespace corvane
