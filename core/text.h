#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"

namespace corvane {

class Messages;

// Texts here are Windows-1252 bytes, as read from packages.

// "a;b" and "a;b;" give two pieces, "a;;b" three, "" none, ";" one empty piece.
std::vector<std::string> SplitText(std::string_view text, char separator);

// Every occurrence of find, left to right, never rescanning what was inserted. Without case
// sensitivity ASCII letters match either case; the untouched parts keep theirs.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        bool caseSensitive);

// Cut or blank-padded to width (on the right when left aligned), then every blank, inner ones
// too, becomes the pad character.
std::string PadText(bool leftAligned, int width, std::string_view text, char padCharacter);

// Seconds as h.mm.ss with one hour character; empty when the text is not a whole number.
std::string FormatCodeTime(std::string_view seconds);

// The longest start of a UTF-8 text that is at most maxBytes long and ends between characters.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

// Shortens a UTF-8 text, the one that is drawn, until it fits the pixel width less the width of
// "..." as the measure reports it, and then ends it with "...". A text that fits that width
// stays whole. The cut falls between characters; the measure runs a number of times that grows
// with the logarithm of the length, and never over more characters than the width has pixels.
using TextMeasure = std::function<int(std::string_view)>;
std::string FitText(std::string_view text, int pixelWidth, const TextMeasure& measure);

// A text and a suffix that must stay readable (a time, a set): the text is fitted to what the
// suffix leaves of the width, the suffix is kept whole.
std::string FitTextKeepingSuffix(std::string_view text, std::string_view suffix, int pixelWidth,
                                 const TextMeasure& measure);

// The forms a figure of a statistics table (a count, or a share such as "100%") may be shown in,
// longest first. Figures are never cut like words, a cut "10" would read as another number: the
// whole figure, a share without its "%" sign, a count of a thousand or more in thousands ("12k"),
// and last "#", the mark of a figure that has no room. None for an empty figure.
std::vector<std::string> FigureForms(std::string_view figure);

// The first form of the figure that fits the pixel width as the measure reports it; empty when
// even "#" does not.
std::string FitFigure(std::string_view figure, int pixelWidth, const TextMeasure& measure);

// Pieces drawn one after another on a line, each at its designed left edge unless the piece
// before it reaches that far: then `gap` pixels after it. The left edges, in the pieces' order.
struct LinePiece {
    int designedLeft = 0;
    int width = 0;
};
std::vector<int> PlacePiecesInOrder(const std::vector<LinePiece>& pieces, int gap);

std::string AbbreviateText(std::string_view text, int width, int minimum, bool dot);

char SwapLetterCase(char character);

// The month's name from list A (messages 172..183) or B (160..171); empty for other months.
enum class MonthList { A, B };
std::string MonthName(int month, MonthList list, const Messages& messages);

// "d <month> yyyy" for a date in the user's locale (form 0: list A, 1: list B); other texts as
// they stand.
std::string FormatDate(std::string_view text, int form, const LocaleFormats& formats,
                       const Messages& messages);

// A number of days since 30 December 1899 as the locale's date and time; texts holding "/" or
// "-" unchanged, empty stays empty.
std::string DaysToDateText(std::string_view text, const LocaleFormats& formats);

// A whole decimal number with optional blanks around it and a sign, as the settings and the
// formats write them; nothing for any other text.
std::optional<long long> parseWholeNumber(std::string_view text);
int textToInt(std::string_view text, int fallback = 0);

// A whole number read from a file, kept only inside [lowest, highest]: a text that is no number,
// or a number outside the range (however many digits it has), gives nothing. Callers pick a range
// in which their arithmetic cannot overflow.
std::optional<int> parseIntInRange(std::string_view text, int lowest, int highest);

// The integer at the start of a text after blanks, stopping at the first non-digit; 0 when there
// is no digit (how the point codes carry their scores).
int leadingInteger(std::string_view text);

std::string_view trimBlanks(std::string_view text);

}  // namespace corvane
