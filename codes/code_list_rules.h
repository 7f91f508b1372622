#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scout/code_table.h"

namespace corvane {

// The seconds a code may name, either side of the film's start: a hundred hours, far beyond any
// film, and far enough inside an int that the list's arithmetic on them cannot overflow.
inline constexpr int kCodeSecondLimit = 100 * 3600;
// The same bound for the pre-roll and end offset the arithmetic subtracts.
inline constexpr int kOffsetLimit = 3600;

// A code's VideoSec, or nothing when it is empty, no number or beyond the limit.
std::optional<int> codeSecond(const CodeTable& table, int tableRow);

// Where a click on a code sends the film: its film and second less the pre-roll (never in a
// synthesis), held at 0. Nothing for a code without a readable second.
struct PlayTarget {
    std::string film;
    int second = 0;
};
std::optional<PlayTarget> playTargetOf(const CodeTable& table, int tableRow, int preRollSeconds, bool synthesisMode);

// A code the raw list draws split into its fields: team "*" or "a", a player number or "$$",
// a skill letter of set 1 or "&", an evaluation symbol.
bool isActionCode(std::string_view code);

// The set combo's captions: "all", then the sets or periods of the sport.
std::vector<std::string> setComboItems(std::string_view sport, const std::string& allText,
                                       const std::string& extraPeriodText);

// "1;3;" from the ticked items after the first: each one's first character; the extra period as
// the number after the regular ones ("5;" for basketball, "3;" for the two-period sports).
std::string SetFilterText(const std::vector<std::pair<std::string, bool>>& items, std::string_view sport,
                          const std::string& extraPeriodText);

// The list's width in raw and clear-text mode for a screen width: raw, its columns and a scroll
// bar (at least 170); clear text, a fifth of the screen, at least 270 for volleyball, 240 else.
int codeListWidth(bool clearText, int screenWidth, std::string_view sport);

}  // namespace corvane
