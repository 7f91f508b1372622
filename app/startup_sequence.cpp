#include "app/startup_sequence.h"

#include <fcntl.h>
#include <iostream>
#include <unistd.h>

#include "app/disc_search.h"
#include "app/player_library.h"
#include "core/date_time_format.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/settings.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

std::string asFolderText(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

// Whether the log can live in the folder: it is absolute, exists (made when missing) and the log
// file really opens there for appending. Trying is the only sure test: a folder the user may
// not write lies as often on a writable disk as on read-only media.
bool canKeepLogIn(const fs::path& folder) {
    if (!folder.is_absolute()) return false;
    std::error_code error;
    fs::create_directories(folder, error);
    const int file = ::open((folder / "Application.Log").c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0) return false;
    ::close(file);
    return true;
}

std::string fileTimeText(const Platform& platform, const fs::path& file) {
    const auto time = platform.fileModifiedTime(file);
    return time ? formatLocaleDateTime(platform.localeFormats(), *time) : std::string();
}

}  // namespace

ProgramFolders settleFolders(const Platform& platform, const std::optional<fs::path>& discFolder) {
    ProgramFolders folders;
    std::error_code error;
    const fs::path executable = platform.executablePath();
    const fs::path program = discFolder ? fs::absolute(*discFolder, error) : executable.parent_path();
    folders.ProgramFolder = asFolderText(program);
    folders.SystemFolder = folders.ProgramFolder + "System";
    // The installed catalogues and player options serve a disc that brings none; the disc's own
    // always win, and nothing is ever copied into it.
    if (const fs::path installed = installedSystemFolder(executable);
        !folderExists(folders.SystemFolder) && installed.is_absolute() && folderExists(installed))
        folders.SystemFolder = installed.string();
    const bool isDisc = discFolder || holdsPackages(program);
    if (isDisc && !platform.isOnReadOnlyMedia(program) && canKeepLogIn(program)) {
        folders.LogFolder = folders.ProgramFolder;
        return folders;
    }
    const fs::path data = platform.dataFolder();
    const fs::path logFolder = data / "Quintera" / "Corvane Player";
    if (data.is_absolute() && canKeepLogIn(logFolder)) folders.LogFolder = asFolderText(logFolder);
    return folders;  // no folder takes the log: the run keeps none
}

StartupSequence::StartupSequence(ProgramState& state, StartupServices services)
    : state_(state), services_(std::move(services)) {}

void StartupSequence::startLog() {
    if (state_.folders.LogFolder.empty())
        std::cerr << "Corvane Player: no folder can take the log (" << state_.folders.ProgramFolder
                  << " cannot be written and there is no data folder); going on without it\n";
    log_.emplace(services_.platform, state_.folders.LogFolder);
    log_->startFresh();
    log_->WriteLog("-999");
    log_->WriteLog("qtr-Corvane Player 2007  Build " +
                   fileTimeText(services_.platform, services_.platform.executablePath()));
    log_->WriteLog("Percorso Log: " + state_.folders.LogFolder);
    if (!discLine_.empty()) log_->WriteLog(discLine_);
    if (state_.folders.SystemFolder != state_.folders.ProgramFolder + "System")
        log_->WriteLog("Percorso System: " + state_.folders.SystemFolder);
}

std::optional<CommandLineRequest> StartupSequence::searchDisc() {
    const Platform& platform = services_.platform;
    const std::vector<fs::path> media = mediaFolders(platform.mountTreeRoot(), platform.userName());
    const std::vector<fs::path> discs = findDiscs(media);
    // Read before the log exists: a refusal of the file is logged when the disc is stored.
    const Settings settings(settingsFilePath(platform.documentsFolder()), state_.Sport);
    fs::path elsewhere = platform.documentsFolder();
    for (const fs::path& folder : media)
        if (folderExists(folder)) {
            elsewhere = folder;
            break;
        }
    const DiscDecision decision = decideDisc(discs, rememberedDisc(settings.text(UltimoDisco)), elsewhere);
    if (decision.found) {
        discLine_ = "Disco trovato: " + decision.folder.string();
        return CommandLineRequest{decision.folder, std::nullopt, {}};
    }
    if (!services_.chooseDisc) return std::nullopt;
    // The chooser comes before the disc's catalogues are known: the installed program's speak.
    const fs::path system = installedSystemFolder(platform.executablePath());
    const MessageCatalogue catalogue(system);
    const int language = ReadLanguageNumber(system.string());
    const Messages messages(catalogue, services_.boxes, language);
    std::string caption = messages.MessageText(kChooseDiscMessage);
    if (caption == kLibraryErrorText || caption == kMissingText) caption = "Corvane Player: choose the disc folder";
    const auto chosen = services_.chooseDisc(caption, decision.folder);
    if (!chosen) return std::nullopt;
    discLine_ = "Disco scelto: " + chosen->string();
    // The folder is read as an argument would be (Tlx_Video or a package chosen in place of the
    // disc); a folder that is none of them stays the disc, and its lack of packages is told later.
    CommandLineRequest request = parseCommandLine({chosen->string()});
    if (!request.refused.empty() || !request.discFolder) request = CommandLineRequest{*chosen, std::nullopt, {}};
    return request;
}

StartupOutcome StartupSequence::reportMissingPlayerLibrary() {
    // Nothing on the disc is ever started to mend it: the user installs the library from the
    // distribution. The language is not read yet: the text comes in language 0.
    log_->WriteLog("OCX in windows\\system non presente avvio setup libreria di supporto");
    log_->WriteLog(std::string("Libreria video ") + kPlayerLibraryName + " non presente: pacchetto Debian " +
                   kPlayerLibraryPackage);
    const MessageCatalogue catalogue(state_.folders.SystemFolder);
    const Messages messages(catalogue, services_.boxes, state_.LanguageNumber);
    services_.boxes.ShowMessageBox(messages.MessageText(kMissingPlayerLibraryMessage), "Corvane Player",
                                   MessageBoxExclamation);
    return StartupOutcome::PlayerLibraryMissing;
}

StartupOutcome StartupSequence::refuseCommandLine(const CommandLineRequest& request) {
    const bool several = request.refused.size() > 1;
    std::string arguments;
    for (const std::string& argument : request.refused) arguments += (arguments.empty() ? "" : " ") + argument;
    log_->WriteLog((several ? "Argomenti non usati: " : "Argomento non valido: ") + arguments);
    state_.LanguageNumber = ReadLanguageNumber(state_.folders.SystemFolder);
    const MessageCatalogue catalogue(state_.folders.SystemFolder);
    const Messages messages(catalogue, services_.boxes, state_.LanguageNumber);
    std::string text = messages.MessageText(several ? kSeveralArgumentsMessage : kUnusableArgumentMessage);
    // The catalogues live on a disc: without one the box still says what went wrong.
    if (text == kLibraryErrorText || text == kMissingText)
        text = several ? "Corvane Player opens one disc, package or scout file at a time; arguments given:\r%s"
                       : "Corvane Player opens a disc, a package folder or a scout file; this argument is none of them:\r%s";
    services_.boxes.ShowMessageBox(withArguments(text, {arguments}), "Corvane Player", MessageBoxExclamation);
    return StartupOutcome::CommandLineRefused;
}

StartupOutcome StartupSequence::run(const CommandLineRequest& given) {
    CommandLineRequest request = given;
    discLine_.clear();
    const bool searched = request.refused.empty() && !request.discFolder &&
                          !holdsPackages(services_.platform.executablePath().parent_path());
    if (searched) {
        auto found = searchDisc();
        if (!found) return StartupOutcome::DiscNotChosen;
        request = std::move(*found);
    }
    state_.folders = settleFolders(services_.platform, request.refused.empty() ? request.discFolder : std::nullopt);
    state_.RequestedPackage = request.package;
    startLog();
    if (!request.refused.empty()) return refuseCommandLine(request);
    if (searched) {
        const Settings settings(settingsFilePath(services_.platform.documentsFolder()), state_.Sport, &*log_);
        if (const auto text = rememberedDiscText(fs::path(state_.folders.ProgramFolder).parent_path()))
            settings.setText(UltimoDisco, *text);
    }

    const auto library = services_.findPlayerLibrary ? services_.findPlayerLibrary() : std::nullopt;
    if (!library) return reportMissingPlayerLibrary();
    log_->WriteLog("Data file " + library->string() + " " + fileTimeText(services_.platform, *library));

    const Settings settings(settingsFilePath(services_.platform.documentsFolder()), state_.Sport, &*log_);
    if (settings.flag(UtilizzaCodec) && services_.checkCodecs) services_.checkCodecs();

    state_.LanguageNumber = ReadLanguageNumber(state_.folders.SystemFolder);
    if (services_.checkVideoStack && !services_.checkVideoStack()) return StartupOutcome::VideoStackRefused;
    state_.TerminateAfterCreate = false;
    return StartupOutcome::Continue;
}

}  // namespace corvane
