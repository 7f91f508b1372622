#pragma once

#include <QRect>

#include <memory>
#include <optional>
#include <string>

#include "app/full_screen_link.h"

class QTimer;
class QWidget;

namespace corvane {

struct AppContext;
class TFMain;
class TFFullScreen;
class TFPanCmdFsc;
class TFDetCodFS;
class TFDetGio;

// Full-screen mode: the film over the whole screen of the main window, the command panel and
// the code window floating over it, the player strip below. Entered by the main window's
// full-screen button, left through the main window's TimerFSCreen, which this mode answers.
// The windows are top-level windows of their own, deleted here in a fixed order.
class FullScreenMode final : public FullScreenLink {
public:
    FullScreenMode(AppContext& app, TFMain& main, QTimer& TimerFSCreen);
    ~FullScreenMode();
    FullScreenMode(const FullScreenMode&) = delete;
    FullScreenMode& operator=(const FullScreenMode&) = delete;

    bool on() const { return on_; }
    void ButFullClick();
    void TimerFSCreenTimer();
    // The program closes: every window goes, the player draws into its own again.
    void closeWindows();

    // The code window copies the code list again (a refill, a new selection).
    void FillCodeWindow();
    // The player strip with this text, or closed for an empty one or outside full screen.
    void ShowPlayerDetail(const std::string& playerText);
    // Another film opened while in full screen: its picture fitted again, the floating windows
    // at the new picture's edges, the full-screen window in front.
    void filmOpened();
    // The speed the film plays at, for the readout over the full-screen picture.
    void showRate(double rate);
    QWidget* pictureTarget() const;

    // The panel's slow-motion button, while the panel exists.
    std::optional<bool> panelSlowMotionDown() const;
    void setPanelSlowMotionDown(bool down);
    void showPlayImage(bool playing);

    TFFullScreen* fullScreenWindow() const { return fullScreen_.get(); }
    TFPanCmdFsc* commandPanel() const { return panel_.get(); }
    TFDetCodFS* codeWindow() const { return codeWindow_.get(); }
    TFDetGio* playerDetail() const { return playerDetail_.get(); }

    // FullScreenLink
    void Transport(int command, int amount = 0) override;
    void mainButton(MainButton button) override;
    bool playing() const override;
    bool slowMotionRunning() const override;
    void setSlowMotion(bool on) override;
    bool wideFilm() const override;
    void leave() override;
    bool active() const override { return on_; }
    void showFloatingWindows(bool show) override;
    void keepFloatingShown() override;
    void stepCode(int step) override;
    void stepPlaybackRate(int direction) override;
    void openAnalysis() override;
    void selectListRow(int listRow) override;
    void focusCodeWindow() override;

private:
    void fitPicture();
    void placeFloatingWindows();
    QRect screenRect() const;
    std::optional<QRect> pictureRect() const;
    std::string playerTextOfListRow(int listRow) const;
    void updateCodeButtons(int selectedRow, int rowCount);
    void raiseFloatingWindows();

    AppContext& app_;
    TFMain& main_;
    QTimer& TimerFSCreen;
    bool on_ = false;
    double rate_ = 1.0;
    // Deleted in reverse order of declaration: the floating windows before the full-screen one.
    std::unique_ptr<TFFullScreen> fullScreen_;
    std::unique_ptr<TFPanCmdFsc> panel_;
    std::unique_ptr<TFDetCodFS> codeWindow_;
    std::unique_ptr<TFDetGio> playerDetail_;
};

}  // namespace corvane
