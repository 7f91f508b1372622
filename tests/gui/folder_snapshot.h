#pragma once

// What a folder holds, to prove that nothing in it was created, removed or changed.

#include <QCryptographicHash>
#include <QFile>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <sys/stat.h>

namespace corvane::testing {

struct FileState {
    std::uintmax_t size = 0;
    long long modifiedNs = 0;
    std::string hash;  // SHA-256 of the content; empty for folders and special files
    friend bool operator==(const FileState&, const FileState&) = default;
};

using FolderSnapshot = std::map<std::string, FileState>;

inline FileState fileState(const std::filesystem::path& path) {
    FileState state;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return state;
    state.modifiedNs = static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    if (!S_ISREG(status.st_mode)) return state;
    state.size = static_cast<std::uintmax_t>(status.st_size);
    QFile file(QString::fromStdString(path.string()));
    if (file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        state.hash = hash.result().toHex().toStdString();
    }
    return state;
}

// Every entry under the folder (symbolic links as links, not followed), or the one file.
inline FolderSnapshot snapshot(const std::filesystem::path& root) {
    FolderSnapshot entries;
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(root, error))) {
        if (std::filesystem::exists(std::filesystem::symlink_status(root, error))) entries[root.string()] = fileState(root);
        return entries;
    }
    for (auto it = std::filesystem::recursive_directory_iterator(
             root, std::filesystem::directory_options::skip_permission_denied, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        entries[it->path().string()] = fileState(it->path());
    return entries;
}

// The entries that differ, for a readable failure.
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
