#include "app/command_line.h"

#include <algorithm>

#include "core/files.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

bool isPackagesFolderName(const fs::path& folder) { return equalsIgnoringCase(folder.filename().string(), "Tlx_Video"); }

// A disc folder holds Tlx_Video (the packages) or System (the catalogues) or both.
bool isDiscFolder(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const bool discPart = isPackagesFolderName(it->path()) || equalsIgnoringCase(it->path().filename().string(), "System");
        if (discPart && it->is_directory(error)) return true;
    }
    return false;
}

PackageChoice choiceOf(const fs::path& packageFolder) {
    const std::string name = packageFolder.filename().string();
    if (equalsIgnoringCase(name.substr(0, std::min<std::size_t>(4, name.size())), "syn_"))
        return {name.substr(4), true};
    return {name, false};
}

}  // namespace

ProgramOptions readProgramOptions(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "-h" || argument == "--help") return {ProgramOptions::Action::Help, {}};
        if (argument == "--version") return {ProgramOptions::Action::Version, {}};
    }
    for (const std::string& argument : arguments) {
        // Elsewhere "-" stands for the standard input, which holds no disc; a folder of that
        // name is still reached as "./-".
        if (argument == "-")
            return {ProgramOptions::Action::Refuse,
                    "- (standard input) cannot be played: name a disc folder, a package folder or a file (see --help)"};
        if (argument.size() > 1 && argument.front() == '-')
            return {ProgramOptions::Action::Refuse, "unknown option " + argument + " (see --help)"};
    }
    if (arguments.size() == 1) {
        std::error_code error;
        if (!fs::exists(arguments.front(), error))
            return {ProgramOptions::Action::Refuse, arguments.front() + ": no such folder or file"};
    }
    return {};
}

std::string helpText(const std::string& programName) {
    return "Usage: " + programName + " [DISC-FOLDER | PACKAGE-FOLDER | FILE]\n"
           "Plays the scouted match films of a Corvane System disc.\n"
           "\n"
           "  DISC-FOLDER     the folder that holds Tlx_Video (or its Tlx_Video folder)\n"
           "  PACKAGE-FOLDER  a match or synthesis folder in Tlx_Video: its disc opens with it\n"
           "  FILE            a file of a package folder (its scout file): the same\n"
           "\n"
           "Without an argument the disc is the program's own folder when that holds Tlx_Video.\n"
           "An installed program looks for a folder holding Tlx_Video on the mounted media\n"
           "(/media/USER/*, /run/media/USER/*, /mnt/*): it uses the only one, and asks for the\n"
           "disc folder when it finds none or several, opening where the last disc was.\n"
           "\n"
           "  -h, --help     print this help and end\n"
           "      --version  print the version and end\n"
           "\n"
           "Files: the log Application.Log lies in the disc folder when that can be written, else in\n"
           "$XDG_DATA_HOME/Quintera/Corvane Player; the settings are tlx_player.ini in the documents\n"
           "folder. Nothing is ever written into a package folder.\n";
}

std::string versionText(const std::string& version) { return "corvane-player " + version + " (Corvane System Player)\n"; }

CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineRequest request;
    if (arguments.empty()) return request;
    if (arguments.size() > 1) {
        request.refused = arguments;
        return request;
    }
    std::error_code error;
    const fs::path given = fs::weakly_canonical(fs::absolute(arguments.front(), error), error);
    const fs::file_status status = fs::status(given, error);
    const fs::path folder = fs::is_directory(status) ? given : given.parent_path();
    if (fs::is_directory(status) && isDiscFolder(given)) {
        request.discFolder = given;
    } else if (fs::is_directory(status) && isPackagesFolderName(given)) {
        request.discFolder = given.parent_path();
    } else if ((fs::is_directory(status) || fs::is_regular_file(status)) && isPackagesFolderName(folder.parent_path()) &&
               folder.has_filename()) {
        request.discFolder = folder.parent_path().parent_path();
        request.package = choiceOf(folder);
    } else {
        request.refused = arguments;
    }
    return request;
}

PackageChoice firstPackage(const std::vector<std::string>& matches, const std::vector<std::string>& syntheses,
                           const std::optional<PackageChoice>& requested) {
    if (requested) {
        const auto& names = requested->synthesis ? syntheses : matches;
        if (std::find(names.begin(), names.end(), requested->name) != names.end()) return *requested;
    }
    if (!matches.empty()) return {matches.front(), false};
    return {syntheses.empty() ? std::string() : syntheses.front(), true};
}

}  // namespace corvane
