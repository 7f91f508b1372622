#include "app/film_probe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/date_time_format.h"
#include "core/files.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using ::testing::ElementsAre;

constexpr const char* kSystem = "/disc/System";

// A probe that reports a film of the given kind, and counts its calls.
struct FakeFilm {
    FakeFilm(std::int32_t filmTipo, bool filmAudio) : tipo(filmTipo), audio(filmAudio) {}

    std::int32_t tipo;
    bool audio;
    std::int32_t width = 720;
    std::int32_t height = 576;
    int calls = 0;
    std::string lastFolder;
    std::string lastFileName;
    std::string lastFilter;

    VideoInfoProbe probe() {
        return [this](VideoInfoRecord& record, const std::string& folder) {
            ++calls;
            lastFolder = folder;
            lastFileName = record.FileName;
            lastFilter = record.Filter;
            record.Width = width;
            record.Height = height;
            record.Tipo = tipo;
            record.Durata = 2712;
            record.Standard = "PAL";
            record.FrameRate = 25;
            record.KeyFrame = 12;
            record.BytRate = 787500;
            record.Audio = audio;
            record.Errore = 0;
        };
    }
};

class FilmProbeTest : public ::testing::Test {
protected:
    FilmProbeTest() : log_(platform_, folder_.path()), settings_(folder_ / "tlx_player.ini", sport_) {}

    FilmProbeServices services(VideoInfoProbe probe) {
        return {kSystem, settings_, log_, std::move(probe), [this] { ++mpeg2Checks_; }};
    }

    void useCodec(const char* value) { settings_.write(UtilizzaCodec, value); }

    // The log's messages without their time stamps.
    std::vector<std::string> logged() const {
        const std::string stamp = formatLocaleDateTime(platform_.formats, platform_.clock) + " ";
        std::vector<std::string> messages;
        for (const std::string& line : readTextLines(log_.filePath())) {
            EXPECT_EQ(line.substr(0, stamp.size()), stamp);
            messages.push_back(line.substr(stamp.size()));
        }
        return messages;
    }

    testing::FixedPlatform platform_;
    testing::TempFolder folder_;
    std::string sport_ = "1";
    ApplicationLog log_;
    Settings settings_;
    int mpeg2Checks_ = 0;
};

TEST_F(FilmProbeTest, ProbeLogsItsInputAndEveryOutputField) {
    FakeFilm film{3, true};
    const ProbeFlags flags = ProbeVideo("/disc/Tlx_Video/Partita/Film1.mpg", services(film.probe()));
    EXPECT_TRUE(flags.Mpeg2);
    EXPECT_TRUE(flags.Audio);
    EXPECT_EQ(film.calls, 1);
    EXPECT_EQ(film.lastFolder, kSystem);
    EXPECT_EQ(film.lastFileName, "/disc/Tlx_Video/Partita/Film1.mpg");
    EXPECT_EQ(film.lastFilter, "/disc/System/Mpeg2_ADS.GRF");
    EXPECT_THAT(logged(), ElementsAre("Inizio ****** GetInfoFilmato  ********",
                                      "Parametri in input - ",
                                      "Nome file: /disc/Tlx_Video/Partita/Film1.mpg",
                                      "Filtro: /disc/System/Mpeg2_ADS.GRF",
                                      "Path: /disc/System",
                                      "Richiamo GetVideoInfo",
                                      "GetVideoInfo OK",
                                      "Parametri di output - ",
                                      "Width: 720",
                                      "Height: 576",
                                      "Tipo: 3",
                                      "Durata: 2712",
                                      "Standard: PAL",
                                      "FrameRate: 25",
                                      "KeyFrame: 12",
                                      "BytRate: 787500",
                                      "Audio: SI",
                                      "Errore: 0",
                                      "Fine ****** GetInfoFilmato  ********"));
}

TEST_F(FilmProbeTest, AProbeThatFailsIsLoggedAndTheInitialRecordStands) {
    const VideoInfoProbe failing = [](VideoInfoRecord& record, const std::string&) {
        record.Tipo = 3;  // half filled, then it fails
        record.Audio = true;
        throw std::runtime_error("decoder crashed");
    };
    const ProbeFlags flags = ProbeVideo("/films/a.mpg", services(failing));
    EXPECT_FALSE(flags.Mpeg2);
    EXPECT_FALSE(flags.Audio);
    const std::vector<std::string> lines = logged();
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[6], "GetVideoInfo /films/a.mpg ERROR");
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 7, lines.end()),
                ElementsAre("Parametri di output - ", "Width: 0", "Height: 0", "Tipo: -1", "Durata: 0",
                            "Standard: ", "FrameRate: 0", "KeyFrame: 0", "BytRate: 0", "Audio: NO", "Errore: -1",
                            "Fine ****** GetInfoFilmato  ********"));

    // With a failed probe the film still gets the MPEG-1 graph.
    EXPECT_EQ(ChooseFilterGraph("/films/a.mpg", "", services(failing)), "/disc/System/Mpeg1.GRF");
}

TEST_F(FilmProbeTest, MpegTwoIsEveryTipoFromThreeToSevenButSix) {
    for (std::int32_t tipo = -1; tipo <= 15; ++tipo) {
        FakeFilm film{tipo, false};
        const bool expected = tipo == 3 || tipo == 4 || tipo == 5 || tipo == 7;
        EXPECT_EQ(ProbeVideo("f.mpg", services(film.probe())).Mpeg2, expected) << "Tipo " << tipo;
    }
}

// Every film is measured before the player gets it, also those whose graph needs no probe; the
// probe runs once and the graph is the one ChooseFilterGraph gives.
TEST_F(FilmProbeTest, PreparingAnOpeningMeasuresThePictureOfEveryFilmOnce) {
    struct Case {
        const char* label;
        const char* path;
        const char* captureCard;
        std::int32_t width;
        std::int32_t height;
        bool refused;
        bool probeLogged;  // the probe's own lines, as the graph choice writes them
    };
    const std::vector<Case> cases = {
        {"Pal", "/m/Film1.mpg", "", 720, 576, false, true},
        {"EightK", "/m/Film1.mkv", "", 7680, 4320, false, true},
        {"WiderThanEightK", "/m/Film1.avi", "", 7681, 4320, true, true},
        {"ThinStrip", "/m/Film1.avi", "", 8200, 16, true, true},
        {"DvcamHuge", "/m/Film1.avi", "DVCAM", 12000, 12000, true, false},
        {"CustomPal", "/m/Film1.avi", "CUSTOM", 720, 576, false, false},
        {"JpegNameHuge", "/m/shot.jpg", "", 9000, 9000, true, false},
        // A probe that measured nothing leaves the film to the player and its own bound.
        {"NotMeasured", "/m/Film1.mpg", "", 0, 0, false, true},
        {"OneSideOnly", "/m/Film1.mpg", "", 0, 9000, true, true},
        {"Negative", "/m/Film1.mpg", "", -720, 576, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        log_.startFresh();
        FakeFilm film{1, false};
        film.width = c.width;
        film.height = c.height;
        const FilmOpening opening = PrepareFilmOpening(c.path, c.captureCard, services(film.probe()));
        EXPECT_EQ(film.calls, 1);
        EXPECT_EQ(film.lastFileName, c.path);
        EXPECT_EQ(opening.Width, c.width);
        EXPECT_EQ(opening.Height, c.height);
        EXPECT_EQ(opening.pictureRefused(), c.refused);
        EXPECT_EQ(logged().empty(), !c.probeLogged);
        log_.startFresh();
        FakeFilm same{1, false};
        EXPECT_EQ(opening.Filtro, ChooseFilterGraph(c.path, c.captureCard, services(same.probe())));
    }
}

TEST_F(FilmProbeTest, AFailingMeasureLeavesTheFilmToThePlayer) {
    const VideoInfoProbe failing = [](VideoInfoRecord& record, const std::string&) {
        record.Width = 12000;  // half filled, then it fails
        record.Height = 12000;
        throw std::runtime_error("decoder crashed");
    };
    for (const char* captureCard : {"", "DVCAM"}) {
        SCOPED_TRACE(captureCard);
        const FilmOpening opening = PrepareFilmOpening("/m/Film1.avi", captureCard, services(failing));
        EXPECT_EQ(opening.Width, 0);
        EXPECT_EQ(opening.Height, 0);
        EXPECT_FALSE(opening.pictureRefused());
    }
}

struct GraphCase {
    const char* label;
    const char* path;
    const char* captureCard;
    std::int32_t tipo;
    bool audio;
    const char* codec;     // UtilizzaCodec
    const char* expected;  // the graph, "x" for none
    bool probed;
    const char* filtroLog;  // the "GetFiltro" line, or nothing

    friend void PrintTo(const GraphCase& c, std::ostream* out) { *out << c.label; }
};

class ChooseFilterGraphTest : public FilmProbeTest, public ::testing::WithParamInterface<GraphCase> {};

TEST_P(ChooseFilterGraphTest, GivesTheGraphOfTheFilm) {
    const GraphCase& c = GetParam();
    useCodec(c.codec);
    FakeFilm film{c.tipo, c.audio};
    EXPECT_EQ(ChooseFilterGraph(c.path, c.captureCard, services(film.probe())), c.expected);
    EXPECT_EQ(film.calls, c.probed ? 1 : 0);
    const std::vector<std::string> lines = logged();
    if (!c.probed) {
        EXPECT_TRUE(lines.empty());
        return;
    }
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), "Inizio ****** GetInfoFilmato  ********");
    EXPECT_EQ(lines[18], "Fine ****** GetInfoFilmato  ********");
    EXPECT_EQ(lines[19], c.filtroLog);
    EXPECT_EQ(mpeg2Checks_, std::string(c.filtroLog) == "GetFiltro MPEG 2" ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ChooseFilterGraphTest,
    ::testing::Values(
        GraphCase{"Custom", "/m/Film1.mpg", "CUSTOM", 3, true, "1", "x", false, ""},
        GraphCase{"Custom2", "/m/Film1.avi", "CUSTOM2", 3, true, "1", "x", false, ""},
        GraphCase{"Dvcam", "/m/Film1.avi", "DVCAM", 1, false, "1", "x", false, ""},
        GraphCase{"DvcamNoCodec", "/m/Film1.avi", "DVCAM", 1, false, "0", "x", false, ""},
        GraphCase{"BitmapName", "/m/Slide.BMP", "", 1, false, "1", "x", false, ""},
        GraphCase{"JpegInTheName", "/m/shot.jpg.mpg", "", 1, false, "1", "x", false, ""},
        // Only the file name part counts: a folder named like a picture does not.
        GraphCase{"JpegFolder", "/m/photos.jpg/Film1.mpg", "", 1, false, "1", "/disc/System/Mpeg1.GRF", true,
                  "GetFiltro MPEG 1"},
        GraphCase{"Mpeg1", "/m/Film1.mpg", "", 1, false, "1", "/disc/System/Mpeg1.GRF", true, "GetFiltro MPEG 1"},
        GraphCase{"Mpeg1NoCodec", "/m/Film1.mpg", "", 1, false, "0", "x", true, "GetFiltro MPEG 1"},
        GraphCase{"Mpeg2", "/m/Film1.mpg", "ADS", 3, false, "1", "/disc/System/Mpeg2_ADS.GRF", true,
                  "GetFiltro MPEG 2"},
        GraphCase{"Mpeg2Tipo7", "/m/Film1.mpg", "", 7, false, "1", "/disc/System/Mpeg2_ADS.GRF", true,
                  "GetFiltro MPEG 2"},
        GraphCase{"Mpeg2NoCodec", "/m/Film1.mpg", "", 3, false, "0", "x", true, "GetFiltro MPEG 2"},
        // A hand-edited flag other than "1" is off, as the start-up check and the options window read it.
        GraphCase{"Mpeg2GarbledCodec", "/m/Film1.mpg", "", 3, false, "2", "x", true, "GetFiltro MPEG 2"},
        GraphCase{"Mpeg1Audio", "/m/Film1.mpg", "", 1, true, "1", "/disc/System/Mpeg2_ADS_Audio_c.GRF", true,
                  "GetFiltro MPEG 1"},
        GraphCase{"Mpeg2Audio", "/m/Film1.mpg", "", 3, true, "1", "/disc/System/Mpeg2_ADS_Audio_c.GRF", true,
                  "GetFiltro MPEG 2"},
        GraphCase{"Mpeg2AudioNoCodec", "/m/Film1.mpg", "", 3, true, "0", "x", true, "GetFiltro MPEG 2"},
        // Another codec (H.264) counts as MPEG-1 here.
        GraphCase{"H264", "/m/Film1.mp4", "", 10, false, "1", "/disc/System/Mpeg1.GRF", true, "GetFiltro MPEG 1"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(FilmProbeTest, AnUnsetCodecSettingReadsAsOne) {
    FakeFilm film{3, false};
    EXPECT_EQ(ChooseFilterGraph("/m/Film1.mpg", "", services(film.probe())), "/disc/System/Mpeg2_ADS.GRF");
    EXPECT_EQ(settings_.read(UtilizzaCodec), "1");
}

TEST_F(FilmProbeTest, WithoutTheMpegTwoCheckTheChoiceStillWorks) {
    FakeFilm film{3, false};
    FilmProbeServices withoutCheck{kSystem, settings_, log_, film.probe(), {}};
    EXPECT_EQ(ChooseFilterGraph("/m/Film1.mpg", "", withoutCheck), "/disc/System/Mpeg2_ADS.GRF");
}

}  // namespace
}  // namespace corvane
