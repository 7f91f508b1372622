#pragma once

#include <string>
#include <vector>

namespace corvane {

// The search code typed cell by cell: one character a code position, the cursor moving on as
// the user types. Volleyball has 20 cells; the layout of the other sports 13.
class SearchCodeEntry {
public:
    explicit SearchCodeEntry(int cellCount = 20);
    // A new layout: every cell blank, the cursor in the first.
    void resize(int cellCount);

    enum class Key { Backspace, Left, Right, Escape };

    // A typed character. Letters swap their case (typed plain they come in capitals, with Shift
    // in small letters); in the second cell "p", "c", "P", "T" and "z" stay as typed and the
    // cursor with them.
    void type(char character);
    void press(Key key);
    void setCursor(int cell);
    // Writes a cell as it stands, without the typing rules.
    void setCell(int index, char character);

    int cursor() const { return cursor_; }
    char cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }
    int cellCount() const { return static_cast<int>(cells_.size()); }
    // The search code: every cell in order, a blank for an empty one.
    std::string searchCode() const { return std::string(cells_.begin(), cells_.end()); }

private:
    std::vector<char> cells_;
    int cursor_ = 0;
};

// The labelled fields of the search code cells: volleyball's 20 cells, or the 13 of the other
// sports (their codes have a two-letter event and a five-character custom field).
struct SearchCodeField {
    int first = 0;  // cells from 0
    int count = 1;
    std::string header;  // the text, or empty for the message
    int message = 0;
    unsigned colour = 0;  // 0xRRGGBB
    bool smallHeader = false;
};
struct SearchCodeLayout {
    int cellCount = 20;
    int width = 223;  // pixels, frame included
    std::vector<SearchCodeField> fields;
};
SearchCodeLayout searchCodeLayout(bool volleyball);

}  // namespace corvane
