#include "reels/frame_conversion.h"

#include <algorithm>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

#include "core/film_limits.h"

namespace corvane {

namespace {

// Beyond these no decoder makes sound; a frame claiming more is damaged. A rate of a few hertz
// would make every sample thousands at the output's rate: gigabytes for one frame.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;
constexpr int kMaxChannels = 64;
// No decoder's frame lasts this long; the resampler's output for one frame is bounded by it.
constexpr int kMaxFrameSeconds = 10;

// The frame's layout, or the usual one of its channel count when it names no order.
AVChannelLayout layoutOf(const AVFrame& frame) {
    AVChannelLayout layout{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&frame.ch_layout) == 0)
        av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
    else
        av_channel_layout_copy(&layout, &frame.ch_layout);
    return layout;
}

// The frame's claims hold together and its buffers hold what it claims.
bool soundFrameUsable(const AVFrame& frame) {
    const auto format = static_cast<AVSampleFormat>(frame.format);
    if (frame.format < 0 || frame.format >= AV_SAMPLE_FMT_NB) return false;
    const int channels = frame.ch_layout.nb_channels;
    if (frame.nb_samples <= 0 || channels <= 0 || channels > kMaxChannels) return false;
    if (frame.sample_rate < kMinSampleRate || frame.sample_rate > kMaxSampleRate) return false;
    if (!frame.extended_data) return false;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const std::int64_t bytes = std::int64_t{frame.nb_samples} * av_get_bytes_per_sample(format) * (planar ? 1 : channels);
    if (frame.linesize[0] < bytes) return false;
    const int planes = planar ? channels : 1;
    for (int p = 0; p < planes; ++p)
        if (!frame.extended_data[p]) return false;
    return true;
}

}  // namespace

SoundConverter::SoundConverter(int outputRate) : outputRate_(outputRate) {}

SoundConverter::~SoundConverter() { av_channel_layout_uninit(&built_.layout); }

bool SoundConverter::matches(const AVFrame& frame) const {
    if (!resampler_ || frame.format != built_.sampleFormat || frame.sample_rate != built_.sampleRate) return false;
    AVChannelLayout layout = layoutOf(frame);
    const bool same = av_channel_layout_compare(&layout, &built_.layout) == 0;
    av_channel_layout_uninit(&layout);
    return same;
}

bool SoundConverter::rebuild(const AVFrame& frame) {
    resampler_.reset();
    av_channel_layout_uninit(&built_.layout);
    built_.layout = layoutOf(frame);
    built_.sampleFormat = frame.format;
    built_.sampleRate = frame.sample_rate;
    AVChannelLayout stereo{};
    av_channel_layout_default(&stereo, 2);
    SwrContext* raw = nullptr;
    const int made = swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_FLTP, outputRate_, &built_.layout,
                                         static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    ResamplePtr resampler(raw);
    if (made < 0 || !resampler || swr_init(resampler.get()) < 0) return false;
    resampler_ = std::move(resampler);
    ++builds_;
    return true;
}

void SoundConverter::reserve(int samples) {
    const auto size = static_cast<std::size_t>(samples);
    // Grown, never shrunk: a film's frames are of a few sizes, and the planes are reused.
    for (auto& plane : planes_)
        if (plane.size() < size) plane.resize(size);
}

int SoundConverter::run(int at, const std::uint8_t* const* input, int count) {
    const int room = swr_get_out_samples(resampler_.get(), count);
    if (room <= 0 || room > kMaxFrameSeconds * outputRate_) return 0;
    reserve(at + room);
    std::array<std::uint8_t*, 2> out{reinterpret_cast<std::uint8_t*>(planes_[0].data() + at),
                                     reinterpret_cast<std::uint8_t*>(planes_[1].data() + at)};
    const int made = swr_convert(resampler_.get(), out.data(), room, const_cast<const std::uint8_t**>(input), count);
    return std::max(0, made);
}

int SoundConverter::drainInto(int at) { return resampler_ ? run(at, nullptr, 0) : 0; }

int SoundConverter::convert(const AVFrame& frame) {
    if (!soundFrameUsable(frame)) return 0;
    int made = 0;
    if (!matches(frame)) {
        made = drainInto(0);
        if (!rebuild(frame)) return made;
    }
    return made + run(made, frame.extended_data, frame.nb_samples);
}

std::string pictureSizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

PictureConverter::PictureConverter(int width, int height, AVRational sampleAspect)
    : width_(width), height_(height), sampleAspect_(sampleAspect) {}

ConvertedPicture PictureConverter::convert(const AVFrame& frame) {
    if (frame.width <= 0 || frame.height <= 0) return {nullptr, PictureRefusal::Unreadable};
    if (!filmPictureWithinLimits(frame.width, frame.height)) return {nullptr, PictureRefusal::TooLarge};
    const auto format = static_cast<AVPixelFormat>(frame.format);
    const AVPixFmtDescriptor* described = av_pix_fmt_desc_get(format);
    if (!described || !sws_isSupportedInput(format)) return {nullptr, PictureRefusal::Unreadable};
    // A palette picture's palette is its second plane.
    const int planes = std::max(av_pix_fmt_count_planes(format), (described->flags & AV_PIX_FMT_FLAG_PAL) ? 2 : 1);
    for (int p = 0; p < planes; ++p)
        if (!frame.data[p] || frame.linesize[p] <= 0) return {nullptr, PictureRefusal::Unreadable};
    if (!scaler_ || frame.width != builtWidth_ || frame.height != builtHeight_ || frame.format != builtFormat_) {
        scaler_.reset(sws_getContext(frame.width, frame.height, format, width_, height_, AV_PIX_FMT_YUV420P,
                                     SWS_BICUBIC, nullptr, nullptr, nullptr));
        builtWidth_ = frame.width;
        builtHeight_ = frame.height;
        builtFormat_ = frame.format;
        if (!scaler_) return {nullptr, PictureRefusal::Unreadable};
        ++builds_;
    }
    FramePtr picture = newFrame();
    picture->width = width_;
    picture->height = height_;
    picture->format = AV_PIX_FMT_YUV420P;
    picture->sample_aspect_ratio = sampleAspect_;
    if (av_frame_get_buffer(picture.get(), 0) < 0) return {nullptr, PictureRefusal::Unreadable};
    sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, picture->data, picture->linesize);
    return {std::move(picture), PictureRefusal::None};
}

}  // namespace corvane
