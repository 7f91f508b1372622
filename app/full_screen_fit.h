#pragma once

#include <functional>

namespace corvane {

// Where the picture stands on the full screen, in device-independent pixels.
struct PictureFit {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
};

// The widest picture, from the screen's width down, whose height (as the player gives it for a
// width, never falling as the width grows) fits the screen's height, centred on the screen with
// halves rounded towards zero. A picture that fits at no width is 0 wide.
PictureFit FitPictureToScreen(int screenWidth, int screenHeight, const std::function<int(int width)>& heightAtWidth);

}  // namespace corvane
