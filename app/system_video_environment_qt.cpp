#include "app/system_video_environment_qt.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <memory>

#include "app/player/mpv_library.h"
#include "core/files.h"

namespace corvane {

namespace {

AVCodecID codecId(VideoDecoder decoder) {
    switch (decoder) {
    case VideoDecoder::Mpeg1: return AV_CODEC_ID_MPEG1VIDEO;
    case VideoDecoder::Mpeg2: return AV_CODEC_ID_MPEG2VIDEO;
    case VideoDecoder::H264: return AV_CODEC_ID_H264;
    case VideoDecoder::Mpeg4Part2: return AV_CODEC_ID_MPEG4;
    }
    return AV_CODEC_ID_NONE;
}

}  // namespace

bool SystemVideoEnvironment::playerLibraryInitialises() const {
    const MpvLibrary library;
    if (!library.loaded()) return false;
    const auto destroy = [&library](mpv_handle* handle) { library.terminateDestroy(handle); };
    const std::unique_ptr<mpv_handle, decltype(destroy)> core(library.create(), destroy);
    if (!core) return false;
    // The user's mpv configuration has no say in whether the library works.
    library.setOptionString(core.get(), "config", "no");
    library.setOptionString(core.get(), "vo", "null");
    library.setOptionString(core.get(), "ao", "null");
    return library.initialize(core.get()) >= 0;
}

bool SystemVideoEnvironment::hasDecoder(VideoDecoder decoder) const {
    return avcodec_find_decoder(codecId(decoder)) != nullptr;
}

bool SystemVideoEnvironment::hasMpegProgramDemuxer() const { return av_find_input_format("mpeg") != nullptr; }

std::string SystemVideoEnvironment::osReleaseText() const {
    // The file may be missing on minimal systems; the advice then names no distribution.
    for (const char* file : {"/etc/os-release", "/usr/lib/os-release"})
        if (auto text = readWholeFile(file)) return *text;
    return {};
}

}  // namespace corvane
