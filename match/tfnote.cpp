#include "match/tfnote.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "core/files.h"
#include "core/text.h"
#include "match/edit_mask.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"

namespace corvane {

namespace {

QString label(const AppContext& app, int number, bool noColon = false) {
    QString text = messageToQt(app.messages.MessageText(number));
    if (noColon) text.remove(QChar(':'));
    return text;
}

QLineEdit* field(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

// Keeps a control's look and takes away its input: a read-only check box.
class IgnoresInput : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease: return true;
            default: return false;
        }
    }
};

// What the window manager adds above a dialog: its title bar and frame.
constexpr int kWindowDecoration = 40;

}  // namespace

void fitDialogToScreen(QDialog& dialog, QScrollArea& scroll) {
    const QRect available = dialog.screen()->availableGeometry();
    QWidget* body = scroll.widget();
    const QSize chrome = dialog.sizeHint() - scroll.sizeHint();
    QSize wanted = body->sizeHint() + chrome;
    const int room = available.height() - kWindowDecoration;
    if (wanted.height() > room) wanted.rwidth() += scroll.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    wanted = wanted.boundedTo(QSize(available.width(), room));
    dialog.resize(wanted);
    // move() places the frame, title bar included.
    dialog.move(available.left() + std::max(0, (available.width() - wanted.width()) / 2),
                available.top() + std::max(0, (room - wanted.height()) / 2));
}

MatchSheet::MatchSheet(AppContext& app, bool withSets, QWidget* parent) : QDialog(parent) {
    setModal(true);
    QString caption = label(app, 11);
    setWindowTitle(caption.remove(QChar('&')));
    const auto& info = app.state.match.MatchInfo;
    auto* outer = new QVBoxLayout(this);
    // The groups scroll when the screen is too small for them; the close button stays in sight.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollSheet"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    auto* body = new QWidget(scroll_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* match = new QGroupBox(label(app, 91), this);
    match->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(match);
    const auto row = [&](int at, int labelNumber, bool noColon, QLineEdit* edit) {
        grid->addWidget(new QLabel(label(app, labelNumber, noColon), match), at, 0);
        grid->addWidget(edit, at, 1, 1, 4);
    };
    // The date keeps its blank template on the volleyball sheet, and is empty on the other one.
    const QString date = !info[0].empty() ? fromCp1252(info[0]) : withSets ? QStringLiteral("  /  /    ") : QString();
    row(0, 18, true, field(match, "EditData", date));
    row(1, 99, false, field(match, "EditOra", fromCp1252(maskedText(info[1], "99.99"))));
    row(2, 19, true, field(match, "EditStag", fromCp1252(maskedText(info[2], "9999/9999"))));
    row(3, 96, false, field(match, "EditComp", trimBlanks(info[3]).empty() ? QString() : fromCp1252(info[3])));
    row(4, 100, false, field(match, "EditFase", trimBlanks(info[4]).empty() ? QString() : fromCp1252(info[4])));
    row(5, 97, false, field(match, "EditInc", fromCp1252(info[5])));
    row(6, 21, false, field(match, "EditTurno", fromCp1252(info[6])));
    row(7, 20, true, field(match, "EditTipo", fromCp1252(info[7])));
    const int teamRow = 8;
    const int heads[] = {5, 12, 101, 102, 29};
    for (int c = 0; c < 5; ++c) grid->addWidget(new QLabel(label(app, heads[c]), match), teamRow, c + 1);
    const struct {
        int side;
        const char* names[5];
        int slots[5];
    } teams[] = {{103, {"EditSqCasa", "EditDes1", "EditAll1", "EditAss1", "EditRis0"}, {14, 15, 16, 17, 26}},
                 {104, {"EditSqOspite", "EditDes2", "EditAll2", "EditAss2", "EditRis1"}, {18, 19, 20, 21, 27}}};
    for (int t = 0; t < 2; ++t) {
        grid->addWidget(new QLabel(label(app, teams[t].side), match), teamRow + 1 + t, 0);
        for (int c = 0; c < 5; ++c)
            grid->addWidget(field(match, teams[t].names[c], fromCp1252(info[static_cast<std::size_t>(teams[t].slots[c])])),
                            teamRow + 1 + t, c + 1);
    }
    layout->addWidget(match);

    auto* more = new QGroupBox(label(app, 93), this);
    more->setObjectName(QStringLiteral("GroupBox3"));
    auto* moreGrid = new QGridLayout(more);
    const struct {
        int message;
        const char* name;
        int slot;
    } others[] = {{105, "EditArb", 8},  {106, "EditSpett", 9}, {107, "EditIncasso", 10},
                  {108, "EditCitta", 11}, {109, withSets ? "EditImp" : "EditImpianto", 12}, {110, "EditRil", 13}};
    for (int i = 0; i < 6; ++i) {
        moreGrid->addWidget(new QLabel(label(app, others[i].message), more), i / 2, (i % 2) * 2);
        moreGrid->addWidget(field(more, others[i].name, fromCp1252(info[static_cast<std::size_t>(others[i].slot)])), i / 2,
                            (i % 2) * 2 + 1);
    }
    layout->addWidget(more);

    if (withSets) {
        auto* sets = new QGroupBox(label(app, 31), this);
        sets->setObjectName(QStringLiteral("GroupBox2"));
        auto* setGrid = new QGridLayout(sets);
        const int setHeads[] = {7, 34, 32, 33, 111};
        setGrid->addWidget(new QLabel(label(app, setHeads[0]), sets), 0, 0);
        setGrid->addWidget(new QLabel(label(app, setHeads[1]), sets), 0, 1);
        setGrid->addWidget(new QLabel(label(app, setHeads[2]), sets), 0, 2, 1, 3);
        setGrid->addWidget(new QLabel(label(app, setHeads[3]), sets), 0, 5);
        setGrid->addWidget(new QLabel(label(app, setHeads[4]), sets), 0, 6);
        for (int k = 1; k <= 5; ++k) {
            const std::size_t base = 30 + 6 * static_cast<std::size_t>(k - 1);
            setGrid->addWidget(new QLabel(QString::number(k), sets), k, 0);
            auto* played = new QCheckBox(sets);
            played->setObjectName(QStringLiteral("ChkT%1").arg(k));
            played->setChecked(asciiLower(info[base]) == "true");
            setGrid->addWidget(played, k, 1);
            for (int p = 0; p < 4; ++p)
                setGrid->addWidget(field(sets, QStringLiteral("EditSetPP%1").arg(4 * k - 3 + p).toLatin1().constData(),
                                         fromCp1252(maskedText(info[base + 1 + static_cast<std::size_t>(p)], "99-99"))),
                                   k, 2 + p);
            setGrid->addWidget(field(sets, QStringLiteral("EditSetMin%1").arg(k).toLatin1().constData(),
                                     fromCp1252(info[base + 5])),
                               k, 6);
        }
        layout->addWidget(sets);
    }
    scroll_->setWidget(body);
    outer->addWidget(scroll_);

    auto* close = new QPushButton(label(app, 2).remove(QChar('&')), this);
    close->setObjectName(QStringLiteral("ButAnn"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(close, 0, Qt::AlignRight);
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
    // Read-only, yet drawn as readable as any form: fields refuse edits, set boxes refuse clicks.
    auto* readOnly = new IgnoresInput(this);
    for (QCheckBox* played : findChildren<QCheckBox*>()) {
        played->installEventFilter(readOnly);
        played->setFocusPolicy(Qt::NoFocus);
    }
    if (auto* first = findChild<QLineEdit*>("EditData")) first->setFocus();
}

void MatchSheet::showEvent(QShowEvent* event) {
    fitDialogToScreen(*this, *scroll_);
    QDialog::showEvent(event);
}

void MatchSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) accept();
    else QDialog::keyPressEvent(event);
}

TFDatiInc::TFDatiInc(AppContext& app, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FDatiInc"));
    setModal(true);
    setWindowTitle(label(app, 84));
    const auto& match = app.state.match;
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    heading->addWidget(icon);
    auto* title = new QLabel(label(app, 85), this);
    title->setObjectName(QStringLiteral("Label1"));
    heading->addWidget(title, 1);
    layout->addLayout(heading);
    Grd = new TextGrid(std::max(1, match.MatchesCount), 9, this);
    Grd->setObjectName(QStringLiteral("Grd"));
    QHeaderView* header = Grd->horizontalHeader();
    header->show();
    header->setHighlightSections(false);  // a selected row leaves the header as it is
    header->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: #808080; color: white; border: none; font-weight: normal; }"));
    Grd->verticalHeader()->setDefaultSectionSize(18);
    const struct {
        int number;
        bool noColon;
    } headers[] = {{103, false}, {104, false}, {9, false}, {19, true}, {96, false},
                   {100, false}, {22, false},  {18, true}, {20, true}};
    QStringList texts;
    for (const auto& h : headers) texts << label(app, h.number, h.noColon).toLower();
    Grd->setHorizontalHeaderLabels(texts);
    for (int n = 1; n <= match.MatchesCount; ++n)
        for (int c = 0; c < 9; ++c)
            Grd->setCellText(c, n - 1, fromCp1252(match.MatchesData[static_cast<std::size_t>(n)].slots[static_cast<std::size_t>(c)]));
    layout->addWidget(Grd);
    auto* close = new QPushButton(label(app, 3).remove(QChar('&')), this);
    close->setObjectName(QStringLiteral("Button1"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
    fitColumns();
}

void TFDatiInc::fitColumns() {
    // The designed widths are minimums: a column grows to its header and its texts in the font in
    // use, so no header or name is cut while the screen has room.
    const int designed[] = {94, 99, 44, 58, 107, 51, 32, 70, 51};
    QHeaderView* header = Grd->horizontalHeader();
    int total = 0;
    for (int c = 0; c < 9; ++c) {
        const int width = std::max({designed[c], header->sectionSizeHint(c),
                                      static_cast<QAbstractItemView*>(Grd)->sizeHintForColumn(c)});
        Grd->setColumnWidth(c, width);
        total += width;
    }
    const int frame = 2 * Grd->frameWidth() + Grd->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    Grd->setMinimumWidth(std::min(total + frame, screen()->availableGeometry().width() - 40));
}

}  // namespace corvane
