#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct PlayerOption {
    std::string name;
    std::string value;
};

// A player option file: the settings for one kind of film, one "name=value" a line; blank lines
// and lines starting with "#" are skipped. The file comes from the disc, so it is never handed to
// the player as text: only the named settings below are taken, each value checked against its
// fixed choices or range, and the player options are built here from the checked values.
//
//   deinterlace     no | interlaced | all   interlaced: only frames marked interlaced; one
//                                            picture a frame either way, so seeks stay exact
//   hwdec           no | yes                 hardware decoding where it is safe
//   audio-channels  auto | stereo | mono     the sound mixed down to the channels named
//   brightness, contrast, gamma, saturation, hue   whole numbers from -100 to 100
//   volume          a whole number from 0 to 100
//
// A later line for the same setting replaces the earlier one; anything else is refused.
struct FilterGraph {
    std::vector<PlayerOption> options;  // the player's own options, built from fixed texts
    std::vector<std::string> refused;   // the lines not taken, trimmed and shortened for the log
};

FilterGraph parseFilterGraph(std::string_view text);

// "x" (or nothing) is the player's defaults. A file that cannot be read, is no plain file or is
// larger than any option file needs to be gives no options and one refused entry naming it.
FilterGraph readFilterGraph(const std::string& filtro);

// The options as loadfile's per-file list; each value is length-quoted ("%n%value"), so commas
// and brackets in the filter chain pass unchanged.
std::string perFileOptionList(const std::vector<PlayerOption>& options);

}  // namespace corvane
