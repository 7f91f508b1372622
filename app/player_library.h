#pragma once

#include <filesystem>
#include <optional>

namespace corvane {

inline constexpr const char* kPlayerLibraryName = "libmpv.so.2";
inline constexpr const char* kPlayerLibraryPackage = "libmpv2";  // the Debian package that installs it

// Where the player library is installed, found the way the loader will find it; nothing when it
// cannot be loaded. Start-up uses it to decide whether the player control is present.
std::optional<std::filesystem::path> findPlayerLibrary(const char* libraryName = kPlayerLibraryName);

}  // namespace corvane
