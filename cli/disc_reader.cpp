#include "cli/disc_reader.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "core/cp1252.h"
#include "core/files.h"

namespace corvane::cli {

DiscReader::DiscReader(const Platform& platform, const std::filesystem::path& disc)
    : platform_(platform), log_(ApplicationLog::discarding(platform)) {
    if (!folderExists(disc)) throw UsageError("no disc folder at " + disc.string());
    std::string folder = std::filesystem::absolute(disc).string();
    if (folder.back() != '/') folder += '/';
    state_.folders.ProgramFolder = folder;
    state_.folders.SystemFolder = folder + "System";
    state_.folders.LogFolder = folder;
    if (!folderExists(packagesRoot(disc)))
        throw UsageError("the disc " + disc.string() + " has no Tlx_Video folder");
    lists_ = ListPackages(disc, log_);
}

const std::string* listedPackage(const std::vector<std::string>& names, const std::string& typed) {
    const auto exact = std::find(names.begin(), names.end(), typed);
    if (exact != names.end()) return &*exact;
    const auto printed = std::find_if(names.begin(), names.end(),
                                      [&](const std::string& name) { return pathToUtf8(name) == typed; });
    return printed != names.end() ? &*printed : nullptr;
}

const ProgramState& DiscReader::open(const std::string& name, bool synthesis) {
    const std::string* listed = listedPackage(synthesis ? lists_.SynthesisList : lists_.MatchList, name);
    if (!listed) {
        std::string message = std::string("no ") + (synthesis ? "synthesis" : "match") + " package named " + name;
        // The two kinds share no list: a name typed with the wrong kind is told which it is.
        if (listedPackage(synthesis ? lists_.MatchList : lists_.SynthesisList, name))
            message += synthesis ? "; " + name + " is a match: leave out --synthesis" : "; " + name + " is a synthesis: use --synthesis";
        throw UsageError(message);
    }
    const std::string package = pathToUtf8(*listed);
    try {
        const PackageOpening opening = OpenPackageData(state_, *listed, synthesis, log_, platform_);
        if (opening.refused)
            throw UsageError("the package " + package + " was not opened: " +
                             describeScoutLimit(*opening.refused));
        LoadFilmList(state_, log_);
    } catch (const std::bad_alloc&) {
        throw UsageError("the package " + package + " was not opened: not enough memory to read it");
    } catch (const std::length_error&) {
        throw UsageError("the package " + package + " was not opened: not enough memory to read it");
    }
    return state_;
}

}  // namespace corvane::cli
