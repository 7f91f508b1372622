#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// A caption laid out to fit its picture: the font size and the text with its line breaks.
struct CaptionLayout {
    int fontSize = 0;
    std::string text;  // lines separated by '\n'
};

// The width in pixels of one line of text at a font size.
using TextWidth = std::function<double(std::string_view line, int fontSize)>;

inline constexpr int kCaptionMaxLines = 3;

// Lays a caption out inside a line width of `room` pixels: at the largest size from `largest`
// down to `smallest` at which its words wrap into at most three lines; failing that, at the
// smallest size, three lines with the last cut and ended by an ellipsis. A word longer than a
// line is broken between characters; UTF-8 characters are never split.
CaptionLayout fitCaption(std::string_view text, double room, int largest, int smallest, const TextWidth& widthOf);

}  // namespace corvane
