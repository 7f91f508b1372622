#include "core/playback_rates.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PlaybackRates, StepThroughTheListAndHoldAtTheEnds) {
    const struct {
        double rate;
        int direction;
        double expected;
    } cases[] = {
        {1.0, +1, 1.25},  {1.0, -1, 0.75},  {0.75, +1, 1.0},  {1.25, -1, 1.0},
        {1.5, +1, 2.0},   {2.0, +1, 2.0},   {0.5, -1, 0.25},  {0.25, -1, 0.25},
        {0.3, +1, 0.5},   {0.3, -1, 0.25},  // between two listed rates: the nearer one that way
        {3.0, -1, 2.0},   {0.1, +1, 0.25},  // beyond the list: back inside it
        {0.5000000001, +1, 0.75},           // a rate read back from the player, not quite exact
        {1.5, 0, 1.5},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(steppedPlaybackRate(c.rate, c.direction), c.expected) << c.rate << " by " << c.direction;
}

TEST(PlaybackRates, ReadoutHasNoTrailingZerosAndTheLocaleSeparator) {
    const struct {
        double rate;
        char separator;
        const char* text;
    } cases[] = {
        {1.0, '.', "1\u00d7"},    {2.0, '.', "2\u00d7"},    {0.25, '.', "0.25\u00d7"},
        {0.5, ',', "0,5\u00d7"},  {1.25, ',', "1,25\u00d7"}, {0.75, '.', "0.75\u00d7"},
        {1.05, '.', "1.05\u00d7"},
    };
    for (const auto& c : cases) EXPECT_EQ(playbackRateText(c.rate, c.separator), c.text) << c.rate;
}

TEST(PlaybackRates, OnlyARateBeyondTheChosenOneRunsFast) {
    EXPECT_FALSE(runsFast(1.0, 1.0));
    EXPECT_FALSE(runsFast(2.0, 2.0));   // the coach's own 2x plays as normal
    EXPECT_FALSE(runsFast(0.5, 0.5));
    EXPECT_TRUE(runsFast(1.25, 1.0));
    EXPECT_TRUE(runsFast(4.0, 2.0));
    EXPECT_TRUE(runsFast(1.5, 0.5));    // a slow choice does not lower the line below normal
    EXPECT_FALSE(runsFast(1.0, 0.25));
}

TEST(PlaybackRates, SlowMotionPlaysAtTheFrameLengthOverTheStep) {
    const struct {
        double frameSeconds;
        int stepMs;
        double expected;
    } cases[] = {
        {0.04, 80, 0.5},          // 25 frames a second
        {0.02, 80, 0.25},         // 50
        {1.0 / 29.97, 80, 0.417}, // NTSC
        {0.08, 80, 1.0},          // 12.5 frames a second: slow motion is no slower
        {0.0, 80, 1.0},           // frame length not known: nothing made up
        {-0.04, 80, 1.0},
        {0.04, 0, 1.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(slowMotionRate(c.frameSeconds, c.stepMs), c.expected, 0.001) << c.frameSeconds << " / " << c.stepMs;
    EXPECT_EQ(playbackRateText(slowMotionRate(1.0 / 29.97, kSlowMotionStepMs), '.'), "0.42\u00d7");
}

TEST(PlaybackRates, OnlyARateThatReadsAsOneIsNormal) {
    EXPECT_TRUE(showsAsNormalRate(1.0));
    EXPECT_TRUE(showsAsNormalRate(1.004));
    EXPECT_TRUE(showsAsNormalRate(0.996));
    EXPECT_FALSE(showsAsNormalRate(1.006));  // reads "1.01x": not to be forgotten
    EXPECT_FALSE(showsAsNormalRate(0.994));
    EXPECT_FALSE(showsAsNormalRate(0.5));
}

}  // namespace
}  // namespace corvane
