#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

// Exact seeks go to the player one at a time; a request made while one is under way waits, and a
// newer request replaces the waiting one. A seek ends at the first playback restart that follows
// both the player's reply to its command and the player's report that it started seeking, so a
// restart left over from an earlier seek (or from loading) never ends a newer one.
class SeekQueue {
public:
    struct Command {
        std::uint64_t id;
        double target;
        bool exact = true;  // false: the nearest key frame, as a drag of the track bar wants
    };
    struct Step {
        std::optional<double> finished;  // the target of the seek that has just ended
        std::optional<Command> next;     // the waiting seek, to send now
    };

    // Returns the command to send when nothing is under way.
    std::optional<Command> request(double target, bool exact = true);

    // The player's reply to command `id`; a refused seek ends at once.
    Step replied(std::uint64_t id, bool accepted);
    void seekStarted();
    Step restarted();

    // Gives up the seek under way (the player never finished it) and moves on to the waiting one.
    Step abandon();
    void clear();

    bool busy() const { return inFlight_.has_value() || waiting_.has_value(); }
    // The position the picture is heading to: the newest target asked for.
    std::optional<double> latestTarget() const;

private:
    Step finish();

    std::optional<Command> inFlight_;
    std::optional<double> waiting_;
    bool waitingExact_ = true;
    bool replied_ = false;
    bool started_ = false;
    std::uint64_t nextId_ = 1;
};

}  // namespace corvane
