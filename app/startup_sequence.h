#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "core/log.h"
#include "core/message_box.h"
#include "core/platform.h"
#include "core/program_state.h"

namespace corvane {

// What start-up asks of the world besides the platform; the application supplies the real ones.
struct StartupServices {
    Platform& platform;
    MessageBoxPresenter& boxes;
    std::function<std::optional<std::filesystem::path>()> findPlayerLibrary;
    // The codec installation check run when UtilizzaCodec is "1"; may be empty.
    std::function<void()> checkCodecs;
    // The video stack check, run once the language is known; false ends the run. May be empty.
    std::function<bool()> checkVideoStack;
    // Asks the user for the disc folder: a chooser with this caption, opened at this folder.
    // Nothing when the user cancels. May be empty (no disc is then chosen).
    std::function<std::optional<std::filesystem::path>(const std::string& caption, const std::filesystem::path& start)>
        chooseDisc;
};

// The folders of a run. The disc folder (the one holding Tlx_Video and System) is the optional
// argument, else the executable's folder. Folders end with "/". The log lies in the disc folder
// when a file can be written there, else in "Quintera/Corvane Player" under the user's data
// folder (created with its parents), else nowhere (LogFolder empty): never under a relative one.
// The executable's folder takes the log only when it is a disc: nothing is written beside an
// installed program. A disc without a System folder reads the installed program's.
ProgramFolders settleFolders(const Platform& platform, const std::optional<std::filesystem::path>& discFolder);

// The box that names the missing video library and the package that provides it.
inline constexpr int kMissingPlayerLibraryMessage = 350;
// The boxes for an argument that is no disc, package or scout file, and for several arguments.
inline constexpr int kUnusableArgumentMessage = 351;
inline constexpr int kSeveralArgumentsMessage = 352;
// The caption of the folder chooser that asks for the disc.
inline constexpr int kChooseDiscMessage = 353;

enum class StartupOutcome {
    PlayerLibraryMissing,  // the user was told which package to install; nothing else runs
    CommandLineRefused,    // the arguments name no disc, package or scout file: the user was told
    VideoStackRefused,     // the video stack is incomplete: its window was shown, no main window
    DiscNotChosen,         // an installed program found no single disc and the user chose none
    Continue,              // create the main window
};

// The fixed start of every run, up to the creation of the main window: the disc (looked for on
// the user's media when an installed program gets none), folders, a fresh log with its first
// lines, the player-library check, the codec check and the language.
class StartupSequence {
public:
    StartupSequence(ProgramState& state, StartupServices services);

    StartupOutcome run(const CommandLineRequest& request);
    StartupOutcome run(const std::optional<std::filesystem::path>& discFolder) {
        return run(CommandLineRequest{discFolder, std::nullopt, {}});
    }

    ApplicationLog& log() { return *log_; }

private:
    // The disc of an installed program started without one: the only one on the media, else the
    // user's choice. Nothing when the user chose none.
    std::optional<CommandLineRequest> searchDisc();
    void startLog();
    StartupOutcome reportMissingPlayerLibrary();
    StartupOutcome refuseCommandLine(const CommandLineRequest& request);

    ProgramState& state_;
    StartupServices services_;
    std::optional<ApplicationLog> log_;
    std::string discLine_;  // how the disc was found, for the log
};

}  // namespace corvane
