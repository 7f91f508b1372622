// The playing speeds as the coach uses them: "[" and "]" step through the rates, the readout says
// which one is on, the film plays at it, and a code or Next still lands on its exact second.

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/player/player_pair.h"
#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "codes/tfcodici.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "gui/player_test_support.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::clickButton;
using testing::Disc;
using testing::MainWindowRun;
using testing::waitFor;

struct PlaybackRate : ::testing::Test {
    Disc disc{{testing::narrow(), testing::narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;

    void SetUp() override {
        disc.withCodes(testing::kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        list = run->window->codeList();
        ASSERT_TRUE(list);
        run->window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->window.get()));
    }
    void press(Qt::Key key, int times = 1) const {
        for (int n = 0; n < times; ++n) QTest::keyClick(run->window.get(), key);
    }
    // The speed shown over the video; nothing while the film plays at normal speed.
    QString readout() const {
        const auto* label = run->control<QLabel>("rateReadout");
        return label->isVisible() ? label->text() : QString();
    }
    void clickListRow(int listRow) const { testing::clickListRow(*run, listRow); }
    // Film seconds played over a second of the clock on the wall, the film playing throughout.
    double filmSecondsPerSecond() const {
        EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
        QTest::qWait(300);  // past the start of playing
        const double from = run->player().Position();
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(1500);
        return (run->player().Position() - from) / (static_cast<double>(wall.elapsed()) / 1000.0);
    }
};

TEST_F(PlaybackRate, AtHalfSpeedTheFilmPlaysSlowerAndACodeAndNextLandOnTheirSeconds) {
    EXPECT_EQ(readout(), QString());
    press(Qt::Key_BracketLeft);
    EXPECT_EQ(readout(), QStringLiteral("0.75\u00d7"));
    press(Qt::Key_BracketLeft);
    EXPECT_EQ(readout(), QStringLiteral("0.5\u00d7"));
    EXPECT_DOUBLE_EQ(run->player().Rate(), 0.5);

    clickListRow(2);  // second 12 less the pre-roll
    EXPECT_EQ(run->shownStamp()->second, 10);
    const double speed = filmSecondsPerSecond();
    EXPECT_GT(speed, 0.25);
    EXPECT_LT(speed, 0.75);

    // Next from the player standing by plays on at the same speed.
    ASSERT_TRUE(waitFor([&] { return run->window->players().ready(); }, std::chrono::seconds(10)));
    const TPlayer* before = &run->player();
    clickButton(list->findChild<QToolButton*>("ButNext"));
    EXPECT_NE(&run->player(), before);
    EXPECT_EQ(testing::stampOf(run->player().currentFrame())->second, 12);
    EXPECT_DOUBLE_EQ(run->player().Rate(), 0.5);
    EXPECT_LT(filmSecondsPerSecond(), 0.75);

    // Held at the slowest rate.
    press(Qt::Key_BracketLeft, 3);
    EXPECT_EQ(readout(), QStringLiteral("0.25\u00d7"));
    EXPECT_DOUBLE_EQ(run->player().Rate(), 0.25);
}

TEST_F(PlaybackRate, AtDoubleSpeedTheJumpsStillWorkAndAnotherFilmKeepsTheSpeed) {
    press(Qt::Key_BracketRight, 5);  // 1.25, 1.5, 2, and held at 2
    EXPECT_EQ(readout(), QStringLiteral("2\u00d7"));
    clickButton(run->control<QToolButton>("SbPlay"));
    EXPECT_GT(filmSecondsPerSecond(), 1.4);

    // The chosen speed is ordinary playing, not the fast mode that refuses the moving commands.
    clickButton(run->control<QToolButton>("SbPlay"));
    ASSERT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Ready; }));
    run->seekTo(40);
    press(Qt::Key_Plus);
    EXPECT_EQ(run->shownStamp()->second, 42);

    clickButton(run->control<QToolButton>("ButNext"));  // the package's second film
    ASSERT_EQ(run->state().package.currentFilm, 2);
    EXPECT_DOUBLE_EQ(run->player().Rate(), 2.0);
    EXPECT_EQ(readout(), QStringLiteral("2\u00d7"));
    press(Qt::Key_BracketLeft, 2);
    EXPECT_DOUBLE_EQ(run->player().Rate(), 1.25);
    press(Qt::Key_BracketLeft);
    EXPECT_DOUBLE_EQ(run->player().Rate(), 1.0);
    EXPECT_EQ(readout(), QString());
}

}  // namespace
}  // namespace corvane
