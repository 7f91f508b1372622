#pragma once

#include <QFont>
#include <QStringList>

namespace corvane {

// The font, made smaller a pixel at a time, at which every text is at most `width` pixels wide;
// never below `smallestPixels`. Sizes are logical pixels, so the fit holds at any device-pixel
// ratio.
QFont fontFitting(const QFont& font, const QStringList& texts, int width, int smallestPixels = 7);

}  // namespace corvane
