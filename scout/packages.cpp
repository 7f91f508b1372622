#include "scout/packages.h"

#include <algorithm>
#include <memory>

#include "core/files.h"
#include "core/log.h"
#include "core/messages.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/sport.h"
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

fs::path packagesRoot(const fs::path& programFolder) {
    // The program's own name, not one read from a disc: a link is followed, as for the disc folder.
    const fs::path exact = programFolder / "Tlx_Video";
    if (folderExists(exact)) return exact;
    return resolveInFolder(programFolder, "Tlx_Video");
}

PackageLists ListPackages(const fs::path& programFolder, ApplicationLog& log) {
    PackageLists lists;
    const fs::path root = packagesRoot(programFolder);
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
    const fs::path root = packagesRoot(programFolder);
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

namespace {

MatchConfig readMatchConfigIn(const ContainedFolder& package, bool isSynthesis) {
    const auto file = package.resolve("Match.cfg");
    return parseMatchConfig(file ? readTextLines(*file) : std::vector<std::string>{}, isSynthesis);
}

void logEscape(ApplicationLog& log, const std::string& name) {
    log.WriteLog("Ignored, leads out of the package: " + name);
}

}  // namespace

MatchConfig ReadMatchConfig(const fs::path& programFolder, const std::string& name, bool isSynthesis) {
    return readMatchConfigIn(ContainedFolder(packageFolder(programFolder, name, isSynthesis)), isSynthesis);
}

ScoutFormat scoutFormatOf(const std::string& sport) {
    switch (sportKind(sport)) {
        case SportKind::Volleyball: return ScoutFormat::Volleyball;
        case SportKind::Basketball: return ScoutFormat::LowerCase;
        case SportKind::TwoPeriods:
        case SportKind::TwoPeriodsNoExtra: return ScoutFormat::LowerCaseDeciphered;
        case SportKind::Unknown: break;
    }
    return ScoutFormat::None;
}

namespace {

// The package's own values, read aside from the program state.
struct PackageData {
    std::string sport;
    OpenPackage package;
    std::optional<ScoutReading> scout;  // set when a reader ran
    CodeTable table;
    std::unique_ptr<MatchCompanions> match = std::make_unique<MatchCompanions>();
};

ScoutReading readScout(const std::string& sport, const std::string& file, bool isSynthesis, ScoutTarget target,
                       const Platform& platform) {
    switch (scoutFormatOf(sport)) {
        case ScoutFormat::Volleyball: return ReadScoutFile(file, isSynthesis, target, platform.localeFormats());
        case ScoutFormat::LowerCase: return ReadLowerCaseScout(file, false, target);
        case ScoutFormat::LowerCaseDeciphered: return ReadLowerCaseScout(file, true, target);
        case ScoutFormat::None: break;
    }
    return {};
}

PackageData readPackageData(const fs::path& programFolder, const std::string& name, bool isSynthesis,
                            ApplicationLog& log, const Platform& platform) {
    const fs::path folder = packageFolder(programFolder, name, isSynthesis);
    const ContainedFolder files(folder);
    const MatchConfig config = readMatchConfigIn(files, isSynthesis);
    PackageData data;
    data.sport = config.sport.empty() ? "1" : config.sport;

    OpenPackage& package = data.package;
    package.name = name;
    package.captureCard = config.captureCard;
    package.releaseText = config.releaseText;
    package.folder = withTrailingSeparator(folder.string());
    // No scout file name, or one that leads out of the package, names the package folder itself,
    // which is no file, so no reader runs.
    package.scoutFile = package.folder;
    if (const std::string scoutName = fileNamePart(config.scoutFile); !scoutName.empty()) {
        if (const auto scout = files.resolve(scoutName))
            package.scoutFile = scout->string();
        else
            logEscape(log, config.scoutFile);
    }
    if (const auto statistics = files.resolve("Stat.txt"))
        package.statisticsFile = statistics->string();
    else
        logEscape(log, "Stat.txt");
    package.preRollEnabled = !isSynthesis;
    log.WriteLog("Scheda " + package.captureCard);

    if (fileExists(package.scoutFile)) {
        log.WriteLog("Before open scout " + package.scoutFile);
        if (scoutFormatOf(data.sport) != ScoutFormat::None)
            data.scout = readScout(data.sport, package.scoutFile, isSynthesis, {data.table, *data.match}, platform);
        log.WriteLog("After open scout " + package.scoutFile);
    }
    package.statisticsEnabled = fileExists(package.statisticsFile);
    return data;
}

}  // namespace

PackageOpening OpenPackageData(ProgramState& state, const std::string& name, bool isSynthesis, ApplicationLog& log,
                               const Platform& platform) {
    PackageData data = readPackageData(state.folders.ProgramFolder, name, isSynthesis, log, platform);
    if (data.scout && data.scout->refused) {
        log.WriteLog("Pacchetto rifiutato: " + data.package.scoutFile + " (" + describeScoutLimit(*data.scout->refused) +
                     ")");
        return {false, data.scout->refused};
    }
    // Only moves from here on: nothing can fail half-way.
    state.SynthesisMode = isSynthesis;
    state.Sport = std::move(data.sport);
    state.package = std::move(data.package);
    if (data.scout) {
        state.codeTable = std::move(data.table);
        state.match = std::move(*data.match);
    } else {
        // No reader ran: the codes of the package before stay, its match data does not.
        state.match.clearMatchInfo();
    }
    return {data.scout && data.scout->read, std::nullopt};
}

std::string PackageRefusalMessage(const Messages& messages, const std::string& name,
                                  std::optional<ScoutLimit> limit) {
    std::string reason = messages.MessageText(614);
    if (limit == ScoutLimit::LineCount) reason = withArguments(messages.MessageText(611), {std::to_string(kMaxScoutLines)});
    if (limit == ScoutLimit::LineLength)
        reason = withArguments(messages.MessageText(612), {std::to_string(kMaxScoutLineBytes)});
    if (limit == ScoutLimit::FileSize)
        reason = withArguments(messages.MessageText(613), {std::to_string(kMaxScoutFileBytes)});
    return withArguments(messages.MessageText(610), {name, reason});
}

FilmList readFilmList(const ContainedFolder& files, const std::string& captureCard) {
    const auto list = files.resolve("FilmList.cfg");
    if (!list || !fileExists(*list)) {
        // The single-film fallback stands whether or not the file exists, but not where a link
        // out of the package, a folder or a FIFO takes its place.
        const std::string fallback = captureCard == "CUSTOM2" ? "Film01.Avi" : "Film01.MPG";
        const auto film = files.resolve(fallback);
        if (!film) return {{}, {fallback}};
        std::error_code error;
        if (fs::exists(fs::symlink_status(*film, error)) && !fileExists(*film)) return {};
        return {{film->string()}, {}};
    }
    FilmList films;
    for (const std::string& line : readTextLines(*list)) {
        if (line.empty()) continue;
        const auto film = files.resolve(line);
        if (!film)
            films.escaping.push_back(line);
        else if (fileExists(*film))
            films.films.push_back(film->string());
    }
    return films;
}

std::optional<fs::path> PackageWorkFolder(const Platform& platform) {
    return privateFolder(platform.runtimeFolder(), "corvane-player");
}

void LoadFilmList(ProgramState& state, ApplicationLog& log) {
    log.WriteLog("Apre partita/sintesi");
    state.package.currentFilm = 1;
    if (state.package.folder.empty()) {
        state.package.films.clear();
        state.events = {};
        return;
    }
    const ContainedFolder files(state.package.folder);
    FilmList list = readFilmList(files, state.package.captureCard);
    for (const std::string& name : list.escaping) logEscape(log, name);
    state.package.films = std::move(list.films);
    const auto events = files.resolve("Eventi.txt");
    if (!events) logEscape(log, "Eventi.txt");
    state.events = LoadEvents(events.value_or(fs::path()), log);
}

}  // namespace corvane
