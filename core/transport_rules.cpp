#include "core/transport_rules.h"

#include <cstdlib>

#include "core/text.h"

namespace corvane {

std::optional<double> transportSeekTarget(int command, int amount, double position, double duration) {
    const double step = amount <= 0 ? kJumpSeconds : amount;
    switch (command) {
        case TransportBack: return position - step;
        case TransportForward: {
            const double target = position + step;
            if (target > duration - kEndMarginSeconds) return std::nullopt;
            return target;
        }
        case TransportToStart: return 0.0;
        case TransportToEnd: return duration - kEndMarginSeconds;
        case TransportGoTo:
            if (amount > duration - kEndMarginSeconds) return std::nullopt;
            return static_cast<double>(amount);
        case TransportFrameForward: return position + kFrameStepSeconds;
        case TransportFrameBack: return position - kFrameStepSeconds;
        default: return std::nullopt;
    }
}

bool allowedAtFastRate(int command) { return command == TransportPause || command == TransportGoTo; }

bool leavesSlowMotion(int command) { return command != TransportPause && command != TransportGoTo; }

std::string FormatSeconds(long long seconds, const std::string& timeSeparator) {
    if (seconds == 0) return "00" + timeSeparator + "00" + timeSeparator + "00";
    const long long whole = std::llabs(seconds);
    const auto twoCharacters = [](long long value) {
        return PadText(false, 2, std::to_string(value).substr(0, 2), '0');
    };
    return (seconds < 0 ? "-" : "") + twoCharacters(whole / 3600) + "." + twoCharacters(whole % 3600 / 60) + "." +
           twoCharacters(whole % 60);
}

std::optional<ZoomGeometry> videoZoomGeometry(int percent, int nativeWidth, int nativeHeight, int areaWidth,
                                              int areaHeight) {
    if (nativeWidth <= 0 || nativeHeight <= 0) return std::nullopt;
    ZoomGeometry geometry;
    geometry.width = percent * areaWidth / 100;
    geometry.height = nativeHeight * geometry.width / nativeWidth;
    if (geometry.height > areaHeight) {
        geometry.width = nativeWidth * areaHeight / nativeHeight;
        geometry.height = areaHeight;
    }
    geometry.left = areaWidth / 2 - geometry.width / 2;
    geometry.top = areaHeight / 2 - geometry.height / 2;
    return geometry;
}

MainLayout mainLayoutFor(int screenWidth, int clientHeight) {
    MainLayout layout;
    layout.videoWidth = screenWidth * 75 / 100;
    layout.videoHeight = clientHeight - kControlStripHeight;
    layout.stripTop = clientHeight - kControlStripHeight + 5;
    if (screenWidth < 1280) {
        layout.preRollCaptionsVisible = false;
        layout.smallFontPoints = 8;
    }
    return layout;
}

std::optional<FilmTime> parseFilmTime(const std::string& film, const std::string& seconds) {
    const auto filmNumber = parseIntInRange(film, 0, kFilmNumberLimit);
    const auto second = parseIntInRange(seconds, -kFilmSecondLimit, kFilmSecondLimit);
    if (!filmNumber || !second || film != trimBlanks(film) || seconds != trimBlanks(seconds)) return std::nullopt;
    return FilmTime{*filmNumber, *second};
}

}  // namespace corvane
