#include "scout/packages.h"

#include <algorithm>

#include "core/files.h"
#include "core/log.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/text.h"
#include "scout/scout_readers.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

bool hasSynthesisPrefix(const std::string& name) { return asciiLower(name.substr(0, 4)) == "syn_"; }

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const std::string la = asciiLower(a), lb = asciiLower(b);
    return la != lb ? la < lb : a < b;
}

// The file-name part of a name written on Windows or here.
std::string fileNamePart(const std::string& name) {
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

PackageLists ListPackages(const fs::path& programFolder, ApplicationLog& log) {
    PackageLists lists;
    const fs::path root = resolveInFolder(programFolder, "Tlx_Video");
    if (!folderExists(root)) {
        log.WriteLog(root.string() + " non esiste.");
        return lists;
    }
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return lessIgnoringCase(a.path().filename().string(), b.path().filename().string());
    });
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        log.WriteLog(root.string() + " " + name);
        if (!entry.is_directory(error)) continue;
        if (hasSynthesisPrefix(name))
            lists.SynthesisList.push_back(name.substr(4));
        else
            lists.MatchList.push_back(name);
    }
    return lists;
}

fs::path packageFolder(const fs::path& programFolder, const std::string& name, bool isSynthesis) {
    const fs::path root = resolveInFolder(programFolder, "Tlx_Video");
    if (!isSynthesis) return root / name;
    // The prefix was matched without regard to case when the package was listed.
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (hasSynthesisPrefix(entry) && entry.substr(4) == name && it->is_directory(error)) return it->path();
    }
    return root / ("syn_" + name);
}

MatchConfig parseMatchConfig(const std::vector<std::string>& lines, bool isSynthesis) {
    (void)isSynthesis;  // both kinds share the keys this program uses
    MatchConfig config;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = asciiLower(trimBlanks(std::string_view(line).substr(0, equals)));
        const std::string value(trimBlanks(std::string_view(line).substr(equals + 1)));
        if (key == "file rilevazione") config.scoutFile = value;
        else if (key == "sport") config.sport = value;
        else if (key == "capturecard") config.captureCard = value;
        else if (key == "relprogramma") config.releaseText = value;
    }
    return config;
}

MatchConfig ReadMatchConfig(const fs::path& programFolder, const std::string& name, bool isSynthesis) {
    const fs::path folder = packageFolder(programFolder, name, isSynthesis);
    return parseMatchConfig(readTextLines(resolveInFolder(folder, "Match.cfg")), isSynthesis);
}

ScoutFormat scoutFormatOf(const std::string& sport) {
    if (sport == "1") return ScoutFormat::Volleyball;
    if (sport == "2") return ScoutFormat::LowerCase;
    if (!sport.empty() && ((sport[0] >= '3' && sport[0] <= '9') || sport[0] == 'A'))
        return ScoutFormat::LowerCaseDeciphered;
    return ScoutFormat::None;
}

bool OpenPackageData(ProgramState& state, const std::string& name, bool isSynthesis, ApplicationLog& log,
                     const Platform& platform) {
    const fs::path programFolder = state.folders.ProgramFolder;
    const MatchConfig config = ReadMatchConfig(programFolder, name, isSynthesis);
    state.SynthesisMode = isSynthesis;
    state.Sport = config.sport;

    OpenPackage& package = state.package;
    package = {};
    package.name = name;
    package.captureCard = config.captureCard;
    package.releaseText = config.releaseText;
    const fs::path folder = packageFolder(programFolder, name, isSynthesis);
    package.folder = withTrailingSeparator(folder.string());
    const std::string scoutName = fileNamePart(config.scoutFile);
    package.scoutFile = scoutName.empty() ? package.folder : resolveInFolder(folder, scoutName).string();
    package.statisticsFile = resolveInFolder(folder, "Stat.txt").string();
    package.preRollEnabled = !isSynthesis;

    if (state.Sport.empty()) state.Sport = "1";
    log.WriteLog("Scheda " + package.captureCard);
    state.match.clearMatchInfo();

    bool read = false;
    if (fileExists(package.scoutFile)) {
        log.WriteLog("Before open scout " + package.scoutFile);
        ScoutTarget target{state.codeTable, state.match};
        switch (scoutFormatOf(state.Sport)) {
            case ScoutFormat::Volleyball:
                read = ReadScoutFile(package.scoutFile, isSynthesis, target, platform.localeFormats());
                break;
            case ScoutFormat::LowerCase:
                read = ReadLowerCaseScout(package.scoutFile, false, target, platform.cacheFolder());
                break;
            case ScoutFormat::LowerCaseDeciphered:
                read = ReadLowerCaseScout(package.scoutFile, true, target, platform.cacheFolder());
                break;
            case ScoutFormat::None: break;
        }
        log.WriteLog("After open scout " + package.scoutFile);
    }
    package.statisticsEnabled = fileExists(package.statisticsFile);
    return read;
}

std::vector<std::string> readFilmList(const fs::path& folder, const std::string& captureCard) {
    const fs::path list = resolveInFolder(folder, "FilmList.cfg");
    if (!fileExists(list)) {
        // The single-film fallback stands whether or not the file exists.
        const std::string fallback = captureCard == "CUSTOM2" ? "Film01.Avi" : "Film01.MPG";
        return {resolveInFolder(folder, fallback).string()};
    }
    std::vector<std::string> films;
    for (const std::string& line : readTextLines(list)) {
        if (line.empty()) continue;
        const fs::path film = resolveInFolder(folder, line);
        if (fileExists(film)) films.push_back(film.string());
    }
    return films;
}

void LoadFilmList(ProgramState& state, ApplicationLog& log) {
    log.WriteLog("Apre partita/sintesi");
    state.package.currentFilm = 1;
    const fs::path folder = state.package.folder;
    state.package.films = readFilmList(folder, state.package.captureCard);
    state.events = LoadEvents(resolveInFolder(folder, "Eventi.txt"), log);
}

}  // namespace corvane
