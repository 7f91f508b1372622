#include "codes/search_code_entry.h"

#include <string_view>

#include "core/text.h"

namespace corvane {

SearchCodeEntry::SearchCodeEntry(int cellCount) : cells_(static_cast<std::size_t>(cellCount), ' ') {}

void SearchCodeEntry::resize(int cellCount) {
    cells_.assign(static_cast<std::size_t>(cellCount), ' ');
    cursor_ = 0;
}

void SearchCodeEntry::type(char character) {
    if (cells_.empty()) return;
    constexpr std::string_view kRallyMarks = "pcPTz";
    if (cursor_ == 1 && kRallyMarks.find(character) != std::string_view::npos) {
        cells_[1] = character;
        return;
    }
    cells_[static_cast<std::size_t>(cursor_)] = SwapLetterCase(character);
    if (cursor_ + 1 < cellCount()) ++cursor_;
}

void SearchCodeEntry::press(Key key) {
    switch (key) {
        case Key::Backspace:
            if (cursor_ > 0) cells_[static_cast<std::size_t>(--cursor_)] = ' ';
            break;
        case Key::Left:
            if (cursor_ > 0) --cursor_;
            break;
        case Key::Right:
            if (cursor_ + 1 < cellCount()) ++cursor_;
            break;
        case Key::Escape:
            // A cleared entry is typed again from its first cell.
            cells_.assign(cells_.size(), ' ');
            cursor_ = 0;
            break;
    }
}

void SearchCodeEntry::setCell(int index, char character) {
    if (index >= 0 && index < cellCount()) cells_[static_cast<std::size_t>(index)] = character;
}

void SearchCodeEntry::setCursor(int cell) {
    if (cell >= 0 && cell < cellCount()) cursor_ = cell;
}

SearchCodeLayout searchCodeLayout(bool volleyball) {
    constexpr unsigned kDarkRed = 0x800000, kBlue = 0x0000FF, kPaleBlue = 0x8080FF, kGrey = 0x808080;
    if (!volleyball)
        return {13, 148,
                {{0, 1, "*", 0, kDarkRed},
                 {1, 2, "", 147, 0x000080},
                 {3, 2, "EV", 0, 0x808000},
                 {5, 1, "\xB1", 0, 0x008000},
                 {6, 2, "Ext", 0, kGrey},
                 {8, 5, "Custom", 0, kBlue}}};
    return {20, 223,
            {{0, 1, "*", 0, kDarkRed},
             {1, 2, "", 147, kDarkRed},
             {3, 1, "", 148, kDarkRed},
             {4, 1, "", 149, kDarkRed},
             {5, 1, "\xB1", 0, kDarkRed},
             {6, 2, "", 150, kBlue},
             {8, 1, "", 152, kBlue},
             {9, 1, "", 153, kBlue},
             {10, 1, "", 154, kBlue},
             {11, 1, "", 155, kBlue},
             {12, 1, "", 156, kPaleBlue, true},
             {13, 1, "", 157, kPaleBlue, true},
             {14, 1, "", 158, kPaleBlue, true},
             {15, 5, "", 159, kGrey}}};
}

}  // namespace corvane
