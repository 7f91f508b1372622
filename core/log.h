#pragma once

#include <filesystem>
#include <string_view>

#include "core/platform.h"

namespace corvane {

// Application.Log: one line a call, stamped with the locale's date and time, ended by CR LF, the
// file opened and closed on every call. "-1" is the command that deletes the file.
class ApplicationLog {
public:
    ApplicationLog(const Platform& platform, std::filesystem::path logFolder);

    // A log that keeps nothing, for callers that read packages without running the player.
    static ApplicationLog discarding(const Platform& platform) { return ApplicationLog(platform); }

    void WriteLog(std::string_view message);

    const std::filesystem::path& filePath() const { return file_; }

private:
    explicit ApplicationLog(const Platform& platform) : platform_(platform) {}

    const Platform& platform_;
    std::filesystem::path file_;
    bool failureReported_ = false;
};

}  // namespace corvane
