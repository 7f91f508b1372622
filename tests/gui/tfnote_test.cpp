#include "match/tfnote.h"

#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;

QString text(QWidget* window, const char* name) {
    auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("<missing>");
}

TEST(MatchSheets, TheVolleyballSheetShowsTheMatchThroughItsMasks) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    auto& info = run.state().match.MatchInfo;
    info[0] = "07/12/2026";
    info[1] = "20.30.00";
    info[2] = "2026/2027";
    info[3] = "  ";
    info[15] = "Modena";
    info[26] = "3";
    info[30] = "TRUE";
    info[31] = "8-6";
    info[36] = "True";
    info[42] = "false";
    const auto sheet = run.window->notesWindow();
    ASSERT_TRUE(dynamic_cast<TFNoteV*>(sheet.get()));
    EXPECT_EQ(text(sheet.get(), "EditData"), "07/12/2026");
    EXPECT_EQ(text(sheet.get(), "EditOra"), "20.30");
    EXPECT_EQ(text(sheet.get(), "EditStag"), "2026/2027");
    EXPECT_EQ(text(sheet.get(), "EditComp"), "");
    EXPECT_EQ(text(sheet.get(), "EditDes1"), "Modena");
    EXPECT_EQ(text(sheet.get(), "EditRis0"), "3");
    EXPECT_EQ(text(sheet.get(), "EditSetPP1"), " 8- 6");
    EXPECT_EQ(text(sheet.get(), "EditSetPP5"), "  -  ");
    EXPECT_TRUE(sheet->findChild<QCheckBox*>("ChkT1")->isChecked());
    EXPECT_TRUE(sheet->findChild<QCheckBox*>("ChkT2")->isChecked());
    EXPECT_FALSE(sheet->findChild<QCheckBox*>("ChkT3")->isChecked());
    info[0].clear();
    EXPECT_EQ(text(run.window->notesWindow().get(), "EditData"), "  /  /    ");
}

TEST(MatchSheets, OtherSportsHaveNoSetsAndMatchesDataOpensTheNotesEvenForVolleyball) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    run.state().Sport = "2";
    const auto sheet = run.window->notesWindow();
    ASSERT_TRUE(dynamic_cast<TFNoteB*>(sheet.get()));
    EXPECT_FALSE(sheet->findChild<QCheckBox*>("ChkT1"));
    EXPECT_EQ(text(sheet.get(), "EditData"), "");

    run.state().Sport = "1";
    run.state().match.HasMatchesData = true;
    const auto notes = run.window->notesWindow();
    auto* list = dynamic_cast<TFDatiInc*>(notes.get());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->table()->rowCount(), 1);  // no record: one empty row under the header
    run.state().match.MatchesCount = 2;
    run.state().match.MatchesData[2].slots[4] = "Coppa";
    const auto filled = run.window->notesWindow();
    EXPECT_EQ(dynamic_cast<TFDatiInc*>(filled.get())->table()->cellText(4, 1), "Coppa");
}

}  // namespace
}  // namespace corvane
