#include "core/sport.h"

namespace corvane {

SportKind sportKind(std::string_view sport) {
    if (sport == "1") return SportKind::Volleyball;
    if (sport == "2") return SportKind::Basketball;
    if (sport.empty()) return SportKind::Unknown;
    if (sport.front() >= '3' && sport.front() <= '9') return SportKind::TwoPeriods;
    if (sport.front() == 'A') return SportKind::TwoPeriodsNoExtra;
    return SportKind::Unknown;
}

}  // namespace corvane
