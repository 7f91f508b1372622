#include "app/tffullscreen.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>

#include "app/full_screen_link.h"
#include "app/full_screen_keys_qt.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/rate_readout.h"

namespace corvane {

namespace {

constexpr QPoint kNotTaken(0, 0);

}  // namespace

TFFullScreen::TFFullScreen(AppContext& app, FullScreenLink& link)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), link_(link) {
    setObjectName(QStringLiteral("FFullScreen"));
    setAttribute(Qt::WA_NoSystemBackground, false);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setPalette(black);
    Panel1->setAutoFillBackground(true);
    rateReadout_ = new RateReadout(this);
    readPointer = [] { return QCursor::pos(); };
    movePointer = [](QPoint to) { QCursor::setPos(to); };
    Timer1.setInterval(500);
    Timer2.setInterval(3000);
    connect(&Timer1, &QTimer::timeout, this, &TFFullScreen::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TFFullScreen::Timer2Timer);
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
}

void TFFullScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Timer1.start();
    savedPointer_ = kNotTaken;
}

bool TFFullScreen::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) link_.focusCodeWindow();
    return QWidget::event(event);
}

void TFFullScreen::keyPressEvent(QKeyEvent* event) {
    const bool taken = takeFullScreenKey(*event, link_, [this] {
        Timer2.stop();
        ShowFloating(true);
        link_.leave();
    });
    if (!taken) QWidget::keyPressEvent(event);
}

void TFFullScreen::setPictureGeometry(const QRect& picture) {
    Panel1->setGeometry(picture);
    placeRateReadout();
}

void TFFullScreen::showRate(double rate) {
    rateReadout_->showRate(rate);
    placeRateReadout();
}

// At the top of the picture, in the middle: the code window takes the top right corner, the
// panel and the player strip the bottom.
void TFFullScreen::placeRateReadout() {
    rateReadout_->move(Panel1->x() + (Panel1->width() - rateReadout_->width()) / 2, Panel1->y() + 8);
    rateReadout_->raise();
}

void TFFullScreen::closeEvent(QCloseEvent* event) {
    if (link_.active()) {
        // A close request from outside (Alt+F4 under a desktop) while the mode is on: closing
        // only this window would leave the main window disabled behind it. It leaves full
        // screen as Escape does; the mode closes the window itself once it is off.
        event->ignore();
        Timer2.stop();
        ShowFloating(true);
        link_.leave();
        return;
    }
    Timer1.stop();
    Timer2.stop();
    if (savedPointer_ != kNotTaken) {
        if (readPointer() != savedPointer_) movePointer(savedPointer_);
        savedPointer_ = kNotTaken;
    }
    showPointer();
    QWidget::closeEvent(event);
}

void TFFullScreen::stopPointerWatch() {
    Timer1.stop();
    Timer2.stop();
}

void TFFullScreen::Timer1Timer() {
    if (!link_.active()) return;
    const QPoint now = readPointer();
    if (lastPointer_ == kNotTaken) {
        lastPointer_ = now;
        return;
    }
    if (now == lastPointer_) {
        if (!Timer2.isActive()) Timer2.start();
        return;
    }
    lastPointer_ = now;
    Timer2.stop();
    ShowFloating(true);
    if (savedPointer_ != kNotTaken) {
        // The pointer comes back where it vanished, not where the hand has taken it meanwhile.
        if (now != savedPointer_) movePointer(savedPointer_);
        lastPointer_ = savedPointer_;
        savedPointer_ = kNotTaken;
    }
}

void TFFullScreen::Timer2Timer() {
    if (link_.active()) ShowFloating(false);
}

void TFFullScreen::ShowFloating(bool show) {
    link_.showFloatingWindows(show);
    if (show) {
        showPointer();
        return;
    }
    Timer1.stop();
    if (savedPointer_ == kNotTaken) savedPointer_ = readPointer();
    // A blank pointer rather than one moved off the screen: servers clamp a pointer sent past
    // the edge, and some refuse to move it at all.
    setCursor(Qt::BlankCursor);
    pointerHidden_ = true;
    // The pointer stays where it was, so the first movement after hiding already counts.
    lastPointer_ = savedPointer_;
    Timer1.start();
}

void TFFullScreen::showPointer() {
    unsetCursor();
    pointerHidden_ = false;
}

}  // namespace corvane
