#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "scout/scout_readers.h"

namespace corvane {

// Empties the table (header row only), MatchInfo, both teams and the matches data, so nothing of
// an earlier package survives a reading, not even one of a file that turns out to be missing.
void clearScoutTarget(ScoutTarget target);

// The whole file in one read, or nothing when it cannot be read. Scout files run to a million
// lines, so they are read once and then walked as views.
std::optional<std::string> readScoutBytes(const std::filesystem::path& file);

// The lines of a text as views into it. A line ends at LF; a CR just before it (or at the very end
// of the text) is no part of the line, so CR LF and LF files read alike. A final line end adds no
// empty line.
class LineCursor {
public:
    explicit LineCursor(std::string_view content) : rest_(content) {}

    // The next line; false at the end of the text.
    bool next(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
        } else {
            line = rest_.substr(0, end);
            rest_.remove_prefix(end + 1);
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

private:
    std::string_view rest_;
};

// The first N fields of a line cut at ";": a ";" at the very end adds no field, ";;" gives an
// empty field, an empty line has none. Fields past N are never looked at.
template <std::size_t N>
class LineFields {
public:
    explicit LineFields(std::string_view line) {
        std::size_t start = 0;
        while (start < line.size() && count_ < N) {
            const std::size_t end = line.find(';', start);
            if (end == std::string_view::npos) {
                fields_[count_++] = line.substr(start);
                break;
            }
            fields_[count_++] = line.substr(start, end - start);
            start = end + 1;
        }
    }

    // Fields kept, at most N.
    std::size_t size() const { return count_; }
    // The field, or empty when the line has fewer fields.
    std::string_view operator[](std::size_t index) const {
        return index < count_ ? fields_[index] : std::string_view();
    }

private:
    std::array<std::string_view, N> fields_{};
    std::size_t count_ = 0;
};

// Up to `length` characters from `position`, empty past the end.
inline std::string_view safeSubstr(std::string_view text, std::size_t position, std::size_t length) {
    return position < text.size() ? text.substr(position, length) : std::string_view();
}

// Fields firstField.. into the slots from firstSlot on, count of them; a missing field empties its
// slot.
template <std::size_t N, std::size_t S>
void copyFields(const LineFields<N>& fields, std::size_t firstField, std::size_t count,
                std::array<std::string, S>& slots, std::size_t firstSlot) {
    for (std::size_t i = 0; i < count && firstSlot + i < S; ++i)
        slots[firstSlot + i] = fields[firstField + i];
}

}  // namespace corvane
