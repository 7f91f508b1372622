#include "app/tfmain.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "app/app_context.h"
#include "app/player/tplayer.h"
#include "core/files.h"
#include "core/text.h"
#include "gui/player_test_support.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::FrameStamp;
using testing::RecordingBoxes;
using testing::TempFolder;
using testing::TestFilm;
using testing::waitFor;

const TestFilm& wideFilm() {  // 100 seconds of MPEG-2 720x576 with sound
    static const TestFilm film{"main_mpeg2_100.mpg", "--codec mpeg2 --size 720x576 --seconds 100 --audio", 720, 576,
                               100, true};
    return film;
}

const TestFilm& narrowFilm() {  // 100 seconds of MPEG-1 352x288 without sound
    static const TestFilm film{"main_mpeg1_100.mpg", "--codec mpeg1 --size 352x288 --seconds 100", 352, 288, 100,
                               false};
    return film;
}

// A disc of one match package, its films linked from the test-film folder.
class Disc {
public:
    Disc(const std::vector<std::filesystem::path>& films, const std::string& captureCard = "") {
        const auto system = std::filesystem::path(CORVANE_SOURCE_DIR) / "data" / "System";
        std::filesystem::create_directories(folder_ / "System");
        for (const char* name : {"Messages0.txt", "Messages1.txt"})
            std::filesystem::copy_file(system / name, folder_ / ("System/" + std::string(name)));
        folder_.write("System/Language.cfg", "1\r\n");
        std::string list;
        for (std::size_t n = 0; n < films.size(); ++n) {
            const std::string name = "Film0" + std::to_string(n + 1) + films[n].extension().string();
            std::filesystem::create_directories(folder_ / "Tlx_Video/Partita");
            std::filesystem::create_symlink(films[n], folder_ / ("Tlx_Video/Partita/" + name));
            list += name + "\r\n";
        }
        folder_.write("Tlx_Video/Partita/FilmList.cfg", list);
        folder_.write("Tlx_Video/Partita/Match.cfg", "sport=1\r\ncapturecard=" + captureCard + "\r\n");
    }
    std::filesystem::path path() const { return folder_.path(); }
    std::string log() const { return testing::readFile(folder_ / "Application.Log"); }

private:
    TempFolder folder_;
};

// The main window on a disc, shown and past its first activation.
class MainWindowRun {
public:
    explicit MainWindowRun(const Disc& disc, QSize screen = QSize(1280, 800)) : MainWindowRun(disc.path(), screen) {}

    explicit MainWindowRun(const std::filesystem::path& discFolder, QSize screen = QSize(1280, 800)) {
        platform_.documents = documents_.path();
        state_.folders.ProgramFolder = discFolder.string() + "/";
        state_.folders.SystemFolder = state_.folders.ProgramFolder + "System";
        state_.folders.LogFolder = state_.folders.ProgramFolder;
        state_.LanguageNumber = 1;
        log_ = std::make_unique<ApplicationLog>(platform_, discFolder);
        catalogue_ = std::make_unique<MessageCatalogue>(state_.folders.SystemFolder);
        messages_ = std::make_unique<Messages>(*catalogue_, boxes, state_.LanguageNumber);
        app_ = std::make_unique<AppContext>(AppContext{state_, platform_, *log_, *messages_, boxes,
                                                       Settings(documents_ / "tlx_player.ini", state_.Sport)});
        window = std::make_unique<TFMain>(*app_, screen);
        window->show();
        waitFor([this] { return window->firstActivationDone(); }, std::chrono::seconds(60));
    }

    TPlayer& player() const { return *window->player(); }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    const ProgramState& state() const { return state_; }
    std::string messageText(int number) const { return messages_->MessageText(number); }

    // Waits for the last seek to show its picture and returns the second and frame it shows.
    std::optional<FrameStamp> shownStamp() const {
        waitFor([this] { return !player().seeking(); });
        QTest::qWait(150);  // the seek's own picture arrives right after the seek reports
        return testing::stampOf(player().currentFrame());
    }
    void seekTo(double seconds) const {
        player().Seek(static_cast<float>(seconds));
        shownStamp();
    }

    RecordingBoxes boxes;
    std::unique_ptr<TFMain> window;

private:
    TempFolder documents_;
    FixedPlatform platform_;
    ProgramState state_;
    std::unique_ptr<ApplicationLog> log_;
    std::unique_ptr<MessageCatalogue> catalogue_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<AppContext> app_;
};

std::filesystem::path wide() { return testing::filmPath(wideFilm()); }
std::filesystem::path narrow() { return testing::filmPath(narrowFilm()); }

TEST(MainWindow, OpensTheFirstFilmLaidOutForTheScreen) {
    const Disc disc({wide()});
    const MainWindowRun run(disc);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    EXPECT_EQ(run.window->windowTitle(), "Corvane System Player");
    EXPECT_EQ(run.control("Panel2")->width(), 960);
    EXPECT_TRUE(run.window->largeZoom());
    EXPECT_TRUE(run.window->wideMpeg2());
    EXPECT_NEAR(run.player().Duration(), 100.0, 0.001);
    EXPECT_EQ(run.control<QLabel>("LblDur")->text(), "00.01.40");
    // The position shows its creation text until the first move; second 0 then reads in the
    // locale's time separator.
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00.00.00");
    run.window->Transport(6, 0);
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00:00:00");
    EXPECT_EQ(run.control<QToolButton>("ButStepM")->toolTip().toStdString(), run.messageText(46));
    const std::string log = disc.log();
    for (const char* line : {"Before open synthesis", "Filtro da utilizzare: ", "Attende ReadyState", "ReadyState OK",
                             "MPEG 2", "Not full screen", "Fine apertura", "End Aprisintesi", "Fine Firsttime"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_LT(log.find("Attende ReadyState"), log.find("ReadyState OK"));
}

TEST(MainWindow, SmallScreensHideThePreRollCaptions) {
    const Disc disc({narrow()});
    const MainWindowRun run(disc, QSize(1024, 768));
    EXPECT_EQ(run.control("Panel2")->width(), 768);
    EXPECT_FALSE(run.control("SecAntInizioAzione")->isVisible());
    EXPECT_FALSE(run.control("SecAntFineAzione")->isVisible());
}

TEST(MainWindow, JumpsStopAtTheEndMargin) {
    const Disc disc({wide()});
    const MainWindowRun run(disc);
    run.window->Transport(6, 90);
    ASSERT_EQ(run.shownStamp()->second, 90);
    run.window->SbAvantiClick();
    EXPECT_EQ(run.shownStamp()->second, 92);
    EXPECT_NEAR(run.player().Position(), 92.0, 0.05);

    run.seekTo(98.5);
    run.window->SbAvantiClick();
    EXPECT_NEAR(run.player().Position(), 98.5, 0.05);

    run.window->Transport(6, 99);
    EXPECT_EQ(run.shownStamp()->second, 99);
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00.01.39");
    run.seekTo(10);
    run.control<QLabel>("LblPos")->setText("stale");
    run.window->Transport(6, 100);
    EXPECT_EQ(run.shownStamp()->second, 10);
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00.00.10");
}

TEST(MainWindow, StepBackIsOneSecondOnWideFilmsAndOneFrameOnNarrowOnes) {
    {
        const Disc disc({wide()});
        const MainWindowRun run(disc);
        run.window->Transport(6, 30);
        run.shownStamp();
        run.window->ButStepMClick();
        const auto stamp = run.shownStamp();
        ASSERT_TRUE(stamp);
        EXPECT_EQ(stamp->second, 29);
        EXPECT_EQ(stamp->frame, 0);
    }
    {
        const Disc disc({narrow()});
        const MainWindowRun run(disc);
        EXPECT_FALSE(run.window->wideMpeg2());
        run.window->Transport(6, 30);
        run.shownStamp();
        run.window->ButStepMClick();
        const auto stamp = run.shownStamp();
        ASSERT_TRUE(stamp);
        EXPECT_EQ(stamp->second, 29);
        EXPECT_EQ(stamp->frame, 24);  // the last frame of second 29 at 25 frames a second
        run.window->ButStepPClick();
        EXPECT_EQ(run.shownStamp()->second, 30);
    }
}

TEST(MainWindow, SlowMotionMutesTheSoundAndLeavingItRestoresIt) {
    const Disc disc({wide()});
    const MainWindowRun run(disc);
    ASSERT_TRUE(run.player().Audio());
    run.window->SbRallentyClick(true);
    EXPECT_TRUE(run.window->slowMotionRunning());
    EXPECT_FALSE(run.player().Audio());
    const auto framesOf = [](const std::optional<FrameStamp>& stamp) { return stamp ? stamp->second * 25 + stamp->frame : -1; };
    const int before = framesOf(testing::stampOf(run.player().currentFrame()));
    QTest::qWait(600);
    const int after = framesOf(testing::stampOf(run.player().currentFrame()));
    EXPECT_GT(after, before);       // slow motion steps frames...
    EXPECT_LT(after, before + 15);  // ...at about 12 a second, not 25
    run.window->SbRallentyClick(true);
    EXPECT_FALSE(run.window->slowMotionRunning());
    EXPECT_TRUE(run.player().Audio());
    EXPECT_EQ(run.player().State(), TPlayer::Playing);

    // Sound already off: leaving slow motion leaves it off.
    run.window->Transport(1);
    run.window->BtnAudioClick();
    ASSERT_FALSE(run.player().Audio());
    run.window->SbRallentyClick(true);
    run.window->SbRallentyClick(true);
    EXPECT_FALSE(run.player().Audio());
}

TEST(MainWindow, SpaceInSlowMotionPlaysAtNormalSpeedWithTheSoundStillOff) {
    const Disc disc({wide()});
    const MainWindowRun run(disc);
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
    run.window->SbRallentyClick(true);
    ASSERT_TRUE(run.window->slowMotionRunning());
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    QTest::keyClick(run.window.get(), Qt::Key_Space);
    EXPECT_FALSE(run.window->slowMotionRunning());
    EXPECT_FALSE(run.control<QToolButton>("SbRallenty")->isChecked());
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }));
    EXPECT_DOUBLE_EQ(run.player().Rate(), 1.0);
    EXPECT_FALSE(run.player().Audio());
    // Space again pauses; "+" jumps two seconds.
    QTest::keyClick(run.window.get(), Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Ready; }));
    run.seekTo(40);
    QTest::keyClick(run.window.get(), Qt::Key_Plus);
    EXPECT_EQ(run.shownStamp()->second, 42);
    QTest::keyClick(run.window.get(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(run.shownStamp()->second, 40);
}

TEST(MainWindow, FilmButtonsFollowTheFilmCount) {
    {
        const Disc disc({narrow()});
        const MainWindowRun run(disc);
        EXPECT_FALSE(run.control("ButPrev")->isEnabled());
        EXPECT_FALSE(run.control("ButNext")->isEnabled());
    }
    const Disc disc({narrow(), narrow(), narrow()});
    const MainWindowRun run(disc);
    EXPECT_FALSE(run.control("ButPrev")->isEnabled());
    EXPECT_TRUE(run.control("ButNext")->isEnabled());
    run.window->ButNextClick();
    EXPECT_EQ(run.state().package.currentFilm, 2);
    EXPECT_TRUE(run.control("ButPrev")->isEnabled());
    EXPECT_TRUE(run.control("ButNext")->isEnabled());
    // A code in film 3 opens it and goes to its second.
    run.window->SeekFilmTime("3", "37");
    EXPECT_EQ(run.state().package.currentFilm, 3);
    EXPECT_EQ(run.shownStamp()->second, 37);
    EXPECT_FALSE(run.control("ButNext")->isEnabled());
}

TEST(MainWindow, ACaptureCardOfItsOwnRunsNoProbe) {
    const Disc disc({narrow()}, "DVCAM");
    const MainWindowRun run(disc);
    EXPECT_EQ(run.player().Filtro(), "x");
    EXPECT_EQ(disc.log().find("GetInfoFilmato"), std::string::npos);
    EXPECT_NE(disc.log().find("Filtro da utilizzare: x"), std::string::npos);
}

TEST(MainWindow, AFilmThatCannotBeOpenedIsReportedAndDisablesTheTransport) {
    TempFolder films;
    const auto text = films.write("notafilm.mpg", "this is a text file, not a film\n");
    const Disc disc({text});
    const MainWindowRun run(disc);
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_NE(run.boxes.shown[0].text.find("Film01.mpg"), std::string::npos);
    EXPECT_EQ(run.boxes.shown[0].caption, run.messageText(14));
    EXPECT_EQ(run.boxes.shown[0].flags, MessageBoxExclamation);
    EXPECT_FALSE(run.control("SbPlay")->isEnabled());
    EXPECT_FALSE(run.control("TrackB")->isEnabled());
    bool shows117 = false;
    for (const QLabel* label : run.control("Panel5")->findChildren<QLabel*>())
        shows117 = shows117 || label->text() == QString::fromStdString(run.messageText(117));
    EXPECT_TRUE(shows117);
    EXPECT_EQ(disc.log().find("Fine apertura"), std::string::npos);
}

TEST(MainWindow, WithoutAPackageTheRunEnds) {
    TempFolder disc;
    std::filesystem::create_directories(disc / "Tlx_Video");
    std::filesystem::create_directories(disc / "System");
    FixedPlatform platform;
    RecordingBoxes boxes;
    ProgramState state;
    state.folders.ProgramFolder = disc.path().string() + "/";
    state.folders.SystemFolder = state.folders.ProgramFolder + "System";
    ApplicationLog log(platform, disc.path());
    const MessageCatalogue catalogue(state.folders.SystemFolder);
    const Messages messages(catalogue, boxes, state.LanguageNumber);
    AppContext app{state, platform, log, messages, boxes, Settings(disc / "tlx_player.ini", state.Sport)};
    TFMain window(app, QSize(1280, 800));
    EXPECT_TRUE(state.TerminateAfterCreate);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "La cartella TLX_VIDEO non contiene partite/sintesi\rL'applicazione verrà terminata.");
    EXPECT_EQ(boxes.shown[0].caption, "TlxPlayer");
    EXPECT_EQ(boxes.shown[0].flags, MessageBoxStop);
}

std::filesystem::path demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? std::filesystem::path(named) : std::filesystem::path(CORVANE_BINARY_DIR) / "demo-disc";
}

TEST(MainWindowOnTheDemoDisc, ACodeOfTheSecondFilmShowsItsSecondLessThePreRoll) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const MainWindowRun run(demoDisc());
    ASSERT_EQ(run.state().Sport, "1");
    ASSERT_EQ(run.state().package.films.size(), 2u);
    const CodeTable& table = run.state().codeTable;
    int row = 1;
    while (row < table.RowCount() && !(table.Cell(Film, row) == "2" && textToInt(table.Cell(VideoSec, row)) > 30)) ++row;
    ASSERT_LT(row, table.RowCount()) << "no code in film 2";
    const int second = textToInt(table.Cell(VideoSec, row));
    const int preRoll = run.state().playback.PreRollSeconds;
    run.window->SeekFilmTime("2", std::to_string(second - preRoll));
    EXPECT_EQ(run.state().package.currentFilm, 2);
    EXPECT_NE(run.player().FileName().find("Film02"), std::string::npos);
    const auto stamp = run.shownStamp();
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->second, second - preRoll);
    EXPECT_EQ(stamp->frame, 0);
    run.window->Transport(0);
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }));
}

}  // namespace
}  // namespace corvane
