#pragma once

namespace corvane {

// The frame slots of one clip in a reel of one frame rate, and which of a film's pictures fills
// each: the picture showing at the slot's moment. A film of another rate (or of no steady rate)
// keeps its real duration: pictures are dropped or shown again as its moments fall.
class FrameSlots {
public:
    // [start, end) seconds of the film; outputRate the reel's frames a second, sourceRate the
    // film's (its usual one, for a film of varying rate).
    FrameSlots(double start, double end, double outputRate, double sourceRate);

    int total() const { return total_; }
    int filled() const { return filled_; }
    bool full() const { return filled_ >= total_; }

    // The moment of a slot, in seconds of the film.
    double moment(int slot) const;

    // A picture of the film at t has come: the open slots whose moments lie before it are the
    // previous picture's. Returns how many, and counts them as filled.
    int fillBefore(double t);

    // The film has ended with its last picture at t: the slots that picture still covers.
    int fillAfterLast(double t) { return fillBefore(t + sourceFrame_); }

private:
    double outputRate_;
    double sourceFrame_;
    double tolerance_;
    long long first_;
    int total_;
    int filled_ = 0;
};

}  // namespace corvane
