#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

// A local date and time, broken down; what the clock and the file times give to the formatters.
struct LocalDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
};

// The user's locale formats. Patterns use d, dd, M, MM, yy, yyyy for dates and h, hh, H, HH, m,
// mm, s, ss, AP/ap for times; any other character is copied as it stands.
struct LocaleFormats {
    std::string shortDate = "dd/MM/yyyy";
    std::string longTime = "HH:mm:ss";
    std::string timeSeparator = ":";
};

// Everything the logic asks of the system. The application fills it from the desktop; tests fix
// each answer (a clock at midnight, a locale with day first, a read-only disc).
class Platform {
public:
    virtual ~Platform() = default;

    virtual std::filesystem::path executablePath() const = 0;
    virtual std::filesystem::path documentsFolder() const = 0;  // empty when there is none
    virtual std::filesystem::path dataFolder() const = 0;       // XDG data home
    virtual std::filesystem::path cacheFolder() const = 0;      // XDG cache home
    // Where short-lived files of this user go: the XDG runtime folder (a private tmpfs that the
    // session empties at logout), else the cache folder.
    virtual std::filesystem::path runtimeFolder() const { return cacheFolder(); }
    virtual LocaleFormats localeFormats() const = 0;
    virtual LocalDateTime now() const = 0;
    virtual std::optional<LocalDateTime> fileModifiedTime(const std::filesystem::path& file) const = 0;
    virtual bool isOnReadOnlyMedia(const std::filesystem::path& folder) const = 0;
    // The folder below which the media mount points lie (/media/USER, /run/media/USER, /mnt):
    // "/" on the real system, a folder of fake mounts in a test. Empty: no media are looked at.
    virtual std::filesystem::path mountTreeRoot() const { return {}; }
    // The user's login name, as the desktop names the user's media folder; empty when unknown.
    virtual std::string userName() const { return {}; }
};

// The real system, read with POSIX and the XDG conventions. The locale formats are the ones given
// at construction (the application passes the desktop locale's).
class SystemPlatform : public Platform {
public:
    explicit SystemPlatform(LocaleFormats formats = {});

    std::filesystem::path executablePath() const override;
    std::filesystem::path documentsFolder() const override;
    std::filesystem::path dataFolder() const override;
    std::filesystem::path cacheFolder() const override;
    std::filesystem::path runtimeFolder() const override;
    LocaleFormats localeFormats() const override { return formats_; }
    LocalDateTime now() const override;
    std::optional<LocalDateTime> fileModifiedTime(const std::filesystem::path& file) const override;
    bool isOnReadOnlyMedia(const std::filesystem::path& folder) const override;
    std::filesystem::path mountTreeRoot() const override { return "/"; }
    std::string userName() const override;

private:
    LocaleFormats formats_;
};

// The XDG documents folder from $XDG_DOCUMENTS_DIR or user-dirs.dirs, else $HOME; empty when
// neither is known. Split out so that its rules can be tested with a fixed environment.
std::filesystem::path xdgDocumentsFolder(const std::string& home, const std::string& configHome,
                                         const std::string& documentsVariable);

LocalDateTime toLocalDateTime(std::chrono::system_clock::time_point time);

}  // namespace corvane
