#include "codes/tfcodici.h"
#include "codes/check_combo_box_qt.h"
#include "codes/tfsubform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::kRallies;
using testing::waitFor;
using testing::clickButton;

// List rows count from 1, grid rows from 0.
void clickListRow(QTableWidget* grid, int listRow) { testing::clickRow(grid, listRow - 1); }

struct CodeListFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;
    TextGrid* grid = nullptr;

    void SetUp() override {
        disc.withCodes(kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        list = run->window->codeList();
        ASSERT_TRUE(list);
        grid = list->findChild<TextGrid*>("SGrid");
        ASSERT_TRUE(grid);
    }
    QToolButton* button(const char* name) const { return run->window->findChild<QToolButton*>(QString::fromLatin1(name)); }
    QToolButton* listButton(const char* name) const { return list->findChild<QToolButton*>(QString::fromLatin1(name)); }
    bool enabled(const char* name) const { return listButton(name)->isEnabled(); }
    double position() const { return run->player().Position(); }
    void typeSearch(const char* keys) const { run->typeSearch(keys); }
};

TEST_F(CodeListFixture, ListsEveryCodeOfThePackage) {
    ASSERT_EQ(list->listRowCount(), 8);
    EXPECT_EQ(list->listRow(2).code.substr(0, 6), "a12RM#");
    EXPECT_EQ(list->listRow(2).time, "0.00.12");
    EXPECT_EQ(list->listRow(7).set, "2");
    EXPECT_EQ(list->currentListRow(), 1);
    EXPECT_FALSE(enabled("ButPrev"));
    EXPECT_TRUE(enabled("ButNext"));
}

TEST_F(CodeListFixture, AClickOnACodePlaysItFromItsPreRollAndAgainAfterTheFilmMovedOn) {
    clickListRow(grid, 5);  // second 40, pre-roll 2
    EXPECT_EQ(run->shownStamp()->second, 38);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    EXPECT_TRUE(enabled("ButPrev"));

    // The film has moved on; the highlighted code clicked again plays its action again.
    run->seekTo(70.4);
    clickListRow(grid, 5);
    EXPECT_EQ(list->currentListRow(), 5);
    EXPECT_EQ(run->shownStamp()->second, 38);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));

    clickListRow(grid, 1);  // second 1: held at 0
    EXPECT_EQ(run->shownStamp()->second, 0);
}

TEST_F(CodeListFixture, NextAndPreviousFollowTheRows) {
    clickButton(listButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(run->shownStamp()->second, 10);
    for (int n = 0; n < 10 && enabled("ButNext"); ++n) clickButton(listButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 8);
    EXPECT_FALSE(enabled("ButNext"));
    clickButton(listButton("ButPrev"));
    EXPECT_EQ(list->currentListRow(), 7);
    EXPECT_EQ(run->shownStamp()->second, 43);
}

TEST_F(CodeListFixture, NextAndPreviousAfterAPausedSlowMotionPlayOnInSlowMotion) {
    clickListRow(grid, 2);
    clickButton(button("SbRallenty"));
    ASSERT_TRUE(waitFor([&] { return run->window->slowMotionRunning(); }));
    clickButton(button("SbPlay"));  // pause: the slow-motion button stays down
    ASSERT_FALSE(run->window->slowMotionRunning());

    for (const char* step : {"ButNext", "ButPrev"}) {
        clickButton(listButton(step));
        EXPECT_EQ(list->currentListRow(), std::string(step) == "ButNext" ? 3 : 2);
        EXPECT_TRUE(run->window->slowMotionRunning()) << step;
        EXPECT_TRUE(button("SbRallenty")->isChecked()) << step;
        // Slowly: a second of real time moves the film far less than a second.
        run->shownStamp();
        const double from = position();
        QTest::qWait(1000);
        EXPECT_LT(position() - from, 0.7) << step;
        EXPECT_GT(position() - from, 0.0) << step;
        clickButton(button("SbPlay"));
    }
}

TEST_F(CodeListFixture, AFollowingListCatchesUpWithTheFilmInOneTick) {
    clickListRow(grid, 1);
    // The film is already past 46 s: one tick of the position timer brings the highlight to the
    // last code at or before it (45 s), not one row further.
    run->seekTo(46.3);
    EXPECT_TRUE(waitFor([&] { return list->currentListRow() != 1; }, std::chrono::seconds(3)));
    EXPECT_EQ(list->currentListRow(), 7);
    EXPECT_GE(position(), 47.0);  // the film plays on: no seek back to the code
    // Next from there is the next code, not one the film has passed.
    clickButton(listButton("ButNext"));
    EXPECT_EQ(list->currentListRow(), 8);
    EXPECT_EQ(run->shownStamp()->second, 46);
}

TEST_F(CodeListFixture, AFilteredListPlaysToTheRallysEndThenTheNextFoundCode) {
    typeSearch("   a");
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_EQ(run->shownStamp()->second, 12);
    // With the timer running, the attack plays to its rally's point row (16 s), then the next
    // attack from its pre-roll.
    EXPECT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(8)));
    EXPECT_EQ(run->shownStamp()->second, 43);

    run->state().playback.StopAtEnd = true;
    clickListRow(grid, 1);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Ready; }, std::chrono::seconds(8)));
    EXPECT_EQ(list->currentListRow(), 1);
    EXPECT_NEAR(position(), 16.0, 1.2);
}

TEST_F(CodeListFixture, AFilmTheUserMovesOutOfTheActionIsNoLongerPulledBack) {
    typeSearch("   a");
    ASSERT_EQ(list->listRowCount(), 2);
    run->shownStamp();

    // Past the end: three jumps forward from 12 s land beyond the rally's end at 16 s.
    for (int n = 0; n < 3; ++n) clickButton(button("SbAvanti"));
    ASSERT_GT(position(), 16.5);
    EXPECT_TRUE(waitFor([&] { return position() >= 20.5; }, std::chrono::seconds(8)));
    EXPECT_EQ(list->currentListRow(), 1);
    EXPECT_LT(position(), 40.0);

    // Picking the code again gives the list the film back: the action runs to its end and on.
    clickListRow(grid, 1);
    EXPECT_EQ(run->shownStamp()->second, 12);
    EXPECT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(8)));
    EXPECT_EQ(run->shownStamp()->second, 43);

    // Before the start: back from the second attack's pre-roll (43 s) to before it.
    clickButton(button("SbIndietro"));
    clickButton(button("SbIndietro"));
    ASSERT_LT(position(), 42.0);
    EXPECT_TRUE(waitFor([&] { return position() >= 48.5; }, std::chrono::seconds(12)));
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_GE(position(), 48.5);  // nothing sought it back to 43
}

TEST_F(CodeListFixture, TheListMovingOnLeavesTheKeyboardInTheSearchEntry) {
    typeSearch("   a");
    SearchCodeGrid* entry = run->window->searchPanel()->searchGrid();
    run->window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run->window.get()));
    QTest::mouseClick(entry, Qt::LeftButton, {}, entry->cellRect(0).center());
    ASSERT_TRUE(entry->hasFocus());
    EXPECT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(8)));
    EXPECT_TRUE(entry->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "*");
    EXPECT_EQ(entry->searchCode().substr(0, 1), "*");
}

TEST_F(CodeListFixture, ClearTextPutsTimeAndSetInTheCodeColumn) {
    clickButton(listButton("ButChiaro"));
    ASSERT_TRUE(list->clearText());
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_TRUE(grid->isColumnHidden(3));
    EXPECT_GE(grid->columnWidth(0), 260);
    EXPECT_EQ(run->control("Panel2")->width(), 1280 - list->listWidth() - 5);
    clickButton(listButton("ButChiaro"));
    EXPECT_FALSE(grid->isColumnHidden(2));
    EXPECT_EQ(grid->columnWidth(0), 173);
}

TEST_F(CodeListFixture, TheSetFilterKeepsTheTickedSets) {
    auto* sets = list->findChild<TCheckComboBoxQT*>("CbSet");
    ASSERT_TRUE(sets);
    sets->toggleItem(2);  // set 2
    EXPECT_EQ(list->SetFilterText(), "2;");
    clickButton(list->findChild<QWidget*>("ButRicerca"));
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_EQ(list->listRow(1).set, "2");
}

// An empty result shows a row that says so; Next is enabled exactly when a next code exists.
TEST_F(CodeListFixture, AnEmptyResultSaysSoAndASingleCodeHasNoNext) {
    typeSearch("   z");  // no such skill
    ASSERT_EQ(list->listRowCount(), 0);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_FALSE(enabled("ButNext"));
    EXPECT_FALSE(enabled("ButPrev"));
    // The row carries the text: white letters on the row's colour.
    const QImage shown = grid->viewport()->grab(grid->visualRect(grid->model()->index(0, 0))).toImage();
    int letterPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) letterPixels += qGray(shown.pixel(x, y)) > 200 ? 1 : 0;
    EXPECT_GT(letterPixels, 20);
    const int second = run->shownStamp()->second;
    clickListRow(grid, 1);  // nothing to play
    EXPECT_EQ(run->shownStamp()->second, second);

    typeSearch("*09a");
    ASSERT_EQ(list->listRowCount(), 1);
    EXPECT_FALSE(enabled("ButNext"));
    EXPECT_EQ(run->shownStamp()->second, 43);
}

TEST(CodeListEmpty, APackageWithoutCodesDisablesNextAndPrevious) {
    Disc disc{{narrow()}};
    disc.withCodes("");
    MainWindowRun run(disc);
    TFCodici* list = run.window->codeList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->listRowCount(), 0);
    EXPECT_FALSE(list->findChild<QToolButton*>("ButNext")->isEnabled());
    EXPECT_FALSE(list->findChild<QToolButton*>("ButPrev")->isEnabled());
}

// A code of a film the disc does not hold: the warning names it, and the open film stays where it was.
TEST(CodeListMissingFilm, ACodeOfAMissingFilmWarnsAndSeeksNothing) {
    Disc disc{{narrow()}};
    disc.withCodes(kRallies + "*07SM+;;;;;;;20.02.00;3;;;2;30\r\n");
    MainWindowRun run(disc);
    TFCodici* list = run.window->codeList();
    auto* grid = list->findChild<TextGrid*>("SGrid");
    clickListRow(grid, 5);
    EXPECT_EQ(run.shownStamp()->second, 38);
    run.boxes.shown.clear();
    grid->scrollToBottom();
    clickListRow(grid, 9);
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    const std::string expected = run.messageText(23);
    EXPECT_NE(run.boxes.shown.front().text.find("Partita"), std::string::npos) << run.boxes.shown.front().text;
    EXPECT_EQ(run.boxes.shown.front().text.substr(0, expected.find('%')), expected.substr(0, expected.find('%')));
    EXPECT_EQ(run.shownStamp()->second, 38);  // film 1 was not sought to 28
    EXPECT_NE(run.player().State(), TPlayer::Playing);

    // Next onto it: one warning, and the film stays where it was.
    clickListRow(grid, 8);
    EXPECT_EQ(run.shownStamp()->second, 46);
    run.boxes.shown.clear();
    clickButton(list->findChild<QToolButton*>("ButNext"));
    EXPECT_EQ(list->currentListRow(), 9);
    EXPECT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_EQ(run.shownStamp()->second, 46);
}

// A second package whose film is not on the disc: choosing it leaves no footage of the first
// package on the screen, and its codes seek nothing.
TEST(CodeListMissingFilm, APackageWithoutFilmClearsTheVideo) {
    Disc disc{{narrow()}};
    disc.withCodes(kRallies);
    const auto second = disc.path() / "Tlx_Video/Partita2";
    std::filesystem::create_directories(second);
    const auto copy = [&](const char* name) {
        std::filesystem::copy_file(disc.path() / "Tlx_Video/Partita" / name, second / name);
    };
    copy("Match.cfg");
    copy("scout.dvw");
    copy("FilmList.cfg");  // it names Film01.mpg, which this package does not hold
    MainWindowRun run(disc);
    auto* grid = run.window->codeList()->findChild<TextGrid*>("SGrid");
    clickListRow(grid, 5);
    ASSERT_EQ(run.shownStamp()->second, 38);

    testing::choosePackage(run, 1);
    EXPECT_TRUE(run.player().FileName().empty());
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::NoFilm; }));
    EXPECT_FALSE(run.control("Panel8")->isVisible());
    run.boxes.shown.clear();
    clickListRow(grid, 5);
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_NE(run.boxes.shown.front().text.find("Film01"), std::string::npos) << run.boxes.shown.front().text;
    QTest::qWait(300);
    EXPECT_EQ(run.player().State(), TPlayer::NoFilm);
}

}  // namespace
}  // namespace corvane
