#include "stats/tfstatvoll.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/text.h"
#include "core/transport_rules.h"
#include "scout/code_table.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/busy_cursor.h"
#include "ui/fitted_font.h"
#include "ui/main_window_link.h"
#include "ui/package_text.h"
#include "ui/statistics_dock.h"
#include "ui/text_grid.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

constexpr int kHeaderHeight = 32;
constexpr int kRowHeight = 16;
constexpr std::array<int, 6> kHomeWidths = {155, 61, 90, 107, 155, 68};
constexpr std::array<int, 6> kOpponentWidths = {154, 62, 89, 108, 155, 67};
const QColor kHeaderBackground(0x00, 0x80, 0xC0);
const QColor kOddRow(0xEA, 0xFA, 0xFF);
const QColor kEvenRow(0xCC, 0xF0, 0xFF);

// Plain light buttons: the black of the video area around a docked window must not swallow them.
const QString kButtonStyle = QStringLiteral(
    "QToolButton { background: #eef3f8; border: 1px solid #7d8fa3; border-radius: 2px; }"
    "QToolButton:hover { background: #ffffff; }"
    "QToolButton:pressed { background: #c9d6e3; }");

struct SubColumn {
    int left = 0, width = 0;
};

// The sub-columns of a column whose header is "title|sub$sub$...": equal widths, a pixel apart.
std::vector<SubColumn> subColumnsOf(const QString& header, int columnWidth) {
    const QString second = header.section(QChar('|'), 1, 1);
    if (!second.contains(QChar('$'))) return {};
    QStringList labels = second.split(QChar('$'));
    if (labels.size() > 1 && labels.back().isEmpty()) labels.removeLast();
    const int width = (columnWidth - 3) / static_cast<int>(labels.size());
    std::vector<SubColumn> columns;
    for (int i = 0, left = 0; i < labels.size(); ++i, left += width + 1) columns.push_back({left, width});
    return columns;
}

// The figures of one sub-column and the room they have.
struct SubColumnFigures {
    QStringList figures;
    int room = 0;
};

constexpr int kSmallestFigurePixels = 7;
constexpr int kNarrowestStretch = 50;  // half the letters' normal width

int widestOf(const QFont& font, const QStringList& figures) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& figure : figures) widest = std::max(widest, metrics.horizontalAdvance(figure));
    return widest;
}

QFont sizedAndNarrowed(QFont font, int pixels, int stretch) {
    if (QFontInfo(font).pixelSize() != pixels) font.setPixelSize(pixels);
    font.setStretch(stretch);
    return font;
}

bool fits(const QFont& font, const SubColumnFigures& column) { return widestOf(font, column.figures) <= column.room; }

// The least narrowing of the font at which the sub-column's figures fit it; the widths shrink
// about as the stretch does, so the search starts from that estimate.
int stretchFitting(const QFont& font, int pixels, const SubColumnFigures& column) {
    const int widest = widestOf(sizedAndNarrowed(font, pixels, 100), column.figures);
    int stretch = widest <= column.room ? 100 : std::max(kNarrowestStretch, 100 * column.room / widest);
    while (stretch > kNarrowestStretch && !fits(sizedAndNarrowed(font, pixels, stretch), column)) --stretch;
    return stretch;
}

// One height for every figure of a table, so that no figure looks smaller than its neighbours:
// the largest at which each sub-column's figures fit it, narrowed as far as half their width.
// Each sub-column then narrows its figures only as much as its own widest one needs.
std::vector<QFont> figureFonts(const QFont& normal, const std::vector<SubColumnFigures>& columns) {
    const auto fitAt = [&](int pixels) {
        return std::all_of(columns.begin(), columns.end(), [&](const SubColumnFigures& column) {
            return fits(sizedAndNarrowed(normal, pixels, kNarrowestStretch), column);
        });
    };
    int pixels = QFontInfo(normal).pixelSize();
    while (pixels > kSmallestFigurePixels && !fitAt(pixels)) --pixels;
    std::vector<QFont> fonts;
    for (const SubColumnFigures& column : columns)
        fonts.push_back(sizedAndNarrowed(normal, pixels, stretchFitting(normal, pixels, column)));
    return fonts;
}

}  // namespace

TFStatVoll::TFStatVoll(AppContext& app, MainWindowLink& main) : QWidget(main.mainWidget(), Qt::Window), app_(app), main_(main) {
    setObjectName(QStringLiteral("FStatVoll"));
    setAttribute(Qt::WA_DeleteOnClose);
    QString caption = messageToQt(app.messages.MessageText(36));
    setWindowTitle(caption.remove(QChar(':')));
    const auto makeTable = [this](const char* name, const std::array<int, 6>& widths, bool home) {
        auto* grid = new TextGrid(2, StatsTable::kColumns, this);
        grid->setObjectName(QString::fromLatin1(name));
        grid->setProperty("tag", -2);  // the figures grow a point with the Japanese font
        grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setShowGrid(false);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setFrameShape(QFrame::NoFrame);
        grid->setMouseTracking(true);
        grid->viewport()->setMouseTracking(true);
        grid->viewport()->installEventFilter(this);
        for (int column = 0; column < StatsTable::kColumns; ++column)
            grid->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
        grid->setCellPainter([this, home](QPainter& painter, const GridCell& cell) {
            paintCell(painter, home, cell.column, cell.row, cell.rect);
        });
        return grid;
    };
    GrdNos = makeTable("GrdNos", kHomeWidths, true);
    GrdAvv = makeTable("GrdAvv", kOpponentWidths, false);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { docked() ? Float() : Dock(); });
    XiButton1 = new QToolButton(this);
    XiButton1->setObjectName(QStringLiteral("XiButton1"));
    XiButton1->setIcon(glyphIcon(Glyph::Close, Qt::black));
    connect(XiButton1, &QToolButton::clicked, this, &QWidget::close);
    for (QToolButton* button : {SpeedButton1, XiButton1}) {
        button->setStyleSheet(kButtonStyle);
        button->setFocusPolicy(Qt::NoFocus);
    }
    dock_ = new StatisticsDock(app_, main_,
                               {this, SpeedButton1, XiButton1, {GrdNos, GrdAvv},
                                [this] { return GrdNos->width() + GrdAvv->width(); }, nullptr});
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});  // once the tables exist
    if (TFSubForm* panel = main_.searchPanel()) panel->setStatisticsButtonVisible(false);
}

TFStatVoll::~TFStatVoll() { forgetMain(); }

void TFStatVoll::closeEvent(QCloseEvent* event) {
    // The main window lets go at once: the strip above the video closes with the window.
    forgetMain();
    QWidget::closeEvent(event);
}

void TFStatVoll::forgetMain() {
    if (TFSubForm* panel = main_.searchPanel()) panel->setStatisticsButtonVisible(true);
    main_.statisticsClosed(this);
}

void TFStatVoll::fillTable(TextGrid* grid, const StatsTable& table) {
    // Header and at least one row, empty when the file has none.
    grid->resetRows(std::max<int>(static_cast<int>(table.rows.size()), 1) + 1);
    for (int column = 0; column < StatsTable::kColumns; ++column)
        grid->setCellText(column, 0, QString::fromStdString(table.headers[static_cast<std::size_t>(column)]));
    for (std::size_t row = 0; row < table.rows.size(); ++row)
        for (int column = 0; column < StatsTable::kColumns; ++column)
            grid->setCellText(column, static_cast<int>(row) + 1, fromCp1252(table.rows[row][static_cast<std::size_t>(column)]));
    grid->setRowHeight(0, kHeaderHeight);
    int width = 0;
    for (int column = 0; column < StatsTable::kColumns; ++column) width += grid->columnWidth(column);
    grid->setFixedSize(width, tableHeight(grid));

    // Every figure keeps inside its sub-column with a pixel of air on either side, so neighbouring
    // figures never run together.
    std::vector<SubColumnFigures> figures;
    std::vector<int> columnOf;
    for (int column = 1; column < StatsTable::kColumns; ++column) {
        const auto subColumns = subColumnsOf(grid->cellText(column, 0), grid->columnWidth(column));
        for (std::size_t sub = 0; sub < subColumns.size(); ++sub) {
            SubColumnFigures& these = figures.emplace_back(SubColumnFigures{{}, subColumns[sub].width - 2});
            for (int row = 1; row < grid->rowCount(); ++row)
                these.figures += grid->cellText(column, row).section(QChar(';'), static_cast<int>(sub), static_cast<int>(sub));
            columnOf.push_back(column);
        }
    }
    auto& fonts = valueFonts_[grid == GrdNos ? 0 : 1];
    for (auto& columnFonts : fonts) columnFonts.clear();
    const std::vector<QFont> fitted = figureFonts(grid->font(), figures);
    for (std::size_t i = 0; i < fitted.size(); ++i) fonts[static_cast<std::size_t>(columnOf[i])].push_back(fitted[i]);
}

int TFStatVoll::tableHeight(const TextGrid* grid) const { return (grid->rowCount() - 1) * 17 + 36; }

void TFStatVoll::Load(const std::filesystem::path& file) {
    {
        const BusyCursor busy;
        stats_ = LoadVolleyballStats(file, app_.state.match, app_.messages);
    }
    fittedTitles_.clear();
    fillTable(GrdNos, stats_.home);
    fillTable(GrdAvv, stats_.opponent);
}

bool TFStatVoll::docked() const { return dock_->docked(); }

void TFStatVoll::Float() {
    GrdNos->move(0, 1);
    GrdAvv->move(0, 1 + GrdNos->height() + 1);
    mirrorHotKeys(true);
    dock_->floatOverVideo(
        QSize(GrdNos->width() + StatisticsDock::kButtonStrip, GrdNos->height() + GrdAvv->height() + 7));
}

void TFStatVoll::Dock() {
    mirrorHotKeys(false);
    GrdNos->move(0, 0);
    GrdAvv->move(GrdNos->width() + 1, 0);
    dock_->dock(std::max(GrdNos->height(), GrdAvv->height()) + 10);
}

void TFStatVoll::mirrorHotKeys(bool on) {
    for (QShortcut* shortcut : hotKeys_) delete shortcut;
    hotKeys_.clear();
    // Docked, this window is part of the main one and its keys already reach it.
    if (!on) return;
    for (QShortcut* theirs : main_.mainWidget()->findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly)) {
        auto* mine = new QShortcut(this);
        mine->setKeys(theirs->keys());
        mine->setContext(Qt::WindowShortcut);
        mine->setAutoRepeat(theirs->autoRepeat());
        connect(mine, &QShortcut::activated, theirs, [theirs] {
            if (theirs->isEnabled()) Q_EMIT theirs->activated();
        });
        hotKeys_.push_back(mine);
    }
}

QString TFStatVoll::fittedTitle(const QString& title, const QFont& font, int width) {
    // Headers repaint often and a team name may be very long: each title is fitted once a width.
    for (const FittedTitle& known : fittedTitles_)
        if (known.width == width && known.title == title) return known.fitted;
    const QFontMetrics metrics(font);
    const std::string fitted = FitText(title.toStdString(), width, [&](std::string_view part) {
        return metrics.horizontalAdvance(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
    });
    fittedTitles_.push_back({title, width, QString::fromStdString(fitted)});
    return fittedTitles_.back().fitted;
}

void TFStatVoll::paintCell(QPainter& painter, bool home, int column, int row, const QRect& rect) {
    const TextGrid* grid = table(home);
    const QString text = grid->cellText(column, row);
    const QFont normal = grid->font();
    if (row == 0) {
        painter.fillRect(rect, kHeaderBackground);
        painter.setPen(Qt::white);
        const QString title = text.section(QChar('|'), 0, 0);
        const QString second = text.section(QChar('|'), 1, 1);
        QFont bold = normal;
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRect(rect.left(), rect.top(), rect.width(), 15), Qt::AlignCenter,
                         fittedTitle(title, bold, rect.width()));
        painter.setFont(normal);
        if (second.contains(QChar('$'))) {
            const QStringList labels = second.split(QChar('$'));
            const auto columns = subColumnsOf(text, rect.width());
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const QString& label = labels[static_cast<int>(i)];
                painter.setFont(fontFitting(normal, {label}, columns[i].width));
                painter.drawText(QRect(rect.left() + columns[i].left, rect.top() + 15, columns[i].width, rect.height() - 15),
                                 Qt::AlignCenter, label);
            }
        } else if (!second.isEmpty()) {
            painter.drawText(QRect(rect.left(), rect.top() + 16, rect.width(), rect.height() - 16), Qt::AlignHCenter,
                             second);
        }
        return;
    }
    painter.fillRect(rect, row % 2 ? kOddRow : kEvenRow);
    painter.setPen(Qt::black);
    painter.setFont(normal);
    if (column == 0) {
        if (text.startsWith(QStringLiteral("TO"))) {
            QFont bold = normal;
            bold.setBold(true);
            painter.setFont(bold);
            painter.drawText(rect.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter,
                             messageToQt(app_.messages.MessageText(137)));
            return;
        }
        const int dash = text.indexOf(QChar('-'));
        if (dash < 0) {
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
            return;
        }
        QString number = text.left(dash);
        if (number.startsWith(QChar('0'))) number.remove(0, 1);
        painter.drawText(QRect(rect.left(), rect.top(), 15, rect.height()), Qt::AlignRight | Qt::AlignVCenter, number);
        painter.drawText(rect.adjusted(19, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text.mid(dash + 1));
        return;
    }
    const QStringList values = text.split(QChar(';'));
    const auto columns = subColumnsOf(grid->cellText(column, 0), rect.width());
    const auto& fonts = valueFonts_[home ? 0 : 1][static_cast<std::size_t>(column)];
    for (std::size_t i = 0; i < columns.size() && static_cast<int>(i) < values.size(); ++i) {
        painter.setFont(i < fonts.size() ? fonts[i] : normal);
        painter.drawText(QRect(rect.left() + columns[i].left, rect.top(), columns[i].width, rect.height()),
                         Qt::AlignCenter, values[static_cast<int>(i)]);
    }
}

std::optional<TFStatVoll::Cell> TFStatVoll::clickableCellAt(bool home, const QPoint& point) const {
    const TextGrid* grid = table(home);
    const int row = grid->rowAt(point.y());
    const int column = grid->columnAt(point.x());
    if (row < 1 || column < 0) return std::nullopt;
    // The empty row of a table without players holds nothing to search.
    if (grid->cellText(0, row).isEmpty()) return std::nullopt;
    const bool totals = row == grid->rowCount() - 1;
    if (!statisticsCellClickable(column, totals, app_.state.SynthesisMode)) return std::nullopt;
    return Cell{home, column, row};
}

void TFStatVoll::search(bool home, const QPoint& point) {
    const auto clicked = clickableCellAt(home, point);
    if (!clicked) return;
    const TextGrid* grid = table(home);
    const int row = clicked->row;
    const int column = clicked->column;
    StatisticsCell cell{home, row == grid->rowCount() - 1, grid->cellText(0, row).toStdString(), column, -1};
    if (column >= 2) {
        const int x = point.x() - grid->columnViewportPosition(column);
        const int values = static_cast<int>(grid->cellText(column, row).split(QChar(';')).size());
        const auto columns = subColumnsOf(grid->cellText(column, 0), grid->columnWidth(column));
        for (int i = 0; i < values && i < static_cast<int>(columns.size()); ++i) {
            const SubColumn& sub = columns[static_cast<std::size_t>(i)];
            // The pixel after a sub-column is the gap before the next: every evaluation.
            if (x >= sub.left && x < sub.left + sub.width) {
                cell.subColumn = i;
                break;
            }
        }
    }
    AnalysisRecord& record = app_.state.analysis;
    statisticsSearch(cell, record);
    const std::string& code = record[AnalysisRecord::main_code];
    if (TFSubForm* panel = main_.searchPanel()) panel->showSearchCode(code);
    main_.Transport(TransportPause);
    if (TFCodici* list = main_.codeList()) {
        list->FillFromSearch(code, std::string());
        if (list->listRowCount() > 0) {
            const int first = list->currentListRow();
            main_.showPlayerDetail(PlayerLabel(list->listRow(first).code, app_.state.match, app_.state.Sport));
            if (list->PlayCode(first)) main_.Transport(TransportPlay);
        }
    }
    if (app_.settings.flag(CloseStatistics)) close();
}

bool TFStatVoll::eventFilter(QObject* watched, QEvent* event) {
    for (const bool home : {true, false}) {
        TextGrid* grid = table(home);
        if (watched != grid->viewport()) continue;
        const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
        if (!mouse) break;  // only the mouse's events are the table's own
        switch (event->type()) {
            case QEvent::MouseMove:
                grid->viewport()->setCursor(clickableCellAt(home, mouse->position().toPoint()) ? Qt::PointingHandCursor
                                                                                                : Qt::ArrowCursor);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                // A search is a left click where the hand shows: pressed and released on the same cell.
                click_.press(mouse->button(), clickableCellAt(home, mouse->position().toPoint()));
                return true;
            case QEvent::MouseButtonRelease:
                if (click_.release(mouse->button(), clickableCellAt(home, mouse->position().toPoint())))
                    search(home, mouse->position().toPoint());
                return true;
            default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
