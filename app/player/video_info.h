#pragma once

#include <cstdint>
#include <string>

#include "core/film_limits.h"

namespace corvane {

// Tipo, the kind of video stream a probe found. 3 is MPEG-2 video in any container; 4, 5 and 7
// are kept for MPEG-2 variants and also count as MPEG-2 where the choice of a filter graph asks.
enum VideoStreamType : std::int32_t {
    VideoNotProbed = -1,   // the record's initial value: the file could not be read
    VideoNone = 0,         // no video stream
    VideoMpeg1 = 1,
    VideoMpeg4Part2 = 2,   // XviD, DivX and other MPEG-4 part 2 coders
    VideoMpeg2 = 3,
    VideoDv = 6,
    VideoMotionJpeg = 8,
    VideoStillImage = 9,   // BMP, PNG and other single pictures
    VideoH264 = 10,
    VideoHevc = 11,
    VideoVp8 = 12,
    VideoVp9 = 13,
    VideoAv1 = 14,
    VideoWindowsMedia = 15,  // WMV 1-3 and VC-1
    VideoOther = 99,
};

// Errore values of the probe.
enum VideoProbeError : std::int32_t {
    ProbeNotRun = -1,
    ProbeOk = 0,
    ProbeCannotOpen = 1,
    ProbeNoStreamInfo = 2,
    ProbeNoVideo = 3,
};

// What the probe tells of a film. FileName and Filter are inputs; the rest is filled.
struct VideoInfoRecord {
    std::string FileName;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Tipo = VideoNotProbed;
    std::int32_t Durata = 0;      // whole seconds
    std::string Standard;         // "PAL", "NTSC" or empty
    std::int32_t FrameRate = 0;   // frames per second, rounded
    std::int32_t KeyFrame = 0;    // frames from one key frame to the next; 0 when not known
    std::int32_t BytRate = 0;     // bytes per second of the whole file, from the container
    bool Audio = false;
    std::string Filter;
    std::int32_t Errore = ProbeNotRun;
    std::string Reserved;
};

// Reads the film named by record.FileName with libavformat and fills the record. Never throws;
// a file that cannot be read leaves the outputs at their values and sets Errore.
void GetVideoInfo(VideoInfoRecord& record, const std::string& systemFolder);

// The Tipo of a libavcodec codec id.
std::int32_t videoStreamType(int codecId);

// "PAL", "NTSC" or "" from the frame rate and the picture height.
std::string videoStandard(double framesPerSecond, int height);

// Whether the MPEG-2 decoder that the supplied player options rely on is there (the check the
// codec option runs).
bool mpeg2DecoderAvailable();

}  // namespace corvane
