#pragma once

#include <cstdint>
#include <optional>

namespace corvane::testing {

// The moment a test film's frame shows: its whole second and its frame within that second, as
// tools/make_film.sh draws them in the picture's top-left corner.
struct FrameStamp {
    int second = 0;
    int frame = 0;

    friend bool operator==(const FrameStamp&, const FrameStamp&) = default;
};

// Four bytes a pixel. Bgra is QImage::Format_RGB32 on a little-endian machine and mpv's "bgr0";
// Rgba is mpv's "rgb0". The fourth byte is ignored.
enum class PixelFormat { Bgra, Rgba };

// Reads the block code of a test film's frame. pixels points at the top-left pixel of the picture
// as displayed (scaled or not, but not cropped); width and height are its displayed size in pixels
// and stride the bytes from one row to the next. Empty when the picture holds no readable code.
std::optional<FrameStamp> readFrameStamp(const std::uint8_t* pixels, int width, int height, int stride,
                                         PixelFormat format);

}  // namespace corvane::testing
