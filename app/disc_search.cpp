#include "app/disc_search.h"

#include <algorithm>

#include "core/files.h"
#include "scout/packages.h"

namespace corvane {
namespace fs = std::filesystem;

bool holdsPackages(const fs::path& folder) { return !folder.empty() && folderExists(packagesRoot(folder)); }

std::vector<fs::path> mediaFolders(const fs::path& mountTreeRoot, const std::string& user) {
    if (mountTreeRoot.empty()) return {};
    // The name becomes a path part: one that could climb out or split it names no media folder.
    const bool userUsable = !user.empty() && user != "." && user != ".." && user.find('/') == std::string::npos &&
                            user.find('\0') == std::string::npos;
    std::vector<fs::path> folders;
    if (userUsable) {
        folders.push_back(mountTreeRoot / "media" / user);
        folders.push_back(mountTreeRoot / "run" / "media" / user);
    }
    folders.push_back(mountTreeRoot / "mnt");
    return folders;
}

std::vector<fs::path> findDiscs(const std::vector<fs::path>& folders) {
    std::vector<fs::path> discs;
    for (const fs::path& folder : folders) {
        if (!folderExists(folder)) continue;
        if (holdsPackages(folder)) discs.push_back(folder);  // a medium mounted on the folder itself
        std::vector<fs::path> entries;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            if (it->is_directory(error)) entries.push_back(it->path());
        std::sort(entries.begin(), entries.end());
        for (const fs::path& entry : entries)
            if (holdsPackages(entry)) discs.push_back(entry);
    }
    return discs;
}

DiscDecision decideDisc(const std::vector<fs::path>& discs, const std::optional<fs::path>& lastDisc,
                        const fs::path& elsewhere) {
    if (discs.size() == 1) return {true, discs.front()};
    if (discs.empty()) return {false, lastDisc.value_or(elsewhere)};
    if (lastDisc && std::find(discs.begin(), discs.end(), *lastDisc) != discs.end()) return {false, *lastDisc};
    return {false, discs.front().parent_path()};
}

std::optional<std::string> rememberedDiscText(const fs::path& disc) {
    const std::string text = disc.string();
    if (!disc.is_absolute() || text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return std::nullopt;
    return '"' + text + '"';
}

std::optional<fs::path> rememberedDisc(const std::string& text) {
    const fs::path disc = text;
    if (text.empty() || !disc.is_absolute() || !folderExists(disc)) return std::nullopt;
    return disc;
}

fs::path installedSystemFolder(const fs::path& executable) {
    return (executable.parent_path().parent_path() / "share" / "corvane-player" / "System").lexically_normal();
}

}  // namespace corvane
