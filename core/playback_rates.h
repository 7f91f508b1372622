#pragma once

#include <array>
#include <string>

namespace corvane {

// The playing speeds the coach steps through with "[" and "]", slowest first. Slow motion is a
// mode of its own (frame by frame) and not one of them.
inline constexpr std::array kPlaybackRates{0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0};
inline constexpr double kNormalRate = 1.0;
// Slow motion shows the next frame every so many milliseconds.
inline constexpr int kSlowMotionStepMs = 80;

// The listed rate one step faster (direction > 0) or slower (direction < 0) than the rate given,
// held at either end. A rate between two listed ones steps to the nearer listed one that way.
double steppedPlaybackRate(double rate, int direction);

// The readout of a rate: at most two decimals, no trailing zeros, the locale's decimal separator,
// and the multiplication sign ("0.25×", "1×", "1,5×").
std::string playbackRateText(double rate, char decimalSeparator);

// The speed slow motion really plays at: one frame of frameSeconds shown every stepMs
// milliseconds (a 25-frame film stepped every 80 ms plays at half speed). Normal speed for a frame
// length that is not positive.
double slowMotionRate(double frameSeconds, int stepMs);

// Whether a speed differs from normal speed by what its readout can show.
bool showsAsNormalRate(double rate);

// Whether the player runs in the fast mode that refuses the moving commands. The rate the coach
// chose is ordinary playing, however fast; only a rate beyond it, and beyond 1, counts.
bool runsFast(double playerRate, double chosenRate);

}  // namespace corvane
