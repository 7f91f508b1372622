#include "stats/tfstatos.h"

#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>

#include "codes/match_code.h"
#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/cp1252.h"
#include "core/text.h"
#include "core/transport_rules.h"
#include "scout/event_lookups.h"
#include "stats/extension_stats.h"
#include "stats/stat_generator.h"
#include "stats/tfvisestensioni.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/busy_cursor.h"
#include "ui/main_window_link.h"
#include "ui/package_text.h"
#include "ui/statistics_dock.h"
#include "ui/text_grid.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

constexpr int kHeaderHeight = 36;
constexpr int kPlayerColumnWidth = 150;
constexpr int kButtonStrip = StatisticsDock::kButtonStrip;
constexpr int kButtonSize = 16;
const QColor kDarkBlue(0x00, 0x00, 0x80);
const QColor kLightBlue(0x00, 0x80, 0xC0);
const QColor kOddRow(0xD6, 0xD6, 0xAD);
const QColor kEvenRow(0xFF, 0xFF, 0xC8);

void drawFitting(QPainter& painter, const QRect& rect, int vertical, const QString& text) {
    const bool fits = painter.fontMetrics().horizontalAdvance(text) <= rect.width();
    painter.drawText(rect, vertical | (fits ? Qt::AlignHCenter : Qt::AlignLeft), text);
}

}  // namespace

std::vector<TFStatOs::SubColumn> TFStatOs::subColumns(int left, int right, int count) {
    std::vector<SubColumn> columns;
    if (count <= 0) return columns;
    const int start = left + 3;
    const int width = (right - start) / count;
    for (int i = 0, at = start; i < count; ++i, at += width + 1) columns.push_back({at, width - 2});
    return columns;
}

TFStatOs::TFStatOs(AppContext& app, MainWindowLink& main) : QWidget(nullptr, Qt::Window), app_(app), main_(main) {
    setObjectName(QStringLiteral("FStatOs"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Docked, the window lies inside the video area, whose black ground would cover its buttons.
    setStyleSheet(QStringLiteral("QWidget#FStatOs, QToolButton { background: #f0f0f0; }"));
    QString caption = messageToQt(app.messages.MessageText(36));
    setWindowTitle(caption.remove(QChar(':')));
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
    const auto makeTable = [this](const char* name, bool home) {
        auto* grid = new TextGrid(1, 1, this);
        grid->setObjectName(QString::fromLatin1(name));
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        grid->setShowGrid(false);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setFrameShape(QFrame::NoFrame);
        grid->setMouseTracking(true);
        grid->viewport()->setMouseTracking(true);
        grid->viewport()->installEventFilter(this);
        grid->setCellPainter([this, home](QPainter& painter, const GridCell& cell) {
            if (!closing_) paintCell(painter, home, cell.column, cell.row, cell.rect);
        });
        // The extension buttons lie on the cells: they move when the table scrolls.
        for (QScrollBar* bar : {grid->horizontalScrollBar(), grid->verticalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, [this] { placeExtensionButtons(); });
        return grid;
    };
    GrdNos = makeTable("GrdNos", true);
    GrdAvv = makeTable("GrdAvv", false);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { docked() ? Float() : Dock(); });
    XiButton1 = new QToolButton(this);
    XiButton1->setObjectName(QStringLiteral("XiButton1"));
    XiButton1->setIcon(glyphIcon(Glyph::Close, Qt::black));
    connect(XiButton1, &QToolButton::clicked, this, &QWidget::close);
    dock_ = new StatisticsDock(app_, main_,
                               {this, SpeedButton1, XiButton1, {GrdNos, GrdAvv},
                                [this] { return std::max(tableWidth(GrdNos), tableWidth(GrdAvv)); },
                                [this] { followVideoArea(); }});
    if (TFSubForm* panel = main_.searchPanel()) panel->setStatisticsButtonVisible(false);
}

TFStatOs::~TFStatOs() {
    closing_ = true;
    closeExtensionLevels(1);
    forgetMain();
}

void TFStatOs::closeExtensionLevels(int level) {
    while (static_cast<int>(extensionWindows_.size()) >= std::max(level, 1)) {
        const QPointer<TFVisEstensioni> window = extensionWindows_.back();
        extensionWindows_.pop_back();
        delete window.data();
    }
}

void TFStatOs::closeEvent(QCloseEvent* event) {
    closing_ = true;
    closeExtensionLevels(1);
    forgetMain();
    QWidget::closeEvent(event);
}

void TFStatOs::forgetMain() {
    if (TFSubForm* panel = main_.searchPanel()) panel->setStatisticsButtonVisible(true);
    main_.statisticsClosed(this);
}

TFVisEstensioni* TFStatOs::extensionWindow(int level) const {
    if (level < 1 || level > static_cast<int>(extensionWindows_.size())) return nullptr;
    return extensionWindows_[static_cast<std::size_t>(level - 1)].data();
}

int TFStatOs::rowHeight() const { return stats_.compact ? 18 : 16; }

int TFStatOs::tableHeight(const TextGrid* grid) const {
    const int height = (grid->rowCount() - 1) * (rowHeight() + 1) + kHeaderHeight;
    return stats_.compact && grid == GrdAvv ? height - kHeaderHeight : height;
}

int TFStatOs::tableWidth(const TextGrid* grid) const {
    int width = 0;
    for (int column = 0; column < grid->columnCount(); ++column) width += grid->columnWidth(column) + 1;
    return width;
}

void TFStatOs::fillTable(TextGrid* grid, bool home) {
    const auto& rows = home ? stats_.home : stats_.opponent;
    grid->setColumnCount(static_cast<int>(stats_.headers.size()) + 1);
    grid->resetRows(static_cast<int>(rows.size()) + 1);
    grid->setCellText(0, 0, fromCp1252(home ? stats_.homeTitle : stats_.opponentTitle));
    const int perLabel = effectDescriptions_ ? 45 : 35;
    grid->setColumnWidth(0, kPlayerColumnWidth);
    for (std::size_t column = 0; column < stats_.headers.size(); ++column) {
        const auto& header = stats_.headers[column];
        grid->setCellText(static_cast<int>(column) + 1, 0, fromCp1252(header));
        grid->setColumnWidth(static_cast<int>(column) + 1,
                             perLabel * std::max<int>(1, static_cast<int>(headerLabels(header).size())));
    }
    for (std::size_t row = 0; row < rows.size(); ++row) {
        grid->setCellText(0, static_cast<int>(row) + 1, fromCp1252(rows[row].player));
        for (std::size_t column = 0; column < rows[row].cells.size(); ++column)
            grid->setCellText(static_cast<int>(column) + 1, static_cast<int>(row) + 1, fromCp1252(rows[row].cells[column]));
    }
    grid->verticalHeader()->setDefaultSectionSize(rowHeight() + 1);
    grid->setRowHeight(0, kHeaderHeight);
    if (stats_.compact && !home) grid->setRowHidden(0, true);
}

void TFStatOs::Load(const std::filesystem::path& file) {
    {
        const BusyCursor busy;
        effectDescriptions_ = app_.settings.flag(DisplayEffectsDescription);
        stats_ = LoadEventStats(file, app_.state.match);
        PruneEmptySubColumns(stats_);
    }
    if (!stats_.problem.empty()) app_.log.WriteLog("Stat.txt: " + stats_.problem);
    fillTable(GrdNos, true);
    fillTable(GrdAvv, false);
    layOut();
    placeExtensionButtons();
}

void TFStatOs::layOut() {
    GrdNos->hide();
    GrdAvv->hide();
    const int maxHeight = std::max(100, main_.mainWidget()->height() - 50);
    // The tables keep to the video area, clear of the button strip: floating over the video they
    // leave the code list in sight, docked they end before the buttons. Wider ones scroll.
    const int fullWidth = std::max(tableWidth(GrdNos), tableWidth(GrdAvv));
    const int room = std::max(kPlayerColumnWidth, main_.videoAreaWidth() - kButtonStrip - 10);
    const int width = std::min(fullWidth, room);
    for (TextGrid* grid : {GrdNos, GrdAvv}) {
        const bool scrolls = width < fullWidth;
        grid->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        grid->setFixedSize(width, tableHeight(grid) + (scrolls ? grid->horizontalScrollBar()->sizeHint().height() : 0));
    }
    const int both = GrdNos->height() + GrdAvv->height() + 2;
    if (both > maxHeight) {
        // Too tall for the main window: each table scrolls in its share.
        GrdNos->setFixedHeight(maxHeight * GrdNos->height() / both);
        GrdAvv->setFixedHeight(maxHeight - GrdNos->height() - 2);
    }
    GrdNos->show();
    GrdAvv->show();
}

void TFStatOs::placeExtensionButtons() {
    for (QToolButton* button : extensionButtons_) delete button;
    extensionButtons_.clear();
    for (const std::string& event : stats_.eventsWithExtensions) {
        int column = 0;
        for (std::size_t c = 0; c < stats_.headers.size() && column == 0; ++c)
            if (!event.empty() && stats_.headers[c].substr(0, 2) == event) column = static_cast<int>(c) + 1;
        if (column == 0) continue;
        for (const bool home : {true, false}) {
            TextGrid* grid = table(home);
            for (int row = 1; row < grid->rowCount(); ++row) {
                auto* button = new QToolButton(grid->viewport());
                button->setObjectName(QString::fromLatin1(home ? "SpdN" : "SpdA") + fromCp1252(event) +
                                      QStringLiteral("%1%2").arg(row, 2, 10, QChar('0')).arg(column, 2, 10, QChar('0')));
                button->setToolTip(QStringLiteral("Extensions"));
                button->setCursor(Qt::PointingHandCursor);
                button->setAutoRaise(true);
                button->setIcon(glyphIcon(Glyph::ZoomIn, Qt::black));
                button->setGeometry(grid->columnViewportPosition(column) + 3, grid->rowViewportPosition(row), kButtonSize,
                                    kButtonSize);
                button->show();
                connect(button, &QToolButton::clicked, this, [this, button] { SpdClick(button); });
                extensionButtons_.push_back(button);
            }
        }
    }
}

bool TFStatOs::docked() const { return dock_->docked(); }

bool TFStatOs::dockable() const { return dock_->dockable(); }

void TFStatOs::applyDisplayOptions() {
    effectDescriptions_ = app_.settings.flag(DisplayEffectsDescription);
    PruneEmptySubColumns(stats_);
    fillTable(GrdNos, true);
    fillTable(GrdAvv, false);
    layOut();
    if (docked()) Dock();
    else Float();
}

QSize TFStatOs::floatingSize() const {
    const int tables = GrdNos->width();
    const int width = (tables < 470 ? 480 : tables + 10) + (dockable() ? kButtonStrip : 0);
    return {width, GrdNos->height() + GrdAvv->height() + 2 + 5};
}

void TFStatOs::centreDockedTables() {
    const int left = std::max(0, (width() - kButtonStrip - GrdNos->width()) / 2);
    GrdNos->move(left, 0);
    GrdAvv->move(left, GrdNos->height() + 2);
}

void TFStatOs::followVideoArea() {
    // Docked, the tables stay centred in the new width; floating, the button strip comes or goes
    // with the room to dock.
    layOut();
    if (docked()) {
        centreDockedTables();
    } else {
        const QSize size = floatingSize();
        if (size != this->size()) resize(size);
    }
    placeExtensionButtons();
}

void TFStatOs::Float() {
    layOut();
    GrdNos->move(1, 1);
    GrdAvv->move(1, 1 + GrdNos->height() + 2);
    dock_->floatOverVideo(floatingSize());
    placeExtensionButtons();
}

void TFStatOs::Dock() {
    dock_->dock(GrdNos->height() + GrdAvv->height() + 10);
    centreDockedTables();
    dock_->placeButtons();
    placeExtensionButtons();
}

void TFStatOs::paintHeader(QPainter& painter, bool home, int column, const QRect& rect) {
    const TextGrid* grid = table(home);
    painter.fillRect(rect, column == 0 || column % 2 == 0 ? kDarkBlue : kLightBlue);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QString text = grid->cellText(column, 0);
    const int bar = text.indexOf(QChar('|'));
    QString title = bar < 0 ? text : text.left(bar);
    const std::string event = column == 0 ? std::string() : headerEvent(stats_.headers[static_cast<std::size_t>(column - 1)]);
    if (column > 0 && bar >= 0) title = fromCp1252(EventDescription(event, app_.state.events));
    drawFitting(painter, QRect(rect.left() + 1, rect.top(), rect.width() - 2, 15), Qt::AlignVCenter, title);
    font.setBold(false);
    painter.setFont(font);
    if (bar < 0) return;
    const QString second = text.mid(bar + 1);
    if (!second.contains(QChar('$'))) {
        painter.drawText(QRect(rect.left(), rect.top() + 18, rect.width(), rect.height() - 18), Qt::AlignHCenter, second);
        return;
    }
    const QStringList labels = second.split(QChar('$'));
    const auto columns = subColumns(rect.left(), rect.right(), static_cast<int>(labels.size()));
    for (int i = 0; i < labels.size(); ++i) {
        const SubColumn& sub = columns[static_cast<std::size_t>(i)];
        const QRect area(sub.left, rect.top() + 18, sub.width + 2, rect.height() - 18);
        QString label = labels[i];
        if (i > 0 && effectDescriptions_) {
            const std::string symbol = label.toStdString();
            label = symbol.size() == 1 ? fromCp1252(EffectDescription(event, symbol, symbol, app_.state.events)) : label.mid(1, 1);
        }
        drawFitting(painter, area, Qt::AlignVCenter, label);
    }
}

void TFStatOs::paintCell(QPainter& painter, bool home, int column, int row, const QRect& rect) {
    if (row == 0) return paintHeader(painter, home, column, rect);
    const TextGrid* grid = table(home);
    const QString text = grid->cellText(column, row);
    const bool teamRow = grid->cellText(0, row).startsWith(QStringLiteral("SQ"));
    QFont font = painter.font();
    font.setPointSize(stats_.compact ? 10 : 8);
    painter.setFont(font);
    painter.fillRect(rect, row % 2 ? kOddRow : kEvenRow);
    painter.setPen(Qt::black);
    if (column == 0) {
        if (text.startsWith(QStringLiteral("TO"))) {
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(rect.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Totali"));
        } else if (teamRow) {
            painter.fillRect(rect.adjusted(15, 0, 0, 0), kDarkBlue);
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(rect.adjusted(15, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("  Squadra"));
        } else if (const int dash = text.indexOf(QChar('-')); dash >= 0) {
            QString number = text.left(dash);
            if (number.startsWith(QChar('0'))) number.remove(0, 1);
            painter.drawText(QRect(rect.left(), rect.top(), 15, rect.height()), Qt::AlignRight | Qt::AlignVCenter, number);
            painter.drawText(rect.adjusted(19, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text.mid(dash + 1));
        } else {
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
        }
        return;
    }
    if (teamRow) {
        painter.fillRect(rect, kDarkBlue);
        painter.setPen(Qt::white);
    }
    const QStringList values = text.split(QChar(';'));
    const int labels = static_cast<int>(headerLabels(stats_.headers[static_cast<std::size_t>(column - 1)]).size());
    const auto columns = subColumns(rect.left(), rect.right(), labels);
    for (std::size_t i = 0; i < columns.size() && static_cast<int>(i) < values.size(); ++i)
        painter.drawText(QRect(columns[i].left, rect.top(), columns[i].width - 1, rect.height()),
                         Qt::AlignRight | Qt::AlignVCenter, values[static_cast<int>(i)]);
}

std::optional<TFStatOs::Cell> TFStatOs::clickableCellAt(bool home, const QPoint& point) const {
    const TextGrid* grid = table(home);
    const Cell cell{home, grid->rowAt(point.y()), grid->columnAt(point.x())};
    if (!eventCellClickable(stats_, {home, cell.row - 1, cell.column, -1})) return std::nullopt;
    return cell;
}

void TFStatOs::clickAt(bool home, const QPoint& point) {
    search(home, point);
    if (app_.settings.flag(CloseStatistics)) close();
}

void TFStatOs::search(bool home, const QPoint& point) {
    const auto cell = clickableCellAt(home, point);
    if (!cell) return;
    TextGrid* grid = table(home);
    const int column = cell->column;
    EventStatsClick click{home, cell->row - 1, column, -1};
    if (column > 0) {
        const int left = grid->columnViewportPosition(column);
        const int labels = static_cast<int>(headerLabels(stats_.headers[static_cast<std::size_t>(column - 1)]).size());
        const auto columns = subColumns(left, left + grid->columnWidth(column) - 1, labels);
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (point.x() >= columns[i].left && point.x() <= columns[i].left + columns[i].width) {
                click.subColumn = static_cast<int>(i);
                break;
            }
    }
    AnalysisRecord& record = app_.state.analysis;
    const auto pattern = eventStatisticsSearch(stats_, click, app_.state.Sport, record);
    if (!pattern) return;
    if (TFSubForm* panel = main_.searchPanel()) panel->showSearchCode(*pattern);
    main_.Transport(TransportPause);
    if (TFCodici* list = main_.codeList()) {
        list->FillFromSearch(*pattern, list->SetFilterText());
        if (list->listRowCount() > 0) {
            list->PlayCode(list->currentListRow());
            main_.Transport(TransportPlay);
        }
    }
}

void TFStatOs::SpdClick(QToolButton* button) {
    // The name carries the side, the event, the row and the column: "SpdN" FI 03 02.
    const QString name = button->objectName();
    const bool home = name.startsWith(QStringLiteral("SpdN"));
    const int column = name.right(2).toInt();
    const int row = name.mid(name.size() - 4, 2).toInt();
    const std::string event = utf8ToCp1252(name.mid(4, name.size() - 8).toStdString());
    const auto& rows = home ? stats_.home : stats_.opponent;
    const auto player = eventPlayerPart(rows, row - 1, app_.state.Sport);
    if (!player) return;
    const std::string& first = rows[static_cast<std::size_t>(row - 1)].player;
    const std::size_t dash = first.find('-');
    std::string playerName = dash == std::string::npos ? first : first.substr(dash + 1);
    if (leadingInteger(dash == std::string::npos ? first : first.substr(0, dash)) < 1) playerName = first;
    extensionColumn_ = column;
    const std::string caption = playerName + ", " + EventDescription(event, app_.state.events);
    const std::string pattern = extensionPattern(home, tildesToBlanks(*player), event);
    TFVisEstensioni::openLevel(*this, 1, fromCp1252(caption), pattern, GrdNos->columnWidth(0),
                               std::max(35, table(home)->columnWidth(column)));
}

bool TFStatOs::eventFilter(QObject* watched, QEvent* event) {
    for (const bool home : {true, false}) {
        TextGrid* grid = table(home);
        if (watched != grid->viewport()) continue;
        const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
        if (!mouse) break;
        const QPoint at = mouse->position().toPoint();
        switch (event->type()) {
            case QEvent::MouseMove:
                grid->viewport()->setCursor(clickableCellAt(home, at) ? Qt::PointingHandCursor : Qt::ArrowCursor);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                click_.press(mouse->button(), clickableCellAt(home, at));
                return true;
            case QEvent::MouseButtonRelease:
                if (click_.release(mouse->button(), clickableCellAt(home, at))) clickAt(home, at);
                return true;
            default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
