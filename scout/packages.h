#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "scout/scout_readers.h"

namespace corvane {

class ApplicationLog;
class ContainedFolder;
class Platform;
struct ProgramState;

inline constexpr int kMaxListedFilms = 20;

struct PackageLists {
    std::vector<std::string> MatchList;
    std::vector<std::string> SynthesisList;  // names without the "syn_" prefix
};

// The keys of Match.cfg this program uses; every other recognised key is read and dropped.
struct MatchConfig {
    std::string scoutFile;    // "file rilevazione"
    std::string sport;        // "sport"
    std::string captureCard;  // "capturecard"
    std::string releaseText;  // "relprogramma"
};

// The Tlx_Video folder of the disc, in any letter case.
std::filesystem::path packagesRoot(const std::filesystem::path& programFolder);

// Package folders under Tlx_Video, sorted by name without regard to case, as a Windows listing
// returns them. Every entry is logged.
PackageLists ListPackages(const std::filesystem::path& programFolder, ApplicationLog& log);

std::filesystem::path packageFolder(const std::filesystem::path& programFolder, const std::string& name,
                                    bool isSynthesis);

MatchConfig ReadMatchConfig(const std::filesystem::path& programFolder, const std::string& name,
                            bool isSynthesis);
MatchConfig parseMatchConfig(const std::vector<std::string>& lines, bool isSynthesis);

// Which reader a Sport value selects.
enum class ScoutFormat { None, Volleyball, LowerCase, LowerCaseDeciphered };
ScoutFormat scoutFormatOf(const std::string& sport);

// What opening a package came to: scoutRead when a scout file was read; refused when its scout
// file passed a bound (scout/scout_readers.h), and then nothing of the program state changed.
struct PackageOpening {
    bool scoutRead = false;
    std::optional<ScoutLimit> refused;

    operator bool() const { return scoutRead; }  // NOLINT(google-explicit-constructor)
};

// Reads the package's configuration, runs the reader that Sport selects and then sets the
// program-wide package values. All is read aside and put in place only once it is whole, so a
// refused package, or one whose reading throws (std::bad_alloc), leaves the state as it was.
PackageOpening OpenPackageData(ProgramState& state, const std::string& name, bool isSynthesis, ApplicationLog& log,
                               const Platform& platform);

class Messages;

// Why a package was not opened, for the user: message 610 with the package's name (UTF-8) and the
// reason, the bound its scout file passed (611 to 613, with the bound's value) or, without a
// bound, memory that ran out (614).
std::string PackageRefusalMessage(const Messages& messages, const std::string& name,
                                  std::optional<ScoutLimit> limit);

struct FilmList {
    std::vector<std::string> films;     // full paths, film n at index n - 1
    std::vector<std::string> escaping;  // lines skipped because they lead out of the package
};

// The package's films from FilmList.cfg, or the single fallback film when there is no list. Every
// existing film of the list is kept, beyond the 20 the old list held. Each folder is listed once,
// however long the list.
FilmList readFilmList(const ContainedFolder& packageFiles, const std::string& captureCard);

// The folder of the program's own (mode 0700) for the files a consumer needs while a package is
// open, such as DecipherToCopy's: under the runtime folder, never in the package.
std::optional<std::filesystem::path> PackageWorkFolder(const Platform& platform);

// Film list and events file of the open package, in that order; the caller then fills the code
// list and opens film 1. Without an open package (the first one was refused) both are empty.
void LoadFilmList(ProgramState& state, ApplicationLog& log);

}  // namespace corvane
