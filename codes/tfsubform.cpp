#include "codes/tfsubform.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "codes/match_header.h"
#include "codes/tfcodici.h"
#include "core/cp1252.h"
#include "core/sport.h"
#include "core/transport_rules.h"
#include "scout/code_table.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/main_window_link.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

// Strip heights of the panel.
constexpr int kPackageStrip = 43;
constexpr int kMatchStrip = 114;
constexpr int kAnalysesStrip = 170;
constexpr int kSearchStrip = 52;
constexpr int kAnalysisRowHeight = 18;

const QColor kAnalysesBackground(202, 223, 251);
const QColor kTitleGreen(0, 128, 0);

QColor colourOf(unsigned rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QColor colourOfCell(const SearchCodeLayout& layout, int cell) {
    for (const SearchCodeField& field : layout.fields)
        if (cell >= field.first && cell < field.first + field.count) return colourOf(field.colour);
    return Qt::black;
}

// The header strip over the search code cells.
class CodeFieldHeader : public QWidget {
public:
    CodeFieldHeader(const AppContext& app, const SearchCodeGrid& cells, QWidget* parent)
        : QWidget(parent), app_(app), cells_(cells) {
        setFixedSize(cells.width(), 16);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const SearchCodeLayout& layout = cells_.fieldLayout();
        for (const SearchCodeField& field : layout.fields) {
            const QRect first = cells_.cellRect(field.first);
            const QRect last = cells_.cellRect(field.first + field.count - 1);
            const QRect cell(first.left(), 0, last.right() - first.left() + 1, height());
            painter.fillRect(cell, colourOf(field.colour));
            QFont font = painter.font();
            font.setPointSize(field.smallHeader ? 6 : 7);
            painter.setFont(font);
            painter.setPen(Qt::white);
            const std::string text = field.header.empty() ? app_.messages.MessageText(field.message) : field.header;
            painter.drawText(cell, Qt::AlignCenter, field.header.empty() ? messageToQt(text)
                                                                         : fromCp1252(text));
        }
    }

private:
    const AppContext& app_;
    const SearchCodeGrid& cells_;
};

}  // namespace

// ---------------------------------------------------------------- the search code cells

SearchCodeGrid::SearchCodeGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GrdCod"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(layout_.width, 20);
}

void SearchCodeGrid::setFieldLayout(const SearchCodeLayout& layout) {
    layout_ = layout;
    entry_.resize(layout.cellCount);
    setFixedSize(layout.width, 20);
    update();
}

QRect SearchCodeGrid::cellRect(int cell) const {
    // The cells share the width the layout gives, a pixel of frame on either side.
    const int inner = layout_.width - 2;
    const int left = 1 + cell * inner / layout_.cellCount;
    const int right = 1 + (cell + 1) * inner / layout_.cellCount;
    return QRect(left, 1, right - left - 1, height() - 2);
}

void SearchCodeGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::gray);
    for (int cell = 0; cell < entry_.cellCount(); ++cell) {
        const QRect box = cellRect(cell);
        painter.fillRect(box, Qt::white);
        if (hasFocus() && cell == entry_.cursor()) painter.fillRect(box, QColor(255, 240, 160));
        painter.setPen(colourOfCell(layout_, cell));
        painter.drawText(box.adjusted(1, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         fromCp1252(std::string(1, entry_.cell(cell))));
    }
}

namespace {

// The character a key types into the entry, if it types one: keys held with Ctrl, Alt or the
// system key are commands, not text.
std::optional<char> typedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    const std::string typed = utf8ToCp1252(event.text().toStdString());
    if (typed.size() != 1 || static_cast<unsigned char>(typed[0]) < ' ') return std::nullopt;
    return typed[0];
}

}  // namespace

bool SearchCodeGrid::event(QEvent* event) {
    // Every key that types a character belongs to the entry, also where the main window binds it:
    // "+", "-", "=" and the blank are evaluation symbols and the wildcard of a search code.
    if (event->type() == QEvent::ShortcutOverride && typedCharacter(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void SearchCodeGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Backspace: entry_.press(SearchCodeEntry::Key::Backspace); break;
        case Qt::Key_Left: entry_.press(SearchCodeEntry::Key::Left); break;
        case Qt::Key_Right: entry_.press(SearchCodeEntry::Key::Right); break;
        case Qt::Key_Escape: entry_.press(SearchCodeEntry::Key::Escape); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: Q_EMIT searchRequested(); return;
        default: {
            const auto typed = typedCharacter(*event);
            if (!typed) {
                QWidget::keyPressEvent(event);
                return;
            }
            entry_.type(*typed);
        }
    }
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) Q_EMIT edited();
    update();
}

void SearchCodeGrid::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    for (int cell = 0; cell < entry_.cellCount(); ++cell)
        if (x <= cellRect(cell).right() + 1) {
            entry_.setCursor(cell);
            break;
        }
    setFocus();
    update();
}

// ---------------------------------------------------------------- the panel

TFSubForm::TFSubForm(AppContext& app, MainWindowLink& main, QWidget* parent) : QWidget(parent), app_(app), main_(main) {
    setObjectName(QStringLiteral("FSubForm5"));
    buildWidgets();
    using E = CaptionEntry;
    ApplyLanguage(this, app.state.LanguageNumber, app.messages,
                  {{"ButSearch", 64, E::Hint}, {"ButStat", 35}, {"ButNote", 11, E::Caption, E::NoAmpersand}});
    fillPackageChooser();
}

void TFSubForm::buildWidgets() {
    const auto whiteLabel = [](QWidget* parent, bool bold = false) {
        auto* label = new QLabel(parent);
        QFont font = label->font();
        font.setBold(bold);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("color: white;"));
        return label;
    };

    PanMatch = new QWidget(this);
    PanMatch->setObjectName(QStringLiteral("PanMatch"));
    PanMatch->setFixedHeight(kPackageStrip);
    auto* chooser = new QHBoxLayout(PanMatch);
    CbMatches = new QComboBox(PanMatch);
    CbMatches->setObjectName(QStringLiteral("CbMatches"));
    chooser->addWidget(CbMatches);
    connect(CbMatches, &QComboBox::activated, this, &TFSubForm::choosePackage);

    PanInfoMatch = new QWidget(this);
    PanInfoMatch->setObjectName(QStringLiteral("PanInfoMatch"));
    PanInfoMatch->setFixedHeight(kMatchStrip);
    auto* info = new QVBoxLayout(PanInfoMatch);
    info->setContentsMargins(4, 2, 4, 2);
    info->setSpacing(1);
    homeLine = whiteLabel(PanInfoMatch, true);
    awayLine = whiteLabel(PanInfoMatch, true);
    dateLine = whiteLabel(PanInfoMatch);
    dateLine->setWordWrap(true);
    info->addWidget(homeLine);
    info->addWidget(awayLine);
    info->addWidget(dateLine);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    ButStat = new QPushButton(PanInfoMatch);
    ButStat->setObjectName(QStringLiteral("ButStat"));
    connect(ButStat, &QPushButton::clicked, this, [this] { main_.showStatistics(); });
    ButNote = new QPushButton(PanInfoMatch);
    ButNote->setObjectName(QStringLiteral("ButNote"));
    connect(ButNote, &QPushButton::clicked, this, [this] { main_.showNotes(); });
    buttons->addStretch();
    buttons->addWidget(ButStat);
    buttons->addWidget(ButNote);
    buttons->addStretch();
    info->addLayout(buttons);

    PanAna = new QWidget(this);
    PanAna->setObjectName(QStringLiteral("PanAna"));
    PanAna->setFixedHeight(kAnalysesStrip);
    auto* analyses = new QVBoxLayout(PanAna);
    analyses->setContentsMargins(4, 2, 4, 2);
    anaTitle = whiteLabel(PanAna, true);
    GrdAnalisi = new TextGrid(0, 2, PanAna);
    GrdAnalisi->setObjectName(QStringLiteral("GrdAnalisi"));
    GrdAnalisi->setColumnHidden(1, true);
    GrdAnalisi->horizontalHeader()->setStretchLastSection(false);
    GrdAnalisi->setShowGrid(false);
    GrdAnalisi->installEventFilter(this);
    GrdAnalisi->setStyleSheet(QStringLiteral("QTableWidget { background: rgb(202,223,251); border: none; }"));
    GrdAnalisi->setCellPainter([this](QPainter& painter, const GridCell& cell) {
        if (cell.row >= static_cast<int>(analyses_.size())) return;
        if (GrdAnalisi->rowHeight(cell.row) <= 2) {
            // A hidden analysis is a row of 1 pixel: no sliver of its text may show.
            painter.fillRect(cell.rect, kAnalysesBackground);
            return;
        }
        const AnalysisEntry& entry = analyses_[static_cast<std::size_t>(cell.row)];
        const QRect text = cell.rect.adjusted(22, 0, 0, 0);
        if (entry.tipo != "A") {
            painter.fillRect(cell.rect, Qt::white);
            painter.drawPixmap(cell.rect.left() + 2, cell.rect.top() + 2, glyphIcon(Glyph::PreviousFilm, QColor(128, 128, 128)).pixmap(14, 14));
            painter.setPen(kTitleGreen);
            painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral(" --- TITLE ---"));
            return;
        }
        const bool current = cell.selected || cell.row == selectedAnalysis();
        painter.fillRect(cell.rect, current ? kTitleGreen : kAnalysesBackground);
        painter.setPen(current ? Qt::white : Qt::black);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, cell.text);
    });
    connect(GrdAnalisi, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
        if (row >= 0 && row != previousRow && !choosing_) {
            main_.Transport(TransportPause);
            OpenAnalysis(analyses_[static_cast<std::size_t>(row)].name, row);
            playFirstFound();
        }
    });
    // A click on the current analysis plays it again from its first code.
    connect(GrdAnalisi, &TextGrid::currentRowClickedAgain, this, [this](int row) { selectAnalysis(row); });
    analyses->addWidget(anaTitle);
    analyses->addWidget(GrdAnalisi, 1);

    PanRicerca = new QWidget(this);
    PanRicerca->setObjectName(QStringLiteral("PanRicerca"));
    PanRicerca->setFixedHeight(kSearchStrip);
    auto* search = new QGridLayout(PanRicerca);
    search->setContentsMargins(4, 0, 4, 0);
    search->setVerticalSpacing(0);
    search->setHorizontalSpacing(4);
    searchTitle = whiteLabel(PanRicerca, true);
    GrdCod = new SearchCodeGrid(PanRicerca);
    ButSearch = new QPushButton(PanRicerca);
    ButSearch->setObjectName(QStringLiteral("ButSearch"));
    ButSearch->setIcon(glyphIcon(Glyph::ZoomIn, Qt::black));
    search->addWidget(searchTitle, 0, 0, 1, 2);
    SG1 = new CodeFieldHeader(app_, *GrdCod, PanRicerca);
    SG1->setObjectName(QStringLiteral("SG1"));
    search->addWidget(SG1, 1, 0);
    search->addWidget(GrdCod, 2, 0);
    search->addWidget(ButSearch, 1, 1, 2, 1);
    // A wider panel (the clear-text list) gives its room to the empty column, not to the button.
    ButSearch->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    search->setColumnStretch(2, 1);
    connect(ButSearch, &QPushButton::clicked, this, &TFSubForm::runSearch);
    connect(GrdCod, &SearchCodeGrid::searchRequested, this, &TFSubForm::runSearch);
    connect(GrdCod, &SearchCodeGrid::edited, this, [this] { statisticsCodeShown_ = false; });
}

void TFSubForm::layOutStrips() {
    // Strips stand one under the other, each as high as it is designed; hidden ones take no room.
    int top = 0;
    for (QWidget* strip : {PanMatch, PanInfoMatch, PanAna, PanRicerca}) {
        if (strip->isHidden()) continue;
        strip->setGeometry(0, top, width(), strip->height());
        top += strip->height();
    }
}

void TFSubForm::fillPackageChooser() {
    const ProgramState& state = app_.state;
    CbMatches->clear();
    packageIsSynthesis_.clear();
    for (const auto& name : state.MatchList) {
        CbMatches->addItem(glyphIcon(Glyph::PreviousFilm, Qt::black), QString::fromStdString(pathToUtf8(name)));
        packageIsSynthesis_.push_back(false);
    }
    for (const auto& name : state.SynthesisList) {
        CbMatches->addItem(glyphIcon(Glyph::NextFilm, Qt::black), QString::fromStdString(pathToUtf8(name)));
        packageIsSynthesis_.push_back(true);
    }
    // The open package is the chosen one (the command line may have named it).
    CbMatches->setCurrentIndex(openPackageIndex());
}

int TFSubForm::openPackageIndex() const {
    const ProgramState& state = app_.state;
    const auto& names = state.SynthesisMode ? state.SynthesisList : state.MatchList;
    const auto found = std::find(names.begin(), names.end(), state.package.name);
    if (found == names.end()) return 0;
    const auto at = static_cast<int>(found - names.begin());
    return state.SynthesisMode ? static_cast<int>(state.MatchList.size()) + at : at;
}

void TFSubForm::choosePackage(int index) {
    if (index < 0 || index >= static_cast<int>(packageIsSynthesis_.size())) return;
    QApplication::processEvents();
    main_.Transport(TransportPause);
    const bool synthesis = packageIsSynthesis_[static_cast<std::size_t>(index)];
    const auto& names = synthesis ? app_.state.SynthesisList : app_.state.MatchList;
    const std::size_t at = synthesis ? static_cast<std::size_t>(index) - app_.state.MatchList.size()
                                     : static_cast<std::size_t>(index);
    main_.openPackage(names[at], synthesis);
    // A refused package leaves the one open before: the chooser names what is open.
    CbMatches->setCurrentIndex(openPackageIndex());
}

void TFSubForm::preparePackage() {
    const ProgramState& state = app_.state;
    const bool volleyballMatch = state.sport() == SportKind::Volleyball && !state.SynthesisMode;
    const bool chooser = CbMatches->count() > 1;
    PanMatch->setVisible(chooser);
    PanAna->setVisible(state.SynthesisMode);
    PanRicerca->setVisible(volleyballMatch);
    height_ = 5 + (chooser ? kPackageStrip : 0) + kMatchStrip +
              (state.SynthesisMode ? kAnalysesStrip : 0) + (volleyballMatch ? kSearchStrip : 0) - 5;

    QString anaText = messageToQt(app_.messages.MessageText(37));
    anaTitle->setText(anaText.remove(QChar('&')));
    searchTitle->setText(messageToQt(app_.messages.MessageText(63)));
    ButSearch->setToolTip(messageToQt(app_.messages.MessageText(64)));
    QString note = messageToQt(app_.messages.MessageText(11));
    ButNote->setText(note.remove(QChar('&')));
    ButStat->setText(messageToQt(app_.messages.MessageText(35)));
    ButStat->setEnabled(state.package.statisticsEnabled);
    if (const bool volleyball = state.sport() == SportKind::Volleyball; GrdCod->entry().cellCount() != searchCodeLayout(volleyball).cellCount) {
        GrdCod->setFieldLayout(searchCodeLayout(volleyball));
        SG1->setFixedWidth(GrdCod->width());
    }
    statisticsCodeShown_ = false;
    layOutStrips();
    if (state.SynthesisMode) listAnalyses();
    showMatch();
    show();
    if (state.SynthesisMode && !analyses_.empty()) selectAnalysis(0);
}

void TFSubForm::listAnalyses() {
    const ProgramState& state = app_.state;
    const auto entries = ListAnalyses(analysesFilePath(state.package.folder), state.codeTable,
                                      {state.Sport, state.SynthesisMode, state.LanguageNumber}, app_.state.analysis);
    if (!entries) return;  // no analyses file: the list stays as it was
    choosing_ = true;
    analyses_ = *entries;
    GrdAnalisi->resetRows(static_cast<int>(analyses_.size()));
    for (std::size_t row = 0; row < analyses_.size(); ++row) {
        const int r = static_cast<int>(row);
        GrdAnalisi->setCellText(0, r, fromCp1252(analyses_[row].name));
        GrdAnalisi->setCellText(1, r, fromCp1252(analyses_[row].tipo));
        GrdAnalisi->setRowHeight(r, analyses_[row].hidden ? 1 : kAnalysisRowHeight);
    }
    GrdAnalisi->setColumnWidth(0, GrdAnalisi->viewport()->width());
    GrdAnalisi->setCurrentCell(-1, -1);
    choosing_ = false;
}

void TFSubForm::showMatch() {
    const QFontMetrics metrics(homeLine->font());
    const TextMeasure measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    const auto lines = matchHeaderLines(app_.state.match, std::max(width() - 8, 60), measure,
                                        app_.platform.localeFormats(), app_.messages);
    homeLine->setText(QString::fromStdString(lines.home));
    awayLine->setText(QString::fromStdString(lines.away));
    dateLine->setText(QString::fromStdString(lines.date).trimmed());
}

int TFSubForm::selectedAnalysis() const { return GrdAnalisi->currentRow(); }

void TFSubForm::selectAnalysis(int row, bool takeFocus) {
    if (row < 0 || row >= static_cast<int>(analyses_.size())) return;
    if (row == selectedAnalysis()) {
        main_.Transport(TransportPause);
        OpenAnalysis(analyses_[static_cast<std::size_t>(row)].name, row);
        playFirstFound();
        return;
    }
    GrdAnalisi->setCurrentCell(row, 0);
    if (takeFocus) GrdAnalisi->setFocus();
}

void TFSubForm::reapplySelectedAnalysis() {
    TFCodici* list = main_.codeList();
    const int row = selectedAnalysis();
    if (!list || row < 0 || row >= static_cast<int>(analyses_.size())) return;
    ReadAnalysis(analysesFilePath(app_.state.package.folder), analyses_[static_cast<std::size_t>(row)].name,
                 app_.state.analysis);
    list->ApplyAnalysisRow(row);
}

std::string TFSubForm::searchCodeForSearch() {
    if (!statisticsCodeShown_) app_.state.analysis.Clear();
    return GrdCod->searchCode();
}

int TFSubForm::visibleAnalysisFrom(int row, int step) const {
    for (int r = row + step; r >= 0 && r < static_cast<int>(analyses_.size()); r += step)
        if (GrdAnalisi->rowHeight(r) > 2) return r;
    return -1;
}

bool TFSubForm::selectNextVisibleAnalysis(bool takeFocus) {
    const int next = visibleAnalysisFrom(selectedAnalysis(), 1);
    if (next < 0) return false;
    selectAnalysis(next, takeFocus);
    return true;
}

void TFSubForm::OpenAnalysis(const std::string& name, int index) {
    main_.Transport(TransportPause);
    TFCodici* list = main_.codeList();
    if (!list) return;
    if (app_.state.SynthesisMode) {
        ReadAnalysis(analysesFilePath(app_.state.package.folder), name, app_.state.analysis);
        list->ApplyAnalysisRow(index);
    } else {
        list->FillFromSearch({});
    }
    main_.Transport(TransportPause);
}

void TFSubForm::playFirstFound() {
    TFCodici* list = main_.codeList();
    if (!list || list->listRowCount() == 0) return;
    main_.showPlayerDetail(PlayerLabel(list->listRow(list->currentListRow()).code, app_.state.match, app_.state.Sport));
    if (list->PlayCode(list->currentListRow())) main_.Transport(TransportPlay);
}

void TFSubForm::showSearchCode(const std::string& code) {
    SearchCodeEntry& entry = GrdCod->entry();
    entry.press(SearchCodeEntry::Key::Escape);
    for (int cell = 0; cell < entry.cellCount() && cell < static_cast<int>(code.size()); ++cell)
        entry.setCell(cell, code[static_cast<std::size_t>(cell)] == '~' ? ' ' : code[static_cast<std::size_t>(cell)]);
    statisticsCodeShown_ = true;
    GrdCod->update();
}

void TFSubForm::setStatisticsButtonVisible(bool visible) { ButStat->setVisible(visible); }

void TFSubForm::runSearch() {
    main_.Transport(TransportPause);
    TFCodici* list = main_.codeList();
    if (!list) return;
    list->FillFromSearch(searchCodeForSearch());
    playFirstFound();
}

bool TFSubForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GrdAnalisi && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            const int row = visibleAnalysisFrom(selectedAnalysis(), key == Qt::Key_Down ? 1 : -1);
            if (row >= 0) selectAnalysis(row);
            else if (key == Qt::Key_Up) selectAnalysis(0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFSubForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOutStrips();
    GrdAnalisi->setColumnWidth(0, GrdAnalisi->viewport()->width());
    showMatch();
}

}  // namespace corvane
