// The look-ahead as the coach meets it: Next and the list moving on by itself show the next
// action's first picture at once, from the second player standing by, and everything that makes
// the prepared picture the wrong one falls back to the ordinary seek.

#include <QEvent>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/player/player_pair.h"
#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
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

// The second the picture shows at the first paint of the player's window after it is made.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(TPlayer& player) : player_(player) { player.installEventFilter(this); }
    ~FirstPaint() override { player_.removeEventFilter(this); }
    std::optional<int> second;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !second) {
            const auto stamp = testing::stampOf(player_.currentFrame());
            second = stamp ? stamp->second : -1;
        }
        return false;
    }

private:
    TPlayer& player_;
};

struct LookAhead : ::testing::Test {
    Disc disc{{testing::narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;

    void SetUp() override {
        disc.withCodes(testing::kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        list = run->window->codeList();
        ASSERT_TRUE(list);
    }
    const PlayerPair& players() const { return run->window->players(); }
    QToolButton* listButton(const char* name) const { return list->findChild<QToolButton*>(QString::fromLatin1(name)); }
    QToolButton* button(const char* name) const {
        return run->window->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    void clickListRow(int listRow) const { testing::clickListRow(*run, listRow); }
    void typeSearch(const char* keys) const { run->typeSearch(keys); }
    // The second the video area shows now, without waiting for anything.
    int secondOnScreenNow() const {
        const auto stamp = testing::stampOf(run->player().currentFrame());
        return stamp ? stamp->second : -1;
    }
    bool waitForStandby() const { return waitFor([&] { return players().ready(); }, std::chrono::seconds(10)); }
};

TEST_F(LookAhead, NextShowsTheNextPreRollAtOnceFromThePlayerStandingBy) {
    clickListRow(2);  // second 12, pre-roll 2
    ASSERT_TRUE(waitForStandby());
    EXPECT_EQ(players().prepared()->second, 12.0);  // row 3: second 14 less the pre-roll
    const TPlayer* before = &run->player();
    const bool soundBefore = before->Audio();
    const FirstPaint firstPaint(*players().standby());

    clickButton(listButton("ButNext"));
    // On the screen before the film plays on, and not a frame later.
    EXPECT_EQ(firstPaint.second, 12);
    EXPECT_EQ(list->currentListRow(), 3);
    EXPECT_NE(&run->player(), before);
    EXPECT_FALSE(run->player().seeking()) << "Next waited for a seek";
    EXPECT_EQ(secondOnScreenNow(), 12);
    EXPECT_TRUE(run->player().isVisible());
    EXPECT_FALSE(before->isVisible());
    EXPECT_EQ(run->player().Audio(), soundBefore);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    EXPECT_NE(before->State(), TPlayer::Playing);

    // The player left behind now stands by on the row after.
    ASSERT_TRUE(waitForStandby());
    EXPECT_EQ(players().standby(), before);
    EXPECT_EQ(players().prepared()->second, 14.0);  // row 4: the point at 16
    clickButton(listButton("ButNext"));
    EXPECT_EQ(&run->player(), before);
    EXPECT_EQ(secondOnScreenNow(), 14);

    // Switched off, the standby lets go of the film: nothing keeps the disc busy.
    run->window->setLookAhead(false);
    EXPECT_TRUE(waitFor([&] { return players().standby()->State() == TPlayer::NoFilm; }));
    EXPECT_EQ(run->player().State(), TPlayer::Playing);
}

TEST_F(LookAhead, AListChangedAfterThePreparationFallsBackToTheSeek) {
    clickListRow(5);  // second 40: the standby prepares row 6 (42, from 40)
    ASSERT_TRUE(waitForStandby());
    typeSearch("   a");  // the two attacks: 14 and 45
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_FALSE(players().ready()) << "a picture prepared for the old list survived its change";
    EXPECT_EQ(run->shownStamp()->second, 12);
    clickButton(listButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(run->shownStamp()->second, 43);
}

TEST_F(LookAhead, SlowMotionSurvivesNextFromThePlayerStandingBy) {
    clickListRow(2);
    clickButton(button("SbRallenty"));
    ASSERT_TRUE(waitFor([&] { return run->window->slowMotionRunning(); }));
    ASSERT_TRUE(waitForStandby());
    clickButton(button("SbPlay"));  // paused: the slow-motion button stays down
    const TPlayer* before = &run->player();

    clickButton(listButton("ButNext"));
    EXPECT_NE(&run->player(), before);
    EXPECT_EQ(secondOnScreenNow(), 12);
    EXPECT_TRUE(run->window->slowMotionRunning());
    const double from = run->player().Position();
    QTest::qWait(1000);
    EXPECT_GT(run->player().Position() - from, 0.0);
    EXPECT_LT(run->player().Position() - from, 0.7);
}

TEST_F(LookAhead, AFilteredListMovesOnToThePreparedPictureAtTheActionsEnd) {
    typeSearch("   a");  // attacks at 14 (to the point at 16) and 45
    ASSERT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    ASSERT_TRUE(waitForStandby());
    const TPlayer* before = &run->player();
    // Played through to the end of the first action, the list selects the second by itself.
    ASSERT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(10)));
    EXPECT_NE(&run->player(), before);
    EXPECT_EQ(secondOnScreenNow(), 43);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
}

TEST_F(LookAhead, SwitchedOffNextSeeksTheShownPlayer) {
    run->window->setLookAhead(false);
    clickListRow(2);
    QTest::qWait(600);
    EXPECT_FALSE(players().ready());
    const TPlayer* before = &run->player();
    clickButton(listButton("ButNext"));
    EXPECT_EQ(&run->player(), before);
    EXPECT_EQ(run->shownStamp()->second, 12);
}

}  // namespace
}  // namespace corvane
