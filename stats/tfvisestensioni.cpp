#include "stats/tfvisestensioni.h"

#include <algorithm>

#include <QCursor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/transport_rules.h"
#include "scout/event_lookups.h"
#include "stats/stat_generator.h"
#include "stats/tfstatos.h"
#include "core/text.h"
#include "ui/app_context.h"
#include "ui/busy_cursor.h"
#include "ui/fitted_font.h"
#include "ui/main_window_link.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

constexpr int kRowHeight = 18;
constexpr int kTitleHeight = 20;
constexpr int kButtonSize = 16;
constexpr int kDeeperLabelWidth = 40;
constexpr int kWarningTitle = 14;
constexpr int kNoFiguresForCode = 620;
constexpr int kRecordNotWritten = 621;
constexpr int kNoFiguresForSport = 622;
const QColor kHeader(0x00, 0x00, 0x80);
const QColor kOddRow(0xD6, 0xD6, 0xAD);
const QColor kEvenRow(0xFF, 0xFF, 0xC8);

}  // namespace

TFVisEstensioni* TFVisEstensioni::openLevel(TFStatOs& owner, int level, const QString& caption,
                                            const std::string& pattern, int codeWidth, int valuesWidth,
                                            bool recordFailureTold) {
    AppContext& app = owner.app_;
    const auto file = extensionStatsFile(app.platform);
    const GeneratorOutcome outcome = [&] {
        const BusyCursor busy;
        owner.closeExtensionLevels(level);
        // The figures come from the code table the code list searches, as the generator returns
        // them: the record file is written for the record and never read back.
        return generateExtensionStats(app.state.codeTable, app.state.Sport, pattern, file);
    }();
    if (!outcome.written)
        app.log.WriteLog("StatExt.txt: " + describe(outcome.problem) + (file.empty() ? "" : " (" + file.string() + ")"));
    if (!outcome.stats) {
        const bool badSport = outcome.problem == GeneratorProblem::BadSport;
        const std::string text = withArguments(app.messages.MessageText(badSport ? kNoFiguresForSport : kNoFiguresForCode),
                                               {cp1252ToUtf8(pattern)});
        app.boxes.ShowMessageBox(text, app.messages.MessageText(kWarningTitle), MessageBoxExclamation);
        return nullptr;
    }
    const ExtensionStats& stats = *outcome.stats;
    if (!stats.hasDataRows()) return nullptr;
    auto* window = new TFVisEstensioni(app, owner, level);
    owner.extensionWindows_.emplace_back(window);
    if (level > 1) valuesWidth = kDeeperLabelWidth * static_cast<int>(extensionLabels(stats).size());
    window->present(stats, caption, pattern, codeWidth, std::max(35, valuesWidth), level == 1 ? QPoint(14, 10) : QPoint(10, 10));
    window->recordFailureTold_ = recordFailureTold;
    if (!outcome.written && !recordFailureTold) {
        // Told once for the chain this click opens; the deeper levels fail the same way.
        window->recordFailureTold_ = true;
        const std::string text = withArguments(app.messages.MessageText(kRecordNotWritten),
                                               {file.empty() ? describe(outcome.problem) : file.string()});
        app.boxes.ShowMessageBox(text, app.messages.MessageText(kWarningTitle), MessageBoxExclamation);
    }
    return window;
}

TFVisEstensioni::TFVisEstensioni(AppContext& app, TFStatOs& owner, int level)
    : QWidget(owner.main_.mainWidget(), Qt::Tool | Qt::FramelessWindowHint), app_(app), owner_(owner), level_(level) {
    setObjectName(QStringLiteral("FVisEstensioni%1").arg(level));
    setAttribute(Qt::WA_DeleteOnClose);
    Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setAutoFillBackground(true);
    Panel4->setPalette(QPalette(kHeader));
    Label1 = new QLabel(Panel4);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: white; font-weight: bold"));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* close = new QToolButton(Panel4);
    close->setObjectName(QStringLiteral("XiButton2"));
    close->setIcon(glyphIcon(Glyph::Close, Qt::white));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, &QWidget::close);
    GrdExt = new TextGrid(1, 2, this);
    GrdExt->setObjectName(QStringLiteral("GrdExt"));
    GrdExt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GrdExt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GrdExt->setShowGrid(false);
    GrdExt->setSelectionMode(QAbstractItemView::NoSelection);
    GrdExt->setFrameShape(QFrame::NoFrame);
    GrdExt->verticalHeader()->setDefaultSectionSize(kRowHeight);
    GrdExt->setMouseTracking(true);
    GrdExt->viewport()->setMouseTracking(true);
    GrdExt->viewport()->installEventFilter(this);
    GrdExt->setCellPainter([this](QPainter& painter, const GridCell& cell) {
        paintCell(painter, cell.column, cell.row, cell.rect);
    });
    Panel4->installEventFilter(this);
}

TFVisEstensioni::~TFVisEstensioni() {
    // A window takes every deeper level with it.
    owner_.closeExtensionLevels(level_ + 1);
}

QString TFVisEstensioni::caption() const { return Label1->text(); }

QToolButton* TFVisEstensioni::subExtensionButton(int row) const {
    return findChild<QToolButton*>(QStringLiteral("Spd%1").arg(row, 2, 10, QChar('0')));
}

void TFVisEstensioni::present(const ExtensionStats& stats, const QString& caption, const std::string& pattern,
                              int codeWidth, int valuesWidth, QPoint offset) {
    stats_ = stats;
    pattern_ = pattern;
    effectDescriptions_ = owner_.effectDescriptions_;
    GrdExt->resetRows(static_cast<int>(stats_.rows.size()));
    for (std::size_t row = 0; row < stats_.rows.size(); ++row) {
        GrdExt->setCellText(0, static_cast<int>(row), fromCp1252(stats_.rows[row].code));
        GrdExt->setCellText(1, static_cast<int>(row), fromCp1252(stats_.rows[row].values));
    }
    GrdExt->setCellText(0, 0, QString());
    GrdExt->setColumnWidth(0, codeWidth);
    GrdExt->setColumnWidth(1, valuesWidth);
    fitFigures();
    const int tableHeight = static_cast<int>(stats_.rows.size()) * kRowHeight;
    const int width = codeWidth + valuesWidth + 10;
    resize(width, tableHeight + kTitleHeight + 10);
    Panel4->setGeometry(0, 0, width, kTitleHeight);
    Label1->setGeometry(4, 0, width - 28, kTitleHeight);
    Label1->setText(caption);
    Panel4->findChild<QToolButton*>(QStringLiteral("XiButton2"))->setGeometry(width - 20, 2, 16, 16);
    GrdExt->setGeometry(5, kTitleHeight + 5, codeWidth + valuesWidth, tableHeight);
    move(QCursor::pos() + offset);
    QWidget::show();
    placeButtons();
}

void TFVisEstensioni::placeButtons() {
    for (QToolButton* button : buttons_) delete button;
    buttons_.clear();
    for (int row = 1; row < static_cast<int>(stats_.rows.size()); ++row) {
        if (!stats_.opensDeeperLevel(stats_.rows[static_cast<std::size_t>(row)].code)) continue;
        auto* button = new QToolButton(GrdExt->viewport());
        button->setObjectName(QStringLiteral("Spd%1").arg(row, 2, 10, QChar('0')));
        button->setToolTip(QStringLiteral("Extensions"));
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoRaise(true);
        button->setIcon(glyphIcon(Glyph::ZoomIn, Qt::black));
        button->setGeometry(GrdExt->columnWidth(0) - kButtonSize - 2, GrdExt->rowViewportPosition(row) + 1, kButtonSize,
                            kButtonSize);
        button->show();
        connect(button, &QToolButton::clicked, this, [this, row] { SpdClick(row); });
        buttons_.push_back(button);
    }
}

int TFVisEstensioni::labelWidth() const {
    const auto columns = subColumns();
    return columns.empty() ? 0 : columns.front().width;
}

std::vector<ExtensionSubColumn> TFVisEstensioni::subColumns() const {
    return extensionSubColumns(GrdExt->columnWidth(1), static_cast<int>(extensionLabels(stats_).size()));
}

QString TFVisEstensioni::labelText(std::size_t label) const {
    const auto labels = extensionLabels(stats_);
    const std::string& raw = labels[label];
    if (raw == "t") return QStringLiteral("Tot.");
    if (!raw.empty() && raw[0] == '%') return QStringLiteral("%") + (label > 0 ? fromCp1252(labels[label - 1]) : QString());
    if (!effectDescriptions_) return fromCp1252(raw);
    const std::string event = pattern_.size() >= 5 ? pattern_.substr(3, 2) : std::string();
    return fromCp1252(EffectDescription(event, raw, raw, app_.state.events));
}

namespace {

// The largest font at which every text fits `room` whole; when even the smallest is too large, the
// largest at which the shortest readable forms fit, so that shortening, not a font too small to
// read, makes the room.
QFont fittingFont(const QFont& font, const QStringList& whole, const QStringList& shortest, int room) {
    const QFont fitted = fontFitting(font, whole, room);
    const QFontMetrics metrics(fitted);
    const bool fits = std::all_of(whole.begin(), whole.end(), [&](const QString& text) { return metrics.horizontalAdvance(text) <= room; });
    return fits ? fitted : fontFitting(font, shortest, room);
}

TextMeasure measureWith(const QFontMetrics& metrics) {
    return [metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
}

}  // namespace

void TFVisEstensioni::fitFigures() {
    // One size for the labels and one for the figures, the largest at which every one of them fits
    // its box; what does not fit even at the smallest size is shortened.
    const auto columns = subColumns();
    const int room = columns.empty() ? 0 : columns.front().boxWidth();
    const auto labels = extensionLabels(stats_);
    QStringList labelTexts, labelSymbols;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labelTexts += labelText(i);
        labelSymbols += fromCp1252(labels[i]);
    }
    QFont bold = GrdExt->font();
    bold.setBold(true);
    labelFont_ = fittingFont(bold, labelTexts, labelSymbols, room);
    const QFontMetrics labelMetrics(labelFont_);
    const TextMeasure measureLabel = measureWith(labelMetrics);
    shownLabels_.clear();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string whole = labelTexts[static_cast<qsizetype>(i)].toStdString();
        // A description is shortened with "..."; "Tot." and "%=" would lose what they say, so they,
        // and a description too narrow even for that, fall back to the label as the file has it.
        const bool description = whole != labelSymbols[static_cast<qsizetype>(i)].toStdString() &&
                                 labels[i] != "t" && labels[i][0] != '%';
        const std::string fitted = description ? FitText(whole, room, measureLabel) : whole;
        std::string text = measureLabel(fitted) <= room && fitted != "..." ? fitted : labelSymbols[static_cast<qsizetype>(i)].toStdString();
        if (measureLabel(text) > room) text.clear();
        shownLabels_ += QString::fromStdString(text);
    }

    QStringList figures, shortest;
    for (std::size_t row = 1; row < stats_.rows.size(); ++row)
        for (const QString& figure : fromCp1252(stats_.rows[row].values).split(QChar(';'))) {
            figures += figure;
            const auto forms = FigureForms(figure.toStdString());
            // The shortest form that still shows the number, not the no-room mark.
            if (!forms.empty()) shortest += QString::fromStdString(forms[forms.size() > 1 ? forms.size() - 2 : 0]);
        }
    figureFont_ = fittingFont(GrdExt->font(), figures, shortest, room);
    const TextMeasure measureFigure = measureWith(QFontMetrics(figureFont_));
    shownFigures_.assign(stats_.rows.size(), QStringList());
    for (std::size_t row = 1; row < stats_.rows.size(); ++row)
        for (const QString& figure : fromCp1252(stats_.rows[row].values).split(QChar(';')))
            shownFigures_[row] += QString::fromStdString(FitFigure(figure.toStdString(), room, measureFigure));
}

namespace {
QRect figureBox(const QRect& cell, const ExtensionSubColumn& column) {
    return {cell.left() + column.boxLeft(), cell.top(), column.boxWidth(), cell.height()};
}
}  // namespace

void TFVisEstensioni::paintCell(QPainter& painter, int column, int row, const QRect& rect) {
    const auto columns = subColumns();
    const int boxes = static_cast<int>(columns.size());
    if (row == 0) {
        painter.fillRect(rect, kHeader);
        painter.setPen(Qt::white);
        if (column == 0) return;
        painter.setFont(labelFont_);
        for (int i = 0; i < boxes && i < shownLabels_.size(); ++i)
            painter.drawText(figureBox(rect, columns[static_cast<std::size_t>(i)]), Qt::AlignCenter, shownLabels_[i]);
        return;
    }
    painter.fillRect(rect, row % 2 ? kOddRow : kEvenRow);
    painter.setPen(Qt::black);
    const ExtensionRow& data = stats_.rows[static_cast<std::size_t>(row)];
    if (column == 0) {
        const bool last = row + 1 == static_cast<int>(stats_.rows.size());
        const std::string text = last ? data.code : extensionRowText(pattern_, data.code, app_.state.events, app_.state.Sport);
        painter.drawText(rect.adjusted(2, 0, -kButtonSize - 4, 0), Qt::AlignLeft | Qt::AlignVCenter, fromCp1252(text));
        return;
    }
    // Every other share a shade darker, so that figures side by side in narrow shares ("1" and
    // "100") read as two figures, not one.
    const QColor shade = (row % 2 ? kOddRow : kEvenRow).darker(110);
    for (std::size_t i = 1; i < columns.size(); i += 2)
        painter.fillRect(QRect(rect.left() + columns[i].left, rect.top(), columns[i].width, rect.height()), shade);
    // Each figure in the box of its label: where it is drawn is where a click selects it.
    painter.setFont(figureFont_);
    const QStringList& figures = shownFigures_[static_cast<std::size_t>(row)];
    for (int i = 0; i < boxes && i < figures.size(); ++i)
        painter.drawText(figureBox(rect, columns[static_cast<std::size_t>(i)]), Qt::AlignRight | Qt::AlignVCenter, figures[i]);
}

std::optional<int> TFVisEstensioni::clickableRowAt(const QPoint& point) const {
    const int row = GrdExt->rowAt(point.y());
    if (row < 1 || row >= static_cast<int>(stats_.rows.size()) || GrdExt->columnAt(point.x()) < 0) return std::nullopt;
    return row;
}

void TFVisEstensioni::clickAt(const QPoint& point) {
    search(point);
    if (app_.settings.flag(CloseStatistics)) close();
}

void TFVisEstensioni::search(const QPoint& point) {
    const auto clicked = clickableRowAt(point);
    if (!clicked) return;
    const int row = *clicked;
    const int column = GrdExt->columnAt(point.x());
    int label = kClickOnCode;
    if (column == 1) {
        const int labels = static_cast<int>(extensionLabels(stats_).size());
        label = extensionLabelAt(point.x() - GrdExt->columnWidth(0), labelWidth(), labels);
    }
    const std::string search = extensionClickPattern(pattern_, stats_, row, label);
    AnalysisRecord& record = app_.state.analysis;
    record.Clear();
    record[AnalysisRecord::team] = search[0] == '*' ? "0" : search[0] == 'a' ? "1" : "2";
    record[AnalysisRecord::main_code] = search;
    record[AnalysisRecord::seconds_prev] = "2";
    record[AnalysisRecord::play_end_rally] = "1";
    MainWindowLink& main = owner_.main_;
    if (TFCodici* list = main.codeList()) {
        list->FillFromSearch(search, list->SetFilterText());
        if (list->listRowCount() > 0) {
            list->PlayCode(list->currentListRow());
            main.Transport(TransportPlay);
        }
    }
}

void TFVisEstensioni::SpdClick(int row) {
    const std::string& code = stats_.rows[static_cast<std::size_t>(row)].code;
    const QString caption = fromCp1252(extensionRowText(pattern_, code, app_.state.events, app_.state.Sport));
    openLevel(owner_, level_ + 1, caption, overlayForButton(pattern_, code), GrdExt->columnWidth(0), 0,
              recordFailureTold_);
}

bool TFVisEstensioni::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GrdExt->viewport()) {
        const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
        if (!mouse) return QWidget::eventFilter(watched, event);
        const QPoint at = mouse->position().toPoint();
        switch (event->type()) {
            case QEvent::MouseMove:
                GrdExt->viewport()->setCursor(clickableRowAt(at) ? Qt::PointingHandCursor : Qt::ArrowCursor);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                click_.press(mouse->button(), clickableRowAt(at));
                return true;
            case QEvent::MouseButtonRelease:
                if (click_.release(mouse->button(), clickableRowAt(at))) clickAt(at);
                return true;
            default: break;
        }
    } else if (watched == Panel4) {
        // The title strip drags the window.
        const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
        if (mouse && event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            dragFrom_ = mouse->globalPosition().toPoint() - pos();
            return true;
        }
        if (mouse && event->type() == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
            move(mouse->globalPosition().toPoint() - dragFrom_);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
