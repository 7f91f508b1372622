#pragma once

namespace corvane {

// What the full-screen window and its two floating windows ask of the full-screen mode: the
// transport of the main window, the code list, and leaving. The mode implements it; the windows
// know nothing else of the program.
class FullScreenLink {
public:
    enum class MainButton { StepBack, StepForward, JumpBack, JumpForward };

    virtual void Transport(int command, int amount = 0) = 0;
    // The main window's button of the same name, as if clicked.
    virtual void mainButton(MainButton button) = 0;
    virtual bool playing() const = 0;
    virtual bool slowMotionRunning() const = 0;
    // One step of the playing speed ("[" and "]"), as in the main window.
    virtual void stepPlaybackRate(int direction) = 0;
    // Slow motion on or off from the panel's button (the film paused first).
    virtual void setSlowMotion(bool on) = 0;
    // A film wider than 352 pixels steps back a second instead of a frame.
    virtual bool wideFilm() const = 0;
    // Leaves full screen half a second later (the main window's TimerFSCreen).
    virtual void leave() = 0;
    // The main window is in full-screen mode (the windows' timers act only then).
    virtual bool active() const = 0;
    // The command panel and the code window shown (true) or hidden (false), with the pointer
    // over the player strip.
    virtual void showFloatingWindows(bool show) = 0;
    // A button of the panel was used: the hide countdown stops and the floating windows show.
    virtual void keepFloatingShown() = 0;
    // The code list's next (+1) or previous (-1) code.
    virtual void stepCode(int step) = 0;
    // The analysis chooser, modal.
    virtual void openAnalysis() = 0;
    // A row of the code window clicked: the code list selects that row (1 is its first code).
    virtual void selectListRow(int listRow) = 0;
    // The code window's grid takes the keyboard again (after the player strip was activated).
    virtual void focusCodeWindow() = 0;

protected:
    FullScreenLink() = default;
    ~FullScreenLink() = default;
    FullScreenLink(const FullScreenLink&) = default;
    FullScreenLink& operator=(const FullScreenLink&) = default;
};

}  // namespace corvane
