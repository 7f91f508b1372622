#include "ui/text_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace corvane {

class TextGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TextGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!grid_.painter_) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const GridCell cell{index.column(), index.row(), index.data().toString(), option.rect,
                            (option.state & QStyle::State_Selected) != 0};
        painter->save();
        painter->setClipRect(option.rect);
        grid_.painter_(*painter, cell);
        painter->restore();
    }

private:
    TextGrid& grid_;
};

TextGrid::TextGrid(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent) {
    setItemDelegate(new Delegate(*this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Rows may be made as low as a pixel (hidden entries keep their place that way).
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(0);
    setWordWrap(false);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (std::exchange(rowBeforePress_, -1) == row && row == currentRow()) Q_EMIT currentRowClickedAgain(row);
    });
}

void TextGrid::mousePressEvent(QMouseEvent* event) {
    rowBeforePress_ = event->button() == Qt::LeftButton ? currentRow() : -1;
    QTableWidget::mousePressEvent(event);
}

QString TextGrid::cellText(int column, int row) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TextGrid::setCellText(int column, int row, const QString& text) {
    if (row < 0 || column < 0 || column >= columnCount()) return;
    if (row >= rowCount()) setRowCount(row + 1);
    if (QTableWidgetItem* cell = item(row, column)) cell->setText(text);
    else setItem(row, column, new QTableWidgetItem(text));
}

void TextGrid::resetRows(int rowCount, int firstRow) {
    for (int row = firstRow; row < this->rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column)
            if (QTableWidgetItem* cell = item(row, column)) cell->setText(QString());
    setRowCount(rowCount);
}

void TextGrid::setCellPainter(CellPainter painter) {
    painter_ = std::move(painter);
    viewport()->update();
}

void TextGrid::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    setCurrentCell(row, std::max(0, currentColumn()));
    scrollToItem(item(row, 0) ? item(row, 0) : nullptr);
}

}  // namespace corvane
