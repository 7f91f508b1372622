#pragma once

// The conversion of a film's decoded frames to the reel's one picture and sound format. A film
// may change its frames' format partway (broadcast and DV sound going from stereo to mono, a
// stream spliced from two picture sizes), so every frame is checked against what its converter
// was built for and the converter is built again when they differ.

#include <array>
#include <string>
#include <vector>

#include "reels/ffmpeg_owners.h"

namespace corvane {

// What the sound converter was built for: a decoded frame's sample format, rate and layout.
struct SoundFormat {
    int sampleFormat = AV_SAMPLE_FMT_NONE;
    int sampleRate = 0;
    AVChannelLayout layout{};
};

// Sound of any decoded format made planar float stereo at one rate.
class SoundConverter {
public:
    explicit SoundConverter(int outputRate);
    ~SoundConverter();
    SoundConverter(const SoundConverter&) = delete;
    SoundConverter& operator=(const SoundConverter&) = delete;

    // Converts one decoded frame. The samples made stay in planes() until the next call; a frame
    // whose format no sound can have, or whose buffers cannot hold what it claims, makes none.
    // When the frame's format differs from the last one, what the old resampler still held
    // comes first.
    int convert(const AVFrame& frame);

    // The left and right planes of the last conversion.
    std::array<const float*, 2> planes() const { return {planes_[0].data(), planes_[1].data()}; }

    // How many resamplers were built: one, and one more for every change of format.
    int builds() const { return builds_; }

private:
    bool matches(const AVFrame& frame) const;
    bool rebuild(const AVFrame& frame);
    int drainInto(int at);
    int run(int at, const std::uint8_t* const* input, int count);
    void reserve(int samples);

    int outputRate_;
    ResamplePtr resampler_;
    SoundFormat built_;
    std::array<std::vector<float>, 2> planes_;
    int builds_ = 0;
};

// Why a picture was refused.
enum class PictureRefusal {
    None,
    TooLarge,    // beyond the largest picture the program takes
    Unreadable,  // no size, an unknown pixel format or buffers missing
};

struct ConvertedPicture {
    FramePtr picture;  // null when refused
    PictureRefusal refusal = PictureRefusal::None;
};

// Pictures of any decoded size and pixel format scaled to the reel's size in YUV 4:2:0.
class PictureConverter {
public:
    PictureConverter(int width, int height, AVRational sampleAspect);

    ConvertedPicture convert(const AVFrame& frame);

    // How many scalers were built: one, and one more for every change of size or pixel format.
    int builds() const { return builds_; }

private:
    int width_;
    int height_;
    AVRational sampleAspect_;
    ScalePtr scaler_;
    int builtWidth_ = 0;
    int builtHeight_ = 0;
    int builtFormat_ = AV_PIX_FMT_NONE;
    int builds_ = 0;
};

// "WxH" of a picture, as the refusals name it.
std::string pictureSizeText(int width, int height);

}  // namespace corvane
