#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/program_state.h"

namespace corvane {

// What the command line asks for. The player takes at most one argument: the disc folder (the one
// holding Tlx_Video or System), a package folder in it, or a file in a package folder (a scout file, as a
// desktop's "Open with" hands it over): the disc that holds it, with that package chosen.
struct CommandLineRequest {
    std::optional<std::filesystem::path> discFolder;  // none: the executable's folder
    std::optional<PackageChoice> package;
    // The arguments that cannot be used: the one that names nothing the player opens, or all of
    // them when there are several. Empty when the request stands.
    std::vector<std::string> refused;
};

// The player's own options, answered before any window: the help, the version, or a command
// line refused at once (an unknown option, a folder or file that does not exist) with a line
// that says why. Anything else runs, and parseCommandLine reads it.
struct ProgramOptions {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::string message;  // Refuse: one line for the terminal
};

// arguments: the command line after the program's name. `-h`/`--help` and `--version` win
// wherever they stand.
ProgramOptions readProgramOptions(const std::vector<std::string>& arguments);

// What --help and --version print. The program name is the one the user typed.
std::string helpText(const std::string& programName);
std::string versionText(const std::string& version);

// arguments: the command line after the program's name.
CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments);

// The package opened first: the requested one when the disc lists it, else the first match, else
// the first synthesis.
PackageChoice firstPackage(const std::vector<std::string>& matches, const std::vector<std::string>& syntheses,
                           const std::optional<PackageChoice>& requested);

}  // namespace corvane
