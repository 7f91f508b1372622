#include "ui/text_grid.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TextGrid, HoldsTextByColumnAndRowAndGrowsWhereWritten) {
    TextGrid grid(2, 5);
    grid.setCellText(4, 1, "12");
    grid.setCellText(0, 3, "*07AH#");
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cellText(4, 1), "12");
    EXPECT_EQ(grid.cellText(0, 3), "*07AH#");
    EXPECT_EQ(grid.cellText(2, 2), "");
    grid.setCellText(5, 0, "outside");  // no such column: nothing
    EXPECT_EQ(grid.columnCount(), 5);
    grid.resetRows(2, 1);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cellText(4, 1), "");
}

TEST(TextGrid, SelectsWholeRowsAndLetsItsOwnerDrawEveryCell) {
    TextGrid grid(3, 2);
    grid.resize(200, 120);
    for (int row = 0; row < 3; ++row) grid.setCellText(0, row, QString::number(row));
    std::vector<std::pair<int, int>> drawn;
    grid.setCellPainter([&](QPainter& painter, const GridCell& cell) {
        drawn.emplace_back(cell.column, cell.row);
        painter.fillRect(cell.rect, cell.row == 1 ? Qt::red : Qt::white);
    });
    grid.selectRow(2);
    EXPECT_EQ(grid.currentRowIndex(), 2);
    grid.show();
    const QImage picture = grid.grab().toImage();
    EXPECT_GE(drawn.size(), 6u);
    const QRect second = grid.visualRect(grid.model()->index(1, 0));
    EXPECT_EQ(picture.pixelColor(second.center() + QPoint(grid.frameWidth(), grid.frameWidth())), QColor(Qt::red));
}

// A click on the row already current changes no row, yet asks for the row's action again; any
// other gesture on the grid must not.
TEST(TextGrid, TellsAClickOnTheRowAlreadyCurrentFromOtherGestures) {
    struct Gesture {
        const char* name;
        Qt::MouseButton button;
        int pressRow;
        int releaseRow;
        bool again;
    };
    const Gesture gestures[] = {
        {"left click on the current row", Qt::LeftButton, 1, 1, true},
        {"left click on another row", Qt::LeftButton, 2, 2, false},
        {"right click on the current row", Qt::RightButton, 1, 1, false},
        {"pressed on the current row, let go on another", Qt::LeftButton, 1, 2, false},
        {"pressed on another row, let go on the current one", Qt::LeftButton, 2, 1, false},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.name);
        TextGrid grid(4, 1);
        grid.resize(200, 120);
        for (int row = 0; row < 4; ++row) grid.setCellText(0, row, QString::number(row));
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.selectRow(1);
        QSignalSpy again(&grid, &TextGrid::currentRowClickedAgain);
        const auto centre = [&](int row) { return grid.visualRect(grid.model()->index(row, 0)).center(); };
        QTest::mousePress(grid.viewport(), gesture.button, {}, centre(gesture.pressRow));
        QTest::mouseRelease(grid.viewport(), gesture.button, {}, centre(gesture.releaseRow));
        ASSERT_EQ(again.count(), gesture.again ? 1 : 0);
        if (gesture.again) EXPECT_EQ(again.at(0).at(0).toInt(), 1);
    }
}

TEST(TextGrid, AClickAgainCountsOnlyForThePressThatStartedIt) {
    TextGrid grid(3, 1);
    grid.resize(200, 120);
    for (int row = 0; row < 3; ++row) grid.setCellText(0, row, QString::number(row));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const auto centre = [&](int row) { return grid.visualRect(grid.model()->index(row, 0)).center(); };
    grid.selectRow(0);
    QSignalSpy again(&grid, &TextGrid::currentRowClickedAgain);
    // The first click makes row 2 current: a choice, not a repeat; the next ones are repeats.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(2));
    EXPECT_EQ(grid.currentRowIndex(), 2);
    EXPECT_EQ(again.count(), 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(2));
    EXPECT_EQ(again.count(), 2);
}

}  // namespace
}  // namespace corvane
