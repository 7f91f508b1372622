#include <QApplication>
#include <QProcess>

#include <clocale>
#include <iostream>

#include "app/player_library.h"
#include "app/qt_platform_qt.h"
#include "app/startup_sequence.h"
#include "core/program_state.h"
#include "scout/packages.h"

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
    StartupSequence startup(state, {platform, boxes, [] { return findPlayerLibrary(); },
                                    [](const std::filesystem::path& program, const std::filesystem::path& folder) {
                                        QProcess::startDetached(QString::fromStdString(program.string()), {},
                                                                QString::fromStdString(folder.string()));
                                    },
                                    {}});
    if (startup.run(discFolder) == StartupOutcome::SetupLaunched) return 0;
    QApplication::setApplicationName(QStringLiteral("Corvane Player"));

    // The main window takes over from here once it exists; until then the run lists the packages
    // and reads the first one, as the window's creation will.
    ApplicationLog& log = startup.log();
    const PackageLists lists = ListPackages(state.folders.ProgramFolder, log);
    state.MatchList = lists.MatchList;
    state.SynthesisList = lists.SynthesisList;
    if (state.MatchList.empty() && state.SynthesisList.empty()) {
        boxes.ShowMessageBox("La cartella TLX_VIDEO non contiene partite/sintesi\rL'applicazione verrà terminata.",
                             "TlxPlayer", MessageBoxStop);
        return 0;
    }
    const bool synthesis = state.MatchList.empty();
    const std::string first = synthesis ? state.SynthesisList.front() : state.MatchList.front();
    OpenPackageData(state, first, synthesis, log, platform);
    LoadFilmList(state, log);
    return 0;
}
