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

// The volleyball "[3KESTRALINESCOUT]" file. False when the file does not exist.
bool ReadScoutFile(const std::filesystem::path& path, bool synthesisMode, ScoutTarget target,
                   const LocaleFormats& formats);

// The lower-case format of the other sports; decipher is true for Sport "3".."9" and "A".
// cacheFolder takes the plain copy when the package folder cannot be written.
bool ReadLowerCaseScout(const std::filesystem::path& path, bool decipher, ScoutTarget target,
                        const std::filesystem::path& cacheFolder);

// The header pass of the lower-case format (match section and teams).
void ReadMatchSection(const std::filesystem::path& path, MatchCompanions& match);

}  // namespace corvane
