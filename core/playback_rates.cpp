#include "core/playback_rates.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {
// Rates that differ by less than this are the same listed rate (they arrive as doubles from mpv).
constexpr double kSameRate = 1e-6;
}  // namespace

double steppedPlaybackRate(double rate, int direction) {
    if (direction > 0) {
        for (const double listed : kPlaybackRates)
            if (listed > rate + kSameRate) return listed;
        return kPlaybackRates.back();
    }
    if (direction < 0) {
        for (auto listed = kPlaybackRates.rbegin(); listed != kPlaybackRates.rend(); ++listed)
            if (*listed < rate - kSameRate) return *listed;
        return kPlaybackRates.front();
    }
    return rate;
}

std::string playbackRateText(double rate, char decimalSeparator) {
    const long hundredths = std::lround(rate * 100);
    std::string text = std::to_string(hundredths / 100);
    const long fraction = hundredths % 100;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        if (digits.size() < 2) digits.insert(0, "0");
        while (digits.back() == '0') digits.pop_back();
        text += decimalSeparator + digits;
    }
    return text + "\u00d7";
}

double slowMotionRate(double frameSeconds, int stepMs) {
    if (!(frameSeconds > 0) || stepMs <= 0) return kNormalRate;
    return frameSeconds * 1000.0 / stepMs;
}

// The readout shows hundredths: what rounds to 1 reads as normal speed.
bool showsAsNormalRate(double rate) { return std::lround(rate * 100) == 100; }

bool runsFast(double playerRate, double chosenRate) {
    return playerRate > std::max(kNormalRate, chosenRate) + kSameRate;
}

}  // namespace corvane
