#include "reels/reel_files.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scout/packages.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPartMark = ".part-";

std::string hexHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    std::array<char, 17> digits{};
    for (int i = 15; i >= 0; --i, hash >>= 4) digits[static_cast<std::size_t>(i)] = "0123456789abcdef"[hash & 15];
    return digits.data();
}

// At most bytes bytes of text, never cutting a UTF-8 character in two.
std::string utf8Prefix(const std::string& text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return text.substr(0, bytes);
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.size() <= 18 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool processRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH; }

bool under(const fs::path& path, const fs::path& folder) {
    const auto [folderEnd, pathAt] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return folderEnd == folder.end();
}

// A folder as given and as its links resolve; the second left out when it cannot be had.
std::vector<fs::path> bothSpellings(const fs::path& path) {
    std::vector<fs::path> spellings{path.lexically_normal()};
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (!error) spellings.push_back(resolved);
    return spellings;
}

std::string systemReason(int error) { return std::generic_category().message(error); }

}  // namespace

fs::path temporaryBeside(const fs::path& destination) {
    static std::atomic<unsigned> counter{0};
    const std::string tail = std::string(kPartMark) + std::to_string(getpid()) + "-" + std::to_string(counter++);
    std::string name = destination.filename().string();
    if (1 + name.size() + tail.size() > NAME_MAX) name = utf8Prefix(name, 100) + "~" + hexHash(name);
    return destination.parent_path() / ("." + name + tail);
}

std::optional<long> partWriter(const std::string& fileName) {
    if (fileName.size() < 2 || fileName[0] != '.') return std::nullopt;
    const auto mark = fileName.rfind(kPartMark);
    if (mark == std::string::npos || mark < 2) return std::nullopt;
    const std::string_view numbers = std::string_view(fileName).substr(mark + kPartMark.size());
    const auto dash = numbers.find('-');
    if (dash == std::string_view::npos || !allDigits(numbers.substr(0, dash)) || !allDigits(numbers.substr(dash + 1)))
        return std::nullopt;
    const long pid = std::stol(std::string(numbers.substr(0, dash)));
    if (pid <= 0) return std::nullopt;
    return pid;
}

void sweepStaleParts(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const auto pid = partWriter(entry->path().filename().string());
        if (!pid || processRuns(*pid)) continue;
        std::error_code ignored;
        fs::remove_all(entry->path(), ignored);  // a link is removed itself, never what it names
    }
}

PartialOutput::PartialOutput(fs::path destination, ReelOutput output)
    : destination_(std::move(destination)), output_(output) {}

PartialOutput::~PartialOutput() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::optional<ReelResult> PartialOutput::open(const fs::path& destinationAsGiven) {
    sweepStaleParts(destination_.parent_path());
    const fs::path hidden = temporaryBeside(destination_);
    int failure = 0;
    if (output_ == ReelOutput::ClipFolder) {
        if (::mkdir(hidden.c_str(), 0755) != 0) failure = errno;
    } else {
        const int file = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file < 0) failure = errno;
        else ::close(file);
    }
    if (failure) return ReelResult{ReelStatus::CannotWrite, destinationAsGiven.string() + ": " + systemReason(failure)};
    path_ = hidden;
    return std::nullopt;
}

std::optional<ReelResult> PartialOutput::commit() {
    std::error_code error;
    fs::rename(path_, destination_, error);
    if (error) return ReelResult{ReelStatus::CannotWrite, destination_.string() + ": " + error.message()};
    path_.clear();
    return std::nullopt;
}

std::string clipFileName(std::size_t number, std::size_t count) {
    std::string digits = std::to_string(number);
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    return std::string(width - std::min(width, digits.size()), '0') + digits + ".mp4";
}

// The package folders are compared both as the disc names them and as their links resolve, and
// so is the destination: a package folder that is a link out of Tlx_Video still takes nothing.
bool insidePackages(const fs::path& destination, const fs::path& discFolder) {
    std::error_code error;
    const fs::path root = fs::absolute(packagesRoot(discFolder), error);
    if (error) return true;
    const fs::path target = fs::absolute(destination, error);
    if (error) return true;  // what cannot be placed is not written
    std::vector<fs::path> folders = bothSpellings(root);
    for (fs::directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code notFolder;
        if (!entry->is_directory(notFolder)) continue;
        for (fs::path& spelling : bothSpellings(entry->path())) folders.push_back(std::move(spelling));
    }
    const std::vector<fs::path> targets = bothSpellings(target);
    return std::any_of(targets.begin(), targets.end(), [&](const fs::path& t) {
        return std::any_of(folders.begin(), folders.end(), [&](const fs::path& folder) { return under(t, folder); });
    });
}

std::optional<ReelResult> destinationProblem(const ReelJob& job) {
    if (insidePackages(job.destination, job.discFolder)) return ReelResult{ReelStatus::InsidePackages, job.destination.string()};
    std::error_code error;
    const fs::path destination = fs::absolute(job.destination, error);
    if (error || destination.filename().empty() || !fs::is_directory(destination.parent_path(), error))
        return ReelResult{ReelStatus::NoDestinationFolder, job.destination.parent_path().string()};
    if (job.output == ReelOutput::ClipFolder && fs::exists(destination, error) &&
        (!fs::is_directory(destination, error) || !fs::is_empty(destination, error)))
        return ReelResult{ReelStatus::DestinationNotEmpty, destination.string()};
    return std::nullopt;
}

bool regularFilmFile(const fs::path& film) {
    std::error_code error;
    return fs::is_regular_file(film, error);
}

}  // namespace corvane
