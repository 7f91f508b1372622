#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/platform.h"

namespace corvane {

// Application.Log: one line a call, stamped with the locale's date and time, ended by CR LF. The
// file stays open for the run and every line is flushed at once, so a crash loses no line and a
// long events file costs no open and close per line. No message is a command: whatever text a
// caller logs (a field of a disc's file included) becomes one line, its control characters
// written as escapes (a line break as the two characters \n).
class ApplicationLog {
public:
    // An empty or relative folder keeps no log: a log never lands under the current directory.
    ApplicationLog(const Platform& platform, std::filesystem::path logFolder);

    // A log that keeps nothing, for callers that read packages without running the player.
    static ApplicationLog discarding(const Platform& platform) { return ApplicationLog(platform); }

    // Empties the log of the previous run; start-up's alone.
    void startFresh();

    void WriteLog(std::string_view message);

    const std::filesystem::path& filePath() const { return file_; }

private:
    explicit ApplicationLog(const Platform& platform) : platform_(platform) {}

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    const Platform& platform_;
    std::filesystem::path file_;
    std::unique_ptr<std::FILE, FileCloser> out_;
    bool failureReported_ = false;
};

}  // namespace corvane
