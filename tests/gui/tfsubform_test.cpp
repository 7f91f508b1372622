#include "codes/tfsubform.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "codes/check_combo_box_qt.h"
#include "codes/tfcodici.h"
#include "core/text.h"
#include "scout/scout_readers.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "stats/tfstatvoll.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::demoDisc;
using testing::kRallies;
using testing::waitFor;
using testing::choosePackage;
using testing::clickButton;
using testing::clickRow;

int firstVisibleAnalysis(const TFSubForm& panel, int from) {
    const auto& analyses = panel.analyses();
    for (int row = from; row < static_cast<int>(analyses.size()); ++row)
        if (analyses[static_cast<std::size_t>(row)].tipo == "A" && !analyses[static_cast<std::size_t>(row)].hidden) return row;
    return -1;
}

TEST(SearchPanel, ATypedSearchCodeListsItsCodesAndPlaysTheFirst) {
    Disc disc{{narrow()}};
    disc.withCodes(kRallies);
    MainWindowRun run(disc);
    TFSubForm* panel = run.window->searchPanel();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(run.control("PanMatch")->isVisible());  // one package: no chooser
    EXPECT_TRUE(run.control("PanRicerca")->isVisible());
    EXPECT_FALSE(run.control("PanAna")->isVisible());

    SearchCodeGrid* entry = panel->searchGrid();
    QTest::mouseClick(entry, Qt::LeftButton, {}, entry->cellRect(0).center());
    QTest::keyClicks(entry, "   a");  // typed plain: a capital, attacks of either team
    EXPECT_EQ(entry->searchCode().substr(0, 4), "   A");
    QTest::keyClick(entry, Qt::Key_Return);
    TFCodici* list = run.window->codeList();
    ASSERT_EQ(list->listRowCount(), 2);
    EXPECT_EQ(run.shownStamp()->second, 12);
    EXPECT_TRUE(waitFor([&] { return run.player().State() == TPlayer::Playing; }));

    QTest::keyClick(entry, Qt::Key_Escape);
    EXPECT_EQ(entry->searchCode(), std::string(20, ' '));
    QTest::keyClick(entry, Qt::Key_Return);  // an empty code lists every code
    EXPECT_EQ(list->listRowCount(), 8);
}

// A reception-error click of the statistics leaves an "=" or "/" clause in the analysis record;
// the coach's own searches afterwards must not inherit it.
// A reception-error click of the statistics leaves an "=" or "/" clause in the analysis record;
// the coach's own searches afterwards, and another package, must not inherit it.
struct AfterAStatisticsClick : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;
    TFSubForm* panel = nullptr;
    TFCodici* list = nullptr;
    SearchCodeGrid* entry = nullptr;

    void SetUp() override {
        disc.withCodes(kRallies);
        const auto package = disc.path() / "Tlx_Video/Partita";
        std::string scout = testing::readFile(package / "scout.dvw");
        scout.insert(scout.find("[3SCOUT]"), "[3PLAYERS-H]\r\n0;7;;;;;;;ROS;Rossi\r\n[3PLAYERS-V]\r\n1;12;;;;;;;VER;Verdi\r\n");
        std::ofstream(package / "scout.dvw", std::ios::binary) << scout;
        std::ofstream(package / "Stat.txt", std::ios::binary)
            << "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n07;Rossi;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\n"
               "TO;Totale;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\n[opponent]\r\n"
               "12;Verdi;1;0;0;;;0;0;0;1;0;0;0;0;0;1;100%;0;0\r\nTO;Totale;1;0;0;;;0;0;0;1;0;0;0;0;0;1;100%;0;0\r\n";
        // A second package of the same match.
        const auto other = disc.path() / "Tlx_Video/Partita2";
        std::filesystem::create_directories(other);
        for (const char* name : {"Match.cfg", "scout.dvw", "FilmList.cfg"}) std::filesystem::copy_file(package / name, other / name);
        std::filesystem::create_symlink(narrow(), other / "Film01.mpg");

        run = std::make_unique<MainWindowRun>(disc);
        panel = run->window->searchPanel();
        list = run->window->codeList();
        entry = panel->searchGrid();
        run->app().settings.write(StatisticheModVis, "0");
        clickButton(panel->findChild<QPushButton*>("ButStat"));
        TFStatVoll* stats = run->window->statistics();
        ASSERT_TRUE(stats);
        // Home reception errors: the middle sub-column of the reception column, player 7's row.
        TextGrid* home = stats->table(true);
        const int width = (home->columnWidth(3) - 3) / 3;
        QTest::mouseClick(home->viewport(), Qt::LeftButton, {},
                          {home->columnViewportPosition(3) + width + 1 + width / 2, home->rowViewportPosition(1) + 4});
        ASSERT_EQ(run->state().analysis[AnalysisRecord::adv_codes], "OR[~~~~~=,5][~~~~~/,5]");
        ASSERT_EQ(list->listRowCount(), 0);  // *07RM- is a reception, but neither "=" nor "/"
        stats->close();
        ASSERT_TRUE(waitFor([&] { return run->window->statistics() == nullptr; }));
        QTest::qWait(50);  // the closed window goes while the main window it reports to still lives
    }
};

TEST_F(AfterAStatisticsClick, ATypedSearchIsNotFilteredByIt) {
    QTest::mouseClick(entry, Qt::LeftButton, {}, entry->cellRect(0).center());
    QTest::keyClick(entry, Qt::Key_Escape);
    QTest::keyClicks(entry, "   r");
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(list->listRowCount(), 2);  // both receptions
    EXPECT_TRUE(run->state().analysis[AnalysisRecord::adv_codes].empty());
}

TEST_F(AfterAStatisticsClick, TheSearchButtonWithANewCodeIsNotFilteredByIt) {
    QTest::mouseClick(entry, Qt::LeftButton, {}, entry->cellRect(0).center());
    QTest::keyClick(entry, Qt::Key_Escape);
    clickButton(list->findChild<QPushButton*>("ButRicerca"));
    EXPECT_EQ(list->listRowCount(), 8);
}

TEST_F(AfterAStatisticsClick, AnotherPackageOpensWithEveryCode) {
    choosePackage(*run, 1);
    EXPECT_EQ(list->listRowCount(), 8);
}

// A package whose scout file brings more lines than a package may: choosing it is refused with
// a message, and the match open before stays open, listed and named by the chooser.
TEST(PackageChooser, ARefusedPackageLeavesTheOpenOneListedAndNamed) {
    Disc disc{{narrow()}};
    disc.withCodes(kRallies);
    const auto package = disc.path() / "Tlx_Video/Partita";
    const auto hostile = disc.path() / "Tlx_Video/Partita2";
    std::filesystem::create_directories(hostile);
    for (const char* name : {"Match.cfg", "FilmList.cfg"}) std::filesystem::copy_file(package / name, hostile / name);
    std::filesystem::create_hard_link(package / "Film01.mpg", hostile / "Film01.mpg");
    {
        std::ofstream scout(hostile / "scout.dvw", std::ios::binary);
        scout << "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n";
        for (std::size_t n = 0; n <= kMaxScoutLines; ++n) scout << "*07SM+;;;;;;;20.00.00;1;;;1;1\r\n";
    }
    MainWindowRun run(disc);
    auto* chooser = run.control<QComboBox>("CbMatches");
    ASSERT_TRUE(chooser);
    ASSERT_EQ(chooser->currentText().toStdString(), "Partita");
    TFCodici* list = run.window->codeList();
    ASSERT_EQ(list->listRowCount(), 8);

    // The chooser's own keys pick the package; the refusal then puts the open one back in view.
    clickButton(chooser);
    QAbstractItemView* items = chooser->view();
    ASSERT_TRUE(waitFor([&] { return items->isVisible(); }));
    QTest::keyClick(items, Qt::Key_Down);
    QTest::keyClick(items, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return !run.boxes.shown.empty() && !items->isVisible(); }));

    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_NE(run.boxes.shown[0].text.find("Partita2"), std::string::npos) << run.boxes.shown[0].text;
    EXPECT_NE(run.boxes.shown[0].text.find(std::to_string(kMaxScoutLines)), std::string::npos) << run.boxes.shown[0].text;
    EXPECT_EQ(run.state().package.name, "Partita");
    EXPECT_EQ(chooser->currentText().toStdString(), "Partita");
    EXPECT_EQ(list->listRowCount(), 8);
    EXPECT_NE(disc.log().find("Pacchetto rifiutato"), std::string::npos);
}

struct SynthesisOnTheDemoDisc : ::testing::Test {
    std::unique_ptr<MainWindowRun> run;
    TFSubForm* panel = nullptr;
    TFCodici* list = nullptr;
    TextGrid* analyses = nullptr;
    TextGrid* codes = nullptr;

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
        run = std::make_unique<MainWindowRun>(demoDisc());
        panel = run->window->searchPanel();
        list = run->window->codeList();
        ASSERT_TRUE(panel && list);
        choosePackage(*run, 3);
        ASSERT_TRUE(run->state().SynthesisMode);
        analyses = run->window->findChild<TextGrid*>("GrdAnalisi");
        codes = list->findChild<TextGrid*>("SGrid");
    }
    int secondOf(int listRow) const { return textToInt(run->state().codeTable.Cell(VideoSec, list->listRow(listRow).row)); }
    double position() const { return run->player().Position(); }
};

TEST_F(SynthesisOnTheDemoDisc, ListsItsAnalysesAndPlaysTheClickedOneWithoutPreRoll) {
    EXPECT_TRUE(run->control("PanAna")->isVisible());
    EXPECT_FALSE(run->control("PanRicerca")->isVisible());
    const auto& entries = panel->analyses();
    ASSERT_GE(entries.size(), 3u);
    int hidden = -1;
    for (std::size_t row = 0; row < entries.size(); ++row) {
        EXPECT_EQ(analyses->rowHeight(static_cast<int>(row)), entries[row].hidden ? 1 : 18);
        if (entries[row].hidden) hidden = static_cast<int>(row);
    }
    ASSERT_GT(hidden, 0);

    // Down from the row above the hidden analysis skips it.
    clickRow(analyses, hidden - 1);
    QTest::keyClick(analyses, Qt::Key_Down);
    EXPECT_EQ(panel->selectedAnalysis(), hidden + 1);

    // An analysis fills the list with its codes and plays the first, without pre-roll.
    const int analysis = firstVisibleAnalysis(*panel, 0);
    clickRow(analyses, analysis);
    ASSERT_GT(list->listRowCount(), 0);
    const CodeTable& table = run->state().codeTable;
    for (int row = 1; row <= list->listRowCount(); ++row)
        EXPECT_EQ(textToInt(table.Cell(Clock, list->listRow(row).row)), analysis);
    EXPECT_EQ(run->shownStamp()->second, secondOf(1));

    // The current analysis clicked again, after the film moved on, starts it again.
    run->seekTo(secondOf(1) + 4.4);
    clickRow(analyses, analysis);
    EXPECT_EQ(panel->selectedAnalysis(), analysis);
    EXPECT_EQ(run->shownStamp()->second, secondOf(1));
}

// Each action of a synthesis lasts until the next code of its film; the last code of an analysis
// hands over to the next analysis.
TEST_F(SynthesisOnTheDemoDisc, PlaysThroughTwoAnalysesActionByAction) {
    const int first = firstVisibleAnalysis(*panel, 0);
    const int second = firstVisibleAnalysis(*panel, first + 1);
    ASSERT_GE(second, 0);
    clickRow(analyses, first);
    ASSERT_GE(list->listRowCount(), 2);
    ASSERT_EQ(run->shownStamp()->second, secondOf(1));
    const int endOfFirst = secondOf(2);

    // Watch the film and the list together, as the timers drive them.
    double lastOnRow1 = 0;
    QElapsedTimer watched;
    watched.start();
    ASSERT_TRUE(waitFor(
        [&] {
            if (list->currentListRow() == 1) lastOnRow1 = position();
            return list->currentListRow() == 2;
        },
        std::chrono::seconds(20)));
    EXPECT_GE(lastOnRow1, endOfFirst - 1.0);  // not a second or two into the action
    EXPECT_GE(watched.elapsed(), (endOfFirst - secondOf(1) - 1) * 1000);
    EXPECT_EQ(run->shownStamp()->second, endOfFirst);

    // On through the analysis; after its last code, the next analysis plays its first.
    const int rows = list->listRowCount();
    const int lastSecond = secondOf(rows);
    ASSERT_TRUE(waitFor([&] { return panel->selectedAnalysis() == second; },
                        std::chrono::seconds(12 * rows)));
    ASSERT_GT(list->listRowCount(), 0);
    EXPECT_GT(secondOf(1), lastSecond);
    EXPECT_EQ(run->shownStamp()->second, secondOf(1));

    ASSERT_TRUE(waitFor([&] { return list->currentListRow() == 2; }, std::chrono::seconds(20)));
    EXPECT_EQ(run->shownStamp()->second, secondOf(2));
    if (const char* shot = std::getenv("CORVANE_SCREENSHOT"); shot && *shot) {
        QTest::qWait(1500);  // into the action
        run->window->grab().save(QString::fromLocal8Bit(shot));
    }
}

TEST_F(SynthesisOnTheDemoDisc, TickingASetReappliesTheSelectedAnalysis) {
    const int analysis = firstVisibleAnalysis(*panel, 0);
    clickRow(analyses, analysis);
    const int all = list->listRowCount();
    ASSERT_GT(all, 1);

    // Drop the set combo down and tick set 2 in its list.
    auto* sets = list->findChild<TCheckComboBoxQT*>("CbSet");
    auto* edit = sets->findChild<QLineEdit*>();
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_TRUE(sets->droppedDown());
    auto* items = sets->findChild<QListWidget*>();
    const QRect item = items->visualItemRect(items->item(2));
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, QPoint(item.left() + 8, item.center().y()));
    ASSERT_TRUE(sets->checked(2));

    EXPECT_EQ(panel->selectedAnalysis(), analysis);
    ASSERT_GT(list->listRowCount(), 0);
    EXPECT_LT(list->listRowCount(), all);
    const CodeTable& table = run->state().codeTable;
    for (int row = 1; row <= list->listRowCount(); ++row) {
        EXPECT_EQ(textToInt(table.Cell(Clock, list->listRow(row).row)), analysis);
        EXPECT_EQ(list->listRow(row).set, "2");
    }
}

// "All" ticked again after a set was left out: the list shows every code of the analysis, as the
// ticks do, not the sets ticked before the "all" rule ticked the rest.
TEST_F(SynthesisOnTheDemoDisc, TickingAllAfterASetWasLeftOutListsTheWholeAnalysisAgain) {
    const int analysis = firstVisibleAnalysis(*panel, 0);
    clickRow(analyses, analysis);
    const int all = list->listRowCount();
    int inSet2 = 0;
    for (int row = 1; row <= all; ++row) inSet2 += list->listRow(row).set == "2" ? 1 : 0;
    ASSERT_GT(inSet2, 0);
    ASSERT_LT(inSet2, all) << "the analysis must hold codes of set 2 and of other sets";

    auto* sets = list->findChild<TCheckComboBoxQT*>("CbSet");
    auto* edit = sets->findChild<QLineEdit*>();
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_TRUE(sets->droppedDown());
    auto* items = sets->findChild<QListWidget*>();
    const auto tick = [&](int index) {
        const QRect item = items->visualItemRect(items->item(index));
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, QPoint(item.left() + 8, item.center().y()));
    };
    tick(0);
    ASSERT_EQ(sets->checkedCount(), items->count());
    EXPECT_EQ(list->listRowCount(), all);
    tick(2);  // set 2 left out
    ASSERT_FALSE(sets->checked(0));
    ASSERT_FALSE(sets->checked(2));
    EXPECT_EQ(list->listRowCount(), all - inSet2);
    tick(0);  // all again
    ASSERT_EQ(sets->checkedCount(), items->count());
    EXPECT_EQ(panel->selectedAnalysis(), analysis);
    EXPECT_EQ(list->listRowCount(), all);
}

TEST(SearchPanelOnTheDemoDisc, OtherSportsGetTheThirteenCellEntry) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(demoDisc());
    SearchCodeGrid* entry = run.window->searchPanel()->searchGrid();
    EXPECT_EQ(entry->entry().cellCount(), 20);
    EXPECT_EQ(entry->width(), 223);
    choosePackage(run, 1);  // the basketball match
    ASSERT_EQ(run.state().Sport, "2");
    EXPECT_EQ(entry->entry().cellCount(), 13);
    EXPECT_EQ(entry->width(), 148);
    EXPECT_EQ(run.control("SG1")->width(), 148);
    choosePackage(run, 0);
    EXPECT_EQ(entry->entry().cellCount(), 20);
}

}  // namespace
}  // namespace corvane
