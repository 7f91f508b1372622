#pragma once

#include <functional>
#include <string>

#include "app/player/video_info.h"
#include "core/log.h"
#include "core/settings.h"

namespace corvane {

// Fills a VideoInfoRecord for the film it names; may throw, which the caller logs.
using VideoInfoProbe = std::function<void(VideoInfoRecord& record, const std::string& systemFolder)>;

// What the filter-graph choice needs from the program.
struct FilmProbeServices {
    std::string SystemFolder;  // no trailing separator
    const Settings& settings;
    ApplicationLog& log;
    VideoInfoProbe GetVideoInfo;
    // The environment's MPEG-2 filter check, run for MPEG-2 films; it only logs. May be empty.
    std::function<void()> CheckMpeg2Filters;
};

struct ProbeFlags {
    bool Mpeg2 = false;
    bool Audio = false;
};

// Probes the film and writes the probe's input and output to the log.
ProbeFlags ProbeVideo(const std::string& path, const FilmProbeServices& services);

// The filter-graph file for the player's Filtro, or "x" for the player's own defaults.
std::string ChooseFilterGraph(const std::string& path, const std::string& captureCard,
                              const FilmProbeServices& services);

}  // namespace corvane
