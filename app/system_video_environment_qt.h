#pragma once

#include "app/environment_checks.h"

namespace corvane {

// The machine's own answers: the player library started for a moment, libavcodec's and
// libavformat's registries, /etc/os-release. Built with the windows because it needs the player
// library and FFmpeg, which the logic does not link.
class SystemVideoEnvironment : public VideoEnvironment {
public:
    bool playerLibraryInitialises() const override;
    bool hasDecoder(VideoDecoder decoder) const override;
    bool hasMpegProgramDemuxer() const override;
    std::string osReleaseText() const override;
};

}  // namespace corvane
