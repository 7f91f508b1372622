// A film asked for while another is still opening. The opening waits for the player and
// processes the coach's clicks meanwhile; the second click comes from a timer of zero time,
// started just before the first click, so it lands inside that wait however fast the machine
// opens the film, and each case checks that it did (the player was busy opening when it came).

#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "core/transport_rules.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "gui/player_test_support.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::clickButton;
using testing::clickListRow;
using testing::narrow;
using testing::wide;

void put(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Film 1 and 2 last 100 seconds (film 2, MPEG-2 with sound, is the slower to open), film 3 60.
// Row 1 of the list is a code of film 1, row 2 a code of film 3 at second 40. A second match of
// the disc, "Partita2", has the 60-second film as its one film.
struct ThreeFilms {
    ThreeFilms() {
        disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;10\r\n"
                       "a12RM#;;;;;;;20.00.01;1;;;3;40\r\n");
        const auto second = disc.path() / "Tlx_Video" / "Partita2";
        std::filesystem::create_directories(second);
        std::filesystem::copy_file(testing::filmPath(testing::mpeg1Film()), second / "Film01.mpg");
        put(second / "FilmList.cfg", "Film01.mpg\r\n");
        put(second / "Match.cfg", "sport=1\r\ncapturecard=\r\nfile rilevazione=scout.dvw\r\n");
        put(second / "scout.dvw", "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n*07SM+;;;;;;;20.00.00;1;;;1;5\r\n");
    }
    Disc disc{{narrow(), wide(), testing::filmPath(testing::mpeg1Film())}};
};

struct SecondRequest {
    const char* name;
    std::function<void(MainWindowRun&)> click;  // made while film 2 is opening
    std::string package;                        // the package that must end up open
    int film;                                   // and its film, with its length
    int seconds;  // 0: film 1's, as the run's first opening found it (an MPEG-1 film ends a little early)
    int codeSecond;  // for a code: the second it plays from; -1 for none
};

void PrintTo(const SecondRequest& request, std::ostream* out) { *out << request.name; }

void clickPackage(MainWindowRun& run, const std::string& name) {
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser);
    const int index = chooser->findText(QString::fromStdString(name));
    ASSERT_GE(index, 0) << name;
    testing::choosePackage(run, index);
}

class FilmOpening : public ::testing::TestWithParam<SecondRequest> {};

TEST_P(FilmOpening, TheNewestRequestEndsUpOpenAndNoFilmIsReportedMissing) {
    const SecondRequest& request = GetParam();
    const ThreeFilms films;
    MainWindowRun run(films.disc.path());
    ASSERT_EQ(run.state().package.films.size(), 3u);
    ASSERT_EQ(run.state().package.currentFilm, 1);
    const int film1Seconds = run.window->durationSeconds();
    ASSERT_GE(film1Seconds, 99);
    const int seconds = request.seconds > 0 ? request.seconds : film1Seconds;

    bool cameWhileOpening = false;
    QTimer::singleShot(0, run.window.get(), [&] {
        cameWhileOpening = run.player().State() == TPlayer::Busy;
        request.click(run);
    });
    clickButton(run.control("ButNext"));  // film 2 starts opening
    ASSERT_TRUE(cameWhileOpening) << "the second request must come while film 2 opens";
    ASSERT_TRUE(testing::waitFor([&] { return run.player().State() != TPlayer::Busy; }));

    for (const auto& box : run.boxes.shown) ADD_FAILURE() << "box shown: " << box.text;
    EXPECT_EQ(run.state().package.name, request.package);
    ASSERT_EQ(run.state().package.currentFilm, request.film);
    EXPECT_EQ(run.player().FileName(), run.state().package.films[static_cast<std::size_t>(request.film - 1)]);
    EXPECT_EQ(run.window->durationSeconds(), seconds);
    EXPECT_EQ(run.control<QLabel>("LblDur")->text().toStdString(), FormatSeconds(seconds, "."));
    EXPECT_EQ(run.control<QSlider>("TrackB")->maximum(), seconds);
    EXPECT_TRUE(run.control("SbPlay")->isEnabled());
    EXPECT_EQ(run.control("ButNext")->isEnabled(), request.package == "Partita" && request.film < 3);

    if (request.codeSecond >= 0) {
        // The code plays from its second less the pre-roll: paused, the picture shows where it got to.
        EXPECT_EQ(run.player().State(), TPlayer::Playing);
        clickButton(run.control("SbPlay"));
        const auto stamp = run.shownStamp();
        ASSERT_TRUE(stamp);
        const int from = request.codeSecond - run.state().playback.PreRollSeconds;
        EXPECT_GE(stamp->second, from);
        EXPECT_LE(stamp->second, from + 3);
    } else {
        const auto start = run.shownStamp();
        ASSERT_TRUE(start);
        EXPECT_EQ(start->second, 0);
    }
    // The film takes seconds near its own end, not those of the film asked for first.
    run.window->Transport(TransportGoTo, seconds - 5);
    const auto nearEnd = run.shownStamp();
    ASSERT_TRUE(nearEnd);
    EXPECT_EQ(nearEnd->second, seconds - 5);
}

INSTANTIATE_TEST_SUITE_P(
    SecondRequestWhileFilm2Opens, FilmOpening,
    ::testing::Values(
        SecondRequest{"NextAgain", [](MainWindowRun& run) { clickButton(run.control("ButNext")); }, "Partita", 3,
                      60, -1},
        SecondRequest{"PreviousFilm", [](MainWindowRun& run) { clickButton(run.control("ButPrev")); }, "Partita",
                      1, 0, -1},
        SecondRequest{"ACodeOfFilm3", [](MainWindowRun& run) { clickListRow(run, 2); }, "Partita", 3, 60, 40},
        SecondRequest{"AnotherPackage", [](MainWindowRun& run) { clickPackage(run, "Partita2"); }, "Partita2", 1,
                      60, -1}),
    [](const ::testing::TestParamInfo<SecondRequest>& info) { return std::string(info.param.name); });

// A film that cannot be opened, passed over with Next while it opens: the coach asked for the
// next one, so nothing is reported about the film left behind.
TEST(FilmOpeningOfABrokenFilm, PassedOverWhileItOpensIsNotReported) {
    testing::TempFolder films;
    const auto text = films.write("notafilm.mpg", "this is a text file, not a film\n");
    const Disc disc({narrow(), text, testing::filmPath(testing::mpeg1Film())});
    MainWindowRun run(disc);
    bool cameWhileOpening = false;
    QTimer::singleShot(0, run.window.get(), [&] {
        cameWhileOpening = run.player().State() == TPlayer::Busy;
        clickButton(run.control("ButNext"));
    });
    clickButton(run.control("ButNext"));
    ASSERT_TRUE(cameWhileOpening) << "the second request must come while film 2 opens";
    for (const auto& box : run.boxes.shown) ADD_FAILURE() << "box shown: " << box.text;
    EXPECT_EQ(run.state().package.currentFilm, 3);
    EXPECT_EQ(run.window->durationSeconds(), 60);
    const auto start = run.shownStamp();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->second, 0);
}

}  // namespace
}  // namespace corvane
