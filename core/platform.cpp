#include "core/platform.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace corvane {
namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The folder named by an XDG variable, or home joined with the fallback when it is unset or not
// absolute (the XDG rule for relative values).
fs::path xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const std::string value = environment(variable);
    if (!value.empty() && value.front() == '/') return value;
    const std::string home = environment("HOME");
    if (home.empty()) return {};
    return fs::path(home) / fallbackUnderHome;
}

std::string expandHome(std::string value, const std::string& home) {
    const std::string marker = "$HOME";
    if (value.rfind(marker, 0) == 0) value = home + value.substr(marker.size());
    return value;
}

// Mount point and file-system type of the mount that holds the folder, from /proc/self/mounts.
std::string fileSystemTypeOf(const fs::path& folder) {
    std::error_code error;
    const fs::path target = fs::weakly_canonical(folder, error);
    std::ifstream mounts("/proc/self/mounts");
    std::string device, mountPoint, type, rest;
    std::string bestType;
    std::size_t bestLength = 0;
    while (mounts >> device >> mountPoint >> type) {
        std::getline(mounts, rest);
        const std::string text = target.string();
        const bool inside = text == mountPoint ||
                            (text.rfind(mountPoint, 0) == 0 &&
                             (mountPoint == "/" || text[mountPoint.size()] == '/'));
        if (inside && mountPoint.size() >= bestLength) {
            bestLength = mountPoint.size();
            bestType = type;
        }
    }
    return bestType;
}

}  // namespace

fs::path xdgDocumentsFolder(const std::string& home, const std::string& configHome,
                            const std::string& documentsVariable) {
    if (!documentsVariable.empty()) return expandHome(documentsVariable, home);
    const fs::path config = !configHome.empty() ? fs::path(configHome)
                            : !home.empty()     ? fs::path(home) / ".config"
                                                : fs::path();
    if (!config.empty()) {
        std::ifstream dirs(config / "user-dirs.dirs");
        std::string line;
        const std::string key = "XDG_DOCUMENTS_DIR=";
        while (std::getline(dirs, line)) {
            if (line.rfind(key, 0) != 0) continue;
            std::string value = line.substr(key.size());
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            value = expandHome(value, home);
            std::error_code error;
            if (!value.empty() && fs::is_directory(value, error)) return value;
        }
    }
    return home.empty() ? fs::path() : fs::path(home);
}

LocalDateTime toLocalDateTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

SystemPlatform::SystemPlatform(LocaleFormats formats) : formats_(std::move(formats)) {}

fs::path SystemPlatform::executablePath() const {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
}

fs::path SystemPlatform::documentsFolder() const {
    return xdgDocumentsFolder(environment("HOME"), environment("XDG_CONFIG_HOME"),
                              environment("XDG_DOCUMENTS_DIR"));
}

fs::path SystemPlatform::dataFolder() const { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

fs::path SystemPlatform::cacheFolder() const { return xdgFolder("XDG_CACHE_HOME", ".cache"); }

fs::path SystemPlatform::runtimeFolder() const {
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    std::error_code error;
    if (!runtime.empty() && runtime.front() == '/' && fs::is_directory(runtime, error)) return runtime;
    return cacheFolder();
}

LocalDateTime SystemPlatform::now() const { return toLocalDateTime(std::chrono::system_clock::now()); }

std::optional<LocalDateTime> SystemPlatform::fileModifiedTime(const fs::path& file) const {
    std::error_code error;
    const auto written = fs::last_write_time(file, error);
    if (error) return std::nullopt;
    return toLocalDateTime(std::chrono::file_clock::to_sys(written));
}

std::string SystemPlatform::userName() const {
    // The account's own name first: $USER may be unset (a service) or stale (after su).
    std::string buffer(4096, '\0');
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return environment("USER");
}

bool SystemPlatform::isOnReadOnlyMedia(const fs::path& folder) const {
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY)) return true;
    const std::string type = fileSystemTypeOf(folder);
    return type == "iso9660" || type == "udf";
}

}  // namespace corvane
