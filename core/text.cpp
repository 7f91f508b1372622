#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <limits>

#include "core/date_time_format.h"
#include "core/files.h"
#include "core/messages.h"

namespace corvane {

std::vector<std::string> SplitText(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            break;
        }
        pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement,
                        bool caseSensitive) {
    if (find.empty()) return std::string(text);
    const std::string haystack = caseSensitive ? std::string(text) : asciiLower(text);
    const std::string needle = caseSensitive ? std::string(find) : asciiLower(find);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, start)) {
        out.append(text.substr(start, at - start));
        out.append(replacement);
        start = at + needle.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string PadText(bool leftAligned, int width, std::string_view text, char padCharacter) {
    if (width <= 0) return {};
    const auto size = static_cast<std::size_t>(width);
    std::string out(text.substr(0, size));
    if (out.size() < size) {
        const std::string blanks(size - out.size(), ' ');
        out = leftAligned ? out + blanks : blanks + out;
    }
    for (char& c : out)
        if (c == ' ') c = padCharacter;
    return out;
}

std::optional<long long> parseWholeNumber(std::string_view text) {
    text = trimBlanks(text);
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    // from_chars takes a minus of its own: "+-1" is no number.
    if (plus && !text.empty() && text.front() == '-') return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

int textToInt(std::string_view text, int fallback) {
    const auto value = parseWholeNumber(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(*value);
}

std::optional<int> parseIntInRange(std::string_view text, int lowest, int highest) {
    const auto value = parseWholeNumber(text);
    if (!value || *value < lowest || *value > highest) return std::nullopt;
    return static_cast<int>(*value);
}

int leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && value < 100000000)
        value = value * 10 + (text[i++] - '0');
    return static_cast<int>(value);
}

std::string_view trimBlanks(std::string_view text) {
    // Blanks and control characters, as trimming does on the formats' text.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

std::string FormatCodeTime(std::string_view seconds) {
    const auto total = parseWholeNumber(seconds);
    if (!total) return {};
    const long long hours = *total / 3600;
    const long long rest = *total - hours * 3600;
    const long long minutes = std::llabs(rest / 60);
    const long long secs = std::llabs(rest % 60);
    std::string text = rest < 0 ? "-" : "";
    text += std::to_string(hours).substr(0, 1);
    text += '.';
    text += PadText(false, 2, std::to_string(minutes), '0');
    text += '.';
    text += PadText(false, 2, std::to_string(secs), '0');
    return text;
}

namespace {

bool continuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Where each of the first `limit` characters of a UTF-8 text ends.
std::vector<std::size_t> characterEnds(std::string_view text, std::size_t limit) {
    std::vector<std::size_t> ends;
    std::size_t at = 0;
    while (at < text.size() && ends.size() < limit) {
        ++at;
        while (at < text.size() && continuesCharacter(text[at])) ++at;
        ends.push_back(at);
    }
    return ends;
}

}  // namespace

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (maxBytes >= text.size()) return text;
    std::size_t end = maxBytes;
    while (end > 0 && continuesCharacter(text[end])) --end;
    return text.substr(0, end);
}

std::string FitText(std::string_view text, int pixelWidth, const TextMeasure& measure) {
    if (text.empty()) return {};
    const int limit = pixelWidth - measure("...");
    // A drawn character takes at least a pixel: what lies beyond the width is never shown.
    const auto ends = characterEnds(text, static_cast<std::size_t>(std::max(pixelWidth, 0)));
    const std::size_t shownBytes = ends.empty() ? 0 : ends.back();
    const auto prefix = [&](std::size_t characters) {
        return text.substr(0, characters == 0 ? 0 : ends[characters - 1]);
    };
    std::size_t fits = 0;
    std::size_t tooLong = ends.size() + 1;  // the first count known not to fit
    if (shownBytes == text.size()) {
        if (measure(text) <= limit) return std::string(text);
        tooLong = ends.size();
    }
    // The longest start that fits, by halving the range between a fitting and a failing count.
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (measure(prefix(middle)) <= limit) fits = middle;
        else tooLong = middle;
    }
    return std::string(trimBlanks(prefix(fits))) + "...";
}

std::string FitTextKeepingSuffix(std::string_view text, std::string_view suffix, int pixelWidth,
                                 const TextMeasure& measure) {
    const std::string whole = std::string(text) + std::string(suffix);
    if (measure(whole) <= pixelWidth) return whole;
    return FitText(text, pixelWidth - measure(suffix), measure) + std::string(suffix);
}

std::vector<std::string> FigureForms(std::string_view figure) {
    if (figure.empty()) return {};
    std::vector<std::string> forms{std::string(figure)};
    if (figure.size() > 1 && figure.back() == '%') forms.emplace_back(figure.substr(0, figure.size() - 1));
    const bool count = std::all_of(figure.begin(), figure.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (count && figure.size() >= 4) forms.push_back(std::string(figure.substr(0, figure.size() - 3)) + "k");
    forms.emplace_back("#");
    return forms;
}

std::string FitFigure(std::string_view figure, int pixelWidth, const TextMeasure& measure) {
    for (const std::string& form : FigureForms(figure))
        if (measure(form) <= pixelWidth) return form;
    return {};
}

std::vector<int> PlacePiecesInOrder(const std::vector<LinePiece>& pieces, int gap) {
    std::vector<int> lefts;
    int free = std::numeric_limits<int>::min();
    for (const LinePiece& piece : pieces) {
        const int left = std::max(piece.designedLeft, free);
        lefts.push_back(left);
        if (piece.width > 0) free = left + piece.width + gap;
    }
    return lefts;
}

std::string AbbreviateText(std::string_view text, int width, int minimum, bool dot) {
    if (width <= 0) return {};
    const auto size = static_cast<std::size_t>(width);
    if (text.size() <= size) return std::string(text);
    if (text[size] != ' ') {
        // Positions count from 1: character `width` is text[width - 1].
        int s = width;
        while (s > minimum && s > 1 && text[static_cast<std::size_t>(s - 1)] != ' ') --s;
        if (text[static_cast<std::size_t>(s - 1)] == ' ' && s < width) {
            std::string out(text.substr(0, static_cast<std::size_t>(s) + 1));
            if (dot) out += '.';
            return out;
        }
    }
    return std::string(text.substr(0, size));
}

char SwapLetterCase(char character) {
    if (character >= 'A' && character <= 'Z') return static_cast<char>(character - 'A' + 'a');
    if (character >= 'a' && character <= 'z') return static_cast<char>(character - 'a' + 'A');
    return character;
}

std::string MonthName(int month, MonthList list, const Messages& messages) {
    if (month < 1 || month > 12) return {};
    return messages.MessageText((list == MonthList::A ? 171 : 159) + month);
}

std::string FormatDate(std::string_view text, int form, const LocaleFormats& formats,
                       const Messages& messages) {
    const auto date = parseLocaleDate(formats, std::string(text));
    if (text.empty() || !date) return std::string(text);
    return std::to_string(date->day) + " " +
           MonthName(date->month, form == 0 ? MonthList::A : MonthList::B, messages) + " " +
           std::to_string(date->year);
}

std::string DaysToDateText(std::string_view text, const LocaleFormats& formats) {
    if (text.empty()) return {};
    if (text.find_first_of("/-") != std::string_view::npos) return std::string(text);
    const std::string number(trimBlanks(text));
    char* end = nullptr;
    double days = std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size()) days = 0;
    const auto when = dateTimeFromDays(days);
    return when ? formatLocaleDateTime(formats, *when) : std::string();
}

}  // namespace corvane
