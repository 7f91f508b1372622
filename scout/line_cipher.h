#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "scout/scout_readers.h"

namespace corvane {

// The plain line of one enciphered line (Base64 of an 8-byte initial vector and two-key
// Triple-DES CBC blocks, the last block counting its plain bytes); empty when the line is not
// valid.
std::string DecipherLine(std::string_view text);

// The exact inverse of DecipherLine: the Base64 line of a plain line under the given initial
// vector.
std::string EncipherLine(std::string_view plain, std::array<std::uint8_t, 8> iv);

// The plain text of a scout file, every line ended by "\n", as PlainScoutLines reads it. Nothing
// when the file cannot be read; refused (and no text) when the file passes a scout bound.
struct PlainScout {
    std::string text;
    std::optional<ScoutLimit> refused;
};
std::optional<PlainScout> ReadPlainScout(const std::filesystem::path& scoutFile);

// The plain lines of a scout file, in memory: deciphered line by line (an empty line stays empty, a
// line that fails gives an empty line) when the file is enciphered, as stored when its first line
// marks it plain. Nothing when the file cannot be read or passes a scout bound. Every consumer of an enciphered file reads
// these lines; no plain copy is written anywhere.
std::optional<std::vector<std::string>> PlainScoutLines(const std::filesystem::path& scoutFile);

// For a consumer that can only read a file: the plain lines, "\r\n"-ended, in a private file
// (mode 0600) with a name of its own in privateFolder (see privateFolder() in core/files.h), removed
// when the returned object goes, so the owner keeps it exactly while the package is open. Nothing
// when the file is plain (read it directly), cannot be read or the copy cannot be written.
std::optional<PrivateFile> DecipherToCopy(const std::filesystem::path& scoutFile,
                                          const std::filesystem::path& privateFolder);

// True when the first line marks a plain scout file ("[3KESTRALINESCOUT]", "[Match]" or "DS" at
// its start, in any letter case).
bool IsPlainScoutLine(std::string_view firstLine);

// The 16-byte digest that turns the key text into the two DES keys.
std::array<std::uint8_t, 16> KeyDigest(std::string_view keyText);

}  // namespace corvane
