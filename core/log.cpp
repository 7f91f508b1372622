#include "core/log.h"

#include <iostream>

#include "core/date_time_format.h"

namespace corvane {

namespace {

// A message is one line of the log whatever it carries: names and fields from a disc may hold
// line breaks or other control characters, which would start a line of their own or hide text.
// Each is written as a C escape (\n, \r, \t, else \xHH): the reader sees exactly which character
// the disc had, which a replacement mark would hide. A backslash stays as it is, so Windows-style
// paths read as they always did.
void appendOnOneLine(std::string& line, std::string_view message) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            line += c;
            continue;
        }
        line += '\\';
        switch (byte) {
            case '\n': line += 'n'; break;
            case '\r': line += 'r'; break;
            case '\t': line += 't'; break;
            default:
                line += 'x';
                line += kHex[byte >> 4];
                line += kHex[byte & 0x0f];
        }
    }
}

}  // namespace

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
    appendOnOneLine(line, message);
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
