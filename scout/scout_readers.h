#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/platform.h"
#include "scout/code_table.h"

namespace corvane {

// What a scout file may bring. A match holds a few thousand codes of about a hundred bytes each
// (a file of well under a megabyte); a synthesis lists at most 50 matches. The bounds stand far
// above both, so that no real package meets them, and keep a hostile file from taking the
// program's memory and minutes of its time: a file is refused before its table is built.
inline constexpr std::size_t kMaxScoutLines = 200'000;            // 40 long matches of 5,000 codes
inline constexpr std::size_t kMaxScoutLineBytes = 64 * 1024;      // a code line is ~100 bytes
inline constexpr std::uintmax_t kMaxScoutFileBytes = 64u << 20;   // 200,000 lines of ~300 bytes

// The bound a refused scout file passed.
enum class ScoutLimit { FileSize, LineCount, LineLength };

// The bound and its value in words, for the log and the command line: "the scout file has more
// than 200000 lines".
std::string describeScoutLimit(ScoutLimit limit);

// A reader's answer: read is true when the file exists and was read. A file past a bound is not
// read at all: refused names the bound and the target is left empty.
struct ScoutReading {
    bool read = false;
    std::optional<ScoutLimit> refused;

    // The readers answered a plain bool before the bounds; their callers still test it so.
    operator bool() const { return read; }  // NOLINT(google-explicit-constructor)
};

// What a scout reader fills. The reader empties all of it first.
struct ScoutTarget {
    CodeTable& table;
    MatchCompanions& match;
};

// The volleyball "[3KESTRALINESCOUT]" file. False when the file does not exist, cannot be opened
// or is refused; the target is then empty. Empty lines are no records; records past the last slot
// (a 100th player, a 51st match) are dropped.
ScoutReading ReadScoutFile(const std::filesystem::path& path, bool synthesisMode, ScoutTarget target,
                   const LocaleFormats& formats);

// The lower-case format of the other sports; decipher is true for Sport "3".."9" and "A". An
// enciphered file is deciphered in memory; nothing is written. False when the file does not exist
// or cannot be opened, or is refused (the target is then empty).
ScoutReading ReadLowerCaseScout(const std::filesystem::path& path, bool decipher, ScoutTarget target);

// The header pass of the lower-case format (match section and teams). A section header that takes
// the place of a match line is still obeyed. It stops at a bound, keeping what it read.
void ReadMatchSection(const std::filesystem::path& path, MatchCompanions& match);

}  // namespace corvane
