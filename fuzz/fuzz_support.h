#pragma once

// What the fuzz targets share: a private folder for readers that only take a path, and a way to
// cut an input into a few independent texts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace corvane::fuzz {

// A folder of this process's own under the temporary folder, removed at exit. Everything a
// target writes (its input as a file, a plain copy beside it) stays inside.
class PrivateFolder {
public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The one folder of this process.
    static const PrivateFolder& instance() {
        static const PrivateFolder folder;
        return folder;
    }

private:
    std::filesystem::path path_;
};

// Replaces the file's content with the bytes given.
inline std::filesystem::path writeInput(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
    return file;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every NUL byte into at most `count` parts; a NUL never occurs in the texts a
// reader sees, so each part can hold any line. Missing parts are empty.
inline std::vector<std::string_view> splitParts(std::string_view text, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t cut = text.find('\0');
        if (cut == std::string_view::npos) break;
        parts.push_back(text.substr(0, cut));
        text.remove_prefix(cut + 1);
    }
    parts.push_back(text);
    parts.resize(count);
    return parts;
}

// Takes the first byte as a choice among `count`; 0 for an empty input.
inline unsigned takeChoice(std::string_view& text, unsigned count) {
    if (text.empty()) return 0;
    const auto choice = static_cast<unsigned char>(text.front()) % count;
    text.remove_prefix(1);
    return choice;
}

}  // namespace corvane::fuzz
