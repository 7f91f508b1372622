#include <QApplication>
#include <QFileDialog>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/player/video_info.h"
#include "app/player_library.h"
#include "app/qt_platform_qt.h"
#include "app/startup_sequence.h"
#include "app/system_video_environment_qt.h"
#include "app/termination_signals_qt.h"
#include "app/tfcheckdx.h"
#include "app/tfmain.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"

using namespace corvane;

namespace {

std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);  // file names as the system gives them
    return arguments;
}

// Qt's own options take a single dash (-platform, -style ...), some of them a value.
bool mayHoldQtOptions(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument.size() > 1 && argument[0] == '-' && argument[1] != '-') return true;
    return false;
}

// Help, version and a refused command line are answered on the terminal; nothing else is done.
std::optional<int> answerOptions(const ProgramOptions& options, const char* programName) {
    switch (options.action) {
        case ProgramOptions::Action::Help: std::cout << helpText(programName); return 0;
        case ProgramOptions::Action::Version: std::cout << versionText(CORVANE_VERSION); return 0;
        case ProgramOptions::Action::Refuse: std::cerr << programName << ": " << options.message << '\n'; return 2;
        case ProgramOptions::Action::Run: break;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> chooseDiscFolder(const std::string& caption, const std::filesystem::path& start) {
    const QString folder = QFileDialog::getExistingDirectory(nullptr, windowTitleFor(messageToQt(caption)),
                                                             QString::fromStdString(start.string()),
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return std::filesystem::path(folder.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display. With Qt's own options on
    // the line the refusals wait until Qt has taken them off.
    {
        const auto raw = argumentsOf(argc, argv);
        const ProgramOptions options = readProgramOptions(raw);
        if (options.action != ProgramOptions::Action::Refuse || !mayHoldQtOptions(raw))
            if (const auto status = answerOptions(options, argv[0])) return *status;
    }

    QApplication application(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");

    // Set before anything is shown: the desktop names every window after the application.
    QApplication::setApplicationName(QStringLiteral("Corvane Player"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Player"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.corvane.Player"));

    const std::vector<std::string> arguments = argumentsOf(argc, argv);
    if (const auto status = answerOptions(readProgramOptions(arguments), argv[0])) return *status;

    SystemPlatform platform(desktopLocaleFormats());
    QtMessageBoxes boxes;
    ProgramState state;
    const SystemVideoEnvironment video;
    StartupSequence startup(state, {platform, boxes, [] { return findPlayerLibrary(); },
                                    [&startup, &video] {
                                        // At start only the check's log line: there is no film to reopen.
                                        if (const auto line = uleadCodecsLogLine(true, video); !line.empty())
                                            startup.log().WriteLog(line);
                                    },
                                    videoStackCheck(video, state, boxes), chooseDiscFolder});
    switch (startup.run(parseCommandLine(arguments))) {
        case StartupOutcome::PlayerLibraryMissing: return 0;
        case StartupOutcome::CommandLineRefused: return 2;
        case StartupOutcome::VideoStackRefused: return 0;
        case StartupOutcome::DiscNotChosen: return 0;
        case StartupOutcome::Continue: break;
    }

    const MessageCatalogue catalogue(state.folders.SystemFolder);
    const Messages messages(catalogue, boxes, state.LanguageNumber);
    AppContext app{state, platform, startup.log(), messages, boxes,
                   Settings(settingsFilePath(platform.documentsFolder()), state.Sport, &startup.log()), &video};
    TFMain window(app);
    if (state.TerminateAfterCreate) return 0;
    window.move(0, 0);
    window.show();
    // A logout or a stop request closes the windows as the user would, then ends the run.
    const TerminationSignals stopRequests(stopTheRun);
    return QApplication::exec();
}
