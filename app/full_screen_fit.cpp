#include "app/full_screen_fit.h"

namespace corvane {

PictureFit FitPictureToScreen(int screenWidth, int screenHeight, const std::function<int(int width)>& heightAtWidth) {
    // The height grows with the width, so the widest fitting width is found by halving rather
    // than by trying every width down from the screen's: each try resizes the player's picture.
    int fits = 0;                     // widest width known to fit (0 always does)
    int tooWide = screenWidth + 1;    // narrowest width known not to fit
    if (screenWidth > 0 && heightAtWidth(screenWidth) <= screenHeight) fits = screenWidth;
    else tooWide = screenWidth;
    while (tooWide - fits > 1) {
        const int middle = fits + (tooWide - fits) / 2;
        if (heightAtWidth(middle) <= screenHeight) fits = middle;
        else tooWide = middle;
    }
    PictureFit fit;
    fit.width = fits;
    fit.height = fits > 0 ? heightAtWidth(fits) : 0;
    fit.left = (screenWidth - fit.width) / 2;
    fit.top = (screenHeight - fit.height) / 2;
    return fit;
}

}  // namespace corvane
