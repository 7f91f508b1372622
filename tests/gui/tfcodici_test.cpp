#include "codes/tfcodici.h"
#include "codes/check_combo_box_qt.h"

#include <QToolButton>

#include <gtest/gtest.h>

#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::kRallies;
using testing::waitFor;


struct CodeListFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;

    void SetUp() override {
        disc.withCodes(kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        list = run->window->codeList();
        ASSERT_TRUE(list);
    }
    bool enabled(const char* name) const { return list->findChild<QToolButton*>(QString::fromLatin1(name))->isEnabled(); }
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

TEST_F(CodeListFixture, AClickOnACodePlaysItFromItsPreRoll) {
    list->selectListRow(5);  // second 40, pre-roll 2
    EXPECT_EQ(run->shownStamp()->second, 38);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    EXPECT_TRUE(enabled("ButPrev"));
    list->selectListRow(1);  // second 1: held at 0
    EXPECT_EQ(run->shownStamp()->second, 0);
}

TEST_F(CodeListFixture, NextAndPreviousFollowTheRows) {
    list->NextCode();
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(run->shownStamp()->second, 10);
    for (int n = 0; n < 10; ++n) list->NextCode();
    EXPECT_EQ(list->currentListRow(), 8);
    EXPECT_FALSE(enabled("ButNext"));
    list->PreviousCode();
    EXPECT_EQ(list->currentListRow(), 7);
    EXPECT_EQ(run->shownStamp()->second, 43);
}

TEST_F(CodeListFixture, AnUnfilteredListMovesItsHighlightWithTheFilmWithoutSeeking) {
    list->selectListRow(2);
    run->seekTo(14.3);
    list->CheckActionEnd(2);
    EXPECT_EQ(list->currentListRow(), 3);
    EXPECT_GE(run->player().Position(), 14.3);  // the film plays on: no seek back to the code
    EXPECT_TRUE(list->PlayOnSelect);
}

TEST_F(CodeListFixture, AFilteredListPlaysToTheRallysEndThenTheNextFoundCode) {
    list->FillFromSearch("~~~A");
    ASSERT_EQ(list->listRowCount(), 2);
    list->selectListRow(1);
    run->seekTo(16.2);  // the point row of the first rally
    list->CheckActionEnd(1);
    EXPECT_EQ(list->currentListRow(), 2);
    EXPECT_EQ(run->shownStamp()->second, 43);  // second 45 less the pre-roll

    list->selectListRow(1);
    run->state().playback.StopAtEnd = true;
    run->seekTo(16.2);
    run->window->Transport(0);
    list->CheckActionEnd(1);
    EXPECT_EQ(list->currentListRow(), 1);
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Ready; }));
}

TEST_F(CodeListFixture, ClearTextPutsTimeAndSetInTheCodeColumn) {
    list->setClearText(true);
    const auto* grid = list->findChild<TextGrid*>();
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_TRUE(grid->isColumnHidden(3));
    EXPECT_GE(grid->columnWidth(0), 260);
    EXPECT_EQ(run->control("Panel2")->width(), 1280 - list->listWidth() - 5);
    list->setClearText(false);
    EXPECT_FALSE(grid->isColumnHidden(2));
    EXPECT_EQ(grid->columnWidth(0), 173);
}

TEST_F(CodeListFixture, TheSetFilterKeepsTheTickedSets) {
    auto* sets = list->findChild<TCheckComboBoxQT*>("CbSet");
    ASSERT_TRUE(sets);
    sets->toggleItem(2);  // set 2
    EXPECT_EQ(list->SetFilterText(), "2;");
    list->FillFromSearch({});
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_EQ(list->listRow(1).set, "2");
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

}  // namespace
}  // namespace corvane
