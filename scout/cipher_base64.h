#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::cipher {

// Standard alphabet with "+" and "/", "=" padding to whole groups of four.
std::string base64Encode(std::string_view bytes);

// Decodes in pieces of 88 characters, each read as groups of four; "=" ends a group early, so
// concatenated padded texts decode whole. Nothing when any character is outside the alphabet
// (the "=" excepted). A trailing partial group gives the whole bytes it holds.
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace corvane::cipher
