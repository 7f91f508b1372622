// Films a disc may hold that cannot be played, or stop being playable while they play, and option
// files that try to make the decoder write files: the window reports, stays usable and writes
// nothing.

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "core/files.h"
#include "core/film_limits.h"
#include "codes/tfcodici.h"
#include "support/folder_snapshot.h"
#include "gui/main_window_run.h"
#include "gui/player_test_support.h"
#include "support/test_support.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::Disc;
using testing::MainWindowRun;
using testing::TempFolder;
using testing::waitFor;

// The longest a broken film may hold the window: the player's bounded open and the window's bounded
// ready wait, with room for a loaded machine.
constexpr auto kWatchdog = 15s + 10s + 10s;

// Film 1 is the film under test, film 2 a good one: a code in each, and one late in film 1.
const std::string kCodesInBothFilms =
    "*07SM+;;;;;;;20.00.00;1;;;1;5\r\n"
    "a12RM#;;;;;;;20.00.01;1;;;2;30\r\n"
    "a12AH#;;;;;;;20.00.02;1;;;1;80\r\n";

bool showsStatus(const MainWindowRun& run, int message) {
    for (const QLabel* label : run.control("Panel5")->findChildren<QLabel*>())
        if (label->isVisible() && label->text() == QString::fromStdString(run.messageText(message))) return true;
    return false;
}

// A click where the coach clicks: on the code's row in the list.
void clickCode(const MainWindowRun& run, int listRow) {
    auto* grid = run.window->codeList()->findChild<TextGrid*>("SGrid");
    ASSERT_TRUE(grid);
    const QRect cell = grid->visualRect(grid->model()->index(listRow - 1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// The film is reported as not available and the transport is off.
void expectReportedUnavailable(const MainWindowRun& run, const Disc& disc) {
    ASSERT_FALSE(run.boxes.shown.empty());
    const auto& box = run.boxes.shown.back();
    EXPECT_NE(box.text.find("Film01.mpg"), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, run.messageText(14));
    EXPECT_EQ(box.flags, MessageBoxExclamation);
    EXPECT_TRUE(showsStatus(run, 117));
    EXPECT_FALSE(run.control("SbPlay")->isEnabled());
    EXPECT_FALSE(run.control("TrackB")->isEnabled());
    EXPECT_NE(disc.log().find("Film non disponibile: "), std::string::npos) << disc.log();
}

// Film 1 as the package holds it (the disc links or copies the test film in).
std::filesystem::path packageFilm(const Disc& disc) { return disc.path() / "Tlx_Video/Partita/Film01.mpg"; }

// The coach picks the code of a good film: it opens and shows the code's second less the pre-roll.
void expectCodePlays(MainWindowRun& run, int listRow, int film, int second) {
    clickCode(run, listRow);
    ASSERT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }, 20s));
    EXPECT_EQ(run.state().package.currentFilm, film);
    EXPECT_NE(run.player().FileName().find("Film0" + std::to_string(film)), std::string::npos);
    EXPECT_TRUE(run.control("SbPlay")->isEnabled());
    EXPECT_TRUE(run.control("TrackB")->isEnabled());
    EXPECT_FALSE(showsStatus(run, 117));
    const auto stamp = run.shownStamp();
    ASSERT_TRUE(stamp);
    const int preRollStart = second - run.state().playback.PreRollSeconds;
    EXPECT_GE(stamp->second, preRollStart);
    EXPECT_LE(stamp->second, preRollStart + 3);
}

void expectTheOtherFilmPlays(MainWindowRun& run) { expectCodePlays(run, 2, 2, 30); }

std::filesystem::path copyOf(const std::filesystem::path& film, const TempFolder& folder, const std::string& name) {
    const auto copy = folder / name;
    std::filesystem::copy_file(film, copy);
    return copy;
}

void truncateTo(const std::filesystem::path& file, std::uintmax_t size) { std::filesystem::resize_file(file, size); }

struct BrokenCase {
    const char* what;
    std::function<std::filesystem::path(const TempFolder&)> make;
};

TEST(BrokenFilm, AFilmThatCannotBeOpenedIsReportedLoggedAndTheNextCodeStillPlays) {
    const std::vector<BrokenCase> cases = {
        {"zero bytes", [](const TempFolder& folder) { return folder.write("empty.mpg", ""); }},
        {"text named .mpg",
         [](const TempFolder& folder) { return folder.write("notes.mpg", "Line-up and notes of the match.\n"); }},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder films;
        const Disc disc({c.make(films), testing::narrow()});
        disc.withCodes(kCodesInBothFilms);
        const auto started = std::chrono::steady_clock::now();
        MainWindowRun run(disc);
        EXPECT_LT(std::chrono::steady_clock::now() - started, kWatchdog);
        expectReportedUnavailable(run, disc);
        EXPECT_EQ(disc.log().find("Fine apertura"), std::string::npos);
        expectTheOtherFilmPlays(run);
    }
}

// A film cut short before it is opened is a shorter film: it plays what it holds, and nothing
// waits or freezes.
TEST(BrokenFilm, AFilmCutShortBeforeItOpensPlaysWhatItHolds) {
    TempFolder films;
    const auto film = copyOf(testing::wide(), films, "cut.mpg");
    truncateTo(film, std::filesystem::file_size(film) * 40 / 100);
    const Disc disc({film, testing::narrow()});
    disc.withCodes(kCodesInBothFilms);
    const auto started = std::chrono::steady_clock::now();
    MainWindowRun run(disc);
    EXPECT_LT(std::chrono::steady_clock::now() - started, kWatchdog);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    EXPECT_NEAR(run.player().Duration(), 40, 3);
    EXPECT_TRUE(run.control("SbPlay")->isEnabled());

    clickCode(run, 3);  // second 80, past the cut: a place the film does not have is not gone to
    EXPECT_TRUE(waitFor([&] { return !run.player().seeking(); }, kWatchdog));
    const auto stays = run.shownStamp();
    ASSERT_TRUE(stays);
    EXPECT_LE(stays->second, run.player().Duration());
    EXPECT_NE(run.player().State(), TPlayer::Busy);
    clickCode(run, 1);  // second 5
    const auto early = run.shownStamp();
    ASSERT_TRUE(early);
    EXPECT_EQ(early->second, 5 - run.state().playback.PreRollSeconds);
    EXPECT_TRUE(run.boxes.shown.empty());
    expectTheOtherFilmPlays(run);
}

TEST(BrokenFilm, AFilmCutShortWhileItPlaysIsReportedInsteadOfFreezing) {
    TempFolder films;
    const auto film = copyOf(testing::wide(), films, "match.mpg");
    const Disc disc({film, testing::narrow()});
    disc.withCodes(kCodesInBothFilms);
    MainWindowRun run(disc);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
    QTest::keyClick(run.window.get(), Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return run.player().Position() > 0.5; }, 20s));
    // About four seconds of the hundred are left on disc.
    truncateTo(packageFilm(disc), std::filesystem::file_size(film) * 5 / 100);
    EXPECT_TRUE(waitFor([&] { return !run.boxes.shown.empty(); }, kWatchdog)) << "the film froze unreported";
    expectReportedUnavailable(run, disc);
    EXPECT_NE(disc.log().find("cut short"), std::string::npos) << disc.log();
    expectTheOtherFilmPlays(run);
}

TEST(BrokenFilm, AFilmDeletedWhileItPlaysIsLoggedWhenAskedForAgainAndTheOpenFilmStays) {
    TempFolder films;
    const auto film = copyOf(testing::narrow(), films, "match.mpg");
    const Disc disc({film, testing::narrow()});
    disc.withCodes(kCodesInBothFilms);
    MainWindowRun run(disc);
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
    QTest::keyClick(run.window.get(), Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return run.player().Position() > 0.5; }, 20s));
    std::filesystem::remove(packageFilm(disc));
    // What is already open plays on; the good film opens; the deleted one is then refused and
    // logged, and the good film stays.
    expectTheOtherFilmPlays(run);
    clickCode(run, 1);
    QTest::qWait(500);
    EXPECT_NE(disc.log().find("Film non trovato: "), std::string::npos) << disc.log();
    EXPECT_NE(run.player().FileName().find("Film02"), std::string::npos);
    EXPECT_NE(run.player().State(), TPlayer::NoFilm);
    EXPECT_TRUE(run.boxes.shown.empty());
}

// ---- option files that try to write ------------------------------------------------------------

// Sets an environment variable for as long as the object lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentFolder() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST(HostileOptionFile, NoWritingFilterRunsAndNoFileIsCreatedOrChanged) {
    TempFolder targets;
    TempFolder home;
    TempFolder current;
    targets.write("existing.txt", "a coach's own file\n");
    home.write(".bashrc", "# the coach's shell\n");
    const ScopedEnvironment homeVariable("HOME", home.path().string());
    const ScopedCurrentFolder inCurrent(current.path());
    const std::string t = targets.path().string();
    const std::string h = home.path().string();

    // Each file-writing filter, as the option file would have set it, aimed at the watched folders.
    const std::vector<std::string> lines = {
        "vf=lavfi=[metadata=mode=print:file=" + t + "/metadata.txt]",
        "af=lavfi=[ametadata=mode=print:file=" + t + "/ametadata.txt]",
        "vf=lavfi=[signature=filename=" + t + "/signature.bin]",
        "vf=lavfi=[vidstabdetect=result=" + t + "/transforms.trf]",
        "vf=lavfi=[split[a][b];[a][b]psnr=stats_file=" + t + "/psnr.log]",
        "vf=lavfi=[split[a][b];[a][b]ssim=stats_file=" + t + "/ssim.log]",
        "vf=lavfi=[metadata=mode=print:file=" + t + "/existing.txt]",
        "af=lavfi=[ametadata=mode=print:file=" + h + "/.bashrc]",
        "vf=lavfi=[metadata=mode=print:file=relative.txt]",
        "vf-add=lavfi=[metadata=mode=print:file=" + t + "/added.txt]",
        "deinterlace=interlaced,metadata=mode=print:file=" + t + "/chained.txt",
        "stream-record=" + t + "/record.ts",
        "o=" + t + "/out.ts",
        "log-file=~/player.log",
        "dump-stats=" + t + "/stats.txt",
    };

    const Disc disc({testing::wide(), testing::wide()});
    const auto system = disc.path() / "System";
    const auto writeOptionFiles = [&](const std::string& line) {
        for (const char* name :
             {"Mpeg1.GRF", "Mpeg1_Audio.GRF", "Mpeg2_ADS.GRF", "Mpeg2_ADS_Audio.GRF", "Mpeg2_ADS_Audio_c.GRF"})
            std::ofstream(system / name, std::ios::binary) << "hwdec=no\n" << line << "\n";
    };
    writeOptionFiles(lines.front());

    const std::vector<std::filesystem::path> watched = {targets.path(), home.path(), current.path(), disc.path()};
    const auto watch = [&] {
        testing::FolderSnapshot all;
        for (const auto& folder : watched) all.merge(testing::snapshot(folder));
        return all;
    };
    const testing::FolderSnapshot before = watch();

    MainWindowRun run(disc);
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        SCOPED_TRACE(lines[n]);
        if (n > 0) {
            writeOptionFiles(lines[n]);
            // The other film, opened with the new option file, by the film button.
            QTest::mouseClick(run.control<QAbstractButton>(n % 2 ? "ButNext" : "ButPrev"), Qt::LeftButton);
        }
        ASSERT_EQ(run.player().State(), TPlayer::Ready);
        const std::uint64_t drawn = run.player().framesDrawn();
        QTest::keyClick(run.window.get(), Qt::Key_Space);
        EXPECT_TRUE(waitFor([&] { return run.player().framesDrawn() > drawn + 25; }, 20s));
        QTest::keyClick(run.window.get(), Qt::Key_Space);
        waitFor([&] { return run.player().State() == TPlayer::Ready; });
        // The line was refused, and the refusal is in the log.
        EXPECT_NE(disc.log().find("[refused: " + lines[n].substr(0, 60)), std::string::npos);
    }
    run.window.reset();

    // The option files are the test's own writes and the log is the program's: neither counts.
    const auto ownWrites = [&](testing::FolderSnapshot snapshot) {
        for (const auto& path : {system, disc.path(), disc.path() / "Application.Log"}) snapshot.erase(path.string());
        for (const char* name :
             {"Mpeg1.GRF", "Mpeg1_Audio.GRF", "Mpeg2_ADS.GRF", "Mpeg2_ADS_Audio.GRF", "Mpeg2_ADS_Audio_c.GRF"})
            snapshot.erase((system / name).string());
        return snapshot;
    };
    EXPECT_EQ(testing::differences(ownWrites(before), ownWrites(watch())), "");
    EXPECT_EQ(testing::readFile(home / ".bashrc"), "# the coach's shell\n");
    EXPECT_EQ(testing::readFile(targets / "existing.txt"), "a coach's own file\n");
}

// A film whose picture is beyond the film limits (a strip 8200 pixels wide: cheap to make, and
// refused all the same) is measured and not handed to the player: the coach is told which film
// and what size, and the film of the package that can be played still plays.
TEST(OversizedFilm, ACodeOfAFilmBeyondTheLimitsIsRefusedWithItsSizeAndTheOtherFilmStillPlays) {
    TempFolder films;
    const auto strip = testing::makeGreyMjpegFilm(films / "strip.avi", 8200, 16, 5);
    const Disc disc({testing::narrow(), strip});
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;5\r\n"
                   "a12RM#;;;;;;;20.00.01;1;;;2;1\r\n");
    MainWindowRun run(disc);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    const std::size_t boxesBefore = run.boxes.shown.size();
    const std::size_t logBefore = disc.log().size();

    clickCode(run, 2);
    ASSERT_TRUE(waitFor([&] { return run.boxes.shown.size() > boxesBefore; }, kWatchdog));
    const auto& box = run.boxes.shown.back();
    const std::string film = (disc.path() / "Tlx_Video/Partita/Film02.avi").string();
    EXPECT_NE(box.text.find(film), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("8200x16"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(std::to_string(kMaxFilmSide)), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, run.messageText(14));
    EXPECT_EQ(box.flags, MessageBoxExclamation);
    EXPECT_TRUE(showsStatus(run, 117));
    EXPECT_FALSE(run.control("SbPlay")->isEnabled());
    EXPECT_FALSE(run.control("TrackB")->isEnabled());

    // Measured, refused, and never opened by the player: no decoder ever saw a picture of it.
    const std::string logged = disc.log().substr(logBefore);
    EXPECT_NE(logged.find("Nome file: " + film), std::string::npos) << logged;
    EXPECT_NE(logged.find("Film non disponibile: " + film + " (picture 8200x16 beyond the film limits)"),
              std::string::npos)
        << logged;
    EXPECT_EQ(logged.find("Attende ReadyState"), std::string::npos) << logged;
    EXPECT_EQ(logged.find("Fine apertura"), std::string::npos) << logged;
    // The film 1 that was open is let go, as for a film the player cannot open.
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::NoFilm; }, 5s));
    EXPECT_EQ(run.player().FileName().find("Film02"), std::string::npos) << run.player().FileName();

    // The coach picks the code of film 1: it opens again.
    expectCodePlays(run, 1, 1, 5);
}

// A package folder named with a line break: the package opens and plays, and the log keeps one
// line a message, the name's break written as \r\n.
TEST(HostileDiscNames, APackageNameWithALineBreakOpensAndSplitsNoLogLine) {
    const std::string package = "Partita\r\n-999 forged";
    const Disc disc({testing::narrow()}, "", package);
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;5\r\n");
    MainWindowRun run(disc);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    clickCode(run, 1);
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }, 20s));

    const std::string log = disc.log();
    const std::vector<std::string> lines = splitTextLines(log);
    ASSERT_GT(lines.size(), 5u);
    const std::string stamp = lines.front().substr(0, 20);  // "07/12/2026 14:32:43 "
    const std::string escaped = "Partita\\r\\n-999 forged";
    for (const std::string& line : lines) {
        EXPECT_EQ(line.substr(0, 20), stamp) << line;
        if (line.find("forged") != std::string::npos) EXPECT_NE(line.find(escaped), std::string::npos) << line;
    }
    // The name, escaped, is in the package listing and the film's probe.
    EXPECT_NE(log.find("/Tlx_Video " + escaped + "\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Nome file: " + (disc.path() / "Tlx_Video").string() + "/" + escaped + "/Film01.mpg"),
              std::string::npos)
        << log;
}

}  // namespace
}  // namespace corvane
