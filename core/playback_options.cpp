#include "core/playback_options.h"

namespace corvane {

void loadActionOptions(PlaybackOptions& options, const Settings& settings) {
    options.PreRollSeconds = settings.number(SecAnticipoAzione);
    options.StopAtEnd = settings.flag(StopFineAzione);
    options.EndOffsetSeconds = settings.number(SecAnticipoFineAzione);
}

void loadFollowFilm(PlaybackOptions& options, const Settings& settings) {
    options.FollowFilm = settings.flag(SpostainelencoCodici);
}

}  // namespace corvane
