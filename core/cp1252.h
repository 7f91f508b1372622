#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Texts read from packages are Windows-1252 bytes; messages and everything printed or drawn are
// UTF-8. These are the only two crossings between them.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become "?".
std::string utf8ToCp1252(std::string_view utf8);

// File names on this system are UTF-8; a name taken from a package file may still be 8-bit.
bool isValidUtf8(std::string_view text);
std::string pathToUtf8(std::string_view path);

}  // namespace corvane
