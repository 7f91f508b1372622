#include "core/files.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "core/cp1252.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

bool writeAll(int descriptor, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const fs::path& file, std::string_view content) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) return false;
    const bool written = writeAll(descriptor, content) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || std::rename(pattern.c_str(), file.c_str()) != 0) {
        std::remove(pattern.c_str());
        return false;
    }
    // Readable as an ordinary file would be, not with mkstemp's owner-only mode.
    std::error_code error;
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read,
                    error);
    return true;
}

std::optional<std::string> readWholeFile(const fs::path& file) {
    // Non-blocking so that opening a FIFO returns at once; it is then refused as not regular.
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> content;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        content.emplace();
        content->reserve(static_cast<std::size_t>(info.st_size));
        char piece[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(descriptor, piece, sizeof piece);
            if (got > 0) {
                content->append(piece, static_cast<std::size_t>(got));
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                if (got < 0) content.reset();
                break;
            }
        }
    }
    ::close(descriptor);
    return content;
}

std::vector<std::string> splitTextLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(content.substr(start));
            break;
        }
        lines.emplace_back(content.substr(start, end - start));
        start = end + ((content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> readTextLines(const fs::path& file) {
    if (!fileExists(file)) return {};
    const auto content = readWholeFile(file);
    return content ? splitTextLines(*content) : std::vector<std::string>{};
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::string foldedFileName(std::string_view name) { return asciiLower(pathToUtf8(name)); }

ContainedFolder::ContainedFolder(fs::path root) : root_(std::move(root)) {}

const ContainedFolder::Listing& ContainedFolder::listingOf(const fs::path& folder) const {
    const auto known = listings_.find(folder);
    if (known != listings_.end()) return known->second;
    Listing listing;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        listing.names.insert(name);
        const auto [slot, added] = listing.byFoldedName.emplace(foldedFileName(name), name);
        if (!added && name < slot->second) slot->second = name;  // the same choice whatever the listing order
        std::error_code linkError;
        if (it->is_symlink(linkError)) listing.links.insert(name);
    }
    return listings_.emplace(folder, std::move(listing)).first->second;
}

bool ContainedFolder::staysInside(const fs::path& path) const {
    std::error_code error;
    if (!canonicalRoot_) canonicalRoot_ = fs::weakly_canonical(root_, error);
    const fs::path target = fs::weakly_canonical(path, error);
    if (error) return false;
    const auto [rootEnd, targetEnd] = std::mismatch(canonicalRoot_->begin(), canonicalRoot_->end(), target.begin(),
                                                    target.end());
    // A root written with a trailing separator ends in an empty part.
    return rootEnd == canonicalRoot_->end() || (std::next(rootEnd) == canonicalRoot_->end() && rootEnd->empty());
}

std::optional<fs::path> ContainedFolder::resolve(std::string_view name) const {
    if (name.find('\0') != std::string_view::npos) return std::nullopt;
    std::string portable(name);
    std::replace(portable.begin(), portable.end(), '\\', '/');
    if (portable.starts_with('/')) return std::nullopt;

    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= portable.size();) {
        const std::size_t slash = std::min(portable.find('/', start), portable.size());
        std::string part = portable.substr(start, slash - start);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") parts.push_back(std::move(part));
        start = slash + 1;
    }

    fs::path resolved = root_;
    bool crossedLink = false;
    for (std::size_t index = 0; index < parts.size(); ++index) {
        const Listing& listing = listingOf(resolved);
        const std::string& wanted = parts[index];
        std::string found;
        if (listing.names.contains(wanted)) {
            found = wanted;
        } else if (const auto folded = listing.byFoldedName.find(foldedFileName(wanted));
                   folded != listing.byFoldedName.end()) {
            found = folded->second;
        } else {
            // Nothing on disk: the whole name as written, for callers to test and log. Only the
            // part found so far can hold a link.
            if (crossedLink && !staysInside(resolved)) return std::nullopt;
            fs::path asWritten = root_;
            for (const std::string& part : parts) asWritten /= part;
            return asWritten;
        }
        crossedLink = crossedLink || listing.links.contains(found);
        resolved /= found;
    }
    if (crossedLink && !staysInside(resolved)) return std::nullopt;
    return resolved;
}

fs::path resolveInFolder(const fs::path& folder, std::string_view name) {
    return ContainedFolder(folder).resolve(name).value_or(fs::path());
}

std::optional<fs::path> privateFolder(const fs::path& parent, std::string_view name) {
    if (parent.empty() || name.empty()) return std::nullopt;
    std::error_code error;
    fs::create_directories(parent, error);
    const fs::path folder = parent / name;
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return std::nullopt;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return std::nullopt;
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && ::chmod(folder.c_str(), S_IRWXU) != 0) return std::nullopt;
    return folder;
}

namespace {

// Files "<prefix>-<pid>-..." of processes that ended without removing them (a crash, a kill).
void removeFilesOfEndedRuns(const fs::path& folder, std::string_view prefix) {
    const std::string start = std::string(prefix) + "-";
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(start)) continue;
        const std::size_t dash = name.find('-', start.size());
        if (dash == std::string::npos || dash == start.size()) continue;
        const std::string digits = name.substr(start.size(), dash - start.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            digits.size() > 9)
            continue;
        const auto pid = static_cast<pid_t>(std::stol(digits));
        if (::kill(pid, 0) != 0 && errno == ESRCH) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

}  // namespace

std::optional<PrivateFile> PrivateFile::create(const fs::path& folder, std::string_view prefix,
                                               std::string_view content) {
    if (folder.empty()) return std::nullopt;
    removeFilesOfEndedRuns(folder, prefix);
    std::string pattern = (folder / (std::string(prefix) + "-" + std::to_string(::getpid()) + "-XXXXXX")).string();
    const int descriptor = ::mkostemp(pattern.data(), O_CLOEXEC);  // mode 0600
    if (descriptor < 0) return std::nullopt;
    PrivateFile file{fs::path(pattern)};
    const bool written = writeAll(descriptor, content);
    if (::close(descriptor) != 0 || !written) return std::nullopt;  // the destructor removes the rest
    return file;
}

PrivateFile::PrivateFile(PrivateFile&& other) noexcept : path_(std::exchange(other.path_, fs::path())) {}

PrivateFile& PrivateFile::operator=(PrivateFile&& other) noexcept {
    if (this != &other) {
        remove();
        path_ = std::exchange(other.path_, fs::path());
    }
    return *this;
}

PrivateFile::~PrivateFile() { remove(); }

void PrivateFile::remove() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove(path_, error);
    path_.clear();
}

bool fileExists(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

bool folderExists(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error);
}

}  // namespace corvane
