#include <gtest/gtest.h>

#include <cmath>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
}

#include "reels/frame_conversion.h"
#include "reels/frame_slots.h"

namespace corvane {
namespace {

// A frame of silence-free sound: a 440 Hz tone in every channel.
FramePtr soundFrame(AVSampleFormat format, int rate, int channels, int samples) {
    FramePtr frame = newFrame();
    frame->format = format;
    frame->sample_rate = rate;
    frame->nb_samples = samples;
    av_channel_layout_default(&frame->ch_layout, channels);
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    const bool planar = av_sample_fmt_is_planar(format);
    for (int i = 0; i < samples; ++i) {
        const float value = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440 * i / rate));
        for (int c = 0; c < channels; ++c) {
            const int at = planar ? i : i * channels + c;
            std::uint8_t* plane = frame->extended_data[planar ? c : 0];
            if (format == AV_SAMPLE_FMT_S16 || format == AV_SAMPLE_FMT_S16P)
                reinterpret_cast<std::int16_t*>(plane)[at] = static_cast<std::int16_t>(value * 32767);
            else
                reinterpret_cast<float*>(plane)[at] = value;
        }
    }
    return frame;
}

TEST(SoundConverter, BuildsItsResamplerAgainForEveryChangeOfFormatAndKeepsTheSound) {
    struct Step {
        AVSampleFormat format;
        int rate;
        int channels;
        int builds;  // resamplers built so far
    };
    const std::vector<Step> steps{
        {AV_SAMPLE_FMT_S16, 48000, 2, 1},  {AV_SAMPLE_FMT_S16, 48000, 2, 1},  // the same: kept
        {AV_SAMPLE_FMT_S16, 48000, 1, 2},                                      // stereo to mono
        {AV_SAMPLE_FMT_FLTP, 48000, 1, 3},                                     // sample format
        {AV_SAMPLE_FMT_FLTP, 44100, 1, 4},                                     // rate
        {AV_SAMPLE_FMT_FLTP, 44100, 6, 5},                                     // to 5.1
        {AV_SAMPLE_FMT_S16P, 32000, 2, 6},  {AV_SAMPLE_FMT_S16P, 32000, 2, 6},
    };
    SoundConverter sound(48000);
    long long made = 0;
    double seconds = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.builds);
        const FramePtr frame = soundFrame(step.format, step.rate, step.channels, 1152);
        const int count = sound.convert(*frame);
        EXPECT_EQ(sound.builds(), step.builds);
        ASSERT_GT(count, 0);
        float loudest = 0;
        for (const float* plane : sound.planes())
            for (int i = 0; i < count; ++i) loudest = std::max(loudest, std::abs(plane[i]));
        EXPECT_GT(loudest, 0.1f);  // sound in both planes, not silence
        made += count;
        seconds += 1152.0 / step.rate;
    }
    // What the old resamplers still held came out before each change: little is lost.
    EXPECT_NEAR(static_cast<double>(made) / 48000, seconds, 0.02);
}

TEST(SoundConverter, RefusesFramesThatCannotBeSound) {
    SoundConverter sound(48000);
    struct Damage {
        const char* what;
        void (*apply)(AVFrame&);
    };
    const std::vector<Damage> damages{
        {"more samples than its buffers hold", [](AVFrame& f) { f.nb_samples *= 4; }},
        {"no samples", [](AVFrame& f) { f.nb_samples = 0; }},
        {"a rate of a few hertz", [](AVFrame& f) { f.sample_rate = 3; }},
        {"a rate beyond any", [](AVFrame& f) { f.sample_rate = 10'000'000; }},
        {"no channels", [](AVFrame& f) { f.ch_layout.nb_channels = 0; }},
        {"an unknown sample format", [](AVFrame& f) { f.format = AV_SAMPLE_FMT_NB; }},
        {"a missing plane", [](AVFrame& f) { f.extended_data[1] = nullptr; }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        FramePtr frame = soundFrame(AV_SAMPLE_FMT_FLTP, 48000, 2, 1024);
        std::uint8_t* second = frame->extended_data[1];
        damage.apply(*frame);
        EXPECT_EQ(sound.convert(*frame), 0);
        frame->extended_data[1] = second;
    }
    // And a sound frame after them is converted.
    EXPECT_GT(sound.convert(*soundFrame(AV_SAMPLE_FMT_FLTP, 48000, 2, 1024)), 0);
}

FramePtr pictureFrame(int width, int height, AVPixelFormat format, bool buffers = true) {
    FramePtr frame = newFrame();
    frame->width = width;
    frame->height = height;
    frame->format = format;
    if (buffers) EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    return frame;
}

TEST(PictureConverter, BuildsItsScalerAgainForEveryChangeOfSizeOrPixelFormat) {
    PictureConverter pictures(320, 240, {1, 1});
    struct Step {
        int width;
        int height;
        AVPixelFormat format;
        int builds;
    };
    const std::vector<Step> steps{
        {320, 240, AV_PIX_FMT_YUV420P, 1}, {320, 240, AV_PIX_FMT_YUV420P, 1}, {160, 96, AV_PIX_FMT_YUV420P, 2},
        {160, 96, AV_PIX_FMT_YUVJ422P, 3}, {1920, 1080, AV_PIX_FMT_NV12, 4},  {1920, 1080, AV_PIX_FMT_NV12, 4},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.builds);
        const ConvertedPicture converted = pictures.convert(*pictureFrame(step.width, step.height, step.format));
        ASSERT_TRUE(converted.picture);
        EXPECT_EQ(converted.picture->width, 320);
        EXPECT_EQ(converted.picture->height, 240);
        EXPECT_EQ(converted.picture->format, AV_PIX_FMT_YUV420P);
        EXPECT_EQ(pictures.builds(), step.builds);
    }
}

TEST(PictureConverter, RefusesPicturesBeyondTheLimitsUnreadAndThoseItCannotRead) {
    PictureConverter pictures(320, 240, {1, 1});
    // No buffers: the refusal must come before a pixel is read.
    EXPECT_EQ(pictures.convert(*pictureFrame(8193, 64, AV_PIX_FMT_YUV420P, false)).refusal, PictureRefusal::TooLarge);
    EXPECT_EQ(pictures.convert(*pictureFrame(7680, 4322, AV_PIX_FMT_YUV420P, false)).refusal, PictureRefusal::TooLarge);
    EXPECT_EQ(pictures.convert(*pictureFrame(0, 64, AV_PIX_FMT_YUV420P, false)).refusal, PictureRefusal::Unreadable);
    EXPECT_EQ(pictures.convert(*pictureFrame(64, 64, AV_PIX_FMT_YUV420P, false)).refusal, PictureRefusal::Unreadable);
    EXPECT_EQ(pictures.convert(*pictureFrame(64, 64, AV_PIX_FMT_VAAPI, false)).refusal, PictureRefusal::Unreadable);
    FramePtr noPalette = pictureFrame(64, 64, AV_PIX_FMT_PAL8);
    noPalette->data[1] = nullptr;
    EXPECT_EQ(pictures.convert(*noPalette).refusal, PictureRefusal::Unreadable);
    // At the limit the picture is taken.
    EXPECT_EQ(pictures.convert(*pictureFrame(8192, 16, AV_PIX_FMT_YUV420P)).refusal, PictureRefusal::None);
}

// Which picture of a film of sourceFps fills each slot of a clip [start, end) in a reel of
// outputFps, when the film's pictures come at k / sourceFps: the picture's number, slot by slot.
std::vector<int> picturesOfSlots(double start, double end, double outputFps, double sourceFps) {
    FrameSlots slots(start, end, outputFps, sourceFps);
    std::vector<int> shown;
    int k = 0;
    for (; !slots.full() && k < 100000; ++k) {
        const int before = slots.fillBefore(k / sourceFps);
        shown.insert(shown.end(), static_cast<std::size_t>(before), k - 1);
    }
    return shown;
}

TEST(FrameSlots, EachSlotShowsThePictureOfItsMoment) {
    struct Case {
        double start, end, output, source;
        std::vector<int> pictures;
    };
    const std::vector<Case> cases{
        {1, 1.2, 25, 25, {25, 26, 27, 28, 29}},                   // the same rate: every picture once
        {1, 1.2, 25, 50, {50, 52, 54, 56, 58}},                   // twice the rate: every other one
        {1, 1.2, 50, 25, {25, 25, 26, 26, 27, 27, 28, 28, 29, 29}},  // half the rate: each twice
        {0.4, 0.6, 25, 24, {10, 11, 11, 12, 13}},                 // 24 a second: one in 25 shown twice
        {0, 0.2, 25, 30, {0, 1, 2, 4, 5}},                        // 30 a second: one in six left out
        {0.01, 0.09, 25, 25, {0, 1}},                             // a start between frames rounds
        {2, 2, 25, 25, {}},                                        // an empty clip
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "-" << c.end << " " << c.source << " in " << c.output);
        EXPECT_EQ(picturesOfSlots(c.start, c.end, c.output, c.source), c.pictures);
    }
    // 30 a second in 25, over a longer stretch: the left out pictures come at an even step.
    EXPECT_EQ(picturesOfSlots(0, 0.4, 25, 30), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 10, 11}));
}

TEST(FrameSlots, TheLastPictureCoversTheSlotsUpToItsEnd) {
    // The film ends at picture 29 (1.16 s) inside a clip to 1.4 s: its own slot and no more.
    FrameSlots slots(1, 1.4, 25, 25);
    EXPECT_EQ(slots.fillBefore(29 / 25.0), 4);
    EXPECT_EQ(slots.fillAfterLast(29 / 25.0), 1);
    EXPECT_EQ(slots.filled(), 5);
    EXPECT_FALSE(slots.full());
}

}  // namespace
}  // namespace corvane
