#pragma once

#include "core/settings.h"

namespace corvane {

// The working copy of the playback settings.
struct PlaybackOptions {
    int PreRollSeconds = 2;
    int EndOffsetSeconds = 0;
    bool StopAtEnd = false;
    bool FollowFilm = true;
};

// Keys 4, 5 and 6, as the code list loads them at its creation.
void loadActionOptions(PlaybackOptions& options, const Settings& settings);
// Key 2, as the main window loads it at its creation.
void loadFollowFilm(PlaybackOptions& options, const Settings& settings);

}  // namespace corvane
