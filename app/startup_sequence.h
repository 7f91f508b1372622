#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

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
    // Starts a program without waiting for it; a failure is ignored.
    std::function<void(const std::filesystem::path& program, const std::filesystem::path& workingFolder)>
        launchDetached;
    // The codec installation check run when UtilizzaCodec is "1"; may be empty.
    std::function<void()> checkCodecs;
    // The video stack check, run once the language is known; false ends the run. May be empty.
    std::function<bool()> checkVideoStack;
};

// The folders of a run. The disc folder (the one holding Tlx_Video and System) is the optional
// argument, else the executable's folder. Folders end with "/". On read-only media the log goes
// to "Quintera/Corvane Player" under the user's data folder, created with its parents.
ProgramFolders settleFolders(const Platform& platform, const std::optional<std::filesystem::path>& discFolder);

enum class StartupOutcome {
    SetupLaunched,      // the player library is missing: the setup program was started
    VideoStackRefused,  // the video stack is incomplete: its window was shown, no main window
    Continue,           // create the main window
};

// The fixed start of every run, up to the creation of the main window: folders, a fresh log with
// its first lines, the player-library check, the codec check and the language.
class StartupSequence {
public:
    StartupSequence(ProgramState& state, StartupServices services);

    StartupOutcome run(const std::optional<std::filesystem::path>& discFolder);

    ApplicationLog& log() { return *log_; }

private:
    void startLog();
    StartupOutcome launchSetup();

    ProgramState& state_;
    StartupServices services_;
    std::optional<ApplicationLog> log_;
};

}  // namespace corvane
