#include "stats/tfvisestensioni.h"

#include <QCursor>
#include <QGuiApplication>
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
#include "ui/app_context.h"
#include "ui/main_window_link.h"
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

QString shown(const std::string& cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

}  // namespace

TFVisEstensioni* TFVisEstensioni::openLevel(TFStatOs& owner, int level, const QString& caption,
                                            const std::string& pattern, int codeWidth, int valuesWidth,
                                            bool recordFailureTold) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    owner.closeExtensionLevels(level);
    AppContext& app = owner.app_;
    const auto file = extensionStatsFile(app.platform);
    // The figures come from the code table the code list searches, as the generator returns them:
    // the record file is written for the record and never read back.
    const GeneratorOutcome outcome = generateExtensionStats(app.state.codeTable, app.state.Sport, pattern, file);
    QGuiApplication::restoreOverrideCursor();
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
        GrdExt->setCellText(0, static_cast<int>(row), shown(stats_.rows[row].code));
        GrdExt->setCellText(1, static_cast<int>(row), shown(stats_.rows[row].values));
    }
    GrdExt->setCellText(0, 0, QString());
    GrdExt->setColumnWidth(0, codeWidth);
    GrdExt->setColumnWidth(1, valuesWidth);
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
    const int labels = static_cast<int>(extensionLabels(stats_).size());
    return labels > 0 ? GrdExt->columnWidth(1) / labels : 0;
}

void TFVisEstensioni::paintCell(QPainter& painter, int column, int row, const QRect& rect) {
    const std::string event = pattern_.size() >= 5 ? pattern_.substr(3, 2) : std::string();
    if (row == 0) {
        painter.fillRect(rect, kHeader);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        if (column == 0) return;
        const auto labels = extensionLabels(stats_);
        const int width = labelWidth();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QRect area(rect.left() + static_cast<int>(i) * width, rect.top(), width - 2, rect.height());
            QString text = shown(labels[i]);
            if (labels[i] == "t") {
                text = QStringLiteral("Tot.");
            } else if (!labels[i].empty() && labels[i][0] == '%') {
                text = QStringLiteral("%") + (i > 0 ? shown(labels[i - 1]) : QString());
            } else if (effectDescriptions_) {
                text = shown(EffectDescription(event, labels[i], labels[i], app_.state.events));
            }
            const bool fits = painter.fontMetrics().horizontalAdvance(text) <= area.width();
            painter.drawText(area, Qt::AlignVCenter | (fits || !effectDescriptions_ ? Qt::AlignHCenter : Qt::AlignLeft), text);
        }
        return;
    }
    painter.fillRect(rect, row % 2 ? kOddRow : kEvenRow);
    painter.setPen(Qt::black);
    const ExtensionRow& data = stats_.rows[static_cast<std::size_t>(row)];
    if (column == 0) {
        const bool last = row + 1 == static_cast<int>(stats_.rows.size());
        const std::string text = last ? data.code : extensionRowText(pattern_, data.code, app_.state.events, app_.state.Sport);
        painter.drawText(rect.adjusted(2, 0, -kButtonSize - 4, 0), Qt::AlignLeft | Qt::AlignVCenter, shown(text));
        return;
    }
    const QStringList values = shown(data.values).split(QChar(';'));
    const int width = values.isEmpty() ? 0 : rect.width() / static_cast<int>(values.size());
    for (int i = 0; i < values.size(); ++i)
        painter.drawText(QRect(rect.left() + i * width - (i > 0 ? i : 0), rect.top(), width - 2, rect.height()),
                         Qt::AlignRight | Qt::AlignVCenter, values[i]);
}

std::optional<int> TFVisEstensioni::clickableRowAt(const QPoint& point) const {
    const int row = GrdExt->rowAt(point.y());
    if (row < 1 || row >= static_cast<int>(stats_.rows.size()) || GrdExt->columnAt(point.x()) < 0) return std::nullopt;
    return row;
}

void TFVisEstensioni::clickAt(const QPoint& point) {
    search(point);
    if (app_.settings.read(CloseStatistics) == "1") close();
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
    const QString caption = shown(extensionRowText(pattern_, code, app_.state.events, app_.state.Sport));
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
