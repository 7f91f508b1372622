#include "app/player/seek_queue.h"

namespace corvane {

std::optional<SeekQueue::Command> SeekQueue::request(double target, bool exact) {
    if (inFlight_) {
        waiting_ = target;
        waitingExact_ = exact;
        return std::nullopt;
    }
    inFlight_ = Command{nextId_++, target, exact};
    replied_ = false;
    started_ = false;
    return inFlight_;
}

SeekQueue::Step SeekQueue::replied(std::uint64_t id, bool accepted) {
    if (!inFlight_ || inFlight_->id != id) return {};
    if (!accepted) return finish();
    replied_ = true;
    return {};
}

void SeekQueue::seekStarted() {
    if (inFlight_ && replied_) started_ = true;
}

SeekQueue::Step SeekQueue::restarted() {
    if (!inFlight_ || !replied_ || !started_) return {};
    return finish();
}

SeekQueue::Step SeekQueue::abandon() {
    if (!inFlight_) return {};
    return finish();
}

void SeekQueue::clear() {
    inFlight_.reset();
    waiting_.reset();
    replied_ = false;
    started_ = false;
}

std::optional<double> SeekQueue::latestTarget() const {
    if (waiting_) return waiting_;
    if (inFlight_) return inFlight_->target;
    return std::nullopt;
}

SeekQueue::Step SeekQueue::finish() {
    Step step;
    step.finished = inFlight_->target;
    inFlight_.reset();
    if (waiting_) {
        const double target = *waiting_;
        waiting_.reset();
        step.next = request(target, waitingExact_);
    }
    return step;
}

}  // namespace corvane
