#include "app/player/filter_graph.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/test_support.h"

namespace corvane {
namespace {

constexpr const char* kInterlacedChain = "lavfi=[yadif=mode=send_frame:parity=auto:deint=interlaced]";

struct LineCase {
    const char* line;
    std::vector<PlayerOption> options;  // empty with refused: the line is refused
    bool refused;
};

TEST(FilterGraphTest, TakesOnlyNamedCheckedSettingsAndBuildsThePlayerOptionsItself) {
    const std::vector<LineCase> cases = {
        // Taken, and what the player is asked for.
        {"deinterlace=interlaced", {{"vf", kInterlacedChain}}, false},
        {"deinterlace = all ", {{"vf", "lavfi=[yadif=mode=send_frame:parity=auto:deint=all]"}}, false},
        {"deinterlace=no", {}, false},
        {"hwdec=no", {{"hwdec", "no"}}, false},
        {"hwdec=yes", {{"hwdec", "auto-safe"}}, false},
        {"audio-channels=stereo", {{"audio-channels", "stereo"}}, false},
        {"audio-channels=mono", {{"audio-channels", "mono"}}, false},
        {"brightness=-100", {{"brightness", "-100"}}, false},
        {"contrast=100", {{"contrast", "100"}}, false},
        {"gamma=0", {{"gamma", "0"}}, false},
        {"saturation=007", {{"saturation", "7"}}, false},
        {"hue=-5", {{"hue", "-5"}}, false},
        {"volume=0", {{"volume", "0"}}, false},
        // Free filter text and file-writing filters, in every shape.
        {"vf=lavfi=[metadata=mode=print:file=/tmp/x]", {}, true},
        {"af=lavfi=[ametadata=mode=print:file=/tmp/x]", {}, true},
        {"vf=lavfi=[signature=filename=/tmp/x]", {}, true},
        {"vf=vidstabdetect=result=/tmp/x", {}, true},
        {"vf-add=lavfi=[psnr=stats_file=/tmp/x]", {}, true},
        {"lavfi-complex=[vid1]ssim=stats_file=/tmp/x[vo]", {}, true},
        {"deinterlace=lavfi=[yadif],metadata=mode=print:file=/tmp/x", {}, true},
        // Pass-through of AVOptions and any prefix of the player's options.
        {"vd-lavc-o=threads=2", {}, true},
        {"demuxer-lavf-o=dump_separator=x", {}, true},
        {"ad-lavc-o=x=1", {}, true},
        {"sws-scaler=bicubic", {}, true},
        {"hr-seek=no", {}, true},
        {"video-pan-x=1", {}, true},
        // Options that run or write anything, and malformed lines.
        {"script=/tmp/evil.lua", {}, true},
        {"o=/tmp/out.mkv", {}, true},
        {"log-file=/tmp/log", {}, true},
        {"input-commands=quit", {}, true},
        {"Deinterlace=interlaced", {}, true},
        {"deinterlace=yes", {}, true},
        {"hwdec=auto", {}, true},
        {"audio-channels=7.1,stereo", {}, true},
        {"no equals sign", {}, true},
        {"=yes", {}, true},
        {"brightness=", {}, true},
        {"brightness=101", {}, true},
        {"contrast=-101", {}, true},
        {"gamma=1.5", {}, true},
        {"hue=+5", {}, true},
        {"hue=5 ", {{"hue", "5"}}, false},
        {"saturation=99999999999999999999", {}, true},
        {"volume=-1", {}, true},
        {"volume=130", {}, true},
    };
    for (const LineCase& c : cases) {
        const FilterGraph graph = parseFilterGraph(c.line);
        ASSERT_EQ(graph.options.size(), c.options.size()) << c.line;
        for (std::size_t i = 0; i < c.options.size(); ++i) {
            EXPECT_EQ(graph.options[i].name, c.options[i].name) << c.line;
            EXPECT_EQ(graph.options[i].value, c.options[i].value) << c.line;
        }
        EXPECT_EQ(graph.refused.size(), c.refused ? 1u : 0u) << c.line;
    }
}

TEST(FilterGraphTest, AWholeFileSkipsCommentsTakesTheLastOfASettingAndNotesRefusals) {
    const FilterGraph graph = parseFilterGraph(
        "# interlaced captures\r\n"
        "deinterlace = all\r\n"
        "\r\n"
        "vf=lavfi=[metadata=mode=print:file=/home/coach/.bashrc]\r\n"
        "deinterlace=interlaced\n"
        "audio-channels=stereo\n"
        "hwdec=no\n" +
        std::string("brightness=") + std::string(500, '9') + "\n");
    ASSERT_EQ(graph.options.size(), 3u);
    EXPECT_EQ(graph.options[0].name, "vf");
    EXPECT_EQ(graph.options[0].value, kInterlacedChain);
    EXPECT_EQ(graph.options[1].name, "audio-channels");
    EXPECT_EQ(graph.options[2].name, "hwdec");
    ASSERT_EQ(graph.refused.size(), 2u);
    EXPECT_EQ(graph.refused[0], "vf=lavfi=[metadata=mode=print:file=/home/coach/.bashrc]");
    // A long line is noted shortened, so a disc cannot fill the log.
    EXPECT_LT(graph.refused[1].size(), 200u);
    EXPECT_TRUE(graph.refused[1].starts_with("brightness=999"));
}

TEST(FilterGraphTest, NoneForTheDefaultsAndOneNoteForAFileThatIsNotAnOptionFile) {
    EXPECT_TRUE(readFilterGraph("x").options.empty());
    EXPECT_TRUE(readFilterGraph("x").refused.empty());
    EXPECT_TRUE(readFilterGraph("").refused.empty());

    testing::TempFolder folder;
    const std::string fifo = (folder / "Fifo.GRF").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = folder.write("Huge.GRF", std::string(100 * 1024, '#')).string();
    for (const std::string& path : {std::string("/nonexistent/System/Mpeg1.GRF"), folder.path().string(), fifo, huge}) {
        const FilterGraph graph = readFilterGraph(path);  // a FIFO must not block here
        EXPECT_TRUE(graph.options.empty()) << path;
        ASSERT_EQ(graph.refused.size(), 1u) << path;
        EXPECT_NE(graph.refused[0].find(std::filesystem::path(path).filename().string()), std::string::npos);
    }

    const FilterGraph read = readFilterGraph(folder.write("G.GRF", "deinterlace=interlaced\n").string());
    ASSERT_EQ(read.options.size(), 1u);
}

TEST(FilterGraphTest, PerFileListQuotesEveryValueByItsLength) {
    EXPECT_EQ(perFileOptionList({}), "");
    EXPECT_EQ(perFileOptionList({{"hwdec", "no"}, {"vf", "lavfi=[a=1,b]"}}), "hwdec=%2%no,vf=%13%lavfi=[a=1,b]");
}

// What the shipped files did before they were written as named settings: MPEG-2 deinterlaced one
// picture a frame, the sound mixed down to stereo where there is sound.
TEST(FilterGraphTest, TheShippedFilesAreFullyTakenAndKeepWhatTheyDo) {
    struct Shipped {
        const char* name;
        bool deinterlaced;
        bool stereo;
    };
    for (const Shipped& shipped : {Shipped{"Mpeg1.GRF", false, false}, Shipped{"Mpeg1_Audio.GRF", false, true},
                                   Shipped{"Mpeg2_ADS.GRF", true, false}, Shipped{"Mpeg2_ADS_Audio.GRF", true, true},
                                   Shipped{"Mpeg2_ADS_Audio_c.GRF", true, true}}) {
        const std::string path = std::string(CORVANE_SOURCE_DIR) + "/data/System/" + shipped.name;
        const FilterGraph graph = readFilterGraph(path);
        EXPECT_TRUE(graph.refused.empty()) << shipped.name << ": " << (graph.refused.empty() ? "" : graph.refused[0]);
        const auto has = [&](const char* name, const std::string& value) {
            for (const PlayerOption& option : graph.options)
                if (option.name == name && option.value == value) return true;
            return false;
        };
        EXPECT_TRUE(has("hwdec", "no")) << shipped.name;
        EXPECT_EQ(has("vf", kInterlacedChain), shipped.deinterlaced) << shipped.name;
        EXPECT_EQ(has("audio-channels", "stereo"), shipped.stereo) << shipped.name;
    }
}

}  // namespace
}  // namespace corvane
