#include "reels/reel_writer.h"

#include "reels/reel_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <system_error>

#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "core/film_limits.h"
#include "reels/caption_fit.h"
#include "reels/caption_font.h"
#include "reels/ffmpeg_owners.h"
#include "reels/frame_conversion.h"
#include "reels/frame_slots.h"
#include "scout/packages.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

struct ReelFailure {
    ReelStatus status;
    std::string detail;
};
struct ReelCancelled {};

std::string errorText(int code) {
    std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
    av_strerror(code, text.data(), text.size());
    return text.data();
}

const AVCodec* h264Encoder() {
    if (const AVCodec* x264 = avcodec_find_encoder_by_name("libx264")) return x264;
    return avcodec_find_encoder(AV_CODEC_ID_H264);
}

// ---------------------------------------------------------------- reading a film

// A film opened for reading, with decoders for its first video and audio streams.
class FilmReader {
public:
    explicit FilmReader(const fs::path& film) : film_(film) {
        // The libraries' notes on damaged packets of the films are no news to the user.
        av_log_set_level(AV_LOG_FATAL);
        AVFormatContext* raw = nullptr;
        if (avformat_open_input(&raw, film.c_str(), nullptr, nullptr) < 0) fail();
        input_.reset(raw);
        if (avformat_find_stream_info(input_.get(), nullptr) < 0) fail();
        videoIndex_ = av_find_best_stream(input_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (videoIndex_ < 0) fail();
        // A picture beyond the limits would cost gigabytes and minutes: refused before a frame is decoded.
        const AVCodecParameters* probed = input_->streams[videoIndex_]->codecpar;
        if ((probed->width > 0 || probed->height > 0) && !filmPictureWithinLimits(probed->width, probed->height))
            refusePictureSize(probed->width, probed->height);
        video_ = openDecoder(videoIndex_);
        if (!video_) fail();
        audioIndex_ = av_find_best_stream(input_.get(), AVMEDIA_TYPE_AUDIO, -1, videoIndex_, nullptr, 0);
        if (audioIndex_ >= 0) audio_ = openDecoder(audioIndex_);
        if (!audio_) audioIndex_ = -1;
        // The player counts a film's seconds from its first timestamp.
        startSeconds_ = input_->start_time != AV_NOPTS_VALUE ? static_cast<double>(input_->start_time) / AV_TIME_BASE : 0;
        const AVStream* stream = input_->streams[videoIndex_];
        frameRate_ = av_guess_frame_rate(input_.get(), input_->streams[videoIndex_], nullptr);
        if (frameRate_.num <= 0 || frameRate_.den <= 0) frameRate_ = {25, 1};
        sampleAspect_ = av_guess_sample_aspect_ratio(input_.get(), const_cast<AVStream*>(stream), nullptr);
    }

    AVCodecContext* video() const { return video_.get(); }
    AVCodecContext* audio() const { return audio_.get(); }
    AVRational frameRate() const { return frameRate_; }

    [[noreturn]] void refusePictureSize(int width, int height) const {
        throw ReelFailure{ReelStatus::CannotReadFilm,
                          film_.string() + ": picture " + pictureSizeText(width, height) + " is larger than 8K"};
    }
    AVRational sampleAspect() const { return sampleAspect_; }

    double lengthSeconds() const {
        if (input_->duration > 0) return static_cast<double>(input_->duration) / AV_TIME_BASE;
        const AVStream* stream = input_->streams[videoIndex_];
        return stream->duration > 0 ? static_cast<double>(stream->duration) * av_q2d(stream->time_base) : 0;
    }

    // Decodes [start, end) and hands every frame with its second of the film to the sinks: every
    // picture from the key frame before start until onVideo wants no more, and the audio frames
    // starting before end.
    template <typename VideoSink, typename AudioSink>
    void decode(double start, double end, VideoSink&& onVideo, AudioSink&& onAudio, const std::atomic<bool>& cancel) {
        // A second before the start reaches back to a key frame in the films the program plays.
        const double seekTo = std::max(0.0, start - 1.5) + startSeconds_;
        av_seek_frame(input_.get(), -1, static_cast<std::int64_t>(seekTo * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(video_.get());
        if (audio_) avcodec_flush_buffers(audio_.get());
        const double frame = av_q2d(av_inv_q(frameRate_));
        bool videoDone = false;
        bool audioDone = !audio_;
        double lastVideo = -1e9;
        PacketPtr packet = newPacket();
        FramePtr decoded = newFrame();
        const auto drain = [&](AVCodecContext* codec, int streamIndex) {
            const AVRational base = input_->streams[streamIndex]->time_base;
            while (avcodec_receive_frame(codec, decoded.get()) >= 0) {
                const std::int64_t stamp = decoded->best_effort_timestamp;
                if (codec == video_.get()) {
                    const double t = stamp != AV_NOPTS_VALUE ? stamp * av_q2d(base) - startSeconds_ : lastVideo + frame;
                    lastVideo = t;
                    if (!videoDone && !onVideo(decoded.get(), t)) videoDone = true;
                } else if (!audioDone && stamp != AV_NOPTS_VALUE) {
                    const double t = stamp * av_q2d(base) - startSeconds_;
                    if (t >= end) audioDone = true;
                    else onAudio(decoded.get(), t);
                }
                av_frame_unref(decoded.get());
            }
        };
        while (!videoDone || !audioDone) {
            if (cancel.load()) throw ReelCancelled{};
            const int read = av_read_frame(input_.get(), packet.get());
            if (read < 0) {
                // The film ends inside the clip: what the decoders still hold is the clip's end.
                avcodec_send_packet(video_.get(), nullptr);
                drain(video_.get(), videoIndex_);
                if (audio_) {
                    avcodec_send_packet(audio_.get(), nullptr);
                    drain(audio_.get(), audioIndex_);
                }
                return;
            }
            if (packet->stream_index == videoIndex_ && !videoDone) {
                if (avcodec_send_packet(video_.get(), packet.get()) >= 0) drain(video_.get(), videoIndex_);
            } else if (packet->stream_index == audioIndex_ && !audioDone) {
                if (avcodec_send_packet(audio_.get(), packet.get()) >= 0) drain(audio_.get(), audioIndex_);
            }
            av_packet_unref(packet.get());
        }
    }

private:
    [[noreturn]] void fail() const { throw ReelFailure{ReelStatus::CannotReadFilm, film_.string()}; }

    CodecPtr openDecoder(int streamIndex) const {
        const AVCodecParameters* parameters = input_->streams[streamIndex]->codecpar;
        const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
        if (!decoder) return nullptr;
        CodecPtr codec(avcodec_alloc_context3(decoder));
        if (!codec || avcodec_parameters_to_context(codec.get(), parameters) < 0) return nullptr;
        codec->pkt_timebase = input_->streams[streamIndex]->time_base;
        codec->thread_count = 0;  // as many threads as the decoder sees fit
        // Pictures far beyond the limits are not even decoded; those a little beyond are refused
        // by the picture conversion with a message.
        codec->max_pixels = kExportDecoderMaxPixels;
        if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return nullptr;
        return codec;
    }

    fs::path film_;
    InputPtr input_;
    CodecPtr video_;
    CodecPtr audio_;
    int videoIndex_ = -1;
    int audioIndex_ = -1;
    double startSeconds_ = 0;
    AVRational frameRate_{25, 1};
    AVRational sampleAspect_{0, 1};
};

// ---------------------------------------------------------------- captions

// Draws one caption into the pictures handed to it, through a drawtext filter whose options are
// set one by one: the caption's text is never parsed as part of a filter description, and its
// expansion is off, so no text from a disc can name a file or a function.
class CaptionPainter {
public:
    CaptionPainter(const fs::path& font, const std::string& text, int width, int height, AVRational timeBase,
                   AVRational sampleAspect) {
        graph_.reset(avfilter_graph_alloc());
        if (!graph_) throw ReelFailure{ReelStatus::CannotWrite, "caption filter"};
        const std::string source = "video_size=" + std::to_string(width) + "x" + std::to_string(height) +
                                   ":pix_fmt=" + std::to_string(AV_PIX_FMT_YUV420P) + ":time_base=" +
                                   std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
                                   ":pixel_aspect=" + std::to_string(std::max(1, sampleAspect.num)) + "/" +
                                   std::to_string(std::max(1, sampleAspect.den));
        check(avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", source.c_str(), nullptr,
                                           graph_.get()));
        check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                           graph_.get()));
        const AVFilter* drawtext = avfilter_get_by_name("drawtext");
        if (!drawtext) throw ReelFailure{ReelStatus::NoCaptionFont, "drawtext"};
        AVFilterContext* draw = avfilter_graph_alloc_filter(graph_.get(), drawtext, "caption");
        if (!draw) throw ReelFailure{ReelStatus::CannotWrite, "caption filter"};
        // The caption stays inside the picture: from a twentieth of the height tall it shrinks
        // and wraps to at most three lines, the last cut when even that is too little.
        const int largest = std::max(10, height / 20);
        const int smallest = std::min(largest, std::max(10, height / 36));
        const int margin = static_cast<int>(width * 0.04);
        // The box's border on both sides and a little for the drawing's rounding.
        const double room = (width - 2 * margin - 2 * borderAt(largest)) * 0.97;
        const CaptionFont measure(font);
        const CaptionLayout layout =
            fitCaption(text, room, largest, smallest,
                       [&](std::string_view line, int size) { return measure.width(line, size); });
        check(av_opt_set(draw, "fontfile", font.c_str(), AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "text", layout.text.c_str(), AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "expansion", "none", AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "fontsize", std::to_string(layout.fontSize).c_str(), AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "fontcolor", "white", AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set_int(draw, "box", 1, AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "boxcolor", "black@0.6", AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set_int(draw, "boxborderw", borderAt(layout.fontSize), AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "x", std::to_string(margin).c_str(), AV_OPT_SEARCH_CHILDREN));
        check(av_opt_set(draw, "y", "h-th-h*0.06", AV_OPT_SEARCH_CHILDREN));
        check(avfilter_init_str(draw, nullptr));
        check(avfilter_link(source_, 0, draw, 0));
        check(avfilter_link(draw, 0, sink_, 0));
        check(avfilter_graph_config(graph_.get(), nullptr));
    }

    // The picture with the caption drawn over it, in place of the one given.
    void paint(FramePtr& picture) {
        check(av_buffersrc_add_frame_flags(source_, picture.get(), AV_BUFFERSRC_FLAG_KEEP_REF));
        FramePtr drawn = newFrame();
        check(av_buffersink_get_frame(sink_, drawn.get()));
        picture = std::move(drawn);
    }

private:
    static int borderAt(int fontSize) { return std::max(4, fontSize / 3); }
    static void check(int result) {
        if (result < 0) throw ReelFailure{ReelStatus::CannotWrite, "caption: " + errorText(result)};
    }

    GraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
};

// ---------------------------------------------------------------- writing one MP4

struct OutputShape {
    int width = 0;
    int height = 0;
    AVRational frameRate{25, 1};
    AVRational sampleAspect{0, 1};
    int sampleRate = 0;  // 0: no sound
};

// Samples of each channel waiting for the audio encoder; the tail can be cut, which the cut of a
// clip's sound to its pictures' length needs.
class SampleQueue {
public:
    explicit SampleQueue(int channels) : channels_(static_cast<std::size_t>(channels)) {}
    std::size_t size() const { return channels_[0].size() - head_; }
    void append(const float* const* planes, int count) {
        for (std::size_t c = 0; c < channels_.size(); ++c)
            channels_[c].insert(channels_[c].end(), planes[c], planes[c] + count);
    }
    void appendSilence(std::size_t count) {
        for (auto& channel : channels_) channel.insert(channel.end(), count, 0.0f);
    }
    std::size_t cutTail(std::size_t count) {
        const std::size_t cut = std::min(count, size());
        for (auto& channel : channels_) channel.resize(channel.size() - cut);
        return cut;
    }
    // Copies count samples into the frame's planes, silence past what is queued.
    void take(AVFrame* frame, int count) {
        const std::size_t have = std::min<std::size_t>(static_cast<std::size_t>(count), size());
        for (std::size_t c = 0; c < channels_.size(); ++c) {
            auto* out = reinterpret_cast<float*>(frame->extended_data[c]);
            std::copy_n(channels_[c].begin() + static_cast<std::ptrdiff_t>(head_), have, out);
            std::fill(out + have, out + count, 0.0f);
        }
        head_ += have;
        if (head_ > (1u << 20)) {
            for (auto& channel : channels_) channel.erase(channel.begin(), channel.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
    }

private:
    std::vector<std::vector<float>> channels_;
    std::size_t head_ = 0;
};

class Mp4Writer {
public:
    Mp4Writer(const fs::path& file, const OutputShape& shape) : shape_(shape), sound_(2) {
        AVFormatContext* raw = nullptr;
        if (avformat_alloc_output_context2(&raw, nullptr, "mp4", file.c_str()) < 0 || !raw)
            throw ReelFailure{ReelStatus::CannotWrite, "mp4 muxer"};
        output_.reset(raw);

        const AVCodec* h264 = h264Encoder();
        if (!h264) throw ReelFailure{ReelStatus::NoH264Encoder, {}};
        video_.reset(avcodec_alloc_context3(h264));
        video_->width = shape.width;
        video_->height = shape.height;
        video_->pix_fmt = AV_PIX_FMT_YUV420P;
        video_->time_base = av_inv_q(shape.frameRate);
        video_->framerate = shape.frameRate;
        video_->sample_aspect_ratio = shape.sampleAspect;
        video_->gop_size = 2 * shape.frameRate.num / std::max(1, shape.frameRate.den);
        video_->thread_count = 0;
        if (output_->oformat->flags & AVFMT_GLOBALHEADER) video_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        // Near the look of the source at a fraction of its size, quickly enough to wait for.
        av_opt_set(video_->priv_data, "crf", "20", 0);
        av_opt_set(video_->priv_data, "preset", "veryfast", 0);
        openEncoder(video_.get(), h264);
        videoStream_ = addStream(video_.get());

        if (shape.sampleRate > 0) {
            const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
            if (!aac) throw ReelFailure{ReelStatus::NoAacEncoder, {}};
            audio_.reset(avcodec_alloc_context3(aac));
            audio_->sample_fmt = AV_SAMPLE_FMT_FLTP;
            audio_->sample_rate = shape.sampleRate;
            av_channel_layout_default(&audio_->ch_layout, 2);
            audio_->bit_rate = 160000;
            audio_->time_base = {1, shape.sampleRate};
            if (output_->oformat->flags & AVFMT_GLOBALHEADER) audio_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            openEncoder(audio_.get(), aac);
            audioStream_ = addStream(audio_.get());
        }
        if (avio_open(&output_->pb, file.c_str(), AVIO_FLAG_WRITE) < 0)
            throw ReelFailure{ReelStatus::CannotWrite, file.string()};
        AVDictionary* options = nullptr;
        av_dict_set(&options, "movflags", "+faststart", 0);
        const int header = avformat_write_header(output_.get(), &options);
        av_dict_free(&options);
        if (header < 0) throw ReelFailure{ReelStatus::CannotWrite, errorText(header)};
        packet_ = newPacket();
    }

    const OutputShape& shape() const { return shape_; }
    bool hasSound() const { return static_cast<bool>(audio_); }
    std::int64_t framesWritten() const { return nextFrame_; }

    void writePicture(AVFrame* picture) {
        picture->pts = nextFrame_++;
        picture->pict_type = AV_PICTURE_TYPE_NONE;
        encode(video_.get(), videoStream_, picture);
    }

    // Sound at the output's rate and layout, planar float.
    void writeSound(const float* const* planes, int count) {
        sound_.append(planes, count);
        soundQueued_ += static_cast<std::int64_t>(count);
        // A second stays queued, so that the end of a clip can still be cut to its pictures.
        encodeQueuedSound(shape_.sampleRate);
    }

    // The clip has ended: its sound is made exactly as long as its pictures, so the next clip's
    // sound starts with its first picture.
    void endClip() {
        if (!audio_) return;
        const std::int64_t wanted = av_rescale_q(nextFrame_, video_->time_base, audio_->time_base);
        if (soundQueued_ < wanted) {
            sound_.appendSilence(static_cast<std::size_t>(wanted - soundQueued_));
        } else if (soundQueued_ > wanted) {
            sound_.cutTail(static_cast<std::size_t>(soundQueued_ - wanted));
        }
        soundQueued_ = wanted;
        encodeQueuedSound(shape_.sampleRate);
    }

    void finish() {
        if (audio_) {
            encodeQueuedSound(0);
            encode(audio_.get(), audioStream_, nullptr);
        }
        encode(video_.get(), videoStream_, nullptr);
        const int trailer = av_write_trailer(output_.get());
        if (trailer < 0) throw ReelFailure{ReelStatus::CannotWrite, errorText(trailer)};
        if (avio_closep(&output_->pb) < 0) throw ReelFailure{ReelStatus::CannotWrite, "close"};
    }

private:
    static void openEncoder(AVCodecContext* codec, const AVCodec* encoder) {
        const int result = avcodec_open2(codec, encoder, nullptr);
        if (result < 0) throw ReelFailure{ReelStatus::CannotWrite, std::string(encoder->name) + ": " + errorText(result)};
    }

    AVStream* addStream(AVCodecContext* codec) {
        AVStream* stream = avformat_new_stream(output_.get(), nullptr);
        if (!stream || avcodec_parameters_from_context(stream->codecpar, codec) < 0)
            throw ReelFailure{ReelStatus::CannotWrite, "stream"};
        stream->time_base = codec->time_base;
        stream->sample_aspect_ratio = codec->sample_aspect_ratio;
        return stream;
    }

    void encodeQueuedSound(std::size_t keep) {
        const int frameSize = audio_->frame_size > 0 ? audio_->frame_size : 1024;
        while (sound_.size() >= static_cast<std::size_t>(frameSize) + keep || (keep == 0 && sound_.size() > 0)) {
            FramePtr frame = newFrame();
            frame->nb_samples = frameSize;
            frame->format = AV_SAMPLE_FMT_FLTP;
            frame->sample_rate = audio_->sample_rate;
            av_channel_layout_copy(&frame->ch_layout, &audio_->ch_layout);
            if (av_frame_get_buffer(frame.get(), 0) < 0) throw ReelFailure{ReelStatus::CannotWrite, "audio frame"};
            sound_.take(frame.get(), frameSize);
            frame->pts = nextSample_;
            nextSample_ += frameSize;
            encode(audio_.get(), audioStream_, frame.get());
        }
    }

    void encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
        int result = avcodec_send_frame(codec, frame);
        if (result < 0 && result != AVERROR_EOF) throw ReelFailure{ReelStatus::CannotWrite, errorText(result)};
        while ((result = avcodec_receive_packet(codec, packet_.get())) >= 0) {
            // A picture lasts one frame: without it the film's last picture would last nothing.
            if (codec == video_.get() && packet_->duration <= 0) packet_->duration = 1;
            av_packet_rescale_ts(packet_.get(), codec->time_base, stream->time_base);
            packet_->stream_index = stream->index;
            const int written = av_interleaved_write_frame(output_.get(), packet_.get());
            if (written < 0) throw ReelFailure{ReelStatus::CannotWrite, errorText(written)};
        }
        if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
            throw ReelFailure{ReelStatus::CannotWrite, errorText(result)};
    }

    OutputShape shape_;
    OutputPtr output_;
    CodecPtr video_;
    CodecPtr audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    PacketPtr packet_;
    SampleQueue sound_;
    std::int64_t nextFrame_ = 0;
    std::int64_t nextSample_ = 0;
    std::int64_t soundQueued_ = 0;  // samples handed over, the cut tail taken off
};

// ---------------------------------------------------------------- one clip into a writer

class ClipCopier {
public:
    ClipCopier(Mp4Writer& writer, const std::optional<fs::path>& font)
        : writer_(writer),
          font_(font),
          pictures_(writer.shape().width, writer.shape().height, writer.shape().sampleAspect),
          sound_(writer.shape().sampleRate > 0 ? writer.shape().sampleRate : 48000) {}

    void copy(const ReelSource& clip, const std::atomic<bool>& cancel, const std::function<void(double)>& done) {
        FilmReader film(clip.film);
        FrameSlots slots(clip.start, clip.end, av_q2d(writer_.shape().frameRate), av_q2d(film.frameRate()));
        const bool withSound = writer_.hasSound() && film.audio();
        // The latest picture decoded, kept as it came (a reference, no copy) until a slot shows it.
        FramePtr latest = newFrame();
        bool haveLatest = false;
        double lastMoment = 0;
        const auto fillSlots = [&](int count) {
            for (int i = 0; i < count; ++i) {
                const int slot = slots.filled() - count + i;
                writeSlot(film, clip, latest.get(), slots.moment(slot));
                done(slots.moment(slot) - clip.start);
            }
        };

        film.decode(
            clip.start, clip.end,
            [&](AVFrame* decoded, double t) {
                const int before = slots.fillBefore(t);
                if (before > 0 && !haveLatest) {
                    // The clip starts before the film's first picture: that picture fills the gap.
                    av_frame_ref(latest.get(), decoded);
                    haveLatest = true;
                }
                if (before > 0) fillSlots(before);
                if (slots.full()) return false;
                av_frame_unref(latest.get());
                av_frame_move_ref(latest.get(), decoded);
                haveLatest = true;
                converted_.reset();
                lastMoment = t;
                return true;
            },
            [&](AVFrame* decoded, double t) {
                if (withSound) resample(*decoded, t, clip.start, clip.end);
            },
            cancel);
        if (haveLatest && !slots.full()) fillSlots(slots.fillAfterLast(lastMoment));
        writer_.endClip();
    }

private:
    static const ReelCaptionSpan* captionAt(const ReelSource& clip, double t) {
        const ReelCaptionSpan* found = nullptr;
        for (const ReelCaptionSpan& span : clip.captions)
            if (t >= span.from - 1e-6 && t < span.until) found = &span;
        return found;
    }

    // One frame slot of the reel, showing the picture decoded last, with the caption of its moment.
    void writeSlot(const FilmReader& film, const ReelSource& clip, const AVFrame* decoded, double moment) {
        // A picture shown again for a film of a lower rate is scaled once.
        if (!converted_) {
            ConvertedPicture made = pictures_.convert(*decoded);
            if (made.refusal == PictureRefusal::TooLarge) film.refusePictureSize(decoded->width, decoded->height);
            if (!made.picture)
                throw ReelFailure{ReelStatus::CannotReadFilm, clip.film.string() + ": a picture cannot be converted"};
            converted_ = std::move(made.picture);
        }
        const ReelCaptionSpan* span = captionAt(clip, moment);
        if (!span || !font_) {
            writer_.writePicture(converted_.get());
            return;
        }
        if (span != painting_) {
            const OutputShape& shape = writer_.shape();
            painter_ = std::make_unique<CaptionPainter>(*font_, span->text, shape.width, shape.height,
                                                        av_inv_q(shape.frameRate), shape.sampleAspect);
            painting_ = span;
        }
        FramePtr picture(av_frame_clone(converted_.get()));
        if (!picture) throw ReelFailure{ReelStatus::CannotWrite, "picture"};
        picture->pts = writer_.framesWritten();
        painter_->paint(picture);
        writer_.writePicture(picture.get());
    }

    void resample(const AVFrame& decoded, double t, double start, double end) {
        const int rate = writer_.shape().sampleRate;
        const int count = sound_.convert(decoded);
        if (count <= 0) return;
        // Only the samples inside the clip: the first from the clip's start, none past its end.
        int from = t < start ? static_cast<int>(std::lround((start - t) * rate)) : 0;
        const int until = std::min<int>(count, static_cast<int>(std::lround((end - t) * rate)));
        if (!started_) {
            // The clip's sound starts with its first picture.
            if (from >= until) return;
            started_ = true;
        }
        from = std::clamp(from, 0, count);
        if (until <= from) return;
        const std::array<const float*, 2> planes = sound_.planes();
        const std::array<const float*, 2> kept{planes[0] + from, planes[1] + from};
        writer_.writeSound(kept.data(), until - from);
    }

    Mp4Writer& writer_;
    const std::optional<fs::path>& font_;
    PictureConverter pictures_;
    SoundConverter sound_;
    FramePtr converted_;
    std::unique_ptr<CaptionPainter> painter_;
    const ReelCaptionSpan* painting_ = nullptr;
    bool started_ = false;
};

OutputShape shapeOf(const ReelJob& job) {
    OutputShape shape;
    FilmReader first(job.clips.front().film);
    shape.width = first.video()->width & ~1;
    shape.height = first.video()->height & ~1;
    shape.frameRate = first.frameRate();
    shape.sampleAspect = first.sampleAspect();
    for (const ReelSource& clip : job.clips) {
        FilmReader film(clip.film);
        if (film.audio()) {
            const int rate = film.audio()->sample_rate;
            shape.sampleRate = rate == 44100 || rate == 48000 || rate == 32000 ? rate : 48000;
            break;
        }
    }
    if (shape.width < 2 || shape.height < 2) throw ReelFailure{ReelStatus::CannotReadFilm, job.clips.front().film.string()};
    return shape;
}

}  // namespace

std::optional<double> filmLengthSeconds(const fs::path& film) {
    if (!regularFilmFile(film)) return std::nullopt;
    try {
        const double seconds = FilmReader(film).lengthSeconds();
        if (seconds > 0) return seconds;
    } catch (const ReelFailure&) {
    }
    return std::nullopt;
}

bool h264EncoderAvailable() { return h264Encoder() != nullptr; }

std::optional<fs::path> captionFontFile() {
    // Fonts of fonts-dejavu-core first, then of fonts-noto-cjk.
    static const char* const kFonts[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
        "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    };
    for (const char* font : kFonts) {
        std::error_code error;
        if (fs::is_regular_file(font, error)) return fs::path(font);
    }
    return std::nullopt;
}

ReelResult writeReel(const ReelJob& job, const ReelProgressCallback& progress, const std::atomic<bool>& cancel) {
    try {
        if (job.clips.empty()) return {ReelStatus::NoClips, {}};
        if (auto problem = destinationProblem(job)) return *problem;
        for (const ReelSource& clip : job.clips)
            if (!regularFilmFile(clip.film)) return {ReelStatus::CannotReadFilm, clip.film.string()};
        std::error_code error;
        const fs::path destination = fs::absolute(job.destination, error);
        if (!h264EncoderAvailable()) return {ReelStatus::NoH264Encoder, {}};
        if (!avcodec_find_encoder(AV_CODEC_ID_AAC)) return {ReelStatus::NoAacEncoder, {}};
        std::optional<fs::path> font;
        const bool captions = std::any_of(job.clips.begin(), job.clips.end(),
                                          [](const ReelSource& clip) { return !clip.captions.empty(); });
        if (captions) {
            font = captionFontFile();
            if (!font || !avfilter_get_by_name("drawtext")) return {ReelStatus::NoCaptionFont, {}};
        }

        const OutputShape shape = shapeOf(job);
        double total = 0;
        for (const ReelSource& clip : job.clips) total += std::max(0.0, clip.end - clip.start);
        ReelProgress state{1, static_cast<int>(job.clips.size()), 0, total};
        double before = 0;
        int reported = 0;
        const auto done = [&](double inClip) {
            state.secondsDone = before + inClip;
            if (progress && ++reported % 8 == 0) progress(state);
        };

        PartialOutput partial(destination, job.output);
        if (auto failed = partial.open(job.destination)) return *failed;
        if (job.output == ReelOutput::OneFilm) {
            Mp4Writer writer(partial.path(), shape);
            for (std::size_t i = 0; i < job.clips.size(); ++i) {
                state.clip = static_cast<int>(i) + 1;
                if (progress) progress(state);
                ClipCopier(writer, font).copy(job.clips[i], cancel, done);
                before += job.clips[i].end - job.clips[i].start;
            }
            writer.finish();
        } else {
            for (std::size_t i = 0; i < job.clips.size(); ++i) {
                state.clip = static_cast<int>(i) + 1;
                if (progress) progress(state);
                Mp4Writer writer(partial.path() / clipFileName(i + 1, job.clips.size()), shape);
                ClipCopier(writer, font).copy(job.clips[i], cancel, done);
                writer.finish();
                before += job.clips[i].end - job.clips[i].start;
            }
        }
        if (cancel.load()) return {ReelStatus::Cancelled, {}};
        if (auto failed = partial.commit()) return *failed;
        state.secondsDone = total;
        if (progress) progress(state);
        return {ReelStatus::Done, {}};
    } catch (const ReelCancelled&) {
        return {ReelStatus::Cancelled, {}};
    } catch (const ReelFailure& failure) {
        return {failure.status, failure.detail};
    } catch (const std::exception& e) {
        return {ReelStatus::CannotWrite, e.what()};
    }
}

}  // namespace corvane
