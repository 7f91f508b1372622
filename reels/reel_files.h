#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "reels/reel_writer.h"

namespace corvane {

// The files side of an export: where the reel may go, the hidden name it is written under, and
// the rename that makes it the user's file once complete.

// The hidden name the output is written under until it is complete.
std::filesystem::path temporaryBeside(const std::filesystem::path& destination);

// Removes what it names unless told the output is complete.
class PartialOutput {
public:
    explicit PartialOutput(std::filesystem::path path) : path_(std::move(path)) {}
    PartialOutput(const PartialOutput&) = delete;
    PartialOutput& operator=(const PartialOutput&) = delete;
    ~PartialOutput();
    const std::filesystem::path& path() const { return path_; }
    // Gives the output the destination's name; a failure is told in the destination's name.
    std::optional<ReelResult> commit(const std::filesystem::path& destination);

private:
    std::filesystem::path path_;
};

// The name of clip number (from 1) of count in a clip folder: 01.mp4, 02.mp4 ...
std::string clipFileName(std::size_t number, std::size_t count);

// What stops the job's destination from being written before anything is decoded, or nothing.
std::optional<ReelResult> destinationProblem(const ReelJob& job);

}  // namespace corvane
