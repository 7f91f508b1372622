#pragma once

#include <Qt>

#include <optional>
#include <utility>

namespace corvane {

// Tells a click on a table cell from the other mouse gestures: only a left button pressed and
// released on one and the same clickable cell is a click. A right or middle click, or a drag that
// ends on another cell, is none. `Cell` is the window's own cell type, compared with ==; nothing
// (std::nullopt) stands for a place that is not clickable.
template <typename Cell>
class CellClick {
public:
    // A button went down (or was double-clicked) over `cell`.
    void press(Qt::MouseButton button, std::optional<Cell> cell) {
        pressed_ = button == Qt::LeftButton ? std::move(cell) : std::nullopt;
    }
    // A button came up over `cell`: true when this ends a click on it.
    bool release(Qt::MouseButton button, const std::optional<Cell>& cell) {
        const std::optional<Cell> pressed = std::exchange(pressed_, std::nullopt);
        return button == Qt::LeftButton && pressed && cell == pressed;
    }

private:
    std::optional<Cell> pressed_;
};

}  // namespace corvane
