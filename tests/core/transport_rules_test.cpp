#include "core/transport_rules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TransportSeekTarget, JumpsStepsAndTheEndMargin) {
    const struct {
        int command, amount;
        double position;
        std::optional<double> target;
    } cases[] = {
        {TransportForward, 0, 90.0, 92.0},      // 10 s before the end of a 100-s film
        {TransportForward, 0, 98.5, std::nullopt},  // 1.5 s before the end
        {TransportForward, 0, 97.0, 99.0},          // lands exactly on the end less the margin
        {TransportForward, 0, 97.04, std::nullopt},  // a frame past it
        {TransportForward, 1, 98.0, 99.0},
        {TransportForward, 5, 10.0, 15.0},
        {TransportBack, 0, 10.0, 8.0},
        {TransportBack, 1, 10.0, 9.0},
        {TransportBack, 0, 1.0, -1.0},          // not held at the start
        {TransportGoTo, 99, 3.0, 99.0},
        {TransportGoTo, 100, 3.0, std::nullopt},
        {TransportToStart, 0, 50.0, 0.0},
        {TransportToEnd, 0, 50.0, 99.0},
        {TransportFrameForward, 0, 10.0, 10.04},
        {TransportFrameBack, 0, 10.0, 9.96},
        {TransportPlay, 0, 10.0, std::nullopt},
        {TransportPause, 0, 10.0, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto target = transportSeekTarget(c.command, c.amount, c.position, 100.0);
        ASSERT_EQ(target.has_value(), c.target.has_value()) << c.command << " " << c.position;
        if (target) EXPECT_NEAR(*target, *c.target, 1e-9) << c.command;
    }
}

TEST(TransportRules, FastRateAndSlowMotionExceptions) {
    for (int command = 0; command <= 8; ++command) {
        EXPECT_EQ(allowedAtFastRate(command), command == 1 || command == 6) << command;
        EXPECT_EQ(leavesSlowMotion(command), command != 1 && command != 6) << command;
    }
}

TEST(FormatSeconds, TwoCharactersEachAndTheLocaleSeparatorForZero) {
    EXPECT_EQ(FormatSeconds(3725, ":"), "01.02.05");
    EXPECT_EQ(FormatSeconds(3600, ":"), "01.00.00");
    EXPECT_EQ(FormatSeconds(0, ":"), "00:00:00");
    EXPECT_EQ(FormatSeconds(0, "."), "00.00.00");
    EXPECT_EQ(FormatSeconds(-61, ":"), "-00.01.01");
    EXPECT_EQ(FormatSeconds(400000, ":"), "11.06.40");  // 111 hours keep their first two characters
}

TEST(VideoZoomGeometry, FitsTheWidthThenTheHeight) {
    const auto large = videoZoomGeometry(95, 720, 576, 1000, 700);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->height, 700);  // 950 wide would need 760 rows: the height decides
    EXPECT_EQ(large->width, 875);
    EXPECT_EQ(large->left, 500 - 437);
    EXPECT_EQ(large->top, 0);
    const auto small = videoZoomGeometry(40, 720, 576, 1000, 700);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->width, 400);
    EXPECT_EQ(small->height, 320);
    EXPECT_EQ(small->left, 300);
    EXPECT_EQ(small->top, 190);
    EXPECT_FALSE(videoZoomGeometry(40, 0, 576, 1000, 700));
}

TEST(MainLayout, TheVideoTakesThreeQuartersAndSmallScreensHideThePreRollCaptions) {
    const MainLayout small = mainLayoutFor(1024, 768);
    EXPECT_EQ(small.videoWidth, 768);
    EXPECT_EQ(small.videoHeight, 703);
    EXPECT_FALSE(small.preRollCaptionsVisible);
    const MainLayout wide = mainLayoutFor(1280, 1024);
    EXPECT_EQ(wide.videoWidth, 960);
    EXPECT_TRUE(wide.preRollCaptionsVisible);
    EXPECT_EQ(wide.stripTop, 1024 - 65 + 5);
}

TEST(ParseFilmTime, BothTextsMustBeWholeNumbers) {
    EXPECT_TRUE(parseFilmTime("2", "37"));
    EXPECT_EQ(parseFilmTime("2", "37")->seconds, 37);
    EXPECT_FALSE(parseFilmTime("", "37"));
    EXPECT_FALSE(parseFilmTime("1", "3.5"));
    EXPECT_FALSE(parseFilmTime("x", "3"));
    // A blank is not part of a whole number: a text typed with one goes nowhere.
    for (const auto& [film, seconds] : {std::pair{" 2", "37"}, std::pair{"2 ", "37"}, std::pair{"2", " 37"},
                                        std::pair{"2", "37 "}, std::pair{"\t2", "37"}})
        EXPECT_FALSE(parseFilmTime(film, seconds)) << "[" << film << "] [" << seconds << "]";
}

TEST(ParseFilmTime, NumbersBeyondTheirRangeAreRefusedNotNarrowed) {
    struct Case {
        const char* film;
        const char* seconds;
        bool accepted;
    };
    const Case cases[] = {
        {"9999", "360000", true},     {"0", "-360000", true},         {"10000", "1", false},
        {"4294967297", "1", false},   {"1", "4294967336", false},  // narrowed, second 40
        {"1", "360001", false},
        {"-1", "1", false},           {"2147483648", "0", false},     {"1", "-2147483649", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseFilmTime(c.film, c.seconds).has_value(), c.accepted) << c.film << " " << c.seconds;
}

}  // namespace
}  // namespace corvane
