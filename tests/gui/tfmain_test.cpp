#include "app/tfmain.h"
#include "codes/tfsubform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "app/player/tplayer.h"
#include "codes/tfcodici.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/main_window_run.h"
#include "gui/player_test_support.h"
#include "support/test_support.h"
#include "ui/app_context.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::FrameStamp;
using testing::RecordingBoxes;
using testing::TempFolder;
using testing::TestFilm;
using testing::demoDisc;
using testing::waitFor;
using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::wide;

TEST(MainWindow, OpensTheFirstFilmLaidOutForTheScreen) {
    const Disc disc({wide()});
    const MainWindowRun run(disc);
    ASSERT_EQ(run.player().State(), TPlayer::Ready);
    EXPECT_EQ(run.window->windowTitle(), "Corvane System Player \u2014 Corvane Player");
    // The raw code list is as wide as its columns; the video takes the rest of the screen.
    const int list = 173 + 52 + 27 + 20;
    EXPECT_EQ(run.control("Panel2")->width(), 1280 - list - 5);
    // The search panel of a volleyball match (match strip and search code) stands above the list.
    const int panel = run.window->searchPanel()->panelHeight();
    EXPECT_EQ(panel, 5 + 114 + 52 - 5);
    EXPECT_EQ(run.control("FSubForm5")->geometry(), QRect(1280 - list - 5 + 2, 22, list, panel));
    EXPECT_EQ(run.control("FCodici1")->geometry(), QRect(1280 - list - 5 + 2, 22 + 6 + panel, list, 800 - panel - 22 - 5));
    EXPECT_TRUE(run.window->largeZoom());
    EXPECT_TRUE(run.window->wideMpeg2());
    EXPECT_NEAR(run.player().Duration(), 100.0, 0.001);
    EXPECT_EQ(run.control<QLabel>("LblDur")->text(), "00.01.40");
    // An opened film shows its own position: second 0 reads in the locale's time separator.
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
    EXPECT_EQ(run.control("Panel2")->width(), 1024 - (173 + 52 + 27 + 20) - 5);
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
    AppContext app{state, platform, log, messages, boxes, Settings(disc / "tlx_player.ini", state.Sport), nullptr};
    TFMain window(app, QSize(1280, 800));
    EXPECT_TRUE(state.TerminateAfterCreate);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "La cartella TLX_VIDEO non contiene partite/sintesi\rL'applicazione verrà terminata.");
    EXPECT_EQ(boxes.shown[0].caption, "TlxPlayer");
    EXPECT_EQ(boxes.shown[0].flags, MessageBoxStop);
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

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::RecordingBoxes;
using testing::TempFolder;
using testing::demoDisc;
using testing::kRallies;
using testing::narrow;
using testing::waitFor;
using testing::wide;

// The centre of the bar's handle when it stands at `value`: where a coach points for that second.
QPoint trackBarPoint(const QSlider& bar, int value) {
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.subControls = QStyle::SC_All;
    return bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &bar).center();
}

void activate(const MainWindowRun& run) {
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
}

void click(QWidget* widget) {
    ASSERT_TRUE(widget);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// The brightest grey level drawn where a widget stands, on the strip it stands on.
int brightest(QWidget* widget) {
    QWidget* window = widget->window();
    const QImage image = window->grab(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())).toImage();
    int level = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) level = std::max(level, qGray(image.pixel(x, y)));
    return level;
}

TEST(MainWindowTrackBar, AClickGoesToThePointAndADragShowsThePictureBeforeTheRelease) {
    const Disc disc({narrow()});
    const MainWindowRun run(disc);
    auto* bar = run.control<QSlider>("TrackB");
    run.seekTo(10);
    run.window->ShowPosition();

    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, trackBarPoint(*bar, 70));
    EXPECT_EQ(run.shownStamp()->second, 70);
    EXPECT_EQ(bar->value(), 70);

    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, trackBarPoint(*bar, 20));
    for (const int second : {25, 30, 35, 40}) QTest::mouseMove(bar, trackBarPoint(*bar, second), 20);
    ASSERT_TRUE(bar->isSliderDown());
    const auto whileDragging = run.shownStamp();
    ASSERT_TRUE(whileDragging);
    EXPECT_EQ(whileDragging->second, 40);
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00.00.40");
    QTest::mouseMove(bar, trackBarPoint(*bar, 55), 20);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, trackBarPoint(*bar, 55));
    const auto released = run.shownStamp();
    EXPECT_EQ(released->second, 55);
    EXPECT_EQ(released->frame, 0);  // exact where the handle was let go
}

TEST(MainWindowTransport, NextFilmShowsItsOwnPositionAndTheEndOfAFilmShowsThePlayImage) {
    const Disc disc({narrow(), narrow()});
    const MainWindowRun run(disc);
    run.window->Transport(6, 50);
    ASSERT_EQ(run.control<QLabel>("LblPos")->text(), "00.00.50");
    click(run.control("ButNext"));
    ASSERT_EQ(run.state().package.currentFilm, 2);
    EXPECT_EQ(run.control<QLabel>("LblPos")->text(), "00:00:00");
    EXPECT_EQ(run.control<QSlider>("TrackB")->value(), 0);

    run.window->Transport(6, 97);
    run.shownStamp();
    click(run.control("SbPlay"));
    auto* play = run.control<QToolButton>("SbPlay");
    ASSERT_EQ(play->toolTip().toStdString(), run.messageText(41));  // pause image while playing
    EXPECT_TRUE(waitFor([&] { return play->toolTip().toStdString() == run.messageText(40); }, std::chrono::seconds(8)));
    EXPECT_EQ(run.player().State(), TPlayer::Ready);
}

TEST(MainWindowTransport, SlowMotionOfAnEarlierFilmLeavesTheCoachsOwnMuteAlone) {
    const Disc disc({wide(), wide()});
    const MainWindowRun run(disc);
    activate(run);
    ASSERT_TRUE(run.player().Audio());
    QTest::keyClick(run.window.get(), Qt::Key_R, Qt::ControlModifier);  // slow motion mutes film 1
    ASSERT_TRUE(run.window->slowMotionRunning());
    ASSERT_FALSE(run.player().Audio());
    click(run.control("ButNext"));
    ASSERT_EQ(run.state().package.currentFilm, 2);
    if (!run.player().Audio()) click(run.control("BtnAudio"));
    ASSERT_TRUE(run.player().Audio());
    click(run.control("BtnAudio"));  // the coach mutes film 2 himself
    ASSERT_FALSE(run.player().Audio());
    QTest::keyClick(run.window.get(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(run.window.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(run.window->slowMotionRunning());
    EXPECT_FALSE(run.player().Audio());
}

TEST(MainWindowTransport, AFilmThatCannotBeOpenedShowsNoTimesAndGreyCaptions) {
    TempFolder films;
    const auto text = films.write("notafilm.mpg", "this is a text file, not a film\n");
    const Disc disc({narrow(), text});
    const MainWindowRun run(disc);
    auto* endCaption = run.control<QLabel>("SecAntFineAzione");
    QTest::qWait(300);
    const int enabledLevel = brightest(endCaption);
    ASSERT_GT(enabledLevel, 230);  // white while it can be clicked
    run.window->Transport(6, 30);
    ASSERT_EQ(run.control<QLabel>("LblPos")->text(), "00.00.30");

    click(run.control("ButNext"));
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    for (const char* label : {"LblPos", "LblDur"}) {
        const QString shown = run.control<QLabel>(label)->text();
        EXPECT_FALSE(shown.contains(QRegularExpression(QStringLiteral("[1-9]")))) << label << ": " << shown.toStdString();
    }
    EXPECT_FALSE(endCaption->isEnabled());
    QTest::qWait(300);  // a tick of the caption timer
    EXPECT_LT(brightest(endCaption), 160);
    EXPECT_LT(brightest(run.control("SecAntInizioAzione")), 160);
}

TEST(MainWindowTransport, TheEndOfAnActionIsCheckedWhileTheListDoesNotFollowTheFilm) {
    Disc disc({narrow()});
    disc.withCodes(kRallies);
    MainWindowRun run(disc);
    activate(run);
    run.app().settings.write(SpostainelencoCodici, "0");
    run.state().playback.FollowFilm = false;
    TFCodici* list = run.window->codeList();
    SearchCodeGrid* grid = run.window->searchPanel()->searchGrid();

    // Action after action: the attack of the first rally plays to the rally's end (second 16),
    // then the list moves on to the second attack by itself.
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(5 + 3 * SearchCodeGrid::kCellWidth, 10));
    QTest::keyClicks(grid, "a");
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_EQ(run.shownStamp()->second, 12);
    EXPECT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(10)));
    EXPECT_GE(run.shownStamp()->second, 43);

    // Stopping at the end: the film pauses at the rally's end and Next goes on to the next attack.
    run.app().settings.write(StopFineAzione, "1");
    run.state().playback.StopAtEnd = true;
    QTest::keyClick(run.window.get(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(list->currentListRow(), 1);
    ASSERT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }));
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Ready; }, std::chrono::seconds(10)));
    const int pausedAt = run.shownStamp()->second;
    EXPECT_GE(pausedAt, 15);
    EXPECT_LE(pausedAt, 17);
    EXPECT_EQ(list->currentListRow(), 1);
    click(list->findChild<QToolButton*>("ButNext"));
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(run.shownStamp()->second, 43);
}

TEST(MainWindowOnTheDemoDisc, OpeningTheStatisticsPausesTheFilm) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const MainWindowRun run(demoDisc());
    ASSERT_EQ(run.state().Sport, "1");
    click(run.control("SbPlay"));
    ASSERT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }));
    QWidget* statistics = run.control("ButStat");
    ASSERT_TRUE(statistics && statistics->isEnabled());
    click(statistics);
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Ready; }, std::chrono::seconds(3)));
    EXPECT_EQ(run.control<QToolButton>("SbPlay")->toolTip().toStdString(), run.messageText(40));
}

TEST(MainWindowOnTheDemoDisc, TheInformationWindowShowsThePlayersVersion) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const MainWindowRun run(demoDisc());
    ASSERT_FALSE(run.state().package.releaseText.empty());
    QString version;
    QTimer::singleShot(300, [&version] {
        QWidget* about = QApplication::activeModalWidget();
        if (!about) return;
        if (const auto* line = about->findChild<QLabel*>("LblData")) version = line->text();
        about->close();
    });
    click(run.control("ButInfo"));
    EXPECT_EQ(version.toStdString(), CORVANE_VERSION);
}

TEST(MainWindowOnTheDemoDisc, AHoveredListButtonKeepsItsGlyph) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const MainWindowRun run(demoDisc());
    activate(run);
    auto* next = run.window->codeList()->findChild<QToolButton*>("ButNext");
    ASSERT_TRUE(next && next->isEnabled());
    QTest::mouseMove(next, next->rect().center());
    ASSERT_TRUE(waitFor([&] { return next->underMouse(); }, std::chrono::seconds(2)));
    QTest::qWait(50);
    const QImage image = next->grab().toImage();
    int light = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int level = qGray(image.pixel(x, y));
            light += level > 200;
            dark += level < 140;
        }
    // The light glyph stands on a dark, only slightly lit ground.
    EXPECT_GT(light, 10);
    EXPECT_GT(dark, image.width() * image.height() / 2);
}

TEST(SearchPanelOnTheDemoDisc, AHiddenAnalysisDrawsNothingOfItsText) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(demoDisc());
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser);
    const int synthesis = chooser->count() - 1;
    chooser->setCurrentIndex(synthesis);
    Q_EMIT chooser->activated(synthesis);
    ASSERT_TRUE(run.state().SynthesisMode);
    auto* grid = run.window->findChild<TextGrid*>("GrdAnalisi");
    const auto& analyses = run.window->searchPanel()->analyses();
    int hidden = -1;
    for (std::size_t row = 0; row < analyses.size(); ++row)
        if (analyses[row].hidden) hidden = static_cast<int>(row);
    ASSERT_GE(hidden, 0);
    ASSERT_EQ(grid->rowHeight(hidden), 1);
    QTest::qWait(50);
    const QImage image = grid->viewport()->grab().toImage();
    const int y = grid->rowViewportPosition(hidden);
    ASSERT_GE(y, 0);
    ASSERT_LT(y, image.height());
    int inked = 0;
    for (int x = 0; x < image.width(); ++x) inked += qGray(image.pixel(x, y)) < 150;
    EXPECT_EQ(inked, 0);
}

}  // namespace
}  // namespace corvane
