#include "codes/tfcodici.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "codes/action_end.h"
#include "codes/analyses_file.h"
#include "codes/check_combo_box_qt.h"
#include "codes/clear_text_layout.h"
#include "codes/code_description.h"
#include "codes/code_list_rules.h"
#include "codes/tfreel.h"
#include "codes/tfsubform.h"
#include "core/cp1252.h"
#include "core/sport.h"
#include "core/text.h"
#include "core/transport_rules.h"
#include "scout/code_table.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/fitted_font.h"
#include "ui/fitted_label.h"
#include "ui/main_window_link.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

const QColor kHeaderColour(0, 128, 192);
const QColor kHomeRow(101, 110, 177);
const QColor kVisitingRow(77, 83, 118);
const QColor kSelectedRow(0, 0, 128);
const QColor kGridLine(128, 128, 128);
const QColor kPlaceColour(205, 210, 235);
constexpr int kNoCodeFoundMessage = 400;

CodeDescriptionParts utf8Parts(CodeDescriptionParts parts) {
    for (std::string* text : {&parts.team, &parts.player, &parts.shirtNumber, &parts.event, &parts.effect, &parts.rest,
                              &parts.whole})
        *text = cp1252ToUtf8(*text);
    return parts;
}

// Volleyball action codes are drawn in their fields: positions (from 1) and their offsets.
struct CodePiece {
    std::size_t from, count;
    int left;
};
constexpr CodePiece kVolleyballPieces[] = {{1, 6, 1}, {7, 3, 49}, {10, 1, 68}, {11, 2, 84}, {16, 5, 130}};

std::string_view piece(std::string_view code, std::size_t from, std::size_t count) {
    return from - 1 < code.size() ? code.substr(from - 1, count) : std::string_view();
}

}  // namespace

TFCodici::TFCodici(AppContext& app, MainWindowLink& main, QWidget* parent) : QWidget(parent), app_(app), main_(main) {
    setObjectName(QStringLiteral("FCodici1"));
    setAutoFillBackground(true);
    hintTimer_.setSingleShot(true);
    hintTimer_.setInterval(2000);
    connect(&hintTimer_, &QTimer::timeout, this, [] { QToolTip::hideText(); });
    buildWidgets();
    using E = CaptionEntry;
    ApplyLanguage(this, app.state.LanguageNumber, app.messages,
                  {{"ButNext", 43, E::Hint}, {"ButPrev", 42, E::Hint}, {"ButRicerca", 64}});
}

void TFCodici::buildWidgets() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    topStrip = new QWidget(this);
    auto* top = new QHBoxLayout(topStrip);
    top->setContentsMargins(2, 2, 2, 2);
    LblDesSet = new QLabel(topStrip);
    LblDesSet->setStyleSheet(QStringLiteral("color: white;"));
    CbSet = new TCheckComboBoxQT(topStrip);
    CbSet->setObjectName(QStringLiteral("CbSet"));
    CbSet->setCheckAllOnFirst(true);
    ButRicerca = new QPushButton(topStrip);
    ButRicerca->setObjectName(QStringLiteral("ButRicerca"));
    top->addWidget(LblDesSet);
    top->addWidget(CbSet, 1);
    top->addWidget(ButRicerca);
    layout->addWidget(topStrip);
    connect(ButRicerca, &QPushButton::clicked, this, &TFCodici::searchClick);
    connect(CbSet, &TCheckComboBoxQT::changed, this, [this] {
        if (!app_.state.SynthesisMode) return;  // a match list takes the new sets at the next search
        if (TFSubForm* panel = main_.searchPanel()) panel->reapplySelectedAnalysis();
        else ApplyAnalysisRow(0);
    });

    SGrid = new TextGrid(0, 5, this);
    SGrid->setObjectName(QStringLiteral("SGrid"));
    SGrid->horizontalHeader()->show();
    SGrid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: rgb(0,128,192); color: white; font-weight: bold;"
                       " border: none; border-right: 1px solid rgb(128,128,128); }"));
    SGrid->horizontalHeader()->setFixedHeight(22);
    SGrid->verticalHeader()->setDefaultSectionSize(20);
    SGrid->setShowGrid(false);
    SGrid->setMouseTracking(true);
    SGrid->viewport()->installEventFilter(this);
    SGrid->setStyleSheet(QStringLiteral("QTableWidget { background: rgb(77,83,118); border: none; }"));
    SGrid->setCellPainter([this](QPainter& painter, const GridCell& cell) {
        paintCell(painter, cell.column, cell.row, cell.rect, cell.selected);
    });
    connect(SGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
        if (row != previousRow && row >= 0) rowSelected(row + 1);
    });
    // The action chosen again: replay it from its pre-roll.
    connect(SGrid, &TextGrid::currentRowClickedAgain, this, [this](int row) { rowSelected(row + 1); });
    layout->addWidget(SGrid, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(2, 0, 2, 2);
    const auto button = [this, bottom](const char* name, Glyph glyph) {
        auto* tool = new QToolButton(this);
        tool->setObjectName(QString::fromLatin1(name));
        tool->setIcon(glyphIcon(glyph));
        tool->setIconSize(QSize(20, 20));
        tool->setAutoRaise(true);
        tool->setStyleSheet(glyphButtonStyle());
        tool->setFocusPolicy(Qt::NoFocus);
        bottom->addWidget(tool);
        return tool;
    };
    ButPrev = button("ButPrev", Glyph::StepBack);
    ButNext = button("ButNext", Glyph::StepForward);
    ButReplay = button("ButReplay", Glyph::Play);
    ButReplay->hide();
    ButChiaro = button("ButChiaro", Glyph::Information);
    LblRelease = new FittedLabel(this);
    LblRelease->setStyleSheet(QStringLiteral("color: white;"));
    bottom->addStretch();
    bottom->addWidget(LblRelease);
    layout->addLayout(bottom);
    ButReel = new ReelExportButton(app_, [this] { return rows_; }, this);
    layout->addWidget(ButReel);
    connect(ButNext, &QToolButton::clicked, this, &TFCodici::NextCode);
    connect(ButPrev, &QToolButton::clicked, this, &TFCodici::PreviousCode);
    connect(ButReplay, &QToolButton::clicked, this, [this] { replay(currentListRow()); });
    connect(ButChiaro, &QToolButton::clicked, this, [this] {
        setClearText(!clearText_);
        app_.settings.setFlag(CodiciInChiaro, clearText_);
    });
    ButPrev->setEnabled(false);
    ButNext->setEnabled(false);
}

// ---------------------------------------------------------------- filling

int TFCodici::SetupCodeList(bool clearText) {
    clearText_ = clearText;
    const bool volleyball = app_.state.sport() == SportKind::Volleyball;
    const int screenWidth = main_.screenWidth();
    std::array<int, 5> widths{volleyball ? 173 : 140, 0, volleyball ? 52 : 51, volleyball ? 27 : 30, 0};
    if (volleyball && app_.state.LanguageNumber == 3) widths[3] = 30;
    if (screenWidth < 1024) widths = {58, 0, 47, 25, 0};
    listWidth_ = codeListWidth(clearText, screenWidth, app_.state.Sport);
    if (clearText) widths = {listWidth_ - 10, 0, 0, 0, 0};
    for (int column = 0; column < 5; ++column) SGrid->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
    for (int column = 0; column < 5; ++column) SGrid->setColumnHidden(column, widths[static_cast<std::size_t>(column)] == 0);
    ButChiaro->setToolTip(messageToQt(app_.messages.MessageText(clearText ? 69 : 68)));
    ButChiaro->setIcon(glyphIcon(clearText ? Glyph::Information : Glyph::ZoomIn));
    updateHeader();
    return listWidth_;
}

void TFCodici::setClearText(bool on) {
    SetupCodeList(on);
    SGrid->viewport()->update();
    main_.relayOutBesideTheList();
}

void TFCodici::preparePackage() {
    const ProgramState& state = app_.state;
    // A package starts from no search: what a statistics click left in the record belongs to the
    // package it was made on.
    app_.state.analysis.Clear();
    ButNext->setToolTip(messageToQt(app_.messages.MessageText(43)));
    ButPrev->setToolTip(messageToQt(app_.messages.MessageText(42)));
    ButRicerca->setText(messageToQt(app_.messages.MessageText(64)));
    LblDesSet->setText(messageToQt(app_.messages.MessageText(state.sport() == SportKind::Volleyball || state.sport() == SportKind::TwoPeriodsNoExtra ? 7 : 8)));
    QStringList sets;
    for (const auto& item : setComboItems(state.Sport, app_.messages.MessageText(82), app_.messages.MessageText(24)))
        sets << QString::fromStdString(item);
    CbSet->setItems(sets);
    LblRelease->setFullText(fromCp1252(state.package.releaseText));
    topStrip->setVisible(state.sport() == SportKind::Volleyball);
    SetupCodeList(app_.settings.flag(CodiciInChiaro));

    if (state.SynthesisMode) {
        AnalysisRecord& record = app_.state.analysis;
        const auto file = analysesFilePath(state.package.folder);
        if (const auto entries = ListAnalyses(file, state.codeTable, {state.Sport, true, state.LanguageNumber}, record);
            entries && !entries->empty())
            ReadAnalysis(file, entries->front().name, record);
        ApplyAnalysisRow(0);
    } else {
        FillFromSearch({});
    }
    main_.Transport(TransportGoTo, 0);
    show();
}

void TFCodici::showRows(std::vector<CodeListRow> rows) {
    // The passes give one empty row when they found nothing.
    if (rows.size() == 1 && rows.front().row == 0) rows.clear();
    rows_ = std::move(rows);
    drawnClearText_.clear();
    SGrid->setUpdatesEnabled(false);
    const QSignalBlocker blocker(SGrid);
    SGrid->resetRows(std::max<int>(1, listRowCount()));
    for (int n = 1; n <= listRowCount(); ++n) {
        const CodeListRow& row = listRow(n);
        SGrid->setCellText(0, n - 1, fromCp1252(row.code));
        SGrid->setCellText(1, n - 1, fromCp1252(row.film));
        SGrid->setCellText(2, n - 1, fromCp1252(row.time));
        SGrid->setCellText(3, n - 1, fromCp1252(row.set));
        SGrid->setCellText(4, n - 1, QString::number(row.row));
    }
    SGrid->setCurrentCell(0, 0);
    SGrid->setUpdatesEnabled(true);
    PlayOnSelect = true;
    drivesPlayback_ = true;
    filmMovedByUser_ = false;
    ButNext->setEnabled(listRowCount() > 1);
    ButReplay->setEnabled(listRowCount() > 0);
    ButReel->listChanged(rows_.size());
    ButPrev->setEnabled(false);
    updateHeader();
    main_.codeListRefilled();
    main_.codeListChanged();
}

void TFCodici::FillFromSearch(const std::string& searchCode) { FillFromSearch(searchCode, SetFilterText()); }

void TFCodici::FillFromSearch(const std::string& searchCode, const std::string& setFilter) {
    const ProgramState& state = app_.state;
    showRows(corvane::FillCodeList(state.codeTable, searchCode, setFilter, state.analysis,
                                   {state.Sport, state.SynthesisMode, state.LanguageNumber}));
}

void TFCodici::ApplyAnalysisRow(int analysisIndex) {
    const ProgramState& state = app_.state;
    showRows(corvane::ApplyAnalysis(state.codeTable, analysisIndex, SetFilterText(), state.analysis,
                                    {state.Sport, state.SynthesisMode, state.LanguageNumber}));
}

std::string TFCodici::SetFilterText() const {
    std::vector<std::pair<std::string, bool>> items;
    const QStringList captions = CbSet->items();
    for (int i = 0; i < captions.size(); ++i) items.emplace_back(captions[i].toStdString(), CbSet->checked(i));
    return corvane::SetFilterText(items, app_.state.Sport, app_.messages.MessageText(24));
}

void TFCodici::searchClick() {
    main_.Transport(TransportPause);
    TFSubForm* panel = main_.searchPanel();
    if (app_.state.SynthesisMode) {
        ApplyAnalysisRow(panel ? panel->selectedAnalysis() : -1);
        return;
    }
    FillFromSearch(panel ? panel->searchCodeForSearch() : std::string());
    if (listRowCount() > 0) main_.showPlayerDetail(PlayerLabel(listRow(currentListRow()).code, app_.state.match, app_.state.Sport));
    if (listRowCount() > 0 && PlayCode(currentListRow())) main_.Transport(TransportPlay);
}

// ---------------------------------------------------------------- playing

int TFCodici::currentListRow() const { return SGrid->currentRow() + 1; }

void TFCodici::focusList() { SGrid->setFocus(); }

void TFCodici::selectListRow(int listRow) {
    if (listRow < 1 || listRow > listRowCount()) return;
    if (listRow == currentListRow()) {
        rowSelected(listRow);  // the same row chosen again still plays it
        return;
    }
    SGrid->setCurrentCell(listRow - 1, 0);
}

bool TFCodici::PlayCode(int listRow) {
    if (!PlayOnSelect || listRow < 1 || listRow > listRowCount()) return false;
    const auto target = playTargetOf(app_.state.codeTable, this->listRow(listRow).row,
                                      app_.state.playback.PreRollSeconds, app_.state.SynthesisMode);
    lastSeekRefused_ = !target || !main_.SeekFilmTime(target->film, std::to_string(target->second));
    return !lastSeekRefused_;
}

std::optional<PlayTarget> TFCodici::nextPlayTarget() const {
    const int next = currentListRow() + 1;
    if (!PlayOnSelect || next < 2 || next > listRowCount()) return std::nullopt;
    return playTargetOf(app_.state.codeTable, listRow(next).row, app_.state.playback.PreRollSeconds,
                        app_.state.SynthesisMode);
}

void TFCodici::userPicked() {
    drivesPlayback_ = true;
    filmMovedByUser_ = false;
}

void TFCodici::filmMovedByUser() { filmMovedByUser_ = true; }

void TFCodici::updateButtons(int listRow) {
    ButNext->setEnabled(listRow < listRowCount());
    ButPrev->setEnabled(listRow >= 2);
}

void TFCodici::rowSelected(int listRow) {
    updateHeader();
    main_.codeListChanged();
    if (!PlayOnSelect) return;
    updateButtons(listRow);
    PlayOnSelect = true;
    SGrid->viewport()->update();
    if (!timerStep_) userPicked();
    replay(listRow);
    // The list moving on by itself leaves the keyboard where the user is typing.
    if (!timerStep_) SGrid->setFocus();
}

void TFCodici::replay(int listRow) {
    if (!ButReplay->isEnabledTo(this) || listRow < 1 || listRow > listRowCount()) return;
    main_.Transport(TransportPause);
    SGrid->setEnabled(false);
    const bool sought = PlayCode(listRow);
    SGrid->setEnabled(true);
    const auto second = codeSecond(app_.state.codeTable, this->listRow(listRow).row);
    if (sought && second && *second >= 0 && *second <= main_.durationSeconds()) main_.Transport(TransportPlay);
}

void TFCodici::NextCode() { stepTo(+1); }

void TFCodici::PreviousCode() { stepTo(-1); }

// Next (+1) and Previous (-1) mirror each other: the button pressed waits while the code plays.
void TFCodici::stepTo(int step) {
    QToolButton* pressed = step > 0 ? ButNext : ButPrev;
    QToolButton* other = step > 0 ? ButPrev : ButNext;
    const int row = currentListRow();
    const int target = row + step;
    // isEnabledTo: in full screen the main window, and the list with it, is disabled.
    if (!pressed->isEnabledTo(this) || target < 1 || target > listRowCount()) return;
    // A paused slow motion keeps its button down: the next code plays slowly too.
    const bool slowMotion = main_.slowMotionButtonDown();
    userPicked();
    pressed->setEnabled(false);
    main_.Transport(TransportPause);
    SGrid->setEnabled(false);
    lastSeekRefused_ = false;
    selectListRow(target);  // its replay tells the user of a film that is not available
    other->setEnabled(true);
    if (!lastSeekRefused_) PlayCode(target);
    SGrid->setEnabled(true);
    if (!lastSeekRefused_) {
        if (!slowMotion) main_.showPlayerDetail(PlayerLabel(listRow(target).code, app_.state.match, app_.state.Sport));
        if (slowMotion) main_.startSlowMotion();
        else main_.Transport(TransportPlay);
    }
    pressed->setEnabled(step > 0 ? target < listRowCount() : target > 1);
}

void TFCodici::CheckActionEnd(int listRow) {
    if (!isVisible() || main_.playerBusy()) return;
    std::vector<int> tableRows;
    tableRows.reserve(rows_.size());
    for (const CodeListRow& row : rows_) tableRows.push_back(row.row);
    const PlaybackOptions& options = app_.state.playback;
    ActionEndQuery query{app_.state.codeTable, tableRows, listRow, main_.positionSeconds(),
                         app_.state.SynthesisMode, options.FollowFilm, options.StopAtEnd, options.EndOffsetSeconds};
    query.atFilmEnd = main_.filmAtItsEnd();
    query.preRollSeconds = options.PreRollSeconds;
    query.filmMovedByUser = filmMovedByUser_;
    if (app_.state.package.currentFilm >= 1) query.playingFilm = app_.state.package.currentFilm;
    filmMovedByUser_ = false;
    const ActionEndDecision decision = corvane::CheckActionEnd(query);
    if (decision.step == ActionEndStep::Release) drivesPlayback_ = false;
    // A list the user has taken the film from only follows it again once a code is picked; an
    // unfiltered list never drives the film, it only moves its highlight.
    if (decision.step == ActionEndStep::Nothing || decision.step == ActionEndStep::Release ||
        (!drivesPlayback_ && !decision.moveHighlightOnly))
        return;
    if (decision.moveHighlightOnly) PlayOnSelect = false;
    timerStep_ = true;
    switch (decision.step) {
        case ActionEndStep::Pause: main_.Transport(TransportPause); break;
        case ActionEndStep::SelectNextRow: selectListRow(decision.nextListRow); break;
        case ActionEndStep::NextAnalysis:
            if (TFSubForm* panel = main_.searchPanel()) {
                if (panel->selectNextVisibleAnalysis(false) && listRowCount() > 0) PlayOnSelect = true;
                timerStep_ = false;
                return;
            }
            break;
        case ActionEndStep::Nothing:
        case ActionEndStep::Release: break;
    }
    timerStep_ = false;
    PlayOnSelect = true;
}

// ---------------------------------------------------------------- drawing

CodeDescriptionSources TFCodici::descriptionSources() const {
    return {app_.state.Sport, app_.state.match, app_.state.events, app_.messages.MessageText(131)};
}

std::string TFCodici::describe(const std::string& code) const { return DescribeCode(code, descriptionSources()); }

CodeDescriptionParts TFCodici::describeParts(const std::string& code) const {
    return DescribeCodeParts(code, descriptionSources());
}

std::optional<TFCodici::DrawnClearText> TFCodici::drawnClearText(int listRow) const {
    const auto found = drawnClearText_.find(listRow - 1);
    if (found == drawnClearText_.end()) return std::nullopt;
    return found->second;
}

void TFCodici::updateHeader() {
    const QString title = messageToQt(app_.messages.MessageText(clearText_ ? 13 : 5));
    const int selected = listRowCount() > 0 ? currentListRow() : 0;
    const int setHeader = app_.state.sport() == SportKind::Volleyball ? 7 : 8;
    SGrid->setHorizontalHeaderLabels({title + QStringLiteral(" (%1 / %2)").arg(selected).arg(listRowCount()),
                                      messageToQt(app_.messages.MessageText(6)), QStringLiteral("tm code"),
                                      messageToQt(app_.messages.MessageText(setHeader)), QString()});
    // A title wider than its column ("Period" over the narrow set column) takes a smaller font,
    // and where even that is too wide it is shortened with a dot, rather than losing its ends.
    QFont font = SGrid->horizontalHeader()->font();
    font.setBold(true);
    for (int column = 0; column < SGrid->columnCount(); ++column) {
        QTableWidgetItem* header = SGrid->horizontalHeaderItem(column);
        if (!header) continue;
        const int room = SGrid->columnWidth(column) - 6;
        const QFont fitted = fontFitting(font, {header->text()}, room);
        header->setFont(fitted);
        const QFontMetrics metrics(fitted);
        QString title = header->text();
        if (metrics.horizontalAdvance(title) <= room) continue;
        while (title.size() > 1 && metrics.horizontalAdvance(title + QChar('.')) > room) title.chop(1);
        header->setText(title + QChar('.'));
    }
}

void TFCodici::paintCell(QPainter& painter, int column, int gridRow, const QRect& rect, bool selected) {
    if (gridRow >= listRowCount()) {
        painter.fillRect(rect, kVisitingRow);
        if (listRowCount() == 0 && gridRow == 0 && column == 0) {
            // An empty result says so rather than showing a blank row.
            painter.setPen(Qt::white);
            painter.drawText(rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             messageToQt(app_.messages.MessageText(kNoCodeFoundMessage)));
        }
        return;
    }
    const CodeListRow& row = listRow(gridRow + 1);
    const bool home = !row.code.empty() && row.code.front() == '*';
    painter.fillRect(rect, selected ? kSelectedRow : home ? kHomeRow : kVisitingRow);
    painter.setPen(kGridLine);
    painter.drawLine(rect.topRight(), rect.bottomRight());
    const bool pointRow = row.code.size() > 1 && row.code[1] == 'p';
    if (pointRow) painter.drawLine(rect.bottomLeft(), rect.bottomRight());

    QFont font = painter.font();
    font.setPointSize(9);
    font.setBold(true);
    if (main_.screenWidth() < 1024 && column > 0) {
        font.setPointSize(8);
        font.setBold(false);
    }
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect inner = rect.adjusted(column == 0 ? 1 : 4, column == 0 ? 2 : 4, 0, 0);
    if (column > 0) {
        const QString text = SGrid->cellText(column, gridRow);
        if (QFontMetrics(font).horizontalAdvance(text) > inner.width()) {
            // This system's fonts run wider than the ones the widths were made for.
            font.setPointSize(8);
            font.setBold(false);
            painter.setFont(font);
        }
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop, text);
        return;
    }
    if (clearText_) {
        paintClearText(painter, inner.adjusted(0, 0, -2, 0), gridRow);
        return;
    }
    paintRawCode(painter, rect, row, selected);
}

void TFCodici::paintClearText(QPainter& painter, const QRect& cell, int gridRow) {
    const CodeListRow& row = listRow(gridRow + 1);
    // The column is a few pixels wider than what the scroll bar leaves of the list: the text is
    // laid out in what shows, or the place column's last figure would hide under the bar.
    QRect inner = cell;
    inner.setRight(std::min(cell.right(), SGrid->viewport()->width() - 3));
    const bool placed = !trimBlanks(row.code).empty() && row.code.front() != '>';
    const std::string place = placed ? cp1252ToUtf8(ShortPlace(row.time, row.set)) : std::string();
    QFont placeFont = painter.font();
    placeFont.setPointSize(8);
    placeFont.setBold(false);
    const auto measureIn = [](const QFont& font) {
        return [metrics = QFontMetrics(font)](std::string_view part) {
            return metrics.horizontalAdvance(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
        };
    };
    ClearTextLine line = LayOutClearText(utf8Parts(describeParts(row.code)), place, inner.width(),
                                         measureIn(painter.font()), measureIn(placeFont));
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(line.text));
    if (!line.place.empty()) {
        // Where the action is stands apart at the right edge, lighter, so the eye reads the
        // description first.
        painter.setFont(placeFont);
        painter.setPen(kPlaceColour);
        painter.drawText(inner.adjusted(0, 1, 0, 0), Qt::AlignRight | Qt::AlignTop, QString::fromStdString(line.place));
    }
    drawnClearText_[gridRow] = {std::move(line), inner};
}

void TFCodici::paintRawCode(QPainter& painter, const QRect& rect, const CodeListRow& row, bool selected) {
    const std::string_view code = row.code;
    const bool volleyballSplit = app_.state.sport() == SportKind::Volleyball && isActionCode(code) && code.substr(0, 2) != "**";
    if (!volleyballSplit) {
        QFont font = painter.font();
        if (!isActionCode(code) && !selected) font.setPointSize(8);
        painter.setFont(font);
        painter.setPen(!code.empty() && code.front() == '>' ? kGridLine : QColor(Qt::white));
        painter.drawText(rect.adjusted(1, 3, 0, 0), Qt::AlignLeft | Qt::AlignTop, fromCp1252(trimBlanks(code)));
        return;
    }
    // The pieces at their designed places where the font lets them; a wider font pushes the
    // later ones on rather than drawing one over another.
    const QFontMetrics metrics(painter.font());
    const auto widthOf = [&](std::string_view text) {
        const std::size_t end = text.find_last_not_of(' ');
        return end == std::string_view::npos ? 0 : metrics.horizontalAdvance(fromCp1252(text.substr(0, end + 1)));
    };
    std::vector<std::string> texts;
    std::vector<LinePiece> pieces;
    std::size_t arrowAt = 0;
    for (const CodePiece& part : kVolleyballPieces) {
        if (part.from == 11) {
            // The arrow glyph, 6 pixels wide, before the two characters of piece 11.
            arrowAt = pieces.size();
            texts.emplace_back();
            pieces.push_back({76, trimBlanks(piece(code, 10, 2)).empty() ? 0 : 6});
        }
        if (part.from == 16) {
            const std::string_view fields = piece(code, 13, 3);
            for (std::size_t i = 0; i < 3 && !trimBlanks(fields).empty(); ++i) {
                const char c = i < fields.size() && fields[i] != ' ' ? fields[i] : '-';
                texts.emplace_back(1, c);
                pieces.push_back({101 + 8 * static_cast<int>(i), widthOf(texts.back())});
            }
        }
        texts.emplace_back(piece(code, part.from, part.count));
        pieces.push_back({part.left, widthOf(texts.back())});
    }
    const std::vector<int> lefts = PlacePiecesInOrder(pieces, 2);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int left = lefts[i];
        if (i == arrowAt) {
            if (pieces[i].width == 0) continue;
            const QPointF tip(rect.left() + left + 6, rect.top() + 10);  // 7 down, pointing right
            painter.setBrush(Qt::white);
            painter.drawPolygon(QPolygonF({tip - QPointF(6, 3), tip, tip - QPointF(6, -3)}));
            continue;
        }
        painter.drawText(QRect(rect.left() + left, rect.top() + 2, std::max(0, rect.width() - left), rect.height() - 2),
                         Qt::AlignLeft | Qt::AlignTop, fromCp1252(texts[i]));
    }
    if (!app_.state.codeTable.Cell(4, row.row).empty()) {
        // The trajectory mark: the event has its path on the court.
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawArc(QRectF(rect.right() - 11, rect.top() + 2, 9, 14), 30 * 16, 120 * 16);
    }
}

bool TFCodici::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SGrid->viewport() && event->type() == QEvent::MouseMove && clearText_) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPoint at = move->position().toPoint();
        if (at.x() != lastMouse_.x() && at.y() != lastMouse_.y()) {
            const int gridRow = SGrid->rowAt(at.y());
            if (gridRow >= 0 && gridRow < listRowCount()) {
                const CodeListRow& row = listRow(gridRow + 1);
                QToolTip::showText(move->globalPosition().toPoint(),
                                   fromCp1252(describe(row.code) + " (" + row.time + " set " + row.set + ")"), SGrid);
                hintTimer_.start();
            }
        }
        lastMouse_ = at;
    }
    return QWidget::eventFilter(watched, event);
}

void TFCodici::closeEvent(QCloseEvent* event) {
    app_.settings.setFlag(CodiciInChiaro, clearText_);
    QWidget::closeEvent(event);
}

}  // namespace corvane
