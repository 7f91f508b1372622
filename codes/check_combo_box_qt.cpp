#include "codes/check_combo_box_qt.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace corvane {

namespace {
constexpr int kButtonWidth = 17;
constexpr int kLowerOpeningLimit = 500;  // pixels from the screen's top
}  // namespace

TCheckComboBoxQT::TCheckComboBoxQT(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    resize(121, 24);
    setFocusPolicy(Qt::StrongFocus);

    edit_ = new QLineEdit(this);
    edit_->setReadOnly(true);
    edit_->setFrame(false);
    edit_->setFocusProxy(this);
    edit_->installEventFilter(this);
    button_ = new QToolButton(this);
    button_->setArrowType(Qt::DownArrow);
    button_->setFixedWidth(kButtonWidth);
    button_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    connect(button_, &QToolButton::clicked, this, [this] {
        if (closedByButton_) closedByButton_ = false;  // the button toggles the list
        else dropDown();
    });

    popup_ = new QFrame(this, Qt::Popup);
    popup_->setFrameStyle(QFrame::Box | QFrame::Plain);
    list_ = new QListWidget(popup_);
    list_->installEventFilter(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popupLayout = new QHBoxLayout(popup_);
    popupLayout->setContentsMargins(1, 1, 1, 1);
    popupLayout->addWidget(list_);
    popup_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int index = list_->row(item);
        if ((item->checkState() == Qt::Checked) != selection_.checked(index)) {
            tickedByClick_ = true;
            toggleItem(index);
        }
    });
    // The small box ticks by itself; a click on the item's text ticks it as well.
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!std::exchange(tickedByClick_, false)) toggleItem(list_->row(item));
    });
    connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(list_);
        const auto report = [this] { reportChange(); };
        menu.addAction(capSelectAll_, this, [this, report] { selection_.selectAll(report); });
        menu.addAction(capDeSelectAll_, this, [this, report] { selection_.deselectAll(report); });
        menu.exec(list_->viewport()->mapToGlobal(at));
    });
    applyEditColour(false);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

// Destroying the children moves the focus: the watch must end before they go.
TCheckComboBoxQT::~TCheckComboBoxQT() { disconnect(focusWatch_); }

void TCheckComboBoxQT::setItems(const QStringList& items) {
    QStringList ordered = items;
    if (sorted_) ordered.sort(Qt::CaseInsensitive);
    std::vector<std::string> texts;
    for (const QString& item : ordered) texts.push_back(item.toStdString());
    selection_.setItems(std::move(texts));
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (const QString& item : ordered) {
        auto* entry = new QListWidgetItem(item, list_);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
        entry->setSizeHint(QSize(0, itemHeight()));
    }
    showSummary();
}

QStringList TCheckComboBoxQT::items() const {
    QStringList out;
    for (const auto& item : selection_.items()) out << QString::fromStdString(item);
    return out;
}

void TCheckComboBoxQT::setDropDownLines(int lines) {
    if (lines >= 3 && lines <= 10) dropDownLines_ = lines;
}

void TCheckComboBoxQT::setColumns(int columns) {
    columns_ = columns;
    // Several columns: the items run down each column and wrap into the next.
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(columns > 1);
}

void TCheckComboBoxQT::setCheckAllOnFirst(bool on) {
    selection_.setCheckAllOnFirst(on);
    showSummary();
}

void TCheckComboBoxQT::setNotFocusColor(QColor color) {
    notFocusColor_ = color;
    applyEditColour(hasFocus());
}

void TCheckComboBoxQT::setSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted) setItems(items());
}

void TCheckComboBoxQT::setChecked(int index, bool on) {
    selection_.setChecked(index, on);
    syncList();
}

QString TCheckComboBoxQT::text() const { return edit_->text(); }

void TCheckComboBoxQT::showSummary() { edit_->setText(QString::fromStdString(selection_.summary())); }

void TCheckComboBoxQT::syncList() {
    const QSignalBlocker blocker(list_);
    for (int i = 0; i < list_->count(); ++i)
        list_->item(i)->setCheckState(selection_.checked(i) ? Qt::Checked : Qt::Unchecked);
    showSummary();
}

void TCheckComboBoxQT::toggleItem(int index) {
    const auto outcome = selection_.toggleByUser(index, [this] { reportChange(); });
    if (outcome == CheckListSelection::Outcome::NoRoom) {
        syncList();  // the refused tick leaves its box
        QMessageBox::warning(this, QApplication::applicationDisplayName(), tr("There is no room for Selected"));
    }
}

// The list and the summary show the settled ticks before anyone hears of the change.
void TCheckComboBoxQT::reportChange() {
    syncList();
    Q_EMIT changed();
}

// A line is as tall as the taller of its tick and its text, with room to breathe: the font's
// own line height leaves the tick touching the next line.
int TCheckComboBoxQT::itemHeight() const {
    const int tick = list_->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list_);
    return std::max(tick, list_->fontMetrics().height()) + 4;
}

void TCheckComboBoxQT::placePopup() {
    int lines = dropDownLines_;
    if (columns_ > 1) lines = list_->count() / columns_ + 1;
    lines = std::clamp(lines, 3, 10);
    // The list's frame, the popup's frame and its one-pixel margins come on top of the lines.
    const int height = itemHeight() * lines + 2 * (list_->frameWidth() + popup_->frameWidth() + 1);
    const QPoint below = mapToGlobal(QPoint(0, this->height()));
    if (below.y() > kLowerOpeningLimit) {
        const QPoint above = mapToGlobal(QPoint(0, -height));
        popup_->setGeometry(above.x(), above.y(), width() - kButtonWidth - 1, height);
    } else {
        popup_->setGeometry(below.x(), below.y(), width(), height);
    }
}

void TCheckComboBoxQT::dropDown() {
    Q_EMIT clicked();
    placePopup();
    popup_->show();
    list_->setFocus();
}

bool TCheckComboBoxQT::droppedDown() const { return popup_->isVisible(); }

void TCheckComboBoxQT::applyEditColour(bool focused) {
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, focused ? QColor(Qt::white) : notFocusColor_);
    edit_->setPalette(palette);
}

void TCheckComboBoxQT::focusInEvent(QFocusEvent* event) {
    applyEditColour(true);
    QFrame::focusInEvent(event);
}

void TCheckComboBoxQT::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    if (!popup_->isVisible()) applyEditColour(false);
}

void TCheckComboBoxQT::focusMoved(const QWidget* now) {
    // No focus widget at all is the program losing activation, not the user leaving the control.
    if (!now) return;
    const bool inside = now == this || isAncestorOf(now) || now == popup_ || popup_->isAncestorOf(now);
    if (inside == focusWithin_) return;
    focusWithin_ = inside;
    if (inside) Q_EMIT entered();
    else Q_EMIT exited();
}

bool TCheckComboBoxQT::eventFilter(QObject* watched, QEvent* event) {
    // The edit box is watched before the list exists.
    if (list_ && watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) tickedByClick_ = false;
    if (watched == edit_ && event->type() == QEvent::MouseButtonPress) {
        dropDown();
        return true;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        popup_->hide();
        return true;
    }
    if (watched == popup_ && event->type() == QEvent::Hide) {
        closedByButton_ = button_->rect().contains(button_->mapFromGlobal(QCursor::pos()));
        // Closing the list hands the keyboard back, to the control or elsewhere.
        QTimer::singleShot(0, this, [this] {
            const QWidget* focus = QApplication::focusWidget();
            if (!focus || focus == list_) setFocus(Qt::PopupFocusReason);  // Escape: back to the control
        });
    }
    return QFrame::eventFilter(watched, event);
}

void TCheckComboBoxQT::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        edit_->setEnabled(isEnabled());
        button_->setEnabled(isEnabled());
    }
    QFrame::changeEvent(event);
}

}  // namespace corvane
