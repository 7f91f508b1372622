#include "core/film_limits.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace corvane {
namespace {

TEST(FilmLimits, APictureIsTakenUpToEightKAreaAndTheLongestSide) {
    struct Case {
        int width;
        int height;
        bool taken;
    };
    const std::vector<Case> cases = {
        {352, 288, true},
        {1, 1, true},
        {7680, 4320, true},   // 8K UHD: the largest area
        {4320, 7680, true},   // the same picture upright
        {7681, 4320, false},  // one column more
        {7680, 4321, false},  // one row more
        {8192, 4050, true},   // the longest side, within the area (33,177,600 pixels exactly)
        {8192, 4051, false},  // the longest side, past the area
        {8192, 16, true},
        {8193, 16, false},    // a thin strip: no area to speak of, but a side too long
        {16, 8193, false},
        {8200, 16, false},
        {12000, 12000, false},
        {0, 576, false},
        {720, 0, false},
        {0, 0, false},
        {-1, 576, false},
        {720, -576, false},
        {-8192, -4050, false},  // a positive product from two negative sides
        {INT_MAX, INT_MAX, false},
        {INT_MIN, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filmPictureWithinLimits(c.width, c.height), c.taken) << c.width << "x" << c.height;
}

}  // namespace
}  // namespace corvane
