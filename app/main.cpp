#include <QApplication>
#include <QProcess>

#include <clocale>
#include <iostream>

#include "app/player/video_info.h"
#include "app/player_library.h"
#include "app/qt_platform_qt.h"
#include "app/startup_sequence.h"
#include "app/system_video_environment_qt.h"
#include "app/tfcheckdx.h"
#include "core/program_state.h"
#include "app/app_context.h"
#include "app/tfmain.h"
#include "core/messages.h"

using namespace corvane;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList arguments = application.arguments();
    if (arguments.size() > 2) {
        std::cerr << "usage: corvane-player [DISC-FOLDER]\n";
        return 2;
    }
    std::optional<std::filesystem::path> discFolder;
    if (arguments.size() == 2) discFolder = arguments[1].toStdString();

    SystemPlatform platform(desktopLocaleFormats());
    QtMessageBoxes boxes;
    ProgramState state;
    const SystemVideoEnvironment video;
    StartupSequence startup(state, {platform, boxes, [] { return findPlayerLibrary(); },
                                    [](const std::filesystem::path& program, const std::filesystem::path& folder) {
                                        QProcess::startDetached(QString::fromStdString(program.string()), {},
                                                                QString::fromStdString(folder.string()));
                                    },
                                    [&startup, &video] {
                                        // At start only the check's log line: there is no film to reopen.
                                        if (const auto line = uleadCodecsLogLine(true, video); !line.empty())
                                            startup.log().WriteLog(line);
                                    },
                                    videoStackCheck(video, state, boxes)});
    if (startup.run(discFolder) != StartupOutcome::Continue) return 0;
    QApplication::setApplicationName(QStringLiteral("Corvane Player"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Player"));

    const MessageCatalogue catalogue(state.folders.SystemFolder);
    const Messages messages(catalogue, boxes, state.LanguageNumber);
    AppContext app{state, platform, startup.log(), messages, boxes,
                   Settings(settingsFilePath(platform.documentsFolder()), state.Sport), &video};
    TFMain window(app);
    if (state.TerminateAfterCreate) return 0;
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
