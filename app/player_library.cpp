#include "app/player_library.h"

#include <dlfcn.h>
#include <link.h>

#include <memory>

namespace corvane {

std::optional<std::filesystem::path> findPlayerLibrary(const char* libraryName) {
    // Kept loaded: the player opens the same library soon after, and once used it must never be
    // unloaded (it leaves its devices registered in the shared FFmpeg libraries).
    const auto close = [](void* handle) { dlclose(handle); };
    const std::unique_ptr<void, decltype(close)> handle(dlopen(libraryName, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE), close);
    if (!handle) return std::nullopt;
    link_map* map = nullptr;
    if (dlinfo(handle.get(), RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name)
        return std::filesystem::path(libraryName);
    return std::filesystem::path(map->l_name);
}

}  // namespace corvane
