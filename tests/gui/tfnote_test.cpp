#include "match/tfnote.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <array>

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

TEST(MatchSheets, TheReadOnlySheetIsDrawnEnabledButTakesNoEditOrClick) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    run.state().match.MatchInfo[0] = "07/12/2026";
    run.state().match.MatchInfo[30] = "true";
    const auto sheet = run.window->notesWindow();
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    for (QWidget* control : sheet->findChildren<QWidget*>()) EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    auto* date = sheet->findChild<QLineEdit*>("EditData");
    QTest::mouseClick(date, Qt::LeftButton, {}, date->rect().center());
    QTest::keyClicks(date, "99");
    QTest::keyClick(date, Qt::Key_Backspace);
    EXPECT_EQ(date->text(), "07/12/2026");
    for (const char* name : {"ChkT1", "ChkT2"}) {
        auto* played = sheet->findChild<QCheckBox*>(name);
        const bool before = played->isChecked();
        QTest::mouseClick(played, Qt::LeftButton, {}, played->rect().center());
        QTest::keyClick(sheet.get(), Qt::Key_Space);
        EXPECT_EQ(played->isChecked(), before) << name;
    }
}

TEST(MatchSheets, InLanguageThreeTheVolleyballSheetAndItsCloseButtonFitTheScreen) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    run.state().LanguageNumber = 3;
    const auto sheet = run.window->notesWindow();
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    const QRect screen = sheet->screen()->availableGeometry();
    const QRect at = sheet->geometry();
    EXPECT_TRUE(screen.contains(at)) << screen.width() << "x" << screen.height() << " " << at.x() << "," << at.y() << " " << at.width() << "x" << at.height();
    // The sheet takes the room the screen has; only what does not fit scrolls.
    auto* scroll = sheet->findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    EXPECT_GE(scroll->viewport()->height(), std::min(scroll->widget()->sizeHint().height(), screen.height() * 3 / 4));
    auto* close = sheet->findChild<QPushButton*>("ButAnn");
    const QRect button(close->mapTo(sheet.get(), QPoint(0, 0)), close->size());
    EXPECT_TRUE(sheet->rect().contains(button));
    EXPECT_TRUE(close->isVisible());
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    EXPECT_FALSE(sheet->isVisible());
}

TEST(MatchSheets, SynthesisNotesShowEveryHeaderAndNameWholeWithAPlainHeaderAndAnIcon) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    auto& state = run.state();
    state.LanguageNumber = 0;  // Italian: the longest headers
    state.match.HasMatchesData = true;
    state.match.MatchesCount = 2;
    const std::array<std::string, 9> first = {"Della Rocca Volley", "Pallavolo Corvane", "3-2", "2026/2027",
                                              "Superlega", "Andata", "12", "07/12/2026", "Campionato"};
    const std::array<std::string, 9> second = {"Del Monte", "PalaCorvane Modena", "0-3", "2026/2027",
                                               "Coppa Italia", "Quarti", "3", "14/12/2026", "Coppa"};
    for (std::size_t c = 0; c < 9; ++c) {
        state.match.MatchesData[1].slots[c] = first[c];
        state.match.MatchesData[2].slots[c] = second[c];
    }
    const auto notes = run.window->notesWindow();
    auto* list = dynamic_cast<TFDatiInc*>(notes.get());
    ASSERT_TRUE(list);
    notes->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notes.get()));
    TextGrid* grid = list->table();
    QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics cells(grid->font());
    for (int c = 0; c < 9; ++c) {
        const QString heading = grid->horizontalHeaderItem(c)->text();
        EXPECT_GE(header->sectionSize(c), QFontMetrics(header->font()).horizontalAdvance(heading) + 8)
            << heading.toStdString();
        for (int row = 0; row < 2; ++row)
            EXPECT_GE(grid->columnWidth(c), cells.horizontalAdvance(grid->cellText(c, row)) + 6)
                << grid->cellText(c, row).toStdString();
    }
    // The table is as wide as the screen allows: nothing hides behind a scroll bar while there is room.
    const int room = notes->screen()->availableGeometry().width() - 80;
    EXPECT_GE(grid->viewport()->width(), std::min(header->length(), room));

    const QImage plain = header->grab().toImage();
    const QRect row = grid->visualRect(grid->model()->index(1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(grid->currentRowIndex(), 1);
    EXPECT_EQ(header->grab().toImage(), plain);  // the header does not turn bold

    auto* icon = notes->findChild<QLabel*>("Image1");
    auto* heading = notes->findChild<QLabel*>("Label1");
    ASSERT_TRUE(icon && heading);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_LT(icon->geometry().right(), heading->geometry().left());
}

TEST(MatchSheets, EveryWindowTitleEndsWithTheApplicationName) {
    Disc disc{{narrow()}};
    disc.withCodes("*07SM+;;;;;;;20.00.00;1;;;1;1\r\n");
    MainWindowRun run(disc);
    const std::string suffix = " \u2014 Corvane Player";
    EXPECT_EQ(run.window->windowTitle().toStdString(), "Corvane System Player" + suffix);
    QString caption = QString::fromStdString(run.messageText(11));
    EXPECT_EQ(run.window->notesWindow()->windowTitle().toStdString(), caption.remove('&').toStdString() + suffix);
    run.state().match.HasMatchesData = true;
    EXPECT_EQ(run.window->notesWindow()->windowTitle().toStdString(), run.messageText(84) + suffix);
}

}  // namespace
}  // namespace corvane
