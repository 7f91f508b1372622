#include "app/full_screen_mode_qt.h"
#include "app/tfdetcodfs.h"
#include "app/tffullscreen.h"
#include "app/tfpancmdfsc.h"
#include "codes/tfcodici.h"
#include "match/tfdetgio.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <fstream>

#include <gtest/gtest.h>

#include "gui/coach_clicks.h"
#include "app/player/player_pair.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::clickButton;
using testing::Disc;
using testing::kRallies;
using testing::MainWindowRun;
using testing::narrow;
using testing::waitFor;

// The last place a mouse event put the pointer: the offscreen platform's own pointer does not
// follow the events the test sends.
class PointerTrail : public QObject {
public:
    PointerTrail() { qApp->installEventFilter(this); }
    ~PointerTrail() override { qApp->removeEventFilter(this); }
    QPoint at;
    std::vector<QPoint> warps;  // where the program put the pointer itself

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        return false;
    }
};

// A match of the two rallies on the narrow film, with a home number 7 and a visiting number 12.
Disc& withPlayers(Disc& disc) {
    disc.withCodes(kRallies);
    const auto package = disc.path() / "Tlx_Video/Partita";
    std::string scout = testing::readFile(package / "scout.dvw");
    scout.insert(scout.find("[3SCOUT]"), "[3PLAYERS-H]\r\n0;7;;;;;;;ROS;Rossi\r\n[3PLAYERS-V]\r\n1;12;;;;;;;VER;Verdi\r\n");
    std::ofstream(package / "scout.dvw", std::ios::binary) << scout;
    return disc;
}

struct FullScreenFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;

    void SetUp() override {
        withPlayers(disc);
        run = std::make_unique<MainWindowRun>(disc, QSize(1280, 720));
        list = run->window->codeList();
        ASSERT_TRUE(list);
    }
    FullScreenMode& mode() const { return run->window->fullScreenMode(); }
    QToolButton* mainButton(const char* name) const { return run->control<QToolButton>(name); }
    QToolButton* panelButton(const char* name) const {
        return mode().commandPanel()->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    void enter() const {
        clickButton(mainButton("ButFull"));
        ASSERT_TRUE(run->window->fullScreen());
        ASSERT_TRUE(mode().fullScreenWindow() && mode().commandPanel() && mode().codeWindow());
    }
    // Leaving runs from the main window's timer, half a second after the request.
    bool leftWithin(std::chrono::milliseconds limit) const {
        return waitFor([&] { return !run->window->fullScreen(); }, limit);
    }
    double position() const { return run->player().Position(); }
    bool playsSlowly() const {
        run->shownStamp();
        const double from = position();
        QTest::qWait(1000);
        return position() > from && position() - from < 0.7;
    }
};

TEST_F(FullScreenFixture, SlowMotionIsCarriedInAndOut) {
    testing::clickRow(list->findChild<TextGrid*>("SGrid"), 1);
    clickButton(mainButton("SbRallenty"));
    ASSERT_TRUE(run->window->slowMotionRunning());

    enter();
    EXPECT_TRUE(panelButton("SbRallenty")->isChecked());
    EXPECT_TRUE(run->window->slowMotionRunning());
    EXPECT_TRUE(playsSlowly());
    EXPECT_FALSE(run->window->isEnabled());
    EXPECT_EQ(run->player().WinHandle(), mode().fullScreenWindow()->picturePanel());

    // Leaving with the panel's button down keeps slow motion in the main window.
    clickButton(panelButton("BtnDimNormali"));
    EXPECT_TRUE(run->window->fullScreen()) << "leaves half a second later";
    ASSERT_TRUE(leftWithin(std::chrono::seconds(2)));
    EXPECT_TRUE(mainButton("SbRallenty")->isChecked());
    EXPECT_TRUE(run->window->slowMotionRunning());
    EXPECT_TRUE(playsSlowly());
    EXPECT_TRUE(run->window->isEnabled());
    EXPECT_EQ(run->player().WinHandle(), &run->player());
    EXPECT_EQ(mode().commandPanel(), nullptr);
    EXPECT_EQ(mode().codeWindow(), nullptr);
    EXPECT_FALSE(mode().fullScreenWindow()->isVisible());

    // In at normal speed, slow motion pressed on the panel: out in slow motion.
    clickButton(mainButton("SbRallenty"));
    ASSERT_FALSE(mainButton("SbRallenty")->isChecked());
    enter();
    EXPECT_FALSE(panelButton("SbRallenty")->isChecked());
    EXPECT_FALSE(run->window->slowMotionRunning());
    clickButton(panelButton("SbRallenty"));
    EXPECT_TRUE(run->window->slowMotionRunning());
    clickButton(panelButton("BtnDimNormali"));
    ASSERT_TRUE(leftWithin(std::chrono::seconds(2)));
    EXPECT_TRUE(mainButton("SbRallenty")->isChecked());
    EXPECT_TRUE(run->window->slowMotionRunning());

    // In in slow motion, the panel's button raised: out at normal speed.
    enter();
    ASSERT_TRUE(panelButton("SbRallenty")->isChecked());
    clickButton(panelButton("SbRallenty"));
    EXPECT_FALSE(run->window->slowMotionRunning());
    ASSERT_TRUE(mode().commandPanel()->isVisible());
    clickButton(panelButton("BtnDimNormali"));
    ASSERT_TRUE(leftWithin(std::chrono::seconds(2)));
    EXPECT_FALSE(mainButton("SbRallenty")->isChecked());
    EXPECT_FALSE(run->window->slowMotionRunning());
    EXPECT_EQ(run->player().State(), TPlayer::Playing);
}

TEST_F(FullScreenFixture, EnteringReplaysTheCurrentCodeFromItsPreRoll) {
    testing::clickRow(list->findChild<TextGrid*>("SGrid"), 4);  // second 40, pre-roll 2
    run->seekTo(70.4);
    enter();
    EXPECT_EQ(run->shownStamp()->second, 38);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    // The picture is drawn into the full-screen window, not the main one.
    TFFullScreen* screen = mode().fullScreenWindow();
    const QImage shown = screen->grab(screen->picturePanel()->geometry()).toImage();
    ASSERT_TRUE(testing::stampOf(shown).has_value());
    EXPECT_GE(testing::stampOf(shown)->second, 38);
}

TEST_F(FullScreenFixture, ThreeStillSecondsHideTheFloatingWindowsAndThePointerAMovementBringsThemBack) {
    PointerTrail trail;
    enter();
    TFFullScreen* screen = mode().fullScreenWindow();
    screen->readPointer = [&trail] { return trail.at; };
    screen->movePointer = [&trail](QPoint to) {
        trail.warps.push_back(to);
        trail.at = to;
    };
    QTest::mouseMove(screen, QPoint(200, 150));
    const QPoint restingPlace = screen->mapToGlobal(QPoint(200, 150));
    ASSERT_EQ(trail.at, restingPlace);

    QTest::qWait(2000);
    EXPECT_TRUE(mode().commandPanel()->isVisible()) << "not yet three seconds";
    ASSERT_TRUE(waitFor([&] { return !mode().commandPanel()->isVisible(); }, std::chrono::seconds(4)));
    EXPECT_FALSE(mode().codeWindow()->isVisible());
    EXPECT_EQ(screen->cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(run->window->fullScreen());

    QTest::mouseMove(screen, QPoint(420, 300));
    ASSERT_TRUE(waitFor([&] { return mode().commandPanel()->isVisible(); }, std::chrono::seconds(2)));
    EXPECT_TRUE(mode().codeWindow()->isVisible());
    EXPECT_NE(screen->cursor().shape(), Qt::BlankCursor);
    // The pointer comes back where it vanished.
    ASSERT_EQ(trail.warps.size(), 1u);
    EXPECT_EQ(trail.warps.front(), restingPlace);

    // A button of the panel keeps them in sight: the countdown starts again from there.
    QTest::qWait(2500);
    clickButton(panelButton("SbPlay"));
    QTest::qWait(2000);
    EXPECT_TRUE(mode().commandPanel()->isVisible());
}

TEST_F(FullScreenFixture, EscapeInAnyOfTheWindowsLeavesAndF4DoesNothing) {
    const auto windows = [this]() -> std::vector<std::pair<const char*, QWidget*>> {
        return {{"full screen", mode().fullScreenWindow()},
                {"panel", mode().commandPanel()},
                {"code window", mode().codeWindow()->grid()},
                {"player detail", mode().playerDetail()}};
    };
    for (std::size_t n = 0; n < 4; ++n) {
        enter();
        const auto [what, window] = windows()[n];
        ASSERT_TRUE(window) << what;  // the first code has a player: the strip is there
        QTest::keyClick(window, Qt::Key_F4);
        QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
        EXPECT_FALSE(leftWithin(std::chrono::milliseconds(800))) << what;
        EXPECT_TRUE(mode().fullScreenWindow()->isVisible()) << what;
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_TRUE(leftWithin(std::chrono::seconds(2))) << what;
        EXPECT_TRUE(run->window->isEnabled()) << what;
        EXPECT_EQ(mode().playerDetail(), nullptr) << what;
    }
}

TEST_F(FullScreenFixture, NextOnThePanelPlaysTheNextCodeAndTheCodeWindowFollows) {
    enter();
    TFDetCodFS* codes = mode().codeWindow();
    ASSERT_EQ(codes->grid()->rowCount(), 8);
    EXPECT_EQ(codes->grid()->cellText(0, 0), QStringLiteral("*07SM+"));
    EXPECT_EQ(codes->selectedRow(), 0);
    EXPECT_FALSE(panelButton("ButPrev")->isEnabled());

    clickButton(panelButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(codes->selectedRow(), 1);
    EXPECT_EQ(run->shownStamp()->second, 10);
    EXPECT_TRUE(panelButton("ButPrev")->isEnabled());

    // A click in the code window plays that code.
    testing::clickRow(codes->grid(), 4);
    EXPECT_EQ(run->shownStamp()->second, 38);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));

    // On the last code Next gives way.
    for (int step = 0; step < 10 && panelButton("ButNext")->isEnabled(); ++step) clickButton(panelButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 8);
    EXPECT_EQ(codes->selectedRow(), 7);
    EXPECT_EQ(run->shownStamp()->second, 46);
}

TEST_F(FullScreenFixture, TheLookAheadPictureTakesTheFullScreenAtNext) {
    enter();  // replays the first code: the standby prepares the second (12 s, from 10)
    ASSERT_TRUE(waitFor([&] { return run->window->players().ready(); }, std::chrono::seconds(10)));
    const TPlayer* before = &run->player();

    clickButton(panelButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 2);
    ASSERT_NE(&run->player(), before);
    TFFullScreen* screen = mode().fullScreenWindow();
    EXPECT_EQ(run->player().WinHandle(), screen->picturePanel());
    EXPECT_EQ(before->WinHandle(), before);
    const QImage shown = screen->grab(screen->picturePanel()->geometry()).toImage();
    ASSERT_TRUE(testing::stampOf(shown).has_value());
    EXPECT_EQ(testing::stampOf(shown)->second, 10);
}

TEST_F(FullScreenFixture, ThePlayerStripNamesThePlayerOfTheCodeAndGoesForACodeWithoutOne) {
    EXPECT_EQ(mode().playerDetail(), nullptr) << "only in full screen";
    enter();
    TFDetGio* detail = mode().playerDetail();
    ASSERT_TRUE(detail);
    EXPECT_TRUE(detail->isVisible());
    EXPECT_EQ(detail->playerText(), QStringLiteral("7 - Rossi"));
    const QRect screen(QPoint(0, 0), QSize(1280, 720));
    const QRect picture = mode().fullScreenWindow()->picturePanel()->geometry();
    EXPECT_EQ(detail->geometry().bottom(), screen.bottom() - 10);
    EXPECT_EQ(detail->geometry().right(), picture.right());
    EXPECT_EQ(detail->size(), QSize(387, 40));

    clickButton(panelButton("ButNext"));
    ASSERT_TRUE(mode().playerDetail());
    EXPECT_EQ(mode().playerDetail()->playerText(), QStringLiteral("12 - Verdi"));

    // The point row names no player: the strip goes.
    testing::clickRow(mode().codeWindow()->grid(), 3);
    EXPECT_EQ(mode().playerDetail(), nullptr);
    clickButton(panelButton("ButPrev"));  // the code list was on row 2: back to number 7
    ASSERT_TRUE(mode().playerDetail());
    EXPECT_EQ(mode().playerDetail()->playerText(), QStringLiteral("7 - Rossi"));
}

TEST_F(FullScreenFixture, ClosingTheProgramInFullScreenLeavesNoWindowBehind) {
    enter();
    QPointer<QWidget> windows[] = {mode().fullScreenWindow(), mode().commandPanel(), mode().codeWindow(),
                                   mode().playerDetail()};
    for (const auto& window : windows) ASSERT_TRUE(window);
    run->window->close();
    for (const auto& window : windows) EXPECT_TRUE(window.isNull());
    EXPECT_EQ(run->player().WinHandle(), &run->player());
    run->window.reset();
    QApplication::processEvents();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->objectName().startsWith(QStringLiteral("F"))) << window->objectName().toStdString();
}

// The wide test film is 720x576 with square pixels (5:4): narrower than the screen, it takes the
// screen's whole height and stands in the middle.
TEST(FullScreenFilm, AFilmNarrowerThanTheScreenStandsCentredAtFullHeight) {
    Disc disc{{testing::wide()}};
    disc.withCodes(kRallies);
    MainWindowRun run(disc, QSize(1280, 720));
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    const TFFullScreen* screen = run.window->fullScreenMode().fullScreenWindow();
    EXPECT_EQ(screen->geometry(), QRect(run.window->screenGeometry().topLeft(), QSize(1280, 720)));
    EXPECT_EQ(screen->picturePanel()->geometry(), QRect(190, 0, 900, 720));
    EXPECT_EQ(run.player().VideoWidth(), 900);
    EXPECT_EQ(run.player().VideoHeight(), 720);
    // The code window stands inside the picture's right edge, the panel inside its left one.
    const QRect panel = run.window->fullScreenMode().commandPanel()->geometry();
    EXPECT_EQ(panel.left(), 200);
    EXPECT_EQ(panel.bottom(), 719 - 10);
    EXPECT_EQ(panel.width(), 286 - 28) << "a match has no analysis button";
    EXPECT_FALSE(run.window->fullScreenMode().commandPanel()->findChild<QToolButton*>("SpeedButton1")->isVisible());
    EXPECT_EQ(run.window->fullScreenMode().codeWindow()->geometry().right(), 190 + 900 - 1 - 10);
}

TEST(FullScreenSynthesis, ASynthesisHasTheAnalysisButtonOnAWiderPanel) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(testing::demoDisc(), QSize(1280, 720), 1, PackageChoice{"Falchi_Stagione_2026", true});
    ASSERT_TRUE(run.state().SynthesisMode);
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    TFPanCmdFsc* panel = run.window->fullScreenMode().commandPanel();
    EXPECT_EQ(panel->size(), QSize(286, 27));
    EXPECT_TRUE(panel->findChild<QToolButton*>("SpeedButton1")->isVisible());
}

}  // namespace
}  // namespace corvane
