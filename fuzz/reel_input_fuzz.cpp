// The export's input side: decoded frames whose sound and picture formats change from one frame
// to the next (sample format, rate, layout and channels; size and pixel format), with made-up
// samples and pixels, through the conversion the reel writer uses. A frame claiming more samples
// than its buffers hold, or a picture beyond the limits without buffers, must be refused, never
// read.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

#include "reels/frame_conversion.h"

namespace {

using corvane::FramePtr;

// Takes bytes from the front of the input; zeros once it is used up.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    int upTo(int bound) { return bound > 0 ? static_cast<int>(next() | (next() << 8)) % bound : 0; }
    // Fills a buffer with what is left, over and over: the samples and pixels are made up.
    void fill(std::uint8_t* out, std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) out[i] = size_ ? data_[(at_ + i) % size_] : 0;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::array kRates{8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000, 192000, 1, 768000, 768001, 0, -1};

constexpr std::array kPixelFormats{
    AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,     AV_PIX_FMT_NV12,
    AV_PIX_FMT_RGB24,   AV_PIX_FMT_BGRA,     AV_PIX_FMT_GRAY8,    AV_PIX_FMT_PAL8,        AV_PIX_FMT_YUV420P10LE,
    AV_PIX_FMT_YUYV422, AV_PIX_FMT_UYVY422,  AV_PIX_FMT_YUVA420P, AV_PIX_FMT_MONOBLACK,   AV_PIX_FMT_P010LE,
    AV_PIX_FMT_VAAPI,   AV_PIX_FMT_NONE,
};

void soundFrame(Bytes& in, corvane::SoundConverter& sound) {
    FramePtr frame = corvane::newFrame();
    frame->format = in.upTo(AV_SAMPLE_FMT_NB + 2) - 1;  // AV_SAMPLE_FMT_NONE and one past the last too
    frame->sample_rate = kRates[static_cast<std::size_t>(in.upTo(kRates.size()))];
    const int channels = in.upTo(10);  // 0 and more than stereo too
    switch (in.next() % 4) {
        case 0: av_channel_layout_default(&frame->ch_layout, channels); break;
        case 1:
            frame->ch_layout.order = AV_CHANNEL_ORDER_UNSPEC;
            frame->ch_layout.nb_channels = channels;
            break;
        case 2: av_channel_layout_from_mask(&frame->ch_layout, (std::uint64_t{in.next()} << 8) | in.next()); break;
        default: av_channel_layout_from_mask(&frame->ch_layout, AV_CH_LAYOUT_5POINT1); break;
    }
    frame->nb_samples = 1 + in.upTo(4096);
    const bool usable = frame->format >= 0 && frame->format < AV_SAMPLE_FMT_NB && frame->ch_layout.nb_channels > 0;
    if (usable && av_frame_get_buffer(frame.get(), 0) == 0) {
        const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame->format));
        for (int p = 0; p < (planar ? frame->ch_layout.nb_channels : 1); ++p)
            in.fill(frame->extended_data[p], static_cast<std::size_t>(frame->linesize[0]));
        // A damaged frame claims more samples than its buffers hold.
        if (in.next() % 8 == 0) frame->nb_samples *= 4;
    }
    const int made = sound.convert(*frame);
    if (made > 0) {
        // What was made is there to be read, every sample of both planes.
        const auto planes = sound.planes();
        volatile float sum = 0;
        for (const float* plane : planes) sum = sum + plane[0] + plane[made - 1];
    }
}

void pictureFrame(Bytes& in, corvane::PictureConverter& pictures) {
    FramePtr frame = corvane::newFrame();
    frame->format = in.next() % 4 == 0 ? in.upTo(AV_PIX_FMT_NB + 1) - 1
                                       : kPixelFormats[static_cast<std::size_t>(in.upTo(kPixelFormats.size()))];
    const bool huge = in.next() % 16 == 0;
    frame->width = huge ? 8193 + in.upTo(60000) : in.upTo(260);
    frame->height = huge ? 1 + in.upTo(8) : in.upTo(200);
    // Beyond the limits the frame gets no buffers: the converter must refuse it unread.
    if (!huge && av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format)) && frame->width > 0 &&
        frame->height > 0 && av_frame_get_buffer(frame.get(), 0) == 0) {
        for (int p = 0; p < AV_NUM_DATA_POINTERS && frame->buf[p]; ++p) in.fill(frame->buf[p]->data, frame->buf[p]->size);
    }
    const corvane::ConvertedPicture converted = pictures.convert(*frame);
    if (huge && converted.refusal != corvane::PictureRefusal::TooLarge) __builtin_trap();
    if (converted.picture) {
        volatile std::uint8_t last = converted.picture->data[2][converted.picture->linesize[2] - 1];
        (void)last;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    av_log_set_level(AV_LOG_QUIET);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    corvane::SoundConverter sound(in.next() % 2 ? 44100 : 48000);
    corvane::PictureConverter pictures(2 + 2 * in.upTo(160), 2 + 2 * in.upTo(120), {1, 1});
    for (int frame = 0; frame < 48 && !in.empty(); ++frame) {
        if (in.next() % 2) soundFrame(in, sound);
        else pictureFrame(in, pictures);
    }
    return 0;
}
