#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "reels/reel_writer.h"

namespace corvane {

// The files side of an export: where the reel may go, the hidden name it is written under, and
// the rename that makes it the user's file once complete.

// The hidden name the output is written under until it is complete: ".NAME.part-PID-N" beside
// the destination, NAME shortened to a prefix and a hash where the whole would pass the longest
// file name the system takes.
std::filesystem::path temporaryBeside(const std::filesystem::path& destination);

// The process that wrote a hidden part, for a file name made by temporaryBeside; nothing for any
// other name.
std::optional<long> partWriter(const std::string& fileName);

// Removes the hidden parts in folder left by processes that no longer run (a kill, a crash).
// Only names of temporaryBeside's form are touched, and only those of dead processes.
void sweepStaleParts(const std::filesystem::path& folder);

// The output written under a hidden name beside the destination; removed unless committed.
class PartialOutput {
public:
    PartialOutput(std::filesystem::path destination, ReelOutput output);
    PartialOutput(const PartialOutput&) = delete;
    PartialOutput& operator=(const PartialOutput&) = delete;
    ~PartialOutput();
    const std::filesystem::path& path() const { return path_; }
    // Makes the hidden file or folder, after clearing stale parts out of the way. A failure is
    // told with the destination's name as given and the system's reason.
    std::optional<ReelResult> open(const std::filesystem::path& destinationAsGiven);
    // Gives the output the destination's name.
    std::optional<ReelResult> commit();

private:
    std::filesystem::path destination_;
    ReelOutput output_;
    std::filesystem::path path_;
};

// The name of clip number (from 1) of count in a clip folder: 01.mp4, 02.mp4 ...
std::string clipFileName(std::size_t number, std::size_t count);

// What stops the job's destination from being written before anything is decoded, or nothing.
std::optional<ReelResult> destinationProblem(const ReelJob& job);

// A film is opened only when it is a regular file once its links are followed: a FIFO would
// block the open for good and a device such as /dev/urandom never ends.
bool regularFilmFile(const std::filesystem::path& film);

}  // namespace corvane
