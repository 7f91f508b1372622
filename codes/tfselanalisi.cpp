#include "codes/tfselanalisi.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"

namespace corvane {

namespace {

constexpr int kGridWidth = 285;
constexpr int kRowHeight = 18;
constexpr int kCaptionMessage = 330;
constexpr int kLabelMessage = 331;

}  // namespace

TFSelAnalisi::TFSelAnalisi(AppContext& app, OpenAnalysis open, QWidget* parent)
    : QDialog(parent), app_(app), open_(std::move(open)) {
    setObjectName(QStringLiteral("FSelAnalisi"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Grd = new TextGrid(0, 1, this);
    Grd->setObjectName(QStringLiteral("Grd"));
    Grd->horizontalHeader()->hide();
    Grd->verticalHeader()->hide();
    Grd->setShowGrid(false);
    Grd->setFixedWidth(kGridWidth);
    Grd->setMinimumHeight(12 * kRowHeight);
    Grd->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grd->setSelectionMode(QAbstractItemView::SingleSelection);
    Grd->setCellPainter([this](QPainter& painter, const GridCell& cell) {
        if (Grd->rowHeight(cell.row) <= 2) return;  // an analysis that selects nothing
        const bool title = cell.row < static_cast<int>(analyses_.size()) &&
                           analyses_[static_cast<std::size_t>(cell.row)].tipo != "A";
        painter.fillRect(cell.rect, cell.selected && !title ? QColor(0, 128, 0) : QColor(Qt::white));
        painter.setPen(title ? QColor(0, 128, 0) : cell.selected ? QColor(Qt::white) : QColor(Qt::black));
        painter.drawText(cell.rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         title ? QStringLiteral(" --- TITLE ---") : cell.text);
    });
    auto* buttons = new QHBoxLayout;
    ButOk = new QPushButton(this);
    ButOk->setObjectName(QStringLiteral("ButOk"));
    ButOk->setDefault(true);
    ButAnnulla = new QPushButton(this);
    ButAnnulla->setObjectName(QStringLiteral("ButAnnulla"));
    buttons->addStretch();
    buttons->addWidget(ButOk);
    buttons->addWidget(ButAnnulla);
    layout->addWidget(Label1);
    layout->addWidget(Grd, 1, Qt::AlignHCenter);
    layout->addLayout(buttons);
    connect(ButOk, &QPushButton::clicked, this, &TFSelAnalisi::ButOkClick);
    connect(ButAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(Grd, &QTableWidget::cellDoubleClicked, this, &TFSelAnalisi::ButOkClick);
    ApplyLanguage(this, app_.state.LanguageNumber, app_.messages,
                  {{"", kCaptionMessage}, {"Label1", kLabelMessage}, {"ButOk", 2}, {"ButAnnulla", 4}});
    Grd->setColumnWidth(0, kGridWidth - 2);
}

void TFSelAnalisi::showEvent(QShowEvent* event) {
    const ProgramState& state = app_.state;
    if (const auto entries = ListAnalyses(analysesFilePath(state.package.folder), state.codeTable,
                                          {state.Sport, state.SynthesisMode, state.LanguageNumber}, app_.state.analysis)) {
        analyses_ = *entries;
        Grd->resetRows(static_cast<int>(analyses_.size()));
        for (std::size_t row = 0; row < analyses_.size(); ++row) {
            const int r = static_cast<int>(row);
            Grd->setCellText(0, r, fromCp1252(analyses_[row].name));
            Grd->setRowHeight(r, analyses_[row].hidden ? 1 : kRowHeight);
        }
        if (!analyses_.empty()) Grd->selectRow(0);
    }
    QDialog::showEvent(event);
    // Centred on the screen the dialog opens on.
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TFSelAnalisi::ButOkClick() {
    const int row = Grd->currentRow();
    if (row >= 0 && row < static_cast<int>(analyses_.size())) open_(analyses_[static_cast<std::size_t>(row)].name, row);
    accept();
}

}  // namespace corvane
