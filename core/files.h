#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Writes the whole file through a temporary file in the same folder that then replaces the old
// one, so a crash leaves either the old content or the new, never half of it. False on failure.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view content);

// The whole file as bytes, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// The lines of a text file with their CR LF, LF or CR ends removed. A file that cannot be read
// gives no lines.
std::vector<std::string> readTextLines(const std::filesystem::path& file);
std::vector<std::string> splitTextLines(std::string_view content);

// Packages are written on Windows: names inside them may use "\" and any letter case. Resolves a
// relative name under a folder to the entry that exists, each part compared without regard to
// ASCII case (an exact match wins). When nothing matches, the folder joined with the name as
// written ("\" turned to "/") is returned, so callers can still test it and log it.
std::filesystem::path resolveInFolder(const std::filesystem::path& folder, std::string_view name);

bool fileExists(const std::filesystem::path& file);       // a regular file
bool folderExists(const std::filesystem::path& folder);   // a directory

// Lower-cases A..Z only; the rest of the byte range is left alone, as the formats expect.
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace corvane
