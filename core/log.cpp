#include "core/log.h"

#include <cstdio>
#include <iostream>

#include "core/date_time_format.h"

namespace corvane {

ApplicationLog::ApplicationLog(const Platform& platform, std::filesystem::path logFolder)
    : platform_(platform), file_(std::move(logFolder) / "Application.Log") {}

void ApplicationLog::WriteLog(std::string_view message) {
    if (file_.empty()) return;
    if (message == "-1") {
        std::error_code error;
        std::filesystem::remove(file_, error);
        return;
    }
    std::string line = formatLocaleDateTime(platform_.localeFormats(), platform_.now());
    line += ' ';
    line += message;
    line += "\r\n";

    std::FILE* out = std::fopen(file_.c_str(), "ab");
    bool written = out != nullptr;
    if (out) {
        written = std::fwrite(line.data(), 1, line.size(), out) == line.size() && std::fflush(out) == 0;
        written = std::fclose(out) == 0 && written;
    }
    // A log that cannot be written must never stop the player: say so once and go on.
    if (!written && !failureReported_) {
        failureReported_ = true;
        std::cerr << "Corvane Player: cannot write the log " << file_.string() << "; going on without it\n";
    }
}

}  // namespace corvane
