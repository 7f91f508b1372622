#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "codes/analysis_record.h"
#include "core/playback_options.h"
#include "core/sport.h"
#include "scout/code_table.h"
#include "scout/events.h"

namespace corvane {

// The three folders settled at start, read-only afterwards. Folders keep their trailing "/".
struct ProgramFolders {
    std::string ProgramFolder;  // the disc folder: holds Tlx_Video and System
    std::string SystemFolder;   // ProgramFolder + "System", no trailing separator
    std::string LogFolder;
};

// A package of the disc by its listed name ("syn_" taken off a synthesis).
struct PackageChoice {
    std::string name;
    bool synthesis = false;

    bool operator==(const PackageChoice&) const = default;
};

// What opening a package sets program-wide.
struct OpenPackage {
    std::string name;
    std::string captureCard;
    std::string releaseText;
    std::string folder;          // with trailing separator
    std::string scoutFile;
    std::string statisticsFile;  // folder + "Stat.txt"
    bool statisticsEnabled = false;
    bool preRollEnabled = true;  // the pre-roll control is off for a synthesis
    std::vector<std::string> films;  // full paths, film n at index n - 1
    int currentFilm = 1;
};

// The program-wide values, owned in one place and passed by reference, so a test builds a fresh
// one. Emptied and refilled at every package opening, read-only between openings.
struct ProgramState {
    ProgramFolders folders;
    int LanguageNumber = 0;
    bool TerminateAfterCreate = false;
    std::optional<PackageChoice> RequestedPackage;  // the package named on the command line

    std::vector<std::string> MatchList;
    std::vector<std::string> SynthesisList;

    std::string Sport;  // as the package carries it; sport() gives its kind
    bool SynthesisMode = false;
    OpenPackage package;

    CodeTable codeTable;
    MatchCompanions match;
    EventTable events;
    AnalysisRecord analysis;
    PlaybackOptions playback;

    // Read from the text every time, so it never lags behind a change of Sport.
    SportKind sport() const { return sportKind(Sport); }
};

}  // namespace corvane
