#pragma once

#include <QImage>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/frame_stamp.h"

namespace corvane::testing {

// The films the player is tried on, made by tools/make_film.sh on first use (and again when the
// tool is newer than a film). Every frame carries its second and frame number.
struct TestFilm {
    std::string name;       // also the file name
    std::string makeArguments;
    int width;
    int height;
    int seconds;
    bool audio;
};

const TestFilm& mpeg2Film();  // MPEG-2 program stream 720x576 with sound
const TestFilm& mpeg1Film();  // MPEG-1 352x288, silent
const TestFilm& h264Film();   // H.264 1280x720, a key frame every 10 seconds

// The film's path, made first when needed. Several test processes may ask at once.
std::filesystem::path filmPath(const TestFilm& film);

std::filesystem::path scratchFolder();

// A Motion JPEG film in AVI of a few grey pictures, written by the ffmpeg command: cheap to make
// at sizes no camera gives (a strip 8200 pixels wide, say). Throws when it cannot be made.
std::filesystem::path makeGreyMjpegFilm(const std::filesystem::path& out, int width, int height, int frames);

// Processes events until `done` or the time is up; the last answer of `done`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

std::optional<FrameStamp> stampOf(const QImage& image);

}  // namespace corvane::testing
