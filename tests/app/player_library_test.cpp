#include "app/player_library.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PlayerLibrary, IsFoundWhereTheLoaderFindsItAndMissingOtherwise) {
    const auto found = findPlayerLibrary();
    ASSERT_TRUE(found) << "libmpv is one of the project's packages";
    EXPECT_NE(found->filename().string().find("libmpv.so.2"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(*found));
    EXPECT_FALSE(findPlayerLibrary("libcorvane-no-such-player.so.1"));
}

}  // namespace
}  // namespace corvane
