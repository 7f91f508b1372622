#pragma once

// Owners of the FFmpeg objects the reels use: each frees its object the one way FFmpeg wants.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace corvane {

struct InputCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct OutputCloser {
    void operator()(AVFormatContext* c) const {
        if (c->pb && !(c->oformat->flags & AVFMT_NOFILE)) avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleCloser {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct ResampleCloser {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct GraphCloser {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};

using InputPtr = std::unique_ptr<AVFormatContext, InputCloser>;
using OutputPtr = std::unique_ptr<AVFormatContext, OutputCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using FramePtr = std::unique_ptr<AVFrame, FrameCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketCloser>;
using ScalePtr = std::unique_ptr<SwsContext, ScaleCloser>;
using ResamplePtr = std::unique_ptr<SwrContext, ResampleCloser>;
using GraphPtr = std::unique_ptr<AVFilterGraph, GraphCloser>;

inline FramePtr newFrame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr newPacket() { return PacketPtr(av_packet_alloc()); }

}  // namespace corvane
