#include "ui/text_grid.h"

#include <QImage>
#include <QPainter>

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

}  // namespace
}  // namespace corvane
