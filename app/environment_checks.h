#pragma once

#include <string>
#include <vector>

namespace corvane {

// The video decoders whose presence the player's checks ask about.
enum class VideoDecoder { Mpeg1, Mpeg2, H264, Mpeg4Part2 };

// What the environment checks read from the machine. The application answers from the player
// library and libavcodec; tests make each answer fail on its own.
class VideoEnvironment {
public:
    virtual ~VideoEnvironment() = default;

    // The player library loads and a player core starts.
    virtual bool playerLibraryInitialises() const = 0;
    virtual bool hasDecoder(VideoDecoder decoder) const = 0;
    // The demultiplexer of MPEG program streams (.mpg), through which MPEG-2 films are read.
    virtual bool hasMpegProgramDemuxer() const = 0;
    // The text of /etc/os-release; empty when it cannot be read.
    virtual std::string osReleaseText() const = 0;
};

// The distribution as /etc/os-release names it.
struct OsRelease {
    std::string id;          // ID, lower case, e.g. "debian"
    std::vector<std::string> idLike;  // ID_LIKE, lower case
    std::string prettyName;  // PRETTY_NAME, else NAME, else "Linux"
};

// Reads the KEY=VALUE lines of os-release, with the shell quoting the file allows.
OsRelease parseOsRelease(const std::string& text);

// What to install, and where to read about it, for one family of distributions.
struct InstallAdvice {
    std::string distribution;    // the name shown to the user
    std::string install;         // a package-manager command line, or the packages to look for
    std::string address;         // a fixed https address of this program's own table
};

// The advice for the player library and the decoders of the video stack.
InstallAdvice videoStackAdvice(const OsRelease& release);
// The advice for the MPEG-4 Part 2 (XviD) decoder alone.
InstallAdvice mpeg4DecoderAdvice(const OsRelease& release);

// The video stack is sufficient: the player library initialises and the MPEG-1, MPEG-2 and H.264
// decoders exist.
bool videoStackSufficient(const VideoEnvironment& environment);

// Films of capture card "CUSTOM2" are MPEG-4 Part 2 (XviD).
bool xvidDecoderPresent(const VideoEnvironment& environment);

// The codecs once installed from the disc are the MPEG-2 decoder here: the same condition decides
// the start-up check and the check that follows a change of the options window's codec option.
bool uleadCodecsPresent(const VideoEnvironment& environment);

// The log lines of the MPEG-2 filter check: the decoder (once ulodsmpeg.ax) and the program-stream
// demultiplexer (once ulospmpeg.ax), each when missing.
std::vector<std::string> mpeg2FilterLogLines(const VideoEnvironment& environment);

// The log line of the codec check with its flag; empty when there is nothing to log.
std::string uleadCodecsLogLine(bool flag, const VideoEnvironment& environment);

}  // namespace corvane
