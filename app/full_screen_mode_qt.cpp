#include "app/full_screen_mode_qt.h"

#include <QScreen>
#include <QTimer>

#include "app/full_screen_fit.h"
#include "app/player/tplayer.h"
#include "app/tfdetcodfs.h"
#include "app/tffullscreen.h"
#include "app/tfmain.h"
#include "app/tfpancmdfsc.h"
#include "codes/tfcodici.h"
#include "codes/tfselanalisi.h"
#include "codes/tfsubform.h"
#include "core/transport_rules.h"
#include "match/tfdetgio.h"
#include "scout/code_table.h"
#include "ui/app_context.h"
#include "ui/busy_cursor.h"
#include "ui/package_text.h"
#include "ui/text_grid.h"

namespace corvane {

FullScreenMode::FullScreenMode(AppContext& app, TFMain& main, QTimer& timerFSCreen)
    : app_(app), main_(main), TimerFSCreen(timerFSCreen) {
    TimerFSCreen.setInterval(500);
    TimerFSCreen.setSingleShot(true);
    QObject::connect(&TimerFSCreen, &QTimer::timeout, &main, [this] { TimerFSCreenTimer(); });
}

FullScreenMode::~FullScreenMode() { closeWindows(); }

QRect FullScreenMode::screenRect() const { return main_.screenGeometry(); }

std::optional<QRect> FullScreenMode::pictureRect() const {
    if (!fullScreen_) return std::nullopt;
    return fullScreen_->picturePanel()->geometry();
}

QWidget* FullScreenMode::pictureTarget() const { return fullScreen_ ? fullScreen_->picturePanel() : nullptr; }

// ---------------------------------------------------------------- entering and leaving

void FullScreenMode::ButFullClick() {
    TPlayer* player = main_.player();
    if (on_ || player->FileName().empty()) return;
    const BusyCursor busy;
    main_.Transport(TransportPause);
    // The main window's button: the panel, made below, starts with its own up.
    const bool slowMotion = main_.slowMotionButtonDown();
    on_ = true;
    if (!fullScreen_) fullScreen_ = std::make_unique<TFFullScreen>(app_, *this);
    const QRect screen = screenRect();
    fullScreen_->setGeometry(screen);
    fullScreen_->show();
    player->SetWinHandle(fullScreen_->picturePanel());
    fitPicture();
    fullScreen_->showRate(rate_);

    if (!panel_) panel_ = std::make_unique<TFPanCmdFsc>(app_, *this);
    if (!codeWindow_) codeWindow_ = std::make_unique<TFDetCodFS>(app_, *this);
    placeFloatingWindows();
    panel_->show();
    codeWindow_->show();
    FillCodeWindow();

    if (slowMotion) {
        panel_->setSlowMotionDown(true);
        panel_->showPlayImage(true);
        main_.startSlowMotion();
    } else {
        panel_->setSlowMotionDown(false);
        // The current code again from its pre-roll: the coach sees the whole action big.
        if (TFCodici* list = main_.codeList(); list && list->listRowCount() > 0)
            list->selectListRow(list->currentListRow());
    }
    panel_->showPlayImage(true);
    main_.setEnabled(false);
    if (!slowMotion) {
        fullScreen_->raise();
        fullScreen_->activateWindow();
    }
    raiseFloatingWindows();
}

void FullScreenMode::fitPicture() {
    if (!fullScreen_) return;
    TPlayer* player = main_.player();
    QWidget* panel = fullScreen_->picturePanel();
    panel->hide();
    const QSize area = screenRect().size();
    const PictureFit fit = FitPictureToScreen(area.width(), area.height(), [player](int width) {
        player->SetDisplayWidth(width);
        return player->VideoHeight();
    });
    fullScreen_->setPictureGeometry(QRect(fit.left, fit.top, fit.width, fit.height));
    panel->show();
    player->RefreshWindow();
}

void FullScreenMode::placeFloatingWindows() {
    const QRect screen = screenRect();
    const QRect picture = fullScreen_->picturePanel()->geometry();
    if (panel_) panel_->setPlacement(screen, picture);
    if (codeWindow_) codeWindow_->setPlacement(screen, picture);
    if (playerDetail_) playerDetail_->place();
}

void FullScreenMode::filmOpened() {
    if (!on_ || !fullScreen_) return;
    fitPicture();
    placeFloatingWindows();
    // The opening may have brought another window forward: the film comes back to the front.
    if (fullScreen_->isMinimized()) fullScreen_->setWindowState(fullScreen_->windowState() & ~Qt::WindowMinimized);
    fullScreen_->show();
    fullScreen_->raise();
    fullScreen_->activateWindow();
    raiseFloatingWindows();
}

void FullScreenMode::showRate(double rate) {
    rate_ = rate;
    if (fullScreen_) fullScreen_->showRate(rate);
}

void FullScreenMode::TimerFSCreenTimer() {
    TimerFSCreen.stop();
    if (on_) {
        // Read before the play below raises every slow-motion button.
        const bool slowMotion = panel_ && panel_->slowMotionDown();
        TPlayer* player = main_.player();
        player->SetWinHandle(player);
        player->SetVideoWidth(player->width());
        player->SetVideoHeight(player->height());
        player->RefreshWindow();
        main_.Transport(TransportPlay);
        on_ = false;
        main_.setEnabled(true);
        if (slowMotion) main_.startSlowMotion();
    }
    panel_.reset();
    if (fullScreen_) fullScreen_->close();
    playerDetail_.reset();
    codeWindow_.reset();
    main_.raise();
    main_.activateWindow();
}

void FullScreenMode::closeWindows() {
    TimerFSCreen.stop();
    if (on_) {
        on_ = false;
        main_.player()->SetWinHandle(main_.player());
    }
    playerDetail_.reset();
    codeWindow_.reset();
    panel_.reset();
    fullScreen_.reset();
}

// ---------------------------------------------------------------- the code window and the player

void FullScreenMode::FillCodeWindow() {
    if (!codeWindow_) return;
    TFCodici* list = main_.codeList();
    if (!list) return;
    std::vector<std::string> codes;
    codes.reserve(static_cast<std::size_t>(list->listRowCount()));
    for (int row = 1; row <= list->listRowCount(); ++row) codes.push_back(list->listRow(row).code);
    const int selected = list->listRowCount() > 0 ? list->currentListRow() - 1 : -1;
    codeWindow_->fill(codes, selected);
    updateCodeButtons(selected, list->listRowCount());
    // An emptied list names no player: the strip goes with the codes.
    ShowPlayerDetail(selected >= 0 ? playerTextOfListRow(selected + 1) : std::string());
}

void FullScreenMode::updateCodeButtons(int selectedRow, int rowCount) {
    if (panel_) panel_->setCodeButtons(selectedRow >= 0 && selectedRow < rowCount - 1, selectedRow > 0);
}

std::string FullScreenMode::playerTextOfListRow(int listRow) const {
    const TFCodici* list = main_.codeList();
    if (!list || listRow < 1 || listRow > list->listRowCount()) return {};
    return PlayerLabel(list->listRow(listRow).code, app_.state.match, app_.state.Sport);
}

void FullScreenMode::ShowPlayerDetail(const std::string& playerText) {
    if (playerText.empty() || !on_) {
        playerDetail_.reset();
        return;
    }
    if (!playerDetail_) {
        TFDetGio::Hooks hooks{[this] { return screenRect(); }, [this] { return pictureRect(); },
                              [this] { leave(); }, [this] { focusCodeWindow(); }};
        playerDetail_ = std::make_unique<TFDetGio>(app_, std::move(hooks));
    }
    playerDetail_->setPlayerText(fromCp1252(playerText));
    playerDetail_->show();
    playerDetail_->raise();
}

void FullScreenMode::raiseFloatingWindows() {
    // Staying on top is the window manager's work; without one (a bare X server) they are
    // raised over the film here.
    for (QWidget* window : {static_cast<QWidget*>(panel_.get()), static_cast<QWidget*>(codeWindow_.get()),
                            static_cast<QWidget*>(playerDetail_.get())})
        if (window && window->isVisible()) window->raise();
}

std::optional<bool> FullScreenMode::panelSlowMotionDown() const {
    if (!panel_) return std::nullopt;
    return panel_->slowMotionDown();
}

void FullScreenMode::setPanelSlowMotionDown(bool down) {
    if (panel_) panel_->setSlowMotionDown(down);
}

void FullScreenMode::showPlayImage(bool playing) {
    if (panel_) panel_->showPlayImage(playing);
}

// ---------------------------------------------------------------- what the windows ask

void FullScreenMode::Transport(int command, int amount) { main_.Transport(command, amount); }

void FullScreenMode::mainButton(MainButton button) {
    switch (button) {
        case MainButton::StepBack: main_.ButStepMClick(); break;
        case MainButton::StepForward: main_.ButStepPClick(); break;
        case MainButton::JumpBack: main_.SbIndietroClick(); break;
        case MainButton::JumpForward: main_.SbAvantiClick(); break;
    }
}

bool FullScreenMode::playing() const { return main_.player()->State() == TPlayer::Playing; }

bool FullScreenMode::slowMotionRunning() const { return main_.slowMotionRunning(); }

void FullScreenMode::setSlowMotion(bool on) { main_.setSlowMotion(on); }

bool FullScreenMode::wideFilm() const { return main_.player()->NativeWidth() > 352; }

void FullScreenMode::leave() { TimerFSCreen.start(); }

void FullScreenMode::showFloatingWindows(bool show) {
    for (QWidget* window : {static_cast<QWidget*>(panel_.get()), static_cast<QWidget*>(codeWindow_.get())})
        if (window) window->setVisible(show);
    if (show) raiseFloatingWindows();
    // The player strip stays; the pointer vanishes over it too.
    if (playerDetail_) {
        if (show) playerDetail_->unsetCursor();
        else playerDetail_->setCursor(Qt::BlankCursor);
    }
}

void FullScreenMode::keepFloatingShown() {
    if (!fullScreen_) return;
    fullScreen_->stopHideCountdown();
    fullScreen_->ShowFloating(true);
}

void FullScreenMode::stepCode(int step) {
    TFCodici* list = main_.codeList();
    if (!list) return;
    if (step > 0) list->NextCode();
    else list->PreviousCode();
}

void FullScreenMode::stepPlaybackRate(int direction) { main_.stepPlaybackRate(direction); }

void FullScreenMode::openAnalysis() {
    main_.Transport(TransportPause);
    if (fullScreen_) fullScreen_->stopPointerWatch();
    {
        TFSelAnalisi chooser(app_, [this](const std::string&, int index) {
            // Through the search panel, so that its list of analyses shows the one opened.
            if (TFSubForm* panel = main_.searchPanel()) panel->selectAnalysis(index, false);
        }, fullScreen_.get());
        chooser.exec();
    }
    if (fullScreen_) fullScreen_->startPointerWatch();
    TFCodici* list = main_.codeList();
    if (list && list->listRowCount() > 0) {
        ShowPlayerDetail(playerTextOfListRow(list->currentListRow()));
        main_.Transport(TransportPlay);
    }
}

void FullScreenMode::selectListRow(int listRow) {
    TFCodici* list = main_.codeList();
    if (!list || listRow < 1 || listRow > list->listRowCount()) return;
    // As a click on that row of the list: the list plays it, ends it and moves on from it, and
    // its selection calls FillCodeWindow, which sets the buttons and the player strip.
    list->selectListRow(listRow);
}

void FullScreenMode::focusCodeWindow() {
    if (codeWindow_ && codeWindow_->isVisible()) codeWindow_->grid()->setFocus();
}

}  // namespace corvane
