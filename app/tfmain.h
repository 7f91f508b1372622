#pragma once

#include <QFont>
#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/film_requests.h"
#include "app/player/player_pair.h"
#include "scout/scout_readers.h"
#include "core/playback_rates.h"
#include "ui/main_window_link.h"

class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QToolButton;

namespace corvane {

struct AppContext;
class GradientButton;
class TFAbout;
class TFKeys;
class VideoEnvironment;
class TFCodici;
class TFSubForm;
class TFStatVoll;
class TFStatOs;
class TPlayer;
class TrackBar;
class ClickableLabel;
class RateReadout;
class FullScreenMode;
struct MainLayout;
enum class Glyph;
enum class KeyAction;

// The program's only top-level window: the video, the transport strip, and (as they land) the
// code list and the search panel in the right quarter.
class TFMain : public QWidget, public MainWindowLink {
    Q_OBJECT

public:
    // screenSize: the screen to lay out for; the primary screen's when not given.
    explicit TFMain(AppContext& app, std::optional<QSize> screenSize = std::nullopt, QWidget* parent = nullptr);
    ~TFMain() override;

    // Opening a film of the open package. False when it does not exist or cannot be played, and
    // when a newer request has taken its place. Asked for while a film opens, it is opened once
    // that opening has ended (false then).
    bool OpenFilm(const std::string& path);
    void StopPlayer();

    void Transport(int command, int amount = 0) override;
    void ShowPosition();
    void SetVideoZoom(int percent);
    // Opens the film when it is not the current one and goes to the second. False, with nothing
    // sought, for a film that is not available (the user is told) or texts that are no numbers.
    bool SeekFilmTime(const std::string& film, const std::string& seconds) override;

    // Button and timer handlers, public so that the full-screen panel and tests drive them as the
    // user does.
    void SbPlayClick();
    void SbIndietroClick();
    void SbAvantiClick();
    void ButStepMClick();
    void ButStepPClick();
    void SbRallentyClick(bool fromHotKey);
    void ButZoomClick();
    void BtnAudioClick();
    void TrackBChange(int position);
    // The bar dragged: the picture follows until the handle is let go.
    void TrackBScrub(int position);
    void ButPrevClick();
    void ButNextClick();
    void Timer1Timer();
    void AmovRallentyTimer();
    void Timer2Timer();
    void ButOpzioniClick();
    // The statistics command of the search panel.
    void ButStatClick();
    // The notes command: the synthesis notes, or the match sheet of the sport, shown modally.
    void ButNoteClick();
    std::unique_ptr<QDialog> notesWindow();
    // The strip above the video that a docked statistics window sits in: shown while it holds
    // one (docked), hidden with nullptr.
    QWidget* statisticsPanel(QWidget* docked) override;
    void statisticsClosed(QWidget* window) override;
    int videoAreaWidth() const override;
    QWidget* videoArea() const override { return Panel2; }
    void refitVideo() override { SetVideoZoom(ZoomPercent); }
    QWidget* mainWidget() override { return this; }
    TFStatVoll* statistics() const { return statVoll_; }
    TFStatOs* eventStatistics() const { return statOs_; }
    // The codec option changed: stop, check the decoders, open the film again with the new choice.
    void CheckUleadCodecs(bool flag) override;
    // The pre-roll captions after a change of the playback options.
    void updatePreRollCaptions() override;
    void statisticsOptionsChanged() override;
    // The list of the window's keys (F1 and the "?" button).
    void showKeyList();
    TFKeys* keyList() const;

    TPlayer* player() const { return Amov; }
    TFCodici* codeList() const override { return codeList_; }
    TFSubForm* searchPanel() const override { return searchPanel_; }
    // Another package of the disc, chosen in the search panel.
    void openPackage(const std::string& name, bool synthesis) override;
    void showStatistics() override { ButStatClick(); }
    void showNotes() override { ButNoteClick(); }
    int screenWidth() const override;
    int positionSeconds() const override;
    int durationSeconds() const override;
    bool playerBusy() const override;
    void startSlowMotion() override;
    // The list's width decides the video area's: lays both out again.
    void relayOutBesideTheList() override;
    void codeListChanged() override;
    void codeListRefilled() override;
    void showPlayerDetail(const std::string& playerText) override;
    bool slowMotionRunning() const { return AmovRallenty.isActive(); }
    // The slow-motion button is down, also while slow motion is paused.
    bool slowMotionButtonDown() const override;
    bool filmAtItsEnd() const override;
    bool largeZoom() const { return largeZoom_; }
    bool wideMpeg2() const { return WideMpeg2; }
    int zoomPercent() const { return ZoomPercent; }
    bool firstActivationDone() const { return !firstActivationPending_; }

    // Full screen: the film over the whole screen this window is on.
    void ButFullClick();

    // Look-ahead: a second player stands by on the next listed action, so Next and the list moving
    // on by itself show it without waiting for a seek. On unless switched off.
    void setLookAhead(bool on);
    const PlayerPair& players() const { return *players_; }
    bool fullScreen() const;
    FullScreenMode& fullScreenMode() const { return *fullScreen_; }
    // The screen this window is on, in device-independent pixels (the given size when one was).
    QRect screenGeometry() const;
    // Slow motion on or off as the slow-motion button does, the film paused first.
    void setSlowMotion(bool on);
    // One step of the playing speed the coach chooses with "[" and "]", kept across codes, Next
    // and films.
    void stepPlaybackRate(int direction);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void deleteClosedStatistics();
    void FormCreate();
    void FormShow();
    void FormActivate();
    void buildWidgets();
    void buildHotKeys();
    void keyPressed(KeyAction action);
    void applyCaptions();
    void layOut();
    void layOutTransportStrip(const MainLayout& layout);
    void placeWindowButtons();
    void openFirstPackage();
    // False, with the reason in a box, when the package could not be read; nothing changed then.
    bool openPackageData(const std::string& name, bool synthesis);
    void refusePackage(const std::string& name, std::optional<ScoutLimit> limit);
    void loadPackageFilms();
    const VideoEnvironment& videoEnvironment() const;
    QToolButton* transportButton(const char* name, Glyph glyph);
    void setPanButtonEnabled(bool enabled);
    void showStatus(const QString& text);
    void showPlayImage(bool playing);
    void showNoFilmTimes();
    void showAudioImage(bool soundOn);
    void slowMotionOn();
    void slowMotionOff();
    void applyPlaybackRate();
    // The speed the film really plays at: slow motion's own while it steps, else the chosen one.
    double shownRate() const;
    void showRateReadout();
    void placeRateReadout();
    // The film asked for first, then what was asked for while it opened. True when the film
    // asked for first is the one open at the end.
    bool openRequestedFilms(std::string path);
    bool openFilmNow(const std::string& path);
    void waitForReadyState();
    void showFilmNotAvailable(const std::string& path, const std::string& reason);
    // The transport off and the video area's notice, with the warning shown and the reason logged.
    void showFilmRefused(const std::string& path, const std::string& reason, const std::string& warning);
    void connectShownPlayer();
    void playersSwapped(TPlayer* shown);
    // The open film's picture at a code's second, when the look-ahead can serve it.
    std::optional<PlayerPair::Target> lookAheadTarget(const std::string& film, const std::string& seconds) const;
    bool showPreparedPicture(const PlayerPair::Target& target);
    void prepareLookAhead();
    void warnFilmNotAvailable(const std::string& path);  // message 23 with the path
    // A package without films: nothing open, nothing shown.
    void clearVideo();
    void closeVideo();
    double position() const;
    double duration() const;

    AppContext& app_;
    std::optional<QSize> screenOverride_;
    std::optional<QFont> captionFont_;  // the pre-roll captions' own font, before any fitting

    QWidget* Panel2 = nullptr;
    QWidget* Panel5 = nullptr;
    QLabel* statusText = nullptr;
    QWidget* Panel8 = nullptr;
    TPlayer* Amov = nullptr;
    std::unique_ptr<PlayerPair> players_;
    FilmRequests filmRequests_;
    QMetaObject::Connection filmLostConnection_;
    QWidget* Panel1 = nullptr;
    TrackBar* TrackB = nullptr;
    QWidget* PanButton = nullptr;
    QToolButton* SbPlay = nullptr;
    QToolButton* SbIndietro = nullptr;
    QToolButton* SbAvanti = nullptr;
    QToolButton* ButStepM = nullptr;
    QToolButton* ButStepP = nullptr;
    QToolButton* SbRallenty = nullptr;
    QToolButton* ButZoom = nullptr;
    QToolButton* ButFull = nullptr;
    QToolButton* BtnAudio = nullptr;
    QToolButton* ButPrev = nullptr;
    QToolButton* ButNext = nullptr;
    QFrame* Bevel8 = nullptr;
    ClickableLabel* SecAntInizioAzione = nullptr;
    ClickableLabel* SecAntFineAzione = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    ClickableLabel* Label5 = nullptr;
    QWidget* Panel4 = nullptr;
    QLabel* LblPos = nullptr;
    QLabel* LblDur = nullptr;
    RateReadout* rateReadout_ = nullptr;
    GradientButton* XiButton1 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QToolButton* ButClose = nullptr;
    QToolButton* ButRiduci = nullptr;
    QToolButton* ButInfo = nullptr;
    QToolButton* ButKeys = nullptr;
    QPointer<TFKeys> keyList_;
    QPointer<TFAbout> splash_;
    TFCodici* codeList_ = nullptr;
    TFSubForm* searchPanel_ = nullptr;
    TFStatVoll* statVoll_ = nullptr;
    TFStatOs* statOs_ = nullptr;
    // Statistics windows closed but not yet deleted: a closed window may still be on the call
    // stack, so it is deleted at the next opening or with the main window.
    std::vector<QPointer<QWidget>> closedStatistics_;
    QWidget* Panel3 = nullptr;

    QTimer Timer1;
    QTimer AmovRallenty;
    QTimer Timer2;
    QTimer TimerFSCreen;  // leaves full screen
    QTimer lookAheadTimer_;
    bool lookAheadOn_ = true;
    // The action a swap has just shown: the same code asked for again in the same step is there.
    std::optional<PlayerPair::Target> justSwapped_;
    std::unique_ptr<FullScreenMode> fullScreen_;

    bool seekBusy_ = false;
    bool mutedBySlowMotion_ = false;
    double playbackRate_ = kNormalRate;
    bool largeZoom_ = false;
    bool scrubbed_ = false;  // the bar was dragged: its release seeks exactly
    bool WideMpeg2 = false;
    bool firstActivationPending_ = false;
    int ZoomPercent = 90;
};

}  // namespace corvane
