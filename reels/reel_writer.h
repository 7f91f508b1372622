#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// A caption over a stretch of a clip, in seconds of the clip's film. UTF-8.
struct ReelCaptionSpan {
    double from = 0;
    double until = 0;
    std::string text;
};

// One clip: [start, end) seconds of a film, counted from the film's start as the player shows it.
struct ReelSource {
    std::filesystem::path film;
    double start = 0;
    double end = 0;
    std::vector<ReelCaptionSpan> captions;
};

enum class ReelOutput {
    OneFilm,     // destination is an .mp4 file holding every clip one after the other
    ClipFolder,  // destination is a new folder holding the clips as 01.mp4, 02.mp4 ...
};

struct ReelJob {
    std::vector<ReelSource> clips;
    std::filesystem::path destination;
    ReelOutput output = ReelOutput::OneFilm;
    // The disc the films come from: nothing is ever written under its Tlx_Video folder.
    std::filesystem::path discFolder;
};

struct ReelProgress {
    int clip = 0;  // the clip being written, from 1
    int clipCount = 0;
    double secondsDone = 0;  // of the reel's length
    double secondsTotal = 0;
};

enum class ReelStatus {
    Done,
    Cancelled,
    NoClips,
    InsidePackages,       // the destination lies in the disc's package folders
    DestinationNotEmpty,  // a clip folder would mix with files already there
    NoDestinationFolder,  // the folder to write into does not exist
    NoH264Encoder,
    NoAacEncoder,
    NoCaptionFont,
    CannotReadFilm,  // detail: the film
    CannotWrite,     // detail: what failed
};

struct ReelResult {
    ReelStatus status = ReelStatus::Done;
    std::string detail;
};

// Told how far the export is, from the thread that runs writeReel.
using ReelProgressCallback = std::function<void(const ReelProgress&)>;

// Writes the reel: every clip decoded and encoded again (H.264 and AAC, the first film's picture
// size), so each cut falls on the exact frame. The output is written under a hidden temporary
// name beside the destination and takes the destination's name only once complete; a failed or
// cancelled export removes it. cancel is checked between packets. The films are only read.
ReelResult writeReel(const ReelJob& job, const ReelProgressCallback& progress, const std::atomic<bool>& cancel);

// The destination is the disc's Tlx_Video folder or lies anywhere under it.
bool insidePackages(const std::filesystem::path& destination, const std::filesystem::path& discFolder);

// The film's length in seconds as the player counts it, or nothing when it cannot be read.
std::optional<double> filmLengthSeconds(const std::filesystem::path& film);

// Whether the FFmpeg libraries hold an H.264 encoder (libx264 or another).
bool h264EncoderAvailable();

// A font file for the captions from the distribution's font packages, or nothing.
std::optional<std::filesystem::path> captionFontFile();

}  // namespace corvane
