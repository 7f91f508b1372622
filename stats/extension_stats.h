#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scout/events.h"

namespace corvane {

// The extension pattern: side mark, shirt number (2), event (2), effect, then the positions an
// extension row's code is laid over.
inline constexpr std::size_t kExtensionPatternLength = 13;
inline constexpr std::size_t kEffectPosition = 6;  // counted from 1

// One row of an extension window's table: the extension code and its values joined by ";".
struct ExtensionRow {
    std::string code;
    std::string values;
};

// StatExt.txt as an extension window shows it: rows[0] is the header row (its values the labels,
// "t" the total, "%..." the share of the label before it), data rows after it, the last one the
// totals.
struct ExtensionStats {
    std::vector<ExtensionRow> rows{ExtensionRow{}};
    std::vector<std::string> withSubExtensions;  // codes of the rows that open a deeper level
    std::string problem;                         // why the reading stopped early; empty otherwise

    bool hasDataRows() const { return rows.size() >= 2; }
    bool opensDeeperLevel(std::string_view code) const;
};

inline constexpr std::size_t kMaxExtensionRows = 1000;
inline constexpr std::size_t kMaxExtensionFileBytes = 1u << 20;

// Nothing when the file is missing: no window opens then.
std::optional<ExtensionStats> LoadExtensionStats(const std::filesystem::path& file);
ExtensionStats readExtensionStats(const std::vector<std::string>& lines);

// A blank pattern of the extension length with the side, player and event laid in.
std::string extensionPattern(bool home, std::string_view playerPart, std::string_view event);

// A row's code laid over a pattern: every character that is neither a blank nor "~" replaces the
// pattern's. A click lays the code up to its trimmed length, a sub-extension button over its whole
// length; characters past the pattern are dropped.
std::string overlayForClick(std::string_view pattern, std::string_view code);
std::string overlayForButton(std::string_view pattern, std::string_view code);

// The labels of the values column.
std::vector<std::string> extensionLabels(const ExtensionStats& stats);

// One sub-column of the values column, in pixels from the column's left edge. Its share is where
// a click selects it; its labels and figures are drawn in its box, a pixel inside either side of
// the share, so that neighbouring figures never touch and every drawn figure lies where a click
// on it selects it.
struct ExtensionSubColumn {
    int left = 0;
    int width = 0;
    int boxLeft() const { return left + 1; }
    int boxWidth() const { return width > 2 ? width - 2 : 0; }
};

// The sub-columns of a values column `columnWidth` wide: `count` equal shares side by side
// (the pixels the division leaves over stay unused at the right).
std::vector<ExtensionSubColumn> extensionSubColumns(int columnWidth, int count);

// The label under a click `offset` pixels into the values column, each label `labelWidth` wide:
// the first l with width*l <= offset <= width*(l+1); -1 for none.
int extensionLabelAt(int offset, int labelWidth, int labelCount);

// The effect a label searches: its first character, the label before it for a "%" label, "~" for
// "t", for no label and for a "%" label with none before it.
char extensionLabelEffect(const std::vector<std::string>& labels, int label);

// The search code of a click on a data row: the row's code over the pattern and, for a click in
// the values column (label >= -1), the effect at position 6; label -2 is a click on the code.
// The totals row (the last) keeps the pattern as it is: every code the window counts.
inline constexpr int kClickOnCode = -2;
std::string extensionClickPattern(std::string_view pattern, const ExtensionStats& stats, int row, int label);

// How a row's code is shown: the text of the first matching combination of the last event (in
// file order) whose code matches the window's pattern and that has one; the code itself else.
std::string extensionRowText(std::string_view pattern, std::string_view code, const EventTable& events,
                             std::string_view sport);

}  // namespace corvane
