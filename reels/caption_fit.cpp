#include "reels/caption_fit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The length of the longest start of word, at least one character, whose width fits.
std::size_t fittingPrefix(std::string_view word, double room, int size, const TextWidth& widthOf) {
    std::size_t best = 0;
    for (std::size_t end = 1; end <= word.size(); ++end) {
        if (end < word.size() && continuationByte(word[end])) continue;
        if (widthOf(word.substr(0, end), size) > room) break;
        best = end;
    }
    if (best == 0) {  // not even one character fits: it goes alone
        best = 1;
        while (best < word.size() && continuationByte(word[best])) ++best;
    }
    return best;
}

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\n' && text[end] != '\t') ++end;
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// Greedy wrapping of the words into lines no wider than room, long words broken.
std::vector<std::string> wrap(const std::vector<std::string_view>& words, double room, int size,
                              const TextWidth& widthOf) {
    std::vector<std::string> lines;
    std::string line;
    for (std::string_view word : words) {
        while (!word.empty()) {
            const std::string joined = line.empty() ? std::string(word) : line + " " + std::string(word);
            if (widthOf(joined, size) <= room) {
                line = joined;
                break;
            }
            if (!line.empty()) {
                lines.push_back(std::move(line));
                line.clear();
                continue;
            }
            const std::size_t cut = fittingPrefix(word, room, size, widthOf);
            lines.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

// The line cut so that it and the ellipsis fit.
std::string withEllipsis(std::string line, double room, int size, const TextWidth& widthOf) {
    while (!line.empty() && widthOf(line + std::string(kEllipsis), size) > room) {
        line.pop_back();
        while (!line.empty() && continuationByte(line.back())) line.pop_back();
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + std::string(kEllipsis);
}

}  // namespace

CaptionLayout fitCaption(std::string_view text, double room, int largest, int smallest, const TextWidth& widthOf) {
    const std::vector<std::string_view> words = wordsOf(text);
    smallest = std::max(1, std::min(smallest, largest));
    for (int size = largest; size >= smallest; --size) {
        const std::vector<std::string> lines = wrap(words, room, size, widthOf);
        if (lines.size() <= static_cast<std::size_t>(kCaptionMaxLines)) return {size, joined(lines)};
    }
    std::vector<std::string> lines = wrap(words, room, smallest, widthOf);
    lines.resize(kCaptionMaxLines);
    lines.back() = withEllipsis(lines.back(), room, smallest, widthOf);
    return {smallest, joined(lines)};
}

}  // namespace corvane
