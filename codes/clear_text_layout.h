#pragma once

#include <string>
#include <string_view>

#include "codes/code_description.h"
#include "core/text.h"

namespace corvane {

// One row of the clear-text list as drawn: the description on the left and, in a column of its
// own at the right edge, where the action is (its time and set).
struct ClearTextLine {
    std::string text;
    std::string place;
};

// The time and set in the list's short form: "0.08 2" for second 8 of set 2 (the hour is left out
// while it is 0). Empty without a time and a set.
std::string ShortPlace(std::string_view time, std::string_view set);

// "E. MARINO" for "MARINO Enzo" or "Enzo Marino": the first name's initial and the surname (the
// words in capitals when the name has them, else the words after the first). Letters beyond
// `surnameLetters` of the surname become "."; 0 keeps the surname whole.
std::string ShortPlayerName(std::string_view name, std::size_t surnameLetters = 0);

// Lays a description out in `pixelWidth` so that what happened and how it ended are read first.
// The place keeps its column while the text still shows the event and its effect whole beside it.
// The player gives way first (the team, then the first name down to its initial), then the
// extension is cut, then the surname is shortened down to three letters and to the shirt number
// ("#12"), then the event's description is cut; the effect is cut only when nothing else is left. Texts and measures are UTF-8; the place is measured in its own font.
ClearTextLine LayOutClearText(const CodeDescriptionParts& parts, std::string_view place, int pixelWidth,
                              const TextMeasure& measureText, const TextMeasure& measurePlace);

// The gap between the text and the place column.
inline constexpr int kPlaceGap = 6;

}  // namespace corvane
