#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "scout/scout_readers.h"

namespace corvane {

// Empties the table (header row only), MatchInfo, both teams and the matches data, so nothing of
// an earlier package survives a reading, not even one of a file that turns out to be missing.
void clearScoutTarget(ScoutTarget target);

// The lines of a scout file, read in large pieces and handed out as views; a view stays valid
// until the next call. A line ends at LF; a CR just before it (or at the very end of the file) is
// no part of the line, so CR LF and LF files read alike. A final line end adds no empty line. A
// read error ends the lines: what was read so far stands. The scout bounds end the lines too, and
// exceeded() then names the bound: a file larger than kMaxScoutFileBytes gives no line at all, the
// line past kMaxScoutLines or longer than kMaxScoutLineBytes is not handed out. So whatever the
// file, the reader holds at most one piece and one line.
class LineReader {
public:
    // Nothing when the file cannot be opened or is not a regular file (a FIFO, a device).
    static std::optional<LineReader> openFile(const std::filesystem::path& file);
    // The lines of a text held in memory.
    explicit LineReader(std::string text);

    LineReader(LineReader&& other) noexcept;
    LineReader& operator=(LineReader&& other) noexcept;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // The next line; false after the last, and at a bound.
    bool next(std::string_view& line);
    // The bound that ended the lines, if one did.
    std::optional<ScoutLimit> exceeded() const { return exceeded_; }

private:
    explicit LineReader(int descriptor);
    bool fill();
    bool refuse(ScoutLimit limit);
    void closeFile();

    int descriptor_ = -1;
    std::string buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uintmax_t bytesRead_ = 0;
    std::size_t linesGiven_ = 0;
    std::optional<ScoutLimit> exceeded_;
};

namespace detail {

// One bit (the high bit of the byte) for every ";" among 8 bytes, exact for every byte value.
inline std::uint64_t semicolonBits(const char* bytes) {
    constexpr std::uint64_t kSemicolons = 0x3B3B3B3B3B3B3B3Bull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    const std::uint64_t x = word ^ kSemicolons;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

}  // namespace detail

// The first N fields of a line cut at ";": a ";" at the very end adds no field, ";;" gives an
// empty field, an empty line has none. Fields past N are never looked at.
template <std::size_t N>
class LineFields {
public:
    explicit LineFields(std::string_view line) : line_(line) {
        const char* data = line.data();
        std::size_t at = 0;
#if defined(__SSE2__)
        // Sixteen bytes at a time: code lines hold many short fields.
        const __m128i semicolons = _mm_set1_epi8(';');
        for (; at + 16 <= line.size() && count_ < N; at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            for (auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, semicolons)));
                 bits != 0 && count_ < N; bits &= bits - 1)
                cut(at + static_cast<std::size_t>(std::countr_zero(bits)));
        }
#else
        if constexpr (std::endian::native == std::endian::little) {
            for (; at + 8 <= line.size() && count_ < N; at += 8)
                for (std::uint64_t bits = detail::semicolonBits(data + at); bits != 0 && count_ < N; bits &= bits - 1)
                    cut(at + static_cast<std::size_t>(std::countr_zero(bits)) / 8);
        }
#endif
        for (; at < line.size() && count_ < N; ++at)
            if (data[at] == ';') cut(at);
        if (count_ < N && start_ < line.size()) fields_[count_++] = line.substr(start_);
    }

    // Fields kept, at most N.
    std::size_t size() const { return count_; }
    // The field, or empty when the line has fewer fields.
    std::string_view operator[](std::size_t index) const {
        return index < count_ ? fields_[index] : std::string_view();
    }

private:
    void cut(std::size_t separator) {
        fields_[count_++] = std::string_view(line_.data() + start_, separator - start_);
        start_ = separator + 1;
    }

    std::string_view line_;
    std::array<std::string_view, N> fields_{};
    std::size_t count_ = 0;
    std::size_t start_ = 0;
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
