#include "core/playback_options.h"

#include "core/text.h"

namespace corvane {

void loadActionOptions(PlaybackOptions& options, const Settings& settings) {
    options.PreRollSeconds = textToInt(settings.read(SecAnticipoAzione));
    options.StopAtEnd = settings.read(StopFineAzione) == "1";
    options.EndOffsetSeconds = textToInt(settings.read(SecAnticipoFineAzione));
}

void loadFollowFilm(PlaybackOptions& options, const Settings& settings) {
    options.FollowFilm = settings.read(SpostainelencoCodici) == "1";
}

}  // namespace corvane
