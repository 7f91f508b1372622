#pragma once

#include <cstdint>
#include <functional>
#include <optional>
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
    std::int32_t Width = 0;  // the picture as probed; 0 when the probe could not tell
    std::int32_t Height = 0;
};

// What opening a film takes from its probe: the graph and the picture's size.
struct FilmOpening {
    std::string Filtro;  // as ChooseFilterGraph gives it
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    // A picture the probe could measure and that is beyond the film limits: such a film is not
    // handed to the player. A film the probe could not measure goes on, the player's own bound
    // stands behind it.
    bool pictureRefused() const;
};

// Probes the film and writes the probe's input and output to the log.
ProbeFlags ProbeVideo(const std::string& path, const FilmProbeServices& services);

// The filter-graph file for the player's Filtro, or "x" for the player's own defaults.
std::string ChooseFilterGraph(const std::string& path, const std::string& captureCard,
                              const FilmProbeServices& services);

// ChooseFilterGraph and the picture's size. Films the graph choice does not probe (capture cards
// with their own graphs, picture names) are measured too, without the probe's log lines.
FilmOpening PrepareFilmOpening(const std::string& path, const std::string& captureCard,
                               const FilmProbeServices& services);

}  // namespace corvane
