#include "stats/tfstatvoll.h"

#include <QTest>

#include <fstream>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::waitFor;

const std::string kServeRallies =
    "*05SM=;;;;;;;20.00.00;1;;;1;10\r\n"
    "a12RM/;;;;;;;20.00.01;1;;;1;12\r\n"
    "a12AH#;;;;;;;20.00.02;1;;;1;14\r\n"
    "ap00:01;;;;;;;20.00.03;1;;;1;16\r\n"
    "*05SM+;;;;;;;20.01.00;1;;;1;40\r\n";

struct StatisticsFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;

    void SetUp() override {
        disc.withCodes(kServeRallies);
        // Players for the statistics command, and the statistics file.
        std::string scout = testing::readFile(disc.path() / "Tlx_Video/Partita/scout.dvw");
        scout.insert(scout.find("[3SCOUT]"), "[3PLAYERS-H]\r\n0;5;;;;;;;GAL;Galli\r\n[3PLAYERS-V]\r\n1;12;;;;;;;VER;Verdi\r\n");
        std::ofstream(disc.path() / "Tlx_Video/Partita/scout.dvw", std::ios::binary) << scout;
        std::ofstream(disc.path() / "Tlx_Video/Partita/Stat.txt", std::ios::binary)
            << "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n05;Galli;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n"
               "TO;Totale;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n[opponent]\r\n"
               "12;Verdi;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\nTO;Totale;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\n";
        run = std::make_unique<MainWindowRun>(disc);
    }
    TFStatVoll* open(bool docked) {
        run->app().settings.write(StatisticheModVis, docked ? "1" : "0");
        run->window->ButStatClick();
        return run->window->statistics();
    }
    // The point at the centre of sub-column `sub` of a column, in the table's viewport.
    static QPoint subColumnPoint(TextGrid* grid, int column, int row, int sub, int subColumns) {
        const int width = (grid->columnWidth(column) - 3) / subColumns;
        return {grid->columnViewportPosition(column) + sub * (width + 1) + width / 2, grid->rowViewportPosition(row) + 4};
    }
};

TEST_F(StatisticsFixture, AClickOnAFigurePlaysTheActionsBehindIt) {
    TFStatVoll* stats = open(false);
    ASSERT_TRUE(stats);
    EXPECT_FALSE(stats->docked());
    TextGrid* home = stats->table(true);
    ASSERT_EQ(home->rowCount(), 3);
    // Serve errors of home player 5: sub-column 1 of the serve column.
    stats->clickAt(true, subColumnPoint(home, 2, 1, 1, 3));
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "*05S~=~~~");
    TFCodici* list = run->window->codeList();
    ASSERT_EQ(list->listRowCount(), 1);
    EXPECT_EQ(list->listRow(1).row, 1);
    EXPECT_EQ(run->window->searchPanel()->searchGrid()->searchCode().substr(0, 10), "*05S =    ");
    EXPECT_EQ(run->shownStamp()->second, 8);  // second 10 less the pre-roll
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
}

TEST_F(StatisticsFixture, ReceptionErrorsUseTheAlternativeClauseAndTotalsSearchTheTeam) {
    TFStatVoll* stats = open(false);
    TextGrid* opponent = stats->table(false);
    stats->clickAt(false, subColumnPoint(opponent, 3, 1, 1, 3));
    EXPECT_EQ(run->state().analysis[AnalysisRecord::adv_codes], "OR[~~~~~=,5][~~~~~/,5]");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 1);  // a12RM/
    stats->clickAt(false, subColumnPoint(opponent, 4, 2, 0, 5));  // the totals row: every attacker
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "a~~A~~~~~");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 1);
}

TEST_F(StatisticsFixture, DocksAboveTheVideoAndClosesAfterASearchWhenAsked) {
    const int videoHeight = run->control("Panel5")->height();
    TFStatVoll* stats = open(true);
    ASSERT_TRUE(stats->docked());
    EXPECT_TRUE(run->control("Panel3")->isVisible());
    EXPECT_LT(run->control("Panel5")->height(), videoHeight);
    EXPECT_EQ(run->app().settings.read(StatisticheModVis), "1");
    run->app().settings.write(CloseStatistics, "1");
    stats->clickAt(true, subColumnPoint(stats->table(true), 0, 1, 0, 1));
    EXPECT_TRUE(waitFor([&] { return run->window->statistics() == nullptr; }));
    EXPECT_FALSE(run->control("Panel3")->isVisible());
    EXPECT_EQ(run->control("Panel5")->height(), videoHeight);
}

// Quitting with the statistics docked, or after a docked window was closed with its own button:
// every statistics window ends while the main window is still whole (the sanitizer build reports
// a call into a main window already being torn down).
TEST_F(StatisticsFixture, TheProgramClosesWithTheStatisticsDockedOrClosedBeforeIt) {
    run->app().settings.write(StatisticheModVis, "1");
    const auto click = [](QWidget* button) {
        ASSERT_TRUE(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    };
    click(run->window->searchPanel()->findChild<QPushButton*>("ButStat"));
    ASSERT_TRUE(run->window->statistics() && run->window->statistics()->docked());
    click(run->window->statistics()->findChild<QToolButton*>("XiButton1"));
    ASSERT_TRUE(waitFor([&] { return run->window->statistics() == nullptr; }));

    click(run->window->searchPanel()->findChild<QPushButton*>("ButStat"));
    const QPointer<TFStatVoll> docked = run->window->statistics();
    ASSERT_TRUE(docked && docked->docked());
    click(run->control("ButClose"));
    EXPECT_FALSE(run->window->isVisible());
    run->window.reset();  // the program's end: the main window goes
    EXPECT_TRUE(docked.isNull());
}

TEST(StatisticsWithoutPlayers, ShowsMessage130AndNoWindow) {
    Disc disc{{narrow()}};
    disc.withCodes(kServeRallies);
    MainWindowRun run(disc);
    run.window->ButStatClick();
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_EQ(run.boxes.shown[0].text, run.messageText(130));
    EXPECT_EQ(run.window->statistics(), nullptr);
}

}  // namespace
}  // namespace corvane
