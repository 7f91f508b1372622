#include "cli/disc_reader.h"

#include <algorithm>

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
    if (!folderExists(resolveInFolder(disc, "Tlx_Video")))
        throw UsageError("the disc " + disc.string() + " has no Tlx_Video folder");
    lists_ = ListPackages(disc, log_);
}

const ProgramState& DiscReader::open(const std::string& name, bool synthesis) {
    const auto& names = synthesis ? lists_.SynthesisList : lists_.MatchList;
    if (std::find(names.begin(), names.end(), name) == names.end())
        throw UsageError(std::string("no ") + (synthesis ? "synthesis" : "match") + " package named " + name);
    OpenPackageData(state_, name, synthesis, log_, platform_);
    LoadFilmList(state_, log_);
    return state_;
}

}  // namespace corvane::cli
