#include "app/player/video_info.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
}

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

namespace {

// Reading stops here when two key frames have not been seen: enough for long groups of pictures
// without reading a whole film.
constexpr int kKeyFramePacketLimit = 4000;

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// Decoder options for every stream the probe opens: some films have a picture or two decoded to
// learn their format, and one beyond the film limits is not (its size still comes from the
// headers), so a hostile film costs the probe no gigabytes.
class StreamOptions {
public:
    explicit StreamOptions(unsigned streams) : options_(streams, nullptr) {
        const std::string maxPixels = std::to_string(kDecoderMaxPixels);
        for (AVDictionary*& options : options_) av_dict_set(&options, "max_pixels", maxPixels.c_str(), 0);
    }
    ~StreamOptions() {
        for (AVDictionary*& options : options_) av_dict_free(&options);
    }
    StreamOptions(const StreamOptions&) = delete;
    StreamOptions& operator=(const StreamOptions&) = delete;

    AVDictionary** data() { return options_.data(); }

private:
    std::vector<AVDictionary*> options_;
};

bool near(double value, double expected) { return std::fabs(value - expected) < 0.05; }

double streamFrameRate(const AVStream& stream) {
    AVRational rate = stream.avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = stream.r_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
}

std::int32_t durationSeconds(const AVFormatContext& input, const AVStream& stream) {
    if (input.duration != AV_NOPTS_VALUE && input.duration > 0)
        return static_cast<std::int32_t>(input.duration / AV_TIME_BASE);
    if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
        return static_cast<std::int32_t>(static_cast<double>(stream.duration) * av_q2d(stream.time_base));
    return 0;
}

// Frames from one key frame to the next, read from packet flags (no decoding). The first group
// of pictures is often shorter, so the second interval is taken when the film has one.
std::int32_t keyFrameInterval(AVFormatContext& input, int videoStream) {
    if (av_seek_frame(&input, videoStream, 0, AVSEEK_FLAG_BACKWARD) < 0)
        avformat_seek_file(&input, -1, INT64_MIN, 0, INT64_MAX, 0);
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (!packet) return 0;
    int sinceKey = -1;
    std::int32_t firstInterval = 0;
    for (int read = 0; read < kKeyFramePacketLimit && av_read_frame(&input, packet.get()) >= 0; ++read) {
        const bool isVideo = packet->stream_index == videoStream;
        const bool isKey = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        av_packet_unref(packet.get());
        if (!isVideo) continue;
        if (isKey && sinceKey > 0) {
            if (firstInterval > 0) return sinceKey;
            firstInterval = sinceKey;
        }
        if (isKey) sinceKey = 0;
        if (sinceKey >= 0) ++sinceKey;
    }
    return firstInterval;
}

// The first video stream whose headers give a picture beyond the film limits fills the record.
bool measuredFromHeaders(const AVFormatContext& input, VideoInfoRecord& record) {
    for (unsigned n = 0; n < input.nb_streams; ++n) {
        const AVCodecParameters& codec = *input.streams[n]->codecpar;
        if (codec.codec_type != AVMEDIA_TYPE_VIDEO || (codec.width == 0 && codec.height == 0)) continue;
        if (filmPictureWithinLimits(codec.width, codec.height)) continue;
        record.Width = codec.width;
        record.Height = codec.height;
        record.Tipo = videoStreamType(codec.codec_id);
        record.Errore = ProbeOk;
        return true;
    }
    return false;
}

}  // namespace

std::int32_t videoStreamType(int codecId) {
    switch (static_cast<AVCodecID>(codecId)) {
        case AV_CODEC_ID_MPEG1VIDEO: return VideoMpeg1;
        case AV_CODEC_ID_MPEG2VIDEO: return VideoMpeg2;
        case AV_CODEC_ID_MPEG4:
        case AV_CODEC_ID_MSMPEG4V1:
        case AV_CODEC_ID_MSMPEG4V2:
        case AV_CODEC_ID_MSMPEG4V3: return VideoMpeg4Part2;
        case AV_CODEC_ID_DVVIDEO: return VideoDv;
        case AV_CODEC_ID_MJPEG: return VideoMotionJpeg;
        case AV_CODEC_ID_BMP:
        case AV_CODEC_ID_PNG:
        case AV_CODEC_ID_GIF:
        case AV_CODEC_ID_TIFF: return VideoStillImage;
        case AV_CODEC_ID_H264: return VideoH264;
        case AV_CODEC_ID_HEVC: return VideoHevc;
        case AV_CODEC_ID_VP8: return VideoVp8;
        case AV_CODEC_ID_VP9: return VideoVp9;
        case AV_CODEC_ID_AV1: return VideoAv1;
        case AV_CODEC_ID_WMV1:
        case AV_CODEC_ID_WMV2:
        case AV_CODEC_ID_WMV3:
        case AV_CODEC_ID_VC1: return VideoWindowsMedia;
        case AV_CODEC_ID_NONE: return VideoNone;
        default: return VideoOther;
    }
}

std::string videoStandard(double framesPerSecond, int height) {
    if (near(framesPerSecond, 25) || near(framesPerSecond, 50)) return "PAL";
    if (near(framesPerSecond, 30000.0 / 1001) || near(framesPerSecond, 30) || near(framesPerSecond, 60000.0 / 1001) ||
        near(framesPerSecond, 60))
        return "NTSC";
    if (framesPerSecond <= 0 && (height == 576 || height == 288)) return "PAL";
    if (framesPerSecond <= 0 && (height == 480 || height == 240)) return "NTSC";
    return "";
}

void GetVideoInfo(VideoInfoRecord& record, const std::string& /*systemFolder*/) {
    AVFormatContext* opened = nullptr;
    if (record.FileName.empty() || avformat_open_input(&opened, record.FileName.c_str(), nullptr, nullptr) < 0) {
        record.Errore = ProbeCannotOpen;
        return;
    }
    const Input input(opened);
    // A container's headers may tell a picture size before anything is decoded; one beyond the
    // film limits is reported from them, as the decoder's bound below would hide it.
    if (measuredFromHeaders(*input, record)) return;
    // Program streams show their streams only once some packets have been read.
    StreamOptions options(input->nb_streams);
    if (avformat_find_stream_info(input.get(), options.data()) < 0) {
        record.Errore = ProbeNoStreamInfo;
        return;
    }
    record.Audio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;
    // The streams' own rates are 0 or a placeholder for MPEG video; the container's is the real one.
    if (input->bit_rate > 0) record.BytRate = static_cast<std::int32_t>(input->bit_rate / 8);
    const int videoStream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoStream < 0) {
        record.Tipo = VideoNone;
        record.Errore = ProbeNoVideo;
        return;
    }
    const AVStream& stream = *input->streams[videoStream];
    record.Width = stream.codecpar->width;
    record.Height = stream.codecpar->height;
    record.Tipo = videoStreamType(stream.codecpar->codec_id);
    record.Durata = durationSeconds(*input, stream);
    const double framesPerSecond = streamFrameRate(stream);
    record.FrameRate = static_cast<std::int32_t>(std::lround(framesPerSecond));
    record.Standard = videoStandard(framesPerSecond, record.Height);
    record.KeyFrame = keyFrameInterval(*input, videoStream);
    record.Errore = ProbeOk;
}

}  // namespace corvane

namespace corvane {

bool mpeg2DecoderAvailable() { return avcodec_find_decoder(AV_CODEC_ID_MPEG2VIDEO) != nullptr; }

}  // namespace corvane
