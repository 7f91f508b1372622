#include "support/frame_stamp.h"

#include <algorithm>
#include <array>

namespace corvane::testing {
namespace {

// The grid of tools/make_film.sh: cells of width/32 by height/24, guards in columns 1-2 of rows
// 1-3, thirty bits in columns 3-12, a grey panel around them.
constexpr int kColumns = 32;
constexpr int kRows = 24;
constexpr int kCodeRows = 3;
constexpr int kBitsPerRow = 10;
constexpr int kSecondBits = 16;
constexpr int kFrameBits = 6;
constexpr int kCheckBits = 8;
constexpr int kMinimumContrast = 64;

class Picture {
public:
    Picture(const std::uint8_t* pixels, int width, int height, int stride, PixelFormat format)
        : pixels_(pixels), width_(width), height_(height), stride_(stride), format_(format) {}

    // Mean luma over the middle third of a grid cell.
    int cellLuma(int column, int row) const {
        const double cellWidth = double(width_) / kColumns;
        const double cellHeight = double(height_) / kRows;
        const int centreX = int((column + 0.5) * cellWidth);
        const int centreY = int((row + 0.5) * cellHeight);
        const int reachX = std::max(0, int(cellWidth / 6));
        const int reachY = std::max(0, int(cellHeight / 6));
        long sum = 0;
        int count = 0;
        for (int y = centreY - reachY; y <= centreY + reachY; ++y)
            for (int x = centreX - reachX; x <= centreX + reachX; ++x) {
                sum += luma(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
                ++count;
            }
        return int(sum / count);
    }

private:
    int luma(int x, int y) const {
        const std::uint8_t* p = pixels_ + std::ptrdiff_t(y) * stride_ + std::ptrdiff_t(x) * 4;
        const int red = format_ == PixelFormat::Rgba ? p[0] : p[2];
        const int blue = format_ == PixelFormat::Rgba ? p[2] : p[0];
        return (299 * red + 587 * p[1] + 114 * blue) / 1000;
    }

    const std::uint8_t* pixels_;
    int width_, height_, stride_;
    PixelFormat format_;
};

int expectedCheck(int second, int frame) { return (second % 256 + 3 * (second / 256) + 7 * frame + 165) % 256; }

}  // namespace

std::optional<FrameStamp> readFrameStamp(const std::uint8_t* pixels, int width, int height, int stride,
                                         PixelFormat format) {
    // Below two pixels a cell, nothing can be told apart.
    if (!pixels || width < 2 * kColumns || height < 2 * kRows || stride < 4 * width) return std::nullopt;
    const Picture picture(pixels, width, height, stride, format);

    int whiteSum = 0, blackSum = 0, whiteMin = 255, blackMax = 0;
    for (int row = 1; row <= kCodeRows; ++row) {
        const bool whiteFirst = row % 2 == 1;
        const int white = picture.cellLuma(whiteFirst ? 1 : 2, row);
        const int black = picture.cellLuma(whiteFirst ? 2 : 1, row);
        whiteSum += white;
        blackSum += black;
        whiteMin = std::min(whiteMin, white);
        blackMax = std::max(blackMax, black);
    }
    if (whiteMin - blackMax < kMinimumContrast) return std::nullopt;
    const int threshold = (whiteSum + blackSum) / (2 * kCodeRows);
    const int margin = (whiteMin - blackMax) / 4;

    // The panel's corners are grey: between black and white, far from both.
    constexpr std::array<std::array<int, 2>, 4> panelCorners{{{0, 0}, {13, 0}, {0, 4}, {13, 4}}};
    for (const auto& [column, row] : panelCorners) {
        const int grey = picture.cellLuma(column, row);
        if (grey < blackMax + margin || grey > whiteMin - margin) return std::nullopt;
    }

    unsigned bits = 0;
    for (int index = 0; index < kCodeRows * kBitsPerRow; ++index) {
        const int value = picture.cellLuma(3 + index % kBitsPerRow, 1 + index / kBitsPerRow);
        if (value > threshold - margin && value < threshold + margin) return std::nullopt;
        if (value >= threshold) bits |= 1u << index;
    }
    const int second = int(bits & ((1u << kSecondBits) - 1));
    const int frame = int((bits >> kSecondBits) & ((1u << kFrameBits) - 1));
    const int check = int((bits >> (kSecondBits + kFrameBits)) & ((1u << kCheckBits) - 1));
    if (check != expectedCheck(second, frame)) return std::nullopt;
    return FrameStamp{second, frame};
}

}  // namespace corvane::testing
