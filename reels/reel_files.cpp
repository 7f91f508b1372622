#include "reels/reel_files.h"

#include <algorithm>
#include <atomic>
#include <system_error>

#include <unistd.h>

#include "scout/packages.h"

namespace corvane {

namespace fs = std::filesystem;

fs::path temporaryBeside(const fs::path& destination) {
    static std::atomic<unsigned> counter{0};
    return destination.parent_path() / ("." + destination.filename().string() + ".part-" + std::to_string(getpid()) +
                                        "-" + std::to_string(counter++));
}

PartialOutput::~PartialOutput() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::optional<ReelResult> PartialOutput::commit(const fs::path& destination) {
    std::error_code error;
    fs::rename(path_, destination, error);
    if (error) return ReelResult{ReelStatus::CannotWrite, destination.string() + ": " + error.message()};
    path_.clear();
    return std::nullopt;
}

std::string clipFileName(std::size_t number, std::size_t count) {
    std::string digits = std::to_string(number);
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    return std::string(width - std::min(width, digits.size()), '0') + digits + ".mp4";
}

bool insidePackages(const fs::path& destination, const fs::path& discFolder) {
    std::error_code error;
    const fs::path root = fs::weakly_canonical(packagesRoot(discFolder), error);
    if (error) return false;
    const fs::path target = fs::weakly_canonical(fs::absolute(destination, error), error);
    if (error) return true;  // what cannot be placed is not written
    const auto [rootEnd, targetAt] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
    return rootEnd == root.end();
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

}  // namespace corvane
