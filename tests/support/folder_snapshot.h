#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

#include "support/test_support.h"

namespace corvane::testing {

// Every entry under a folder with its kind, mode and bytes (a link's target), so a test can prove
// that nothing in it was created, changed or removed. Links are not followed.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        struct stat info {};
        ::lstat(it->path().c_str(), &info);
        std::string state = std::to_string(info.st_mode) + ":";
        if (S_ISLNK(info.st_mode))
            state += fs::read_symlink(it->path(), error).string();
        else if (S_ISREG(info.st_mode))
            state += readFile(it->path());
        entries[fs::relative(it->path(), folder, error).string()] = std::move(state);
    }
    return entries;
}

}  // namespace corvane::testing
