#include "core/files.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

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
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(content).str();
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

fs::path resolveInFolder(const fs::path& folder, std::string_view name) {
    std::string portable(name);
    for (char& c : portable)
        if (c == '\\') c = '/';
    fs::path resolved = folder;
    std::error_code error;
    for (const fs::path& part : fs::path(portable)) {
        const std::string wanted = part.string();
        if (wanted.empty() || wanted == "/" || wanted == ".") continue;
        if (fs::exists(resolved / part, error)) {
            resolved /= part;
            continue;
        }
        fs::path match;
        for (fs::directory_iterator it(resolved, error), end; !error && it != end; it.increment(error)) {
            if (equalsIgnoringCase(it->path().filename().string(), wanted)) {
                match = it->path();
                break;
            }
        }
        if (match.empty()) return folder / portable;
        resolved = match;
    }
    return resolved;
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
