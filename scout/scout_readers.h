#pragma once

#include <filesystem>

#include "core/platform.h"
#include "scout/code_table.h"

namespace corvane {

// What a scout reader fills. The reader empties all of it first.
struct ScoutTarget {
    CodeTable& table;
    MatchCompanions& match;
};

// The volleyball "[3KESTRALINESCOUT]" file. False when the file does not exist or cannot be
// opened; the target is then empty. Empty lines are no records; records past the last slot (a
// 100th player, a 51st match) are dropped.
bool ReadScoutFile(const std::filesystem::path& path, bool synthesisMode, ScoutTarget target,
                   const LocaleFormats& formats);

// The lower-case format of the other sports; decipher is true for Sport "3".."9" and "A". An
// enciphered file is deciphered in memory; nothing is written. False when the file does not exist
// or cannot be opened.
bool ReadLowerCaseScout(const std::filesystem::path& path, bool decipher, ScoutTarget target);

// The header pass of the lower-case format (match section and teams). A section header that takes
// the place of a match line is still obeyed.
void ReadMatchSection(const std::filesystem::path& path, MatchCompanions& match);

}  // namespace corvane
