#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace corvane {

class TPlayer;

// The player control shown in the video area and a second one standing by, hidden and silent,
// paused on the first picture of the action the list will most likely ask for next. An exact seek
// has to decode from the key frame before its target, which on broadcast footage takes a good part
// of a second; when the prepared picture is asked for, the two swap places and it is there at once.
// The standby is made the first time it is needed, so a session without lists costs one player.
class PlayerPair : public QObject {
    Q_OBJECT

public:
    // What the standby is prepared for: the same film with the same filter graph, at a second.
    struct Target {
        std::string film;
        std::string filtro;
        double second = 0;
        bool operator==(const Target&) const = default;
    };

    explicit PlayerPair(TPlayer& shown);
    ~PlayerPair() override;

    TPlayer& shown() const { return *shown_; }
    // Nothing before the first prepare.
    TPlayer* standby() const { return standby_; }

    // Brings the standby to the target: opens the film when it has another (or none), then seeks
    // exactly. The previous preparation is forgotten. Opening waits like the shown player's does.
    void prepare(const Target& target);
    // The standby shows the target's picture: its seek has landed and the picture is drawn.
    bool readyFor(const Target& target) const;
    const std::optional<Target>& prepared() const { return prepared_; }
    bool ready() const { return prepared_ && readyFor(*prepared_); }
    void drop();
    // Drops the preparation and closes the standby's film.
    void release();

    // The standby takes the shown player's place, size, picture window and sound, paused on its
    // prepared picture; the shown one, paused, becomes the standby. False, with nothing changed,
    // when the standby is not ready for the target.
    bool swapFor(const Target& target);

Q_SIGNALS:
    // The players have changed places: connections to the shown player move to the new one.
    void swapped(TPlayer* previous, TPlayer* shown);

private:
    TPlayer& makeStandby();
    void standbySeekLanded(double target);

    TPlayer* shown_;
    TPlayer* standby_ = nullptr;  // owned by the shown player's parent, like the shown one
    std::optional<Target> prepared_;
    std::uint64_t framesAtSeek_ = 0;
    double seekTarget_ = 0;
    bool landed_ = false;
    bool pictureDrawn_ = false;
    bool opening_ = false;
};

}  // namespace corvane
