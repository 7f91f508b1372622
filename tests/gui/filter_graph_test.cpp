#include "app/player/filter_graph.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace corvane {
namespace {

TEST(FilterGraphTest, TakesOptionLinesAndSkipsCommentsAndBlanks) {
    const FilterGraph graph = parseFilterGraph(
        "# interlaced captures\r\n"
        "deinterlace = yes\r\n"
        "\r\n"
        "  vf=lavfi=[yadif=mode=0,hqdn3d]  \r\n"
        "vd-lavc-threads=2\n");
    ASSERT_EQ(graph.options.size(), 3u);
    EXPECT_EQ(graph.options[0].name, "deinterlace");
    EXPECT_EQ(graph.options[0].value, "yes");
    EXPECT_EQ(graph.options[1].name, "vf");
    EXPECT_EQ(graph.options[1].value, "lavfi=[yadif=mode=0,hqdn3d]");
    EXPECT_EQ(graph.options[2].name, "vd-lavc-threads");
    EXPECT_TRUE(graph.refused.empty());
}

TEST(FilterGraphTest, RefusesOptionsThatRunScriptsOrWriteFilesAndMalformedLines) {
    const FilterGraph graph = parseFilterGraph(
        "script=/tmp/evil.lua\n"
        "o=/tmp/out.mkv\n"
        "log-file=/tmp/log\n"
        "input-commands=quit\n"
        "Deinterlace=yes\n"
        "no equals sign\n"
        "=yes\n"
        "hwdec=no\n");
    ASSERT_EQ(graph.options.size(), 1u);
    EXPECT_EQ(graph.options[0].name, "hwdec");
    EXPECT_EQ(graph.refused.size(), 7u);
}

TEST(FilterGraphTest, NoneForTheDefaultsAndOneNoteForAnUnreadableFile) {
    EXPECT_TRUE(readFilterGraph("x").options.empty());
    EXPECT_TRUE(readFilterGraph("x").refused.empty());
    EXPECT_TRUE(readFilterGraph("").refused.empty());

    const FilterGraph missing = readFilterGraph("/nonexistent/System/Mpeg1.GRF");
    EXPECT_TRUE(missing.options.empty());
    ASSERT_EQ(missing.refused.size(), 1u);
    EXPECT_NE(missing.refused[0].find("Mpeg1.GRF"), std::string::npos);

    testing::TempFolder folder;
    const FilterGraph read = readFilterGraph(folder.write("G.GRF", "deinterlace=yes\n").string());
    ASSERT_EQ(read.options.size(), 1u);
}

TEST(FilterGraphTest, PerFileListQuotesEveryValueByItsLength) {
    EXPECT_EQ(perFileOptionList({}), "");
    EXPECT_EQ(perFileOptionList({{"deinterlace", "yes"}, {"vf", "lavfi=[a=1,b]"}}),
              "deinterlace=%3%yes,vf=%13%lavfi=[a=1,b]");
}

TEST(FilterGraphTest, TheShippedGraphsAreFullyTaken) {
    for (const char* name : {"Mpeg1.GRF", "Mpeg1_Audio.GRF", "Mpeg2_ADS.GRF", "Mpeg2_ADS_Audio.GRF",
                             "Mpeg2_ADS_Audio_c.GRF"}) {
        const std::string path = std::string(CORVANE_SOURCE_DIR) + "/data/System/" + name;
        const FilterGraph graph = readFilterGraph(path);
        EXPECT_TRUE(graph.refused.empty()) << name << ": " << (graph.refused.empty() ? "" : graph.refused[0]);
    }
}

}  // namespace
}  // namespace corvane
