#include "app/player/player_pair.h"

#include <cmath>
#include <utility>

#include "app/player/tplayer.h"

namespace corvane {

namespace {

// Positions are compared to the seek's own target, which the player keeps within the film.
bool sameSecond(double a, double b) { return std::abs(a - b) < 1e-6; }

}  // namespace

PlayerPair::PlayerPair(TPlayer& shown) : shown_(&shown) {}

PlayerPair::~PlayerPair() = default;

TPlayer& PlayerPair::makeStandby() {
    if (standby_) return *standby_;
    standby_ = new TPlayer(shown_->parentWidget());
    standby_->setObjectName(shown_->objectName() + QStringLiteral("Standby"));
    standby_->hide();
    // Either player stands by in turn.
    for (TPlayer* player : {shown_, standby_}) {
        connect(player, &TPlayer::seekFinished, this, [this, player](double target) {
            if (player == standby_) standbySeekLanded(target);
        });
        connect(player, &TPlayer::frameDrawn, this, [this, player] {
            if (player == standby_ && landed_) pictureDrawn_ = true;
        });
        connect(player, &TPlayer::filmLost, this, [this, player] {
            if (player == standby_) drop();
        });
    }
    return *standby_;
}

void PlayerPair::prepare(const Target& target) {
    if (opening_ || target.film.empty()) return;
    if (prepared_ == target) return;
    TPlayer& standby = makeStandby();
    drop();
    standby.SetVideoWidth(shown_->VideoWidth());
    standby.SetVideoHeight(shown_->VideoHeight());
    const bool sameFilm = standby.State() != TPlayer::NoFilm && standby.FileName() == target.film &&
                          standby.Filtro() == target.filtro;
    if (!sameFilm) {
        standby.CloseFile();
        standby.SetFiltro(target.filtro);
        standby.SetFileName(target.film);
        // Opening waits and processes events, which may ask for another preparation meanwhile.
        opening_ = true;
        const bool opened = standby.Open();
        opening_ = false;
        standby.SetAudio(false);
        if (!opened) return;
    }
    if (standby.State() != TPlayer::Ready) standby.Pause();
    prepared_ = target;
    framesAtSeek_ = standby.framesDrawn();
    if (!standby.Seek(static_cast<float>(target.second))) {
        drop();
        return;
    }
    seekTarget_ = standby.Position();  // the target as the player keeps it within the film
}

void PlayerPair::standbySeekLanded(double target) {
    if (!prepared_ || !sameSecond(target, seekTarget_)) return;
    landed_ = true;
    pictureDrawn_ = standby_->framesDrawn() > framesAtSeek_;
}

bool PlayerPair::readyFor(const Target& target) const {
    return standby_ && prepared_ == target && landed_ && pictureDrawn_ && !standby_->seeking() &&
           standby_->State() == TPlayer::Ready;
}

void PlayerPair::drop() {
    prepared_.reset();
    landed_ = false;
    pictureDrawn_ = false;
}

void PlayerPair::release() {
    drop();
    if (standby_ && !opening_ && standby_->State() != TPlayer::NoFilm) standby_->CloseFile();
}

bool PlayerPair::swapFor(const Target& target) {
    if (!readyFor(target)) return false;
    TPlayer* previous = shown_;
    TPlayer* next = standby_;
    previous->Pause();
    next->SetRate(previous->Rate());
    next->SetAudio(!previous->muted());
    next->setGeometry(previous->geometry());
    next->SetVideoWidth(previous->VideoWidth());
    next->SetVideoHeight(previous->VideoHeight());
    QWidget* window = previous->WinHandle();
    if (window != previous) {
        previous->SetWinHandle(previous);
        next->SetWinHandle(window);
    }
    const QString name = previous->objectName();
    previous->setObjectName(next->objectName());
    next->setObjectName(name);
    next->show();
    next->raise();
    previous->hide();
    previous->SetAudio(false);
    // Painted now, before the caller plays on: the first picture the coach sees is the prepared one.
    next->WinHandle()->repaint();
    shown_ = next;
    standby_ = previous;
    drop();
    Q_EMIT swapped(previous, next);
    return true;
}

}  // namespace corvane
