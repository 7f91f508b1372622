#include "codes/tfsubform.h"

#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include "codes/tfcodici.h"
#include "gui/main_window_run.h"
#include "core/text.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::demoDisc;
using testing::kRallies;
using testing::waitFor;


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
    entry->setFocus();
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


TEST(SearchPanelOnTheDemoDisc, ChoosingTheSynthesisListsItsAnalysesAndPlaysThem) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(demoDisc());
    TFSubForm* panel = run.window->searchPanel();
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser);
    EXPECT_TRUE(run.control("PanMatch")->isVisible());
    ASSERT_EQ(chooser->count(), 4);

    chooser->setCurrentIndex(3);
    Q_EMIT chooser->activated(3);
    ASSERT_TRUE(run.state().SynthesisMode);
    EXPECT_TRUE(run.control("PanAna")->isVisible());
    EXPECT_FALSE(run.control("PanRicerca")->isVisible());
    const auto& analyses = panel->analyses();
    ASSERT_GE(analyses.size(), 3u);
    auto* grid = run.window->findChild<TextGrid*>("GrdAnalisi");
    int hidden = -1;
    for (std::size_t row = 0; row < analyses.size(); ++row) {
        EXPECT_EQ(grid->rowHeight(static_cast<int>(row)), analyses[row].hidden ? 1 : 18);
        if (analyses[row].hidden) hidden = static_cast<int>(row);
    }
    ASSERT_GT(hidden, 0);

    // Down from the row above the hidden analysis skips it.
    panel->selectAnalysis(hidden - 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(panel->selectedAnalysis(), hidden + 1);

    // An analysis fills the list with its codes and plays the first, without pre-roll.
    int analysis = 0;
    while (analyses[static_cast<std::size_t>(analysis)].tipo != "A" || analyses[static_cast<std::size_t>(analysis)].hidden)
        ++analysis;
    panel->selectAnalysis(analysis);
    TFCodici* list = run.window->codeList();
    ASSERT_GT(list->listRowCount(), 0);
    const CodeTable& table = run.state().codeTable;
    for (int row = 1; row <= list->listRowCount(); ++row)
        EXPECT_EQ(textToInt(table.Cell(Clock, list->listRow(row).row)), analysis);
    const int second = textToInt(table.Cell(VideoSec, list->listRow(1).row));
    EXPECT_EQ(run.shownStamp()->second, second);
}

}  // namespace
}  // namespace corvane
