#include <QApplication>

#include <clocale>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/player/video_info.h"
#include "app/player_library.h"
#include "app/qt_platform_qt.h"
#include "app/startup_sequence.h"
#include "app/system_video_environment_qt.h"
#include "app/tfcheckdx.h"
#include "app/tfmain.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/app_context.h"

using namespace corvane;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");

    // Set before anything is shown: the desktop names every window after the application.
    QApplication::setApplicationName(QStringLiteral("Corvane Player"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Player"));

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);  // file names as the system gives them

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
                                    videoStackCheck(video, state, boxes)});
    switch (startup.run(parseCommandLine(arguments))) {
        case StartupOutcome::PlayerLibraryMissing: return 0;
        case StartupOutcome::CommandLineRefused: return 2;
        case StartupOutcome::VideoStackRefused: return 0;
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
    return QApplication::exec();
}
