#pragma once

#include <set>
#include <string>

#include "app/environment_checks.h"

namespace corvane::testing {

// A machine with the whole video stack; a test takes away the piece it checks.
struct FakeVideoEnvironment : VideoEnvironment {
    bool libraryInitialises = true;
    std::set<VideoDecoder> decoders{VideoDecoder::Mpeg1, VideoDecoder::Mpeg2, VideoDecoder::H264,
                                    VideoDecoder::Mpeg4Part2};
    bool programDemuxer = true;
    std::string osRelease = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n";

    bool playerLibraryInitialises() const override { return libraryInitialises; }
    bool hasDecoder(VideoDecoder decoder) const override { return decoders.count(decoder) != 0; }
    bool hasMpegProgramDemuxer() const override { return programDemuxer; }
    std::string osReleaseText() const override { return osRelease; }
};

}  // namespace corvane::testing
