#include "app/tfdetcodfs.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/full_screen_link.h"
#include "app/full_screen_keys_qt.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"

namespace corvane {

namespace {

constexpr int kWidth = 115;
constexpr int kHeight = 113;
constexpr int kRowHeight = 18;
const QColor kCodeText(0, 255, 0);           // lime
const QColor kSelectedBackground(0, 128, 0);
const QColor kSelectedText(255, 255, 0);

}  // namespace

TFDetCodFS::TFDetCodFS(AppContext& app, FullScreenLink& link)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), link_(link) {
    setObjectName(QStringLiteral("FDetCodFS"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Grd = new TextGrid(1, 1, this);
    Grd->setObjectName(QStringLiteral("Grd"));
    Grd->horizontalHeader()->hide();
    Grd->verticalHeader()->hide();
    Grd->verticalHeader()->setDefaultSectionSize(kRowHeight);
    Grd->setShowGrid(false);
    Grd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grd->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grd->setSelectionMode(QAbstractItemView::SingleSelection);
    Grd->setStyleSheet(QStringLiteral("QTableWidget { background: black; border: none; }"));
    QFont bold = Grd->font();
    bold.setBold(true);
    Grd->setFont(bold);
    Grd->setCellPainter([this](QPainter& painter, const GridCell& cell) {
        painter.fillRect(cell.rect, cell.selected ? kSelectedBackground : QColor(Qt::black));
        painter.setPen(cell.selected ? kSelectedText : kCodeText);
        painter.setFont(Grd->font());
        painter.drawText(cell.rect.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, cell.text);
    });
    Grd->installEventFilter(this);
    layout->addWidget(Grd);
    connect(Grd, &QTableWidget::cellClicked, this, [this](int row, int) { link_.selectListRow(row + 1); });
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
    // Column 0 takes the grid's whole width beside its scroll bar.
    Grd->setColumnWidth(0, kWidth - Grd->verticalScrollBar()->sizeHint().width());
}

void TFDetCodFS::setPlacement(const QRect& screen, const QRect& picture) {
    screen_ = screen;
    picture_ = picture;
    place();
}

// Inside the picture's right edge, or the screen's while there is no picture.
void TFDetCodFS::place() {
    const int right = picture_.isValid() ? picture_.left() + picture_.width() - 10 : screen_.width() - 5;
    move(screen_.left() + right - width(), screen_.top() + 10);
}

void TFDetCodFS::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    place();
}

void TFDetCodFS::fill(const std::vector<std::string>& codes, int selected) {
    const QSignalBlocker blocker(Grd);
    Grd->resetRows(std::max<int>(1, static_cast<int>(codes.size())));
    for (std::size_t n = 0; n < codes.size(); ++n)
        Grd->setCellText(0, static_cast<int>(n), fromCp1252(codes[n]).trimmed());
    if (selected < 0 || selected >= static_cast<int>(codes.size())) {
        Grd->clearSelection();
        return;
    }
    Grd->selectRow(selected);
    // The played code stands third from the top, with the two before it in sight.
    const int top = selected >= 2 ? selected - 2 : 0;
    Grd->scrollTo(Grd->model()->index(top, 0), QAbstractItemView::PositionAtTop);
}

int TFDetCodFS::selectedRow() const { return Grd->currentRow(); }

bool TFDetCodFS::handleKey(const QKeyEvent& event) {
    return takeFullScreenKey(event, link_, [this] { link_.leave(); });
}

void TFDetCodFS::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(*event)) QWidget::keyPressEvent(event);
}

bool TFDetCodFS::eventFilter(QObject* watched, QEvent* event) {
    // The window sees the keys before its grid.
    if (watched == Grd && event->type() == QEvent::KeyPress && handleKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
