#pragma once

#include <optional>
#include <string>

namespace corvane {

// Transport commands of the main window.
enum TransportCommand : int {
    TransportPlay = 0,
    TransportPause = 1,
    TransportBack = 2,
    TransportForward = 3,
    TransportToStart = 4,
    TransportToEnd = 5,
    TransportGoTo = 6,
    TransportFrameForward = 7,
    TransportFrameBack = 8,
};

inline constexpr double kJumpSeconds = 2.0;
inline constexpr double kFrameStepSeconds = 0.04;
inline constexpr double kEndMarginSeconds = 1.0;

// Where a moving command seeks to, or nothing when it does not move (play and pause, and the
// jumps that would pass the end margin). A jump back is not held at the start.
std::optional<double> transportSeekTarget(int command, int amount, double position, double duration);

// Only play and go-to are carried out while the film runs fast.
bool allowedAtFastRate(int command);
// Every command but pause and go-to leaves slow motion.
bool leavesSlowMotion(int command);

// A film shown at its last frame stays there (the player keeps it open), one frame short of its
// duration: that counts as the end.
inline constexpr double kEndOfFilmTolerance = 0.05;
inline bool filmAtEnd(double position, double duration) { return duration - position <= kEndOfFilmTolerance; }

// Whole seconds as hh.mm.ss for the labels; 0 in the locale's time separator.
std::string FormatSeconds(long long seconds, const std::string& timeSeparator);

// The picture's frame for a zoom percentage of the video area; nothing when the film's size is not
// known yet (the frame then stays hidden).
struct ZoomGeometry {
    int width = 0, height = 0, left = 0, top = 0;
};
std::optional<ZoomGeometry> videoZoomGeometry(int percent, int nativeWidth, int nativeHeight, int areaWidth,
                                              int areaHeight);

// The main window's regions for a screen size.
struct MainLayout {
    int videoWidth = 0;            // video area and control strip
    int videoHeight = 0;
    int stripTop = 0;
    bool preRollCaptionsVisible = true;  // hidden on screens under 1280 pixels
    int smallFontPoints = 0;             // 8 on small screens, else 0 (unchanged)
};
inline constexpr int kControlStripHeight = 65;
inline constexpr int kTrackBarHeight = 14;
MainLayout mainLayoutFor(int screenWidth, int clientHeight);

// SeekFilmTime's texts must be whole numbers, a film number up to the limit and a second within a
// hundred hours either side of the start; anything else is refused rather than cut to fit an int.
inline constexpr int kFilmNumberLimit = 9999;
inline constexpr int kFilmSecondLimit = 100 * 3600;
struct FilmTime {
    int film = 0;
    int seconds = 0;
};
std::optional<FilmTime> parseFilmTime(const std::string& film, const std::string& seconds);

}  // namespace corvane
