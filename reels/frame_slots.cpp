#include "reels/frame_slots.h"

#include <algorithm>
#include <cmath>

namespace corvane {

FrameSlots::FrameSlots(double start, double end, double outputRate, double sourceRate)
    : outputRate_(outputRate > 0 ? outputRate : 25),
      sourceFrame_(1 / (sourceRate > 0 ? sourceRate : outputRate_)),
      // A picture's stamp may stray a little from its frame: it still counts for the slot within
      // half the shorter of the two frames, and no further, so no two pictures claim one slot.
      tolerance_(std::min(1 / outputRate_, sourceFrame_) / 2),
      first_(std::llround(start * outputRate_)),
      total_(static_cast<int>(std::max(0LL, std::llround(end * outputRate_) - first_))) {}

double FrameSlots::moment(int slot) const { return static_cast<double>(first_ + slot) / outputRate_; }

int FrameSlots::fillBefore(double t) {
    const int before = filled_;
    while (filled_ < total_ && moment(filled_) + tolerance_ <= t) ++filled_;
    return filled_ - before;
}

}  // namespace corvane
