#pragma once

// Films made for the reel tests with the project's film tool and the ffmpeg command, and what
// ffprobe reads of a written reel.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/files.h"
#include "support/test_support.h"

namespace corvane::testing {

inline bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }

inline std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Makes a film with tools/make_film.sh; options as the tool takes them.
inline std::filesystem::path makeFilm(const std::filesystem::path& film, const std::string& options) {
    EXPECT_TRUE(shell(CORVANE_SOURCE_DIR "/tools/make_film.sh " + quoted(film) + " " + options)) << film;
    return film;
}

// The seconds ffprobe gives a written film's video and audio streams; 0 for a missing stream.
struct StreamSeconds {
    double video = 0;
    double audio = 0;
};

inline StreamSeconds streamSeconds(const std::filesystem::path& film) {
    const std::filesystem::path probe = film.string() + ".probe";
    const std::string command = "ffprobe -v error -show_entries stream=codec_type,duration -of csv=p=0 " +
                                quoted(film) + " > " + quoted(probe);
    EXPECT_TRUE(shell(command));
    StreamSeconds seconds;
    for (const std::string& line : splitTextLines(readFile(probe))) {
        const auto comma = line.find(',');
        if (comma == std::string::npos) continue;
        const double value = std::atof(line.c_str() + comma + 1);
        if (line.starts_with("video")) seconds.video = value;
        if (line.starts_with("audio")) seconds.audio = value;
    }
    std::filesystem::remove(probe);
    return seconds;
}

// The mean loudness in dB of [from, from + seconds) of a film's sound; -200 when there is none.
inline double meanVolume(const std::filesystem::path& film, double from, double seconds) {
    const std::filesystem::path report = film.string() + ".volume";
    const std::string command = "ffmpeg -nostdin -hide_banner -ss " + std::to_string(from) + " -t " +
                                std::to_string(seconds) + " -i " + quoted(film) +
                                " -vn -af volumedetect -f null - 2> " + quoted(report);
    EXPECT_TRUE(shell(command));
    const std::string text = readFile(report);
    std::filesystem::remove(report);
    const auto at = text.find("mean_volume:");
    return at == std::string::npos ? -200 : std::atof(text.c_str() + at + 12);
}

}  // namespace corvane::testing
