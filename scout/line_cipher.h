#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// The plain line of one enciphered line (Base64 of an 8-byte initial vector and two-key
// Triple-DES CBC blocks, the last block counting its plain bytes); empty when the line is not
// valid.
std::string DecipherLine(std::string_view text);

// The exact inverse of DecipherLine: the Base64 line of a plain line under the given initial
// vector.
std::string EncipherLine(std::string_view plain, std::array<std::uint8_t, 8> iv);

// Tests the scout file and, when it is enciphered, writes its plain copy "tmpdecrypt" beside it
// and returns the copy's path; an empty path when the file is plain. When the package folder
// cannot be written (a read-only disc) the copy goes to fallbackFolder instead.
std::filesystem::path DecipherToCopy(const std::filesystem::path& scoutFile,
                                     const std::filesystem::path& fallbackFolder);

// What became of a scout file's plain copy, for callers that need to tell the cases apart.
enum class PlainCopyOutcome {
    PlainFile,    // not enciphered: read the file itself
    Written,      // the copy is at path (beside the file or in the fallback folder)
    Unreadable,   // the scout file could not be read
    NotWritten,   // enciphered, but no copy could be written anywhere
};

struct PlainCopy {
    PlainCopyOutcome outcome = PlainCopyOutcome::PlainFile;
    std::filesystem::path path;  // set only when Written
};

// Writes a whole file, false on failure. Production code writes atomically; tests may refuse
// some folders to stand in for a read-only disc.
using CopyWriter = std::function<bool(const std::filesystem::path&, std::string_view)>;

// DecipherToCopy with the outcome spelled out; whether a folder is writable is found by trying
// to write the copy there.
PlainCopy MakePlainCopy(const std::filesystem::path& scoutFile, const std::filesystem::path& fallbackFolder,
                        const CopyWriter& write);

// True when the first line marks a plain scout file ("[3KESTRALINESCOUT]", "[Match]" or "DS" at
// its start, in any letter case).
bool IsPlainScoutLine(std::string_view firstLine);

// The 16-byte digest that turns the key text into the two DES keys.
std::array<std::uint8_t, 16> KeyDigest(std::string_view keyText);

}  // namespace corvane
