#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace corvane {

// What a grid's owner may draw in a cell in place of the plain text.
struct GridCell {
    int column;
    int row;
    QString text;
    QRect rect;
    bool selected;
};
using CellPainter = std::function<void(QPainter& painter, const GridCell& cell)>;

// A grid of text cells, the building block of every table on screen: text by column and row,
// row heights and column widths, row selection and scrolling, and per-cell drawing by its owner
// (row colours, bold point rows, glyphs). Rows and columns count from 0 like the cells.
class TextGrid : public QTableWidget {
    Q_OBJECT

public:
    TextGrid(int rows, int columns, QWidget* parent = nullptr);

    QString cellText(int column, int row) const;
    void setCellText(int column, int row, const QString& text);
    // Every cell of rows from `firstRow` on emptied, the row count set.
    void resetRows(int rowCount, int firstRow = 0);

    // Drawing of every cell; without one the cells show their text as the style draws it.
    void setCellPainter(CellPainter painter);

    int currentRowIndex() const { return currentRow(); }
    void selectRow(int row);

Q_SIGNALS:
    // A left click on the row that was current before the button went down. No row changes, so
    // currentCellChanged stays silent, yet the coach is asking for the row's action again.
    void currentRowClickedAgain(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Delegate;
    CellPainter painter_;
    int rowBeforePress_ = -1;  // the current row when the left button went down, else -1
};

}  // namespace corvane
