#pragma once

#include <cstdint>

namespace corvane {

// The largest picture the player and the export take: 8K UHD's area, and no side beyond 8192.
// A film above it (or a damaged header claiming so) would cost gigabytes and minutes a frame
// sequence; it is refused when probed, with a message, instead of freezing the program.
inline constexpr int kMaxFilmSide = 8192;
inline constexpr std::int64_t kMaxFilmPixels = std::int64_t{7680} * 4320;

// Whether a picture of this size may be decoded: both sides positive, within the limits.
constexpr bool filmPictureWithinLimits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxFilmSide && height <= kMaxFilmSide &&
           std::int64_t{width} * height <= kMaxFilmPixels;
}

}  // namespace corvane
