#pragma once

#include <string>

class QWidget;

namespace corvane {

class TFCodici;
class TFSubForm;

// What the windows beside and over the video (code list, search panel, statistics, options,
// full screen) ask of the main window. The main window implements it; the windows know nothing
// else of it, so each can be built and tested against this alone.
class MainWindowLink {
public:
    // ---- transport
    // A command of the transport strip (TransportPlay, TransportPause, a jump, TransportGoTo).
    virtual void Transport(int command, int amount = 0) = 0;
    // Opens the film when it is not the current one and goes to the second. False, with nothing
    // sought, for a film that is not available or texts that are no numbers.
    virtual bool SeekFilmTime(const std::string& film, const std::string& seconds) = 0;
    virtual int positionSeconds() const = 0;
    virtual int durationSeconds() const = 0;
    virtual bool filmAtItsEnd() const = 0;
    // A film is being opened or closed: the player takes no commands.
    virtual bool playerBusy() const = 0;
    // Slow motion as the user sees it: the button down, in full screen the panel's.
    virtual bool slowMotionButtonDown() const = 0;
    virtual void startSlowMotion() = 0;

    // ---- the code list and the search panel
    virtual TFCodici* codeList() const = 0;
    virtual TFSubForm* searchPanel() const = 0;
    virtual void openPackage(const std::string& name, bool synthesis) = 0;
    virtual void showStatistics() = 0;
    virtual void showNotes() = 0;
    virtual int screenWidth() const = 0;
    // The list's width decides the video area's: lays both out again.
    virtual void relayOutBesideTheList() = 0;
    // The code list was refilled or moved its selection: the full-screen code window follows.
    virtual void codeListChanged() = 0;
    // The list holds other rows: what was prepared for its next row no longer holds.
    virtual void codeListRefilled() = 0;
    // The player of the played code ("N - Name"), shown in full screen; empty closes the strip.
    virtual void showPlayerDetail(const std::string& playerText) = 0;

    // ---- the statistics strip above the video
    // Shows the strip while it holds a docked window, hides it for nullptr; returns the strip.
    virtual QWidget* statisticsPanel(QWidget* docked) = 0;
    virtual void statisticsClosed(QWidget* window) = 0;
    virtual int videoAreaWidth() const = 0;
    virtual QWidget* videoArea() const = 0;
    // The picture fitted again to the video area at the zoom the user chose.
    virtual void refitVideo() = 0;
    // The main window itself, as the parent and the size a window takes after.
    virtual QWidget* mainWidget() = 0;

    // ---- options
    // The codec option changed: the film opened again with the new choice.
    virtual void CheckUleadCodecs(bool flag) = 0;
    virtual void updatePreRollCaptions() = 0;
    // The statistics options were stored: an open statistics window lays itself out for them.
    virtual void statisticsOptionsChanged() = 0;

protected:
    MainWindowLink() = default;
    ~MainWindowLink() = default;
    MainWindowLink(const MainWindowLink&) = default;
    MainWindowLink& operator=(const MainWindowLink&) = default;
};

}  // namespace corvane
