#pragma once

// What a folder holds, to prove that nothing in it was created, removed or changed.

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>

#include "support/test_support.h"

namespace corvane::testing {

struct FileState {
    unsigned mode = 0;
    std::uintmax_t size = 0;
    long long modifiedNs = 0;
    std::size_t contentHash = 0;  // regular files only
    std::string linkTarget;       // links only; they are not followed
    friend bool operator==(const FileState&, const FileState&) = default;
};

using FolderSnapshot = std::map<std::string, FileState>;

inline FileState fileState(const std::filesystem::path& path) {
    FileState state;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return state;
    state.mode = status.st_mode;
    state.modifiedNs = static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    std::error_code error;
    if (S_ISLNK(status.st_mode)) state.linkTarget = std::filesystem::read_symlink(path, error).string();
    if (!S_ISREG(status.st_mode)) return state;
    state.size = static_cast<std::uintmax_t>(status.st_size);
    state.contentHash = std::hash<std::string>{}(readFile(path));
    return state;
}

// Every entry under the folder (links as links, not followed), or the one file.
inline FolderSnapshot snapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    FolderSnapshot entries;
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(root, error))) {
        if (fs::exists(fs::symlink_status(root, error))) entries[root.string()] = fileState(root);
        return entries;
    }
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        entries[it->path().string()] = fileState(it->path());
    return entries;
}

// The entries that differ, one a line, for a readable failure; empty when nothing did.
inline std::string differences(const FolderSnapshot& before, const FolderSnapshot& after) {
    std::string text;
    for (const auto& [path, state] : after) {
        const auto old = before.find(path);
        if (old == before.end()) text += "created " + path + "\n";
        else if (!(old->second == state)) text += "changed " + path + "\n";
    }
    for (const auto& [path, state] : before)
        if (!after.contains(path)) text += "removed " + path + "\n";
    return text;
}

}  // namespace corvane::testing
