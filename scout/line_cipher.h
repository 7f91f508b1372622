#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The plain line of one enciphered line (Base64 of an 8-byte initial vector and two-key
// Triple-DES CBC blocks, the last block counting its plain bytes); empty when the line is not
// valid.
std::string DecipherLine(std::string_view text);

// Tests the scout file and, when it is enciphered, writes its plain copy "tmpdecrypt" beside it
// and returns the copy's path; an empty path when the file is plain. When the package folder
// cannot be written (a read-only disc) the copy goes to fallbackFolder instead.
std::filesystem::path DecipherToCopy(const std::filesystem::path& scoutFile,
                                     const std::filesystem::path& fallbackFolder);

// The 16-byte digest that turns the key text into the two DES keys.
std::array<std::uint8_t, 16> KeyDigest(std::string_view keyText);

}  // namespace corvane
