#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace corvane {

// Writes the whole file through a temporary file in the same folder that then replaces the old
// one, so a crash leaves either the old content or the new, never half of it. False on failure.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view content);

// The whole file as bytes, or nothing when it cannot be read or is not a regular file. A FIFO or
// device named by a disc is never read, so it cannot block or stream without end.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// The lines of a text file with their CR LF, LF or CR ends removed. A file that cannot be read
// gives no lines.
std::vector<std::string> readTextLines(const std::filesystem::path& file);
std::vector<std::string> splitTextLines(std::string_view content);

// A folder of a disc whose names come from files on the disc. Packages are written on Windows:
// names inside them may use "\", any ASCII letter case, and Windows-1252 where the disc holds
// UTF-8 (or the other way round). Each folder is listed once, on first use, so looking up many
// names costs one listing, not one per name. A name never leads out of the folder: an absolute
// name, a ".." part or a symbolic link whose target lies outside gives nothing.
class ContainedFolder {
public:
    explicit ContainedFolder(std::filesystem::path root);

    // The entry that exists for the name, an exact match before a folded one. When nothing
    // matches, the folder joined with the name as written ("\" turned to "/"), so callers can
    // still test it and log it. Nothing when the name leads out of the folder.
    std::optional<std::filesystem::path> resolve(std::string_view name) const;

    const std::filesystem::path& root() const { return root_; }

private:
    struct Listing {
        std::unordered_set<std::string> names;
        std::unordered_map<std::string, std::string> byFoldedName;  // smallest name of each fold
        std::unordered_set<std::string> links;
    };

    const Listing& listingOf(const std::filesystem::path& folder) const;
    bool staysInside(const std::filesystem::path& path) const;

    std::filesystem::path root_;
    mutable std::optional<std::filesystem::path> canonicalRoot_;
    mutable std::map<std::filesystem::path, Listing> listings_;
};

// One name looked up in a folder (see ContainedFolder); an empty path when the name leads out of
// the folder, which no file test accepts.
std::filesystem::path resolveInFolder(const std::filesystem::path& folder, std::string_view name);

// The key two spellings of a file name share: UTF-8 (a name that is not valid UTF-8 is read as
// Windows-1252) with A..Z lower-cased.
std::string foldedFileName(std::string_view name);

// A folder of the program's own under parent: created with mode 0700, or an existing one that is a
// real folder owned by this user, whose mode is then narrowed to 0700. Nothing when parent is
// empty or the folder cannot be made private (a link, another user's folder, a file).
std::optional<std::filesystem::path> privateFolder(const std::filesystem::path& parent, std::string_view name);

// A file that only this user can read (mode 0600), with a name no other file has, that lives
// exactly as long as the object: the destructor removes it.
class PrivateFile {
public:
    // Writes content into a new file "<prefix>-<process id>-<unique>" in folder (which should be a
    // privateFolder). Nothing when it cannot be written completely.
    static std::optional<PrivateFile> create(const std::filesystem::path& folder, std::string_view prefix,
                                             std::string_view content);

    PrivateFile(PrivateFile&& other) noexcept;
    PrivateFile& operator=(PrivateFile&& other) noexcept;
    PrivateFile(const PrivateFile&) = delete;
    PrivateFile& operator=(const PrivateFile&) = delete;
    ~PrivateFile();

    const std::filesystem::path& path() const { return path_; }

private:
    explicit PrivateFile(std::filesystem::path path) : path_(std::move(path)) {}
    void remove();

    std::filesystem::path path_;
};

bool fileExists(const std::filesystem::path& file);       // a regular file
bool folderExists(const std::filesystem::path& folder);   // a directory

// Lower-cases A..Z only; the rest of the byte range is left alone, as the formats expect.
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace corvane
