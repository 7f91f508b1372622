#pragma once

#include <cstdint>

namespace corvane {

// The largest picture the player and the export take: 8K UHD's area, and no side beyond 8192.
// A film above it (or a damaged header claiming so) would cost gigabytes and minutes a frame
// sequence; it is refused when probed, with a message, instead of freezing the program.
inline constexpr int kMaxFilmSide = 8192;
inline constexpr std::int64_t kMaxFilmPixels = std::int64_t{7680} * 4320;

// libavcodec's own bound on one picture (its max_pixels) where the player decodes: the area with
// room for the decoder's alignment of a row, so that every picture within the limits decodes and
// none far beyond them is allocated, whatever a film's headers said first. The export decodes up
// to four times the area instead, so that a film growing a little beyond it is refused with a
// message rather than losing pictures silently.
inline constexpr std::int64_t kDecoderMaxPixels = kMaxFilmPixels + std::int64_t{64} * kMaxFilmSide;
inline constexpr std::int64_t kExportDecoderMaxPixels = 4 * kMaxFilmPixels;

// Whether a picture of this size may be decoded: both sides positive, within the limits.
constexpr bool filmPictureWithinLimits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxFilmSide && height <= kMaxFilmSide &&
           std::int64_t{width} * height <= kMaxFilmPixels;
}

}  // namespace corvane
