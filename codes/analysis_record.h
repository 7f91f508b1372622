#pragma once

#include <array>
#include <string>

namespace corvane {

// The current analysis: 38 text slots, 0..12 the keys of Analisi.ini in this order.
struct AnalysisRecord {
    static constexpr int kSlots = 38;
    enum Slot : int {
        tipo = 0,
        team = 1,
        main_code = 2,
        team_rot = 3,
        rot_zone = 4,
        set = 5,
        phase = 6,
        adv_codes = 7,
        seconds_prev = 8,
        seconds_len = 9,
        play_end_rally = 10,
        automatic_stop = 11,
        folder = 12,
    };
    std::array<std::string, kSlots> slots;

    std::string& operator[](Slot slot) { return slots[slot]; }
    const std::string& operator[](Slot slot) const { return slots[slot]; }
    void Clear() { slots = {}; }
};

}  // namespace corvane
