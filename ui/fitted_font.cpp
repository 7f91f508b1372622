#include "ui/fitted_font.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace corvane {

namespace {

int widest(const QFont& font, const QStringList& texts) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

}  // namespace

QFont fontFitting(const QFont& font, const QStringList& texts, int width, int smallestPixels) {
    QFont fitted = font;
    int pixels = QFontInfo(font).pixelSize();
    while (pixels > smallestPixels && widest(fitted, texts) > width) fitted.setPixelSize(--pixels);
    return fitted;
}

}  // namespace corvane
