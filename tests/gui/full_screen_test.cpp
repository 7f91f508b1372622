#include "app/full_screen_mode_qt.h"
#include "app/tfdetcodfs.h"
#include "app/tffullscreen.h"
#include "app/tfpancmdfsc.h"
#include "codes/check_combo_box_qt.h"
#include "codes/tfcodici.h"
#include "codes/tfselanalisi.h"
#include "match/tfdetgio.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "gui/coach_clicks.h"
#include "app/player/player_pair.h"
#include "gui/main_window_run.h"
#include "gui/screenshots.h"
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
Disc& withPlayers(Disc& disc, const std::string& codes = kRallies) {
    disc.withCodes(codes);
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
    EXPECT_EQ(list->currentListRow(), 4);
    clickButton(panelButton("ButPrev"));  // from the point row back to number 12's attack
    ASSERT_TRUE(mode().playerDetail());
    EXPECT_EQ(mode().playerDetail()->playerText(), QStringLiteral("12 - Verdi"));
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

// The second the full-screen picture shows, read from the picture itself.
std::optional<int> fullScreenSecond(const FullScreenMode& mode) {
    TFFullScreen* screen = mode.fullScreenWindow();
    const auto stamp = testing::stampOf(screen->grab(screen->picturePanel()->geometry()).toImage());
    return stamp ? std::optional<int>(stamp->second) : std::nullopt;
}

bool showsFilm(const TPlayer& player, const char* name) {
    return player.FileName().find(name) != std::string::npos;
}

// Number 7's actions over two films: the search lists two in film 1 and three in film 2.
const std::string kSevenInTwoFilms = kRallies +
                                     "*07SM+;;;;;;;20.02.00;3;;;2;30\r\n"
                                     "ap01:02;;;;;;;20.02.01;3;;;2;33\r\n"
                                     "*07AH#;;;;;;;20.03.00;3;;;2;60\r\n"
                                     "*p02:02;;;;;;;20.03.01;3;;;2;64\r\n"
                                     "*07SM+;;;;;;;20.04.00;3;;;2;80\r\n"
                                     "ap02:03;;;;;;;20.04.01;3;;;2;84\r\n";

TEST(FullScreenCodeWindow, AClickSelectsTheListRowSoItsActionPlaysToItsEndAndTheListGoesOnFromIt) {
    Disc disc{{narrow(), narrow()}};
    disc.withCodes(kSevenInTwoFilms);
    MainWindowRun run(disc, QSize(1280, 720));
    TFCodici* list = run.window->codeList();
    run.typeSearch("*07");
    ASSERT_EQ(list->listRowCount(), 5);
    // The list on film 1's reception at 42, whose rally ends at 48; the next found code is in film 2.
    testing::clickListRow(run, 2);
    ASSERT_EQ(run.shownStamp()->second, 40);
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    TextGrid* codes = mode.codeWindow()->grid();
    ASSERT_EQ(codes->rowCount(), 5);

    // Film 2's attack at 60: played from 58 to its rally's end at 64.
    testing::clickRow(codes, 3);
    ASSERT_EQ(run.shownStamp()->second, 58);
    ASSERT_TRUE(showsFilm(run.player(), "Film02"));
    EXPECT_EQ(list->currentListRow(), 4);
    EXPECT_EQ(mode.codeWindow()->selectedRow(), 3);
    QTest::qWait(2500);  // two checks of the position timer
    EXPECT_TRUE(showsFilm(run.player(), "Film02")) << "back to film 1";
    EXPECT_EQ(list->currentListRow(), 4);
    const auto shown = fullScreenSecond(mode);
    ASSERT_TRUE(shown);
    EXPECT_GE(*shown, 59) << "the attack was left";
    EXPECT_LE(*shown, 62);

    // At its end the list goes on to the next found code, the serve at 80, from 78.
    int lastSecondOfTheAttack = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            if (list->currentListRow() != 4) return true;
            lastSecondOfTheAttack = static_cast<int>(run.player().Position());
            return false;
        },
        std::chrono::seconds(12)));
    EXPECT_GE(lastSecondOfTheAttack, 63);
    EXPECT_EQ(list->currentListRow(), 5);
    EXPECT_EQ(mode.codeWindow()->selectedRow(), 4);
    EXPECT_EQ(run.shownStamp()->second, 78);
    EXPECT_TRUE(showsFilm(run.player(), "Film02"));

    // Leaving full screen, the list stands on the row clicked last: Next and Previous go on from it.
    testing::clickRow(codes, 0);
    ASSERT_EQ(run.shownStamp()->second, 0);
    EXPECT_TRUE(showsFilm(run.player(), "Film01"));
    QTest::keyClick(codes, Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !run.window->fullScreen(); }, std::chrono::seconds(2)));
    EXPECT_EQ(list->currentListRow(), 1);
    EXPECT_FALSE(list->findChild<QToolButton*>("ButPrev")->isEnabled());
}

// Film 1 has no sound, film 2 has: film 2 is opened while the main window is disabled.
TEST(FullScreenSound, AFilmWithSoundOpenedInFullScreenKeepsItsSoundButton) {
    Disc disc{{narrow(), testing::wide()}};
    disc.withCodes(kSevenInTwoFilms);
    MainWindowRun run(disc, QSize(1280, 720));
    auto* BtnAudio = run.control<QToolButton>("BtnAudio");
    ASSERT_FALSE(BtnAudio->isVisible()) << "film 1 has no sound";
    run.typeSearch("*07");
    ASSERT_EQ(run.window->codeList()->listRowCount(), 5);
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    testing::clickRow(mode.codeWindow()->grid(), 2);  // film 2's serve at 30
    ASSERT_EQ(run.shownStamp()->second, 28);
    ASSERT_TRUE(showsFilm(run.player(), "Film02"));
    QTest::keyClick(mode.codeWindow()->grid(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !run.window->fullScreen(); }, std::chrono::seconds(2)));
    EXPECT_TRUE(BtnAudio->isVisible());
    EXPECT_TRUE(BtnAudio->isEnabled());
    EXPECT_TRUE(run.control("Bevel8")->isVisible());
    // The coach can mute it.
    ASSERT_TRUE(run.player().Audio());
    clickButton(BtnAudio);
    EXPECT_FALSE(run.player().Audio());
}

TEST_F(FullScreenFixture, AClosingRequestToTheFullScreenWindowLeavesFullScreen) {
    enter();
    TFFullScreen* screen = mode().fullScreenWindow();
    EXPECT_FALSE(screen->close()) << "the window stays until the mode is off";
    EXPECT_TRUE(screen->isVisible());
    ASSERT_TRUE(leftWithin(std::chrono::seconds(2)));
    EXPECT_TRUE(run->window->isEnabled());
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(mode().commandPanel(), nullptr);
    EXPECT_EQ(mode().codeWindow(), nullptr);
    EXPECT_EQ(run->player().WinHandle(), &run->player());
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    // And again: the window comes back on the next entry.
    enter();
    EXPECT_TRUE(mode().fullScreenWindow()->isVisible());
    QTest::keyClick(mode().fullScreenWindow(), Qt::Key_Escape);
    EXPECT_TRUE(leftWithin(std::chrono::seconds(2)));
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

// The set box's small boxes of the sets other than `keep`, unticked as the coach does: the list
// opened with a click on the box's text, each item's tick box clicked, the list closed with Escape.
void keepOnlySet(MainWindowRun& run, const QString& keep) {
    auto* sets = run.window->codeList()->findChild<TCheckComboBoxQT*>("CbSet");
    ASSERT_TRUE(sets && sets->isVisible());
    auto* edit = sets->findChild<QLineEdit*>();
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_TRUE(sets->droppedDown());
    auto* items = sets->findChild<QListWidget*>();
    for (int i = 1; i < items->count(); ++i) {  // item 0 is "all"
        if (sets->checked(i) == (items->item(i)->text() == keep)) continue;
        QStyleOptionViewItem option;
        option.initFrom(items);
        option.rect = items->visualItemRect(items->item(i));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = items->item(i)->text();
        const QRect box = items->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, items);
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, box.center());
    }
    QTest::keyClick(items, Qt::Key_Escape);
    ASSERT_EQ(sets->text(), keep);
}

// The analysis chooser of the full-screen panel, the analysis named clicked and OK pressed.
void chooseAnalysisInFullScreen(MainWindowRun& run, const QString& name) {
    bool chosen = false;
    QTimer::singleShot(200, [&] {
        auto* chooser = qobject_cast<TFSelAnalisi*>(QApplication::activeModalWidget());
        ASSERT_TRUE(chooser);
        auto* grid = chooser->findChild<TextGrid*>("Grd");
        for (int row = 0; row < grid->rowCount(); ++row)
            if (grid->cellText(0, row) == name) testing::clickRow(grid, row);
        clickButton(chooser->findChild<QPushButton*>("ButOk"));
        chosen = true;
    });
    clickButton(run.window->fullScreenMode().commandPanel()->findChild<QToolButton*>("SpeedButton1"));
    ASSERT_TRUE(chosen);
}

TEST(FullScreenSynthesis, AnAnalysisThatTheSetFilterEmptiesTakesThePlayerStripAway) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(testing::demoDisc(), QSize(1280, 720), 1, PackageChoice{"Falchi_Stagione_2026", true});
    keepOnlySet(run, QStringLiteral("3"));
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    TFCodici* list = run.window->codeList();

    chooseAnalysisInFullScreen(run, QStringLiteral("Ace"));  // one ace in set 3
    ASSERT_EQ(list->listRowCount(), 1);
    ASSERT_TRUE(mode.playerDetail());
    EXPECT_FALSE(mode.playerDetail()->playerText().isEmpty());

    chooseAnalysisInFullScreen(run, QStringLiteral("Attacchi vincenti"));  // none in set 3
    ASSERT_EQ(list->listRowCount(), 0);
    EXPECT_EQ(mode.codeWindow()->grid()->cellText(0, 0), QString());
    EXPECT_EQ(mode.playerDetail(), nullptr) << "the strip named the ace's server";
}

// ---------------------------------------------------------------- the speed in full screen

// The speed readout over the full-screen picture: its text while shown, nothing while hidden.
QString fullScreenReadout(const FullScreenMode& mode) {
    const auto* label = mode.fullScreenWindow()->findChild<QLabel*>("rateReadout");
    return label && label->isVisible() ? label->text() : QString();
}

QString mainReadout(const MainWindowRun& run) {
    const auto* label = run.control<QLabel>("rateReadout");
    return label->isVisible() ? label->text() : QString();
}

// Pixels of the readout's amber text in a grab of the window.
int readoutPixels(const QImage& shot, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() > 160 && pixel.green() < 240 && pixel.blue() < 120) ++count;
        }
    return count;
}

TEST_F(FullScreenFixture, TheSpeedKeysActInEachFullScreenWindowAndTheSpeedStandsOverThePicture) {
    enter();
    EXPECT_EQ(fullScreenReadout(mode()), QString()) << "nothing at normal speed";
    const QImage atNormalSpeed = mode().fullScreenWindow()->grab().toImage();
    const struct {
        const char* where;
        std::function<QWidget*()> window;
        Qt::Key key;
        double rate;
        const char* readout;
    } presses[] = {
        {"film", [this] { return static_cast<QWidget*>(mode().fullScreenWindow()); }, Qt::Key_BracketLeft, 0.75, "0.75\u00d7"},
        {"panel", [this] { return static_cast<QWidget*>(mode().commandPanel()); }, Qt::Key_BracketLeft, 0.5, "0.5\u00d7"},
        {"code window", [this] { return static_cast<QWidget*>(mode().codeWindow()->grid()); }, Qt::Key_BracketRight, 0.75, "0.75\u00d7"},
        {"code window", [this] { return static_cast<QWidget*>(mode().codeWindow()->grid()); }, Qt::Key_BracketLeft, 0.5, "0.5\u00d7"},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.where);
        QTest::keyClick(press.window(), press.key);
        EXPECT_DOUBLE_EQ(run->player().Rate(), press.rate);
        EXPECT_EQ(fullScreenReadout(mode()), QString::fromUtf8(press.readout));
        EXPECT_TRUE(run->window->fullScreen());
    }

    // Drawn over the picture, above it, at its top and clear of the code window.
    TFFullScreen* screen = mode().fullScreenWindow();
    const auto* label = screen->findChild<QLabel*>("rateReadout");
    ASSERT_TRUE(label);
    const QRect picture = screen->picturePanel()->geometry();
    EXPECT_TRUE(picture.contains(label->geometry()));
    EXPECT_GT(screen->children().indexOf(const_cast<QLabel*>(label)), screen->children().indexOf(screen->picturePanel()));
    const QRect codeWindow(screen->mapFromGlobal(mode().codeWindow()->pos()), mode().codeWindow()->size());
    EXPECT_FALSE(codeWindow.intersects(label->geometry()));
    // Its amber text is in the window's picture, where the film at normal speed had none of it.
    const int drawn = readoutPixels(screen->grab().toImage(), label->geometry());
    EXPECT_GT(drawn, readoutPixels(atNormalSpeed, label->geometry()) + 20);

    // The film plays at that speed: the second the picture shows moves half as fast as the clock.
    testing::clickRow(mode().codeWindow()->grid(), 4);  // second 40, from 38
    ASSERT_EQ(run->shownStamp()->second, 38);
    ASSERT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    const auto from = fullScreenSecond(mode());
    QTest::qWait(4000);
    const auto to = fullScreenSecond(mode());
    ASSERT_TRUE(from && to);
    EXPECT_GE(*to - *from, 1);
    EXPECT_LE(*to - *from, 3) << "4 seconds at half speed";
    EXPECT_DOUBLE_EQ(run->player().Rate(), 0.5);

    // Back in the main window the speed goes on, shown there.
    QTest::keyClick(screen, Qt::Key_Escape);
    ASSERT_TRUE(leftWithin(std::chrono::seconds(2)));
    EXPECT_EQ(mainReadout(*run), QStringLiteral("0.5\u00d7"));
}

using testing::screenshot;

// The volleyball match of the demo disc on the whole screen, whatever its size: the readout at
// half speed stands over the picture, clear of the panel, the code window and the player strip.
TEST(FullScreenOnTheDemoDisc, AtHalfSpeedTheReadoutStandsClearOfTheFloatingWindows) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const QSize screenSize = QGuiApplication::primaryScreen()->size();
    MainWindowRun run(testing::demoDisc(), screenSize, 1, PackageChoice{"2026-11-28_Volley_Falchi-Delfini", false});
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    TFFullScreen* screen = mode.fullScreenWindow();
    QTest::keyClick(screen, Qt::Key_BracketLeft);
    QTest::keyClick(screen, Qt::Key_BracketLeft);
    ASSERT_EQ(fullScreenReadout(mode), QStringLiteral("0.5\u00d7"));
    const auto* label = screen->findChild<QLabel*>("rateReadout");
    ASSERT_TRUE(label);
    const QRect readout(screen->mapToGlobal(label->pos()), label->size());
    EXPECT_TRUE(QRect(screen->mapToGlobal(screen->picturePanel()->pos()), screen->picturePanel()->size()).contains(readout));
    for (const QWidget* floating : {static_cast<const QWidget*>(mode.commandPanel()),
                                    static_cast<const QWidget*>(mode.codeWindow()),
                                    static_cast<const QWidget*>(mode.playerDetail())})
        if (floating) EXPECT_FALSE(floating->frameGeometry().intersects(readout)) << floating->objectName().toStdString();
    EXPECT_GT(readoutPixels(screen->grab().toImage(), label->geometry()), 20);
    screenshot(("fullscreen-half-speed-" + std::to_string(screenSize.width()) + "x" +
                std::to_string(screenSize.height())).c_str());
}

// Slow motion shows a frame every 80 ms: a 25-frame film plays at half speed, whatever speed was
// chosen for ordinary playing.
TEST_F(FullScreenFixture, TheReadoutShowsTheSpeedSlowMotionReallyPlaysAt) {
    run->window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run->window.get()));
    QTest::keyClick(run->window.get(), Qt::Key_BracketLeft);
    ASSERT_EQ(mainReadout(*run), QStringLiteral("0.75\u00d7"));
    clickButton(mainButton("SbRallenty"));
    ASSERT_TRUE(run->window->slowMotionRunning());
    EXPECT_EQ(mainReadout(*run), QStringLiteral("0.5\u00d7"));
    EXPECT_TRUE(playsSlowly());

    enter();  // slow motion goes on in full screen, and the readout there says so
    EXPECT_EQ(fullScreenReadout(mode()), QStringLiteral("0.5\u00d7"));
    clickButton(panelButton("SbRallenty"));
    ASSERT_FALSE(run->window->slowMotionRunning());
    EXPECT_EQ(fullScreenReadout(mode()), QStringLiteral("0.75\u00d7"));
    QTest::keyClick(mode().fullScreenWindow(), Qt::Key_BracketRight);
    EXPECT_EQ(fullScreenReadout(mode()), QString()) << "normal speed";

    // At normal speed slow motion still plays at half speed: the readout appears.
    clickButton(panelButton("SbRallenty"));
    ASSERT_TRUE(run->window->slowMotionRunning());
    EXPECT_EQ(fullScreenReadout(mode()), QStringLiteral("0.5\u00d7"));
    clickButton(panelButton("SbPlay"));  // a pause ends the stepping
    EXPECT_FALSE(run->window->slowMotionRunning());
    EXPECT_EQ(fullScreenReadout(mode()), QString());
}

// The wide film has sound. Slow motion mutes it and leaving slow motion gives it back, in full
// screen too, where the main window and its sound button are disabled.
TEST(FullScreenSound, SlowMotionInFullScreenMutesTheFilmAndGivesItsSoundBack) {
    Disc disc{{testing::wide()}};
    disc.withCodes(kRallies);
    MainWindowRun run(disc, QSize(1280, 720));
    ASSERT_TRUE(run.player().Audio());
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    auto* slowMotion = mode.commandPanel()->findChild<QToolButton*>("SbRallenty");
    clickButton(slowMotion);
    ASSERT_TRUE(run.window->slowMotionRunning());
    EXPECT_FALSE(run.player().Audio()) << "slow motion is silent";
    clickButton(slowMotion);
    ASSERT_FALSE(run.window->slowMotionRunning());
    EXPECT_TRUE(run.player().Audio());

    // Slow motion begun in the main window and left in full screen: the sound comes back.
    QTest::keyClick(mode.fullScreenWindow(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !run.window->fullScreen(); }, std::chrono::seconds(2)));
    clickButton(run.control<QToolButton>("SbRallenty"));
    ASSERT_FALSE(run.player().Audio());
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->slowMotionRunning());
    clickButton(mode.commandPanel()->findChild<QToolButton*>("SbRallenty"));
    ASSERT_FALSE(run.window->slowMotionRunning());
    EXPECT_TRUE(run.player().Audio());
}

// ---------------------------------------------------------------- another film in full screen

// Film 1 is the narrow 11:9 film, film 2 a 16:9 one that fills the 1280x720 screen edge to edge.
TEST(FullScreenFilmChange, TheFloatingWindowsTakeTheNewPicturesEdgesAndTheFilmComesToTheFront) {
    Disc disc{{narrow(), testing::filmPath(testing::h264Film())}};
    withPlayers(disc, "*07SM+;;;;;;;20.00.00;1;;;1;1\r\n"
                      "a12RM#;;;;;;;20.00.01;1;;;1;12\r\n"
                      "a12AH#;;;;;;;20.00.02;1;;;1;14\r\n"
                      "ap00:01;;;;;;;20.00.03;1;;;1;16\r\n"
                      "*07SM+;;;;;;;20.02.00;2;;;2;20\r\n"
                      "ap01:02;;;;;;;20.02.01;2;;;2;24\r\n");
    MainWindowRun run(disc, QSize(1280, 720));
    TFCodici* list = run.window->codeList();
    ASSERT_EQ(list->listRowCount(), 6);
    clickButton(run.control<QToolButton>("ButFull"));
    ASSERT_TRUE(run.window->fullScreen());
    FullScreenMode& mode = run.window->fullScreenMode();
    TFFullScreen* screen = mode.fullScreenWindow();
    const QRect narrowPicture = screen->picturePanel()->geometry();
    ASSERT_GT(narrowPicture.left(), 50) << "the narrow film leaves bands at the sides";
    ASSERT_EQ(mode.commandPanel()->x(), narrowPicture.left() + 10);

    // The coach's click has put the code window in front; film 2's serve is played from 18.
    mode.codeWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mode.codeWindow()));
    testing::clickRow(mode.codeWindow()->grid(), 4);
    ASSERT_EQ(run.shownStamp()->second, 18);
    ASSERT_EQ(run.state().package.currentFilm, 2);
    const QRect widePicture = screen->picturePanel()->geometry();
    EXPECT_EQ(widePicture, QRect(0, 0, 1280, 720));
    EXPECT_EQ(mode.commandPanel()->x(), widePicture.left() + 10);
    EXPECT_EQ(mode.codeWindow()->geometry().right(), widePicture.right() - 10);
    ASSERT_TRUE(mode.playerDetail());
    EXPECT_EQ(mode.playerDetail()->geometry().right(), widePicture.right());
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == screen; }));

    // Minimised meanwhile, it comes back with the next film: the panel's previous code is film 1's.
    screen->showMinimized();
    ASSERT_TRUE(screen->isMinimized());
    clickButton(mode.commandPanel()->findChild<QToolButton*>("ButPrev"));
    ASSERT_EQ(run.shownStamp()->second, 14);
    ASSERT_EQ(run.state().package.currentFilm, 1);
    EXPECT_FALSE(screen->isMinimized());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->picturePanel()->geometry(), narrowPicture);
    EXPECT_EQ(mode.commandPanel()->x(), narrowPicture.left() + 10);
    EXPECT_EQ(mode.codeWindow()->geometry().right(), narrowPicture.right() - 10);
}

// The panel's previous and next code are not the main window's previous and next film.
TEST_F(FullScreenFixture, ThePanelsCodeButtonsHavePicturesOfTheirOwn) {
    enter();
    const auto picture = [](const QToolButton* button) { return button->icon().pixmap(24).toImage(); };
    std::vector<std::pair<std::string, QImage>> others;
    for (const char* name : {"ButPrev", "ButNext"}) others.emplace_back(std::string("main ") + name, picture(mainButton(name)));
    for (const QToolButton* button : mode().commandPanel()->findChildren<QToolButton*>())
        if (button->objectName() != "ButPrev" && button->objectName() != "ButNext")
            others.emplace_back(button->objectName().toStdString(), picture(button));
    for (const char* name : {"ButPrev", "ButNext"}) {
        const QImage own = picture(panelButton(name));
        for (const auto& [other, image] : others) EXPECT_NE(own, image) << name << " looks like " << other;
    }
    EXPECT_NE(picture(panelButton("ButPrev")), picture(panelButton("ButNext")));
}

}  // namespace
}  // namespace corvane
