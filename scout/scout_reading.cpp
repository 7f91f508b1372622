#include "scout/scout_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvane {

namespace {

// Large enough that a file of a million lines costs a few hundred reads, and more than the
// longest line taken with its line end, so the piece never has to grow.
constexpr std::size_t kPieceSize = 256 * 1024;
static_assert(kPieceSize > kMaxScoutLineBytes + 2);

}  // namespace

std::string describeScoutLimit(ScoutLimit limit) {
    switch (limit) {
        case ScoutLimit::FileSize: return "the scout file is larger than " + std::to_string(kMaxScoutFileBytes) + " bytes";
        case ScoutLimit::LineCount: return "the scout file has more than " + std::to_string(kMaxScoutLines) + " lines";
        case ScoutLimit::LineLength: return "the scout file has a line longer than " + std::to_string(kMaxScoutLineBytes) + " bytes";
    }
    return {};
}

void clearScoutTarget(ScoutTarget target) {
    target.table.Clear();
    target.match.clearMatchInfo();
    target.match.HomePlayers.Clear();
    target.match.AwayPlayers.Clear();
    target.match.MatchesData = {};
    target.match.MatchesCount = 0;
    target.match.HasMatchesData = false;
}

std::optional<LineReader> LineReader::openFile(const std::filesystem::path& file) {
    // Non-blocking so that a FIFO named by a disc cannot hold the open; only regular files are read.
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return std::nullopt;
    }
    LineReader reader(descriptor);
    // Refused before a byte is read; a file that grows while it is read is caught in fill().
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxScoutFileBytes) reader.refuse(ScoutLimit::FileSize);
    return reader;
}

LineReader::LineReader(int descriptor) : descriptor_(descriptor), buffer_(kPieceSize, '\0') {}

LineReader::LineReader(std::string text) : buffer_(std::move(text)), end_(buffer_.size()) {}

LineReader::LineReader(LineReader&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      buffer_(std::move(other.buffer_)),
      begin_(std::exchange(other.begin_, 0)),
      end_(std::exchange(other.end_, 0)),
      bytesRead_(std::exchange(other.bytesRead_, 0)),
      linesGiven_(std::exchange(other.linesGiven_, 0)),
      exceeded_(std::exchange(other.exceeded_, std::nullopt)) {}

LineReader& LineReader::operator=(LineReader&& other) noexcept {
    if (this != &other) {
        closeFile();
        descriptor_ = std::exchange(other.descriptor_, -1);
        buffer_ = std::move(other.buffer_);
        begin_ = std::exchange(other.begin_, 0);
        end_ = std::exchange(other.end_, 0);
        bytesRead_ = std::exchange(other.bytesRead_, 0);
        linesGiven_ = std::exchange(other.linesGiven_, 0);
        exceeded_ = std::exchange(other.exceeded_, std::nullopt);
    }
    return *this;
}

LineReader::~LineReader() { closeFile(); }

void LineReader::closeFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
}

bool LineReader::fill() {
    if (descriptor_ < 0) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    for (;;) {
        const ssize_t got = ::read(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
        if (got > 0) {
            end_ += static_cast<std::size_t>(got);
            bytesRead_ += static_cast<std::uintmax_t>(got);
            if (bytesRead_ > kMaxScoutFileBytes) return refuse(ScoutLimit::FileSize);
            return true;
        }
        if (got < 0 && errno == EINTR) continue;
        closeFile();
        return false;
    }
}

bool LineReader::refuse(ScoutLimit limit) {
    exceeded_ = limit;
    closeFile();
    begin_ = end_ = 0;
    return false;
}

bool LineReader::next(std::string_view& line) {
    if (exceeded_) return false;
    std::size_t searched = 0;  // bytes of the unread rest known to hold no line end
    for (;;) {
        const char* rest = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        if (const void* found = std::memchr(rest + searched, '\n', available - searched)) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - rest);
            line = {rest, length};
            begin_ += length + 1;
            break;
        }
        // No line end yet: a line and its CR cannot be that long.
        if (available > kMaxScoutLineBytes + 1) return refuse(ScoutLimit::LineLength);
        searched = available;
        if (!fill()) {
            if (exceeded_ || begin_ == end_) return false;
            line = {buffer_.data() + begin_, end_ - begin_};
            begin_ = end_;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxScoutLineBytes) return refuse(ScoutLimit::LineLength);
    if (++linesGiven_ > kMaxScoutLines) return refuse(ScoutLimit::LineCount);
    return true;
}

}  // namespace corvane
