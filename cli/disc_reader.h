#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "core/log.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "scout/packages.h"

namespace corvane::cli {

// A disc, package or file that cannot be used; the message is what the user reads.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The listed name that a typed name stands for: the name itself, or the name as the packages
// command prints it (a name that is not UTF-8 is printed from Windows-1252). Null when none.
const std::string* listedPackage(const std::vector<std::string>& names, const std::string& typed);

// Opens the packages of a disc the way the player does at start: configuration, scout file, film
// list and events file. The disc's own log is left alone.
class DiscReader {
public:
    DiscReader(const Platform& platform, const std::filesystem::path& disc);

    const PackageLists& packages() const { return lists_; }
    // name as listed or as the packages command prints it.
    const ProgramState& open(const std::string& name, bool synthesis);

private:
    const Platform& platform_;
    ApplicationLog log_;
    ProgramState state_;
    PackageLists lists_;
};

}  // namespace corvane::cli
