#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace corvane {

struct AppContext;
class FullScreenLink;
class RateReadout;

// The black window over the whole screen that the player draws into while in full screen. It
// watches the pointer: three seconds without movement hide the floating windows and the
// pointer, the next movement brings them back.
class TFFullScreen : public QWidget {
    Q_OBJECT

public:
    TFFullScreen(AppContext& app, FullScreenLink& link);

    // The panel the picture is drawn into.
    QWidget* picturePanel() const { return Panel1; }
    // Where the picture stands in the window; the speed readout keeps to its corner.
    void setPictureGeometry(const QRect& picture);
    // The speed the film plays at, over the picture while it is not normal speed.
    void showRate(double rate);
    void ShowFloating(bool show);
    void stopHideCountdown() { Timer2.stop(); }
    // Both timers stopped (while a dialog is in front) and the watch started again.
    void stopPointerWatch();
    void startPointerWatch() { Timer1.start(); }
    bool pointerHidden() const { return pointerHidden_; }
    bool hideCountdownRunning() const { return Timer2.isActive(); }

    // Where the pointer is, and putting it somewhere: the screen's pointer unless replaced.
    std::function<QPoint()> readPointer;
    std::function<void(QPoint)> movePointer;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Timer1Timer();
    void Timer2Timer();
    void showPointer();
    void placeRateReadout();

    FullScreenLink& link_;
    QWidget* Panel1 = nullptr;
    RateReadout* rateReadout_ = nullptr;
    QTimer Timer1;  // pointer watch
    QTimer Timer2;  // hide countdown
    QPoint lastPointer_{1, 1};  // (0, 0): not yet taken
    QPoint savedPointer_;       // where the pointer was hidden; (0, 0): none
    bool pointerHidden_ = false;
};

}  // namespace corvane
