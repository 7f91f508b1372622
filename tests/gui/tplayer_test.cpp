#include "app/player/tplayer.h"
#include "app/player/video_info.h"


#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <vector>

#include "gui/player_test_support.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FrameStamp;
using testing::stampOf;
using testing::TestFilm;
using testing::waitFor;

// Opens films the way the main window does and waits for pictures.
class PlayerTest : public ::testing::Test {
protected:
    static bool open(TPlayer& player, const std::filesystem::path& film, const std::string& filtro = "x") {
        player.CloseFile();
        player.SetFiltro(filtro);
        player.SetFileName(film.string());
        if (!player.Open()) return false;
        return waitFor([&] { return player.State() == TPlayer::Ready; });
    }

    // Seeks and waits until the drawn picture shows the stamp expected there.
    static std::optional<FrameStamp> seekAndRead(TPlayer& player, float seconds, FrameStamp expected) {
        player.Seek(seconds);
        waitFor([&] { return !player.seeking() && stampOf(player.currentFrame()) == expected; });
        return stampOf(player.currentFrame());
    }

    static std::optional<FrameStamp> stepAndRead(TPlayer& player, FrameStamp expected) {
        player.StepFrame();
        waitFor([&] { return stampOf(player.currentFrame()) == expected; });
        return stampOf(player.currentFrame());
    }
};

struct FilmCase {
    const TestFilm& (*film)();
    int displayWidth;

    friend void PrintTo(const FilmCase& c, std::ostream* out) { *out << c.film().name; }
};

class PlayerFilmTest : public PlayerTest, public ::testing::WithParamInterface<FilmCase> {};

TEST_P(PlayerFilmTest, OpensSeeksExactlyAndStepsOneFrame) {
    const TestFilm& film = GetParam().film();
    TPlayer player;
    player.resize(800, 600);
    ASSERT_TRUE(open(player, testing::filmPath(film))) << player.lastError();

    EXPECT_EQ(player.NativeWidth(), film.width);
    EXPECT_EQ(player.NativeHeight(), film.height);
    EXPECT_NEAR(player.Duration(), film.seconds, 0.2);
    EXPECT_EQ(player.Audio(), film.audio);
    EXPECT_EQ(player.Position(), 0.0);
    EXPECT_EQ(stampOf(player.currentFrame()), (FrameStamp{0, 0}));

    player.SetDisplayWidth(GetParam().displayWidth);
    EXPECT_EQ(player.VideoWidth(), GetParam().displayWidth);
    EXPECT_EQ(player.VideoHeight(), std::lround(double(GetParam().displayWidth) * film.height / film.width));
    EXPECT_EQ(player.currentFrame().width(), GetParam().displayWidth);

    EXPECT_EQ(seekAndRead(player, 37, {37, 0}), (FrameStamp{37, 0}));
    EXPECT_NEAR(player.Position(), 37.0, 0.001);
    EXPECT_EQ(player.State(), TPlayer::Ready);

    EXPECT_EQ(stepAndRead(player, {37, 1}), (FrameStamp{37, 1}));
    EXPECT_TRUE(waitFor([&] { return std::abs(player.Position() - 37.04) < 0.001; })) << player.Position();

    // Between key frames, and back towards the start.
    EXPECT_EQ(seekAndRead(player, 12.52f, {12, 13}), (FrameStamp{12, 13}));
    EXPECT_EQ(seekAndRead(player, 3, {3, 0}), (FrameStamp{3, 0}));
}

INSTANTIATE_TEST_SUITE_P(Films, PlayerFilmTest,
                         ::testing::Values(FilmCase{&testing::mpeg2Film, 352}, FilmCase{&testing::mpeg1Film, 352},
                                           FilmCase{&testing::h264Film, 640}),
                         [](const auto& info) {
                             const std::string name = info.param.film().name;
                             return name.substr(0, name.find('_'));
                         });

std::string systemGraph(const char* name) { return std::string(CORVANE_SOURCE_DIR) + "/data/System/" + name; }

TEST_F(PlayerTest, TheGraphOfAFilmIsAppliedAndSeeksStayExact) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg2Film()), systemGraph("Mpeg2_ADS_Audio_c.GRF")));
    EXPECT_EQ(player.Filtro(), systemGraph("Mpeg2_ADS_Audio_c.GRF"));
    const std::string filters = player.Filters();
    EXPECT_NE(filters.find("mpeg2video"), std::string::npos) << filters;
    EXPECT_NE(filters.find("Mpeg2_ADS_Audio_c.GRF"), std::string::npos) << filters;
    EXPECT_NE(filters.find("yadif"), std::string::npos) << filters;
    EXPECT_EQ(filters.find("refused"), std::string::npos) << filters;
    EXPECT_EQ(filters.find("asked"), std::string::npos) << filters;
    EXPECT_EQ(seekAndRead(player, 37, {37, 0}), (FrameStamp{37, 0}));
    EXPECT_EQ(stepAndRead(player, {37, 1}), (FrameStamp{37, 1}));
}

TEST_F(PlayerTest, WhatAGraphCannotSetStaysAtTheDefaultsAndIsReported) {
    testing::TempFolder folder;
    const std::string bad =
        folder.write("Bad.GRF", "deinterlace=sometimes\nscript=/tmp/x.lua\nvd-lavc-nonexistent=1\n").string();
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film()), bad));
    const std::string filters = player.Filters();
    for (const char* refused : {"[refused: deinterlace=sometimes]", "[refused: script=/tmp/x.lua]",
                                "[refused: vd-lavc-nonexistent=1]"})
        EXPECT_NE(filters.find(refused), std::string::npos) << filters;
    EXPECT_EQ(seekAndRead(player, 20, {20, 0}), (FrameStamp{20, 0}));

    // A graph file that is not there: the defaults too.
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film()), folder.path().string() + "/Absent.GRF"));
    EXPECT_EQ(seekAndRead(player, 21, {21, 0}), (FrameStamp{21, 0}));
}

TEST_F(PlayerTest, OpenRefusesWhatIsNoFilmAndThePlayerStaysUsable) {
    testing::TempFolder folder;
    TPlayer player;
    ASSERT_TRUE(player.available()) << player.lastError();
    EXPECT_EQ(player.State(), TPlayer::NoFilm);

    player.SetFileName(folder.write("match.mpg", "Not a film: a note about the match.\n").string());
    EXPECT_FALSE(player.Open());
    EXPECT_EQ(player.State(), TPlayer::NoFilm);
    EXPECT_EQ(player.Duration(), 0);
    EXPECT_FALSE(player.Seek(3));
    EXPECT_FALSE(player.Play());

    player.SetFileName((folder / "absent.mpg").string());
    EXPECT_FALSE(player.Open());
    player.SetFileName("");
    EXPECT_FALSE(player.Open());
    player.SetFileName(folder.path().string());
    EXPECT_FALSE(player.Open());

    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_EQ(seekAndRead(player, 5, {5, 0}), (FrameStamp{5, 0}));
}

// The player's decoder holds its own bound, whatever a probe said of the film: a picture
// beyond it (one frame of 8200x4200, which a stream may grow to after its first pictures) is
// never decoded, and the player stays usable.
TEST_F(PlayerTest, APictureBeyondTheDecodersBoundIsNeverDecoded) {
    testing::TempFolder folder;
    const auto huge = testing::makeGreyMjpegFilm(folder / "huge.avi", 8200, 4200, 1);
    ASSERT_GT(std::int64_t{8200} * 4200, kDecoderMaxPixels);
    TPlayer player;
    ASSERT_TRUE(player.available()) << player.lastError();
    player.SetFileName(huge.string());
    if (player.Open()) waitFor([&] { return player.State() == TPlayer::Ready; }, std::chrono::seconds(5));
    EXPECT_EQ(player.framesDrawn(), 0u);
    EXPECT_NE(player.NativeWidth(), 8200);
    EXPECT_LT(player.currentFrame().width(), 8200);

    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_EQ(seekAndRead(player, 5, {5, 0}), (FrameStamp{5, 0}));
}

// A film's name is a file, whatever it looks like: names shaped like the player's protocols open
// the file of that name in the current folder.
TEST_F(PlayerTest, ANameShapedLikeAProtocolOpensTheFileOfThatName) {
    testing::TempFolder folder;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (const char* name : {"av://film.mpg", "memory://film.mpg", "lavf://film.mpg"}) {
        const std::filesystem::path file = folder / name;
        std::filesystem::create_directories(file.parent_path());
        std::filesystem::create_symlink(testing::filmPath(testing::mpeg1Film()), file);
        TPlayer player;
        EXPECT_TRUE(open(player, name)) << name << ": " << player.lastError();
        EXPECT_EQ(seekAndRead(player, 4, {4, 0}), (FrameStamp{4, 0})) << name;
    }
    std::filesystem::current_path(old);
}

// A film cut short while open is closed and reported, whether the player plays into the cut or
// a seek lands beyond it; a film that is whole plays to its end unreported.
TEST_F(PlayerTest, AFilmCutShortWhileOpenIsReportedAsLost) {
    struct Case {
        const char* what;
        bool cut;
        std::function<void(TPlayer&)> reachTheCut;
    };
    const std::vector<Case> cases = {
        {"played into", true, [](TPlayer& player) { player.Play(); }},
        {"seeked past, paused", true, [](TPlayer& player) { player.Seek(45); }},
        {"whole, played to its end", false,
         [](TPlayer& player) {
             player.Seek(static_cast<float>(player.Duration() - 3));
             player.Play();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TempFolder folder;
        const auto film = folder / "film.mpg";
        std::filesystem::copy_file(testing::filmPath(testing::mpeg1Film()), film);
        TPlayer player;
        std::vector<QString> lost;
        int stateWhenLost = -1;
        QObject::connect(&player, &TPlayer::filmLost, [&](const QString& reason) {
            lost.push_back(reason);
            stateWhenLost = player.State();
        });
        ASSERT_TRUE(open(player, film));
        if (c.cut) std::filesystem::resize_file(film, std::filesystem::file_size(film) / 20);
        c.reachTheCut(player);
        if (c.cut) {
            ASSERT_TRUE(waitFor([&] { return !lost.empty(); }, std::chrono::seconds(20)));
            EXPECT_TRUE(lost.front().contains("cut short")) << lost.front().toStdString();
            // Not busy when reported: the film the user picks next is taken at once.
            EXPECT_EQ(stateWhenLost, TPlayer::NoFilm);
            EXPECT_FALSE(player.Play());
        } else {
            EXPECT_TRUE(waitFor(
                [&] { return player.State() == TPlayer::Ready && player.Position() > player.Duration() - 0.5; },
                std::chrono::seconds(20)))
                << player.Position();
            waitFor([] { return false; }, std::chrono::milliseconds(300));
            EXPECT_TRUE(lost.empty());
        }
    }
}

// A "film" that is a playlist or a reference file names other files: none of them is opened.
TEST_F(PlayerTest, AFilmThatNamesOtherFilesOpensNoneOfThem) {
    testing::TempFolder folder;
    const std::string other = testing::filmPath(testing::mpeg1Film()).string();
    for (const std::string& content : {"#EXTM3U\n" + other + "\n", other + "\n", "# mpv EDL v0\n" + other + "\n"}) {
        TPlayer player;
        player.SetFileName(folder.write("list.mpg", content).string());
        EXPECT_FALSE(player.Open()) << content;
        waitFor([] { return false; }, std::chrono::milliseconds(800));
        EXPECT_EQ(player.framesDrawn(), 0u) << content;
        EXPECT_EQ(player.State(), TPlayer::NoFilm) << content;
    }
}

TEST_F(PlayerTest, CloseFileKeepsTheNameAndTheFilmOpensAgain) {
    TPlayer player;
    const std::filesystem::path film = testing::filmPath(testing::mpeg1Film());
    ASSERT_TRUE(open(player, film));
    EXPECT_TRUE(player.CloseFile());
    EXPECT_EQ(player.State(), TPlayer::Busy);
    EXPECT_TRUE(waitFor([&] { return player.State() == TPlayer::NoFilm; }));
    EXPECT_EQ(player.FileName(), film.string());
    EXPECT_FALSE(player.Seek(2));

    // Closing and opening at once, as the main window does.
    ASSERT_TRUE(player.Open());
    EXPECT_TRUE(player.CloseFile());
    ASSERT_TRUE(player.Open());
    EXPECT_TRUE(waitFor([&] { return player.State() == TPlayer::Ready; }));
    EXPECT_EQ(seekAndRead(player, 9, {9, 0}), (FrameStamp{9, 0}));
}

TEST_F(PlayerTest, PlaysPausesAndStopsAtTheStart) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_TRUE(player.Play());
    EXPECT_EQ(player.State(), TPlayer::Playing);
    EXPECT_TRUE(waitFor([&] { return player.Position() > 0.5; })) << player.Position();
    EXPECT_TRUE(player.Pause());
    EXPECT_EQ(player.State(), TPlayer::Ready);
    ASSERT_TRUE(waitFor([&] { return player.framesDrawn() > 0; }));
    const double pausedAt = player.Position();
    waitFor([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_NEAR(player.Position(), pausedAt, 0.05);

    EXPECT_TRUE(player.Stop());
    EXPECT_EQ(player.State(), TPlayer::Ready);
    EXPECT_TRUE(waitFor([&] { return !player.seeking() && stampOf(player.currentFrame()) == FrameStamp{0, 0}; }));
    EXPECT_EQ(player.Position(), 0);
}

TEST_F(PlayerTest, TheNewestOfQuickSeeksWinsAndPositionShowsIt) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::h264Film())));
    std::vector<double> finished;
    QObject::connect(&player, &TPlayer::seekFinished, [&](double target) { finished.push_back(target); });
    for (float second : {14.0f, 33.0f, 52.0f, 7.0f, 41.0f}) player.Seek(second);
    EXPECT_EQ(player.Position(), 41);
    EXPECT_TRUE(waitFor([&] { return !player.seeking() && stampOf(player.currentFrame()) == FrameStamp{41, 0}; }));
    // The first seek was overtaken and the ones between never ran: only the newest is reported.
    EXPECT_TRUE(waitFor([&] { return !finished.empty(); }));
    EXPECT_EQ(finished, std::vector<double>{41});
    EXPECT_NEAR(player.Position(), 41, 0.001);
}

// A key-frame seek (a dragged bar) shows the key frame at or before the second, which on this film
// lies every 10 seconds; an exact seek afterwards shows the second itself.
TEST_F(PlayerTest, AKeyFrameSeekShowsTheKeyFrameAndAnExactOneTheSecond) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::h264Film())));
    player.SeekKeyFrame(37.0f);
    EXPECT_TRUE(waitFor([&] { return !player.seeking() && stampOf(player.currentFrame()) == FrameStamp{30, 0}; }))
        << "shown: " << (stampOf(player.currentFrame()) ? stampOf(player.currentFrame())->second : -1);
    player.Seek(37.0f);
    EXPECT_TRUE(waitFor([&] { return !player.seeking() && stampOf(player.currentFrame()) == FrameStamp{37, 0}; }));
}

TEST_F(PlayerTest, SeeksOutsideTheFilmStopAtItsEnds) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_EQ(seekAndRead(player, 30, {30, 0}), (FrameStamp{30, 0}));
    EXPECT_EQ(seekAndRead(player, -4, {0, 0}), (FrameStamp{0, 0}));
    player.Seek(500);
    EXPECT_TRUE(waitFor([&] { return !player.seeking(); }));
    const auto last = stampOf(player.currentFrame());
    ASSERT_TRUE(last);
    EXPECT_EQ(last->second, 59);
    EXPECT_EQ(player.State(), TPlayer::Ready);
}

TEST_F(PlayerTest, AudioIsTheSoundTrackAndItsSwitch) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg2Film())));
    EXPECT_TRUE(player.Audio());
    player.SetAudio(false);
    EXPECT_FALSE(player.Audio());
    waitFor([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_FALSE(player.Audio());
    player.SetAudio(true);
    EXPECT_TRUE(player.Audio());
    player.SetAudio(false);

    // The next film starts with its sound on; a silent film has none to switch on.
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg2Film())));
    EXPECT_TRUE(player.Audio());
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_FALSE(player.Audio());
    player.SetAudio(true);
    EXPECT_FALSE(player.Audio());
}

TEST_F(PlayerTest, RateIsThePlayingSpeed) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg1Film())));
    EXPECT_EQ(player.Rate(), 1.0);
    player.SetRate(4.0);
    EXPECT_EQ(player.Rate(), 4.0);
    player.Play();
    EXPECT_TRUE(waitFor([&] { return player.Position() > 6; }, std::chrono::seconds(4))) << player.Position();
    player.Pause();
    player.SetRate(0);
    EXPECT_EQ(player.Rate(), 4.0);
    player.SetRate(1.0);
    waitFor([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(player.Rate(), 1.0);
}

TEST_F(PlayerTest, DrawsIntoTheWindowGivenAsWinHandle) {
    TPlayer player;
    QWidget fullScreenPanel;
    fullScreenPanel.resize(900, 700);
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg2Film())));
    player.SetWinHandle(&fullScreenPanel);
    EXPECT_EQ(player.WinHandle(), &fullScreenPanel);
    player.SetDisplayWidth(800);
    player.RefreshWindow();
    EXPECT_EQ(seekAndRead(player, 44, {44, 0}), (FrameStamp{44, 0}));

    // What the panel shows: the picture centred in it, at the display size.
    const QImage panel = fullScreenPanel.grab().toImage();
    const QRect picture((900 - player.VideoWidth()) / 2, (700 - player.VideoHeight()) / 2, player.VideoWidth(),
                        player.VideoHeight());
    const qreal ratio = panel.devicePixelRatio();
    EXPECT_EQ(stampOf(panel.copy(QRect(picture.topLeft() * ratio, picture.size() * ratio))), (FrameStamp{44, 0}));

    player.SetWinHandle(nullptr);
    EXPECT_EQ(player.WinHandle(), &player);
    {
        QWidget shortLived;
        player.SetWinHandle(&shortLived);
    }
    EXPECT_EQ(player.WinHandle(), &player);
    player.resize(player.VideoWidth(), player.VideoHeight());
    EXPECT_EQ(stampOf(player.grab().toImage()), (FrameStamp{44, 0}));
}

TEST_F(PlayerTest, TwoPlayersSideBySideKeepTheirOwnFilms) {
    TPlayer first;
    TPlayer second;
    ASSERT_TRUE(open(first, testing::filmPath(testing::mpeg2Film())));
    ASSERT_TRUE(open(second, testing::filmPath(testing::h264Film())));
    first.Seek(12);
    second.Seek(48);
    EXPECT_TRUE(waitFor([&] {
        return !first.seeking() && !second.seeking() && stampOf(first.currentFrame()) == FrameStamp{12, 0} &&
               stampOf(second.currentFrame()) == FrameStamp{48, 0};
    }));
    EXPECT_EQ(first.NativeWidth(), 720);
    EXPECT_EQ(second.NativeWidth(), 1280);
    EXPECT_TRUE(first.Audio());
    EXPECT_FALSE(second.Audio());

    first.Play();
    waitFor([&] { return first.Position() > 12.5; });
    first.Pause();
    EXPECT_EQ(second.State(), TPlayer::Ready);
    EXPECT_EQ(stampOf(second.currentFrame()), (FrameStamp{48, 0}));
    second.CloseFile();
    EXPECT_TRUE(waitFor([&] { return second.State() == TPlayer::NoFilm; }));
    EXPECT_EQ(first.State(), TPlayer::Ready);
}

TEST_F(PlayerTest, DisplaySizeFollowsTheFilmsAspect) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::h264Film())));
    EXPECT_EQ(player.VideoWidth(), 1280);
    EXPECT_EQ(player.VideoHeight(), 720);
    player.SetDisplayWidth(352);
    EXPECT_EQ(player.VideoHeight(), 198);
    EXPECT_EQ(player.currentFrame().size(), QSize(352, 198));
    player.SetDisplayWidth(0);
    EXPECT_EQ(player.VideoHeight(), 0);
    player.SetVideoWidth(500);
    player.SetVideoHeight(300);
    EXPECT_EQ(player.currentFrame().size(), QSize(500, 300));
    EXPECT_EQ(player.DirectXVersion(), 9.0);
}

// Also run with QT_SCALE_FACTOR=2 (see CMakeLists.txt): the picture is drawn in device pixels.
TEST_F(PlayerTest, ThePictureIsDrawnInDevicePixels) {
    TPlayer player;
    ASSERT_TRUE(open(player, testing::filmPath(testing::mpeg2Film())));
    player.SetDisplayWidth(360);
    player.resize(player.VideoWidth(), player.VideoHeight());
    player.show();
    const qreal ratio = player.devicePixelRatioF();
    EXPECT_EQ(player.currentFrame().size(), QSize(player.VideoWidth(), player.VideoHeight()) * ratio);
    EXPECT_EQ(seekAndRead(player, 25, {25, 0}), (FrameStamp{25, 0}));
    const QImage shown = player.grab().toImage();
    EXPECT_EQ(shown.size(), player.currentFrame().size());
    EXPECT_EQ(stampOf(shown), (FrameStamp{25, 0}));
}

}  // namespace
}  // namespace corvane
