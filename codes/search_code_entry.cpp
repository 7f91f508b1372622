#include "codes/search_code_entry.h"

#include <string_view>

#include "core/text.h"

namespace corvane {

SearchCodeEntry::SearchCodeEntry(int cellCount) : cells_(static_cast<std::size_t>(cellCount), ' ') {}

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

}  // namespace corvane
