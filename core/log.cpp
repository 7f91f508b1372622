#include "core/log.h"

#include <iostream>

#include "core/date_time_format.h"

namespace corvane {

ApplicationLog::ApplicationLog(const Platform& platform, std::filesystem::path logFolder)
    : platform_(platform),
      file_(logFolder.is_absolute() ? std::move(logFolder) / "Application.Log" : std::filesystem::path()) {}

void ApplicationLog::startFresh() {
    out_.reset();
    if (file_.empty()) return;
    std::error_code error;
    std::filesystem::remove(file_, error);
}

void ApplicationLog::WriteLog(std::string_view message) {
    if (file_.empty()) return;
    std::string line = formatLocaleDateTime(platform_.localeFormats(), platform_.now());
    line += ' ';
    line += message;
    line += "\r\n";

    if (!out_) out_.reset(std::fopen(file_.c_str(), "ab"));
    const bool written = out_ && std::fwrite(line.data(), 1, line.size(), out_.get()) == line.size() &&
                         std::fflush(out_.get()) == 0;
    if (written) return;
    out_.reset();  // the next line tries the file afresh
    // A log that cannot be written must never stop the player: say so once and go on.
    if (!failureReported_) {
        failureReported_ = true;
        std::cerr << "Corvane Player: cannot write the log " << file_.string() << "; going on without it\n";
    }
}

}  // namespace corvane
