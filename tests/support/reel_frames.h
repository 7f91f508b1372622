#pragma once

// The frame stamps of a written film, read back by decoding it with the ffmpeg command: the
// stamps tell which second and frame of its source each picture shows.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/frame_stamp.h"

namespace corvane::testing {

// One picture's stamp; second -1 when the picture holds none.
inline std::vector<FrameStamp> filmStamps(const std::filesystem::path& film) {
    constexpr int kWidth = 320, kHeight = 256;
    const std::string command = "ffmpeg -nostdin -v error -i '" + film.string() + "' -vf scale=" +
                                std::to_string(kWidth) + ":" + std::to_string(kHeight) +
                                " -vsync passthrough -f rawvideo -pix_fmt bgra - 2>/dev/null";
    std::vector<FrameStamp> stamps;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return stamps;
    std::vector<std::uint8_t> picture(std::size_t(kWidth) * kHeight * 4);
    while (std::fread(picture.data(), 1, picture.size(), pipe) == picture.size()) {
        const auto stamp = readFrameStamp(picture.data(), kWidth, kHeight, kWidth * 4, PixelFormat::Bgra);
        stamps.push_back(stamp ? *stamp : FrameStamp{-1, 0});
    }
    pclose(pipe);
    return stamps;
}

// A run of pictures whose stamps follow one another frame by frame: [first, last] in frames of
// the source film.
struct StampRun {
    int firstFrame = 0;
    int lastFrame = 0;
};

inline std::vector<StampRun> stampRuns(const std::vector<FrameStamp>& stamps, int fps = 25) {
    std::vector<StampRun> runs;
    for (const FrameStamp& stamp : stamps) {
        const int frame = stamp.second < 0 ? -1000000 : stamp.second * fps + stamp.frame;
        if (!runs.empty() && frame == runs.back().lastFrame + 1) runs.back().lastFrame = frame;
        else runs.push_back({frame, frame});
    }
    return runs;
}

}  // namespace corvane::testing
