#include "app/startup_sequence.h"

#include "core/date_time_format.h"
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

std::string fileTimeText(const Platform& platform, const fs::path& file) {
    const auto time = platform.fileModifiedTime(file);
    return time ? formatLocaleDateTime(platform.localeFormats(), *time) : std::string();
}

}  // namespace

ProgramFolders settleFolders(const Platform& platform, const std::optional<fs::path>& discFolder) {
    ProgramFolders folders;
    std::error_code error;
    const fs::path program = discFolder ? fs::absolute(*discFolder, error) : platform.executablePath().parent_path();
    folders.ProgramFolder = asFolderText(program);
    folders.SystemFolder = folders.ProgramFolder + "System";
    folders.LogFolder = folders.ProgramFolder;
    if (platform.isOnReadOnlyMedia(program)) {
        const fs::path logFolder = platform.dataFolder() / "Quintera" / "Corvane Player";
        fs::create_directories(logFolder, error);  // a failure shows later, when the log cannot be written
        folders.LogFolder = asFolderText(logFolder);
    }
    return folders;
}

StartupSequence::StartupSequence(ProgramState& state, StartupServices services)
    : state_(state), services_(std::move(services)) {}

void StartupSequence::startLog() {
    log_.emplace(services_.platform, state_.folders.LogFolder);
    log_->WriteLog("-1");
    log_->WriteLog("-999");
    log_->WriteLog("qtr-Corvane Player 2007  Build " +
                   fileTimeText(services_.platform, services_.platform.executablePath()));
    log_->WriteLog("Percorso Log: " + state_.folders.LogFolder);
}

StartupOutcome StartupSequence::launchSetup() {
    log_->WriteLog("OCX in windows\\system non presente avvio setup libreria di supporto");
    // The language is not read yet: the text comes in language 0.
    const MessageCatalogue catalogue(state_.folders.SystemFolder);
    const Messages messages(catalogue, services_.boxes, state_.LanguageNumber);
    services_.boxes.ShowMessageBox(messages.MessageText(65), "Corvane Player", MessageBoxExclamation);
    const fs::path setup = fs::path(state_.folders.SystemFolder) / "Bin_Setup";
    log_->WriteLog("Esegue ShellExecute \"" + setup.string() + "\"");
    if (services_.launchDetached) services_.launchDetached(setup, state_.folders.SystemFolder);
    return StartupOutcome::SetupLaunched;
}

StartupOutcome StartupSequence::run(const std::optional<fs::path>& discFolder) {
    state_.folders = settleFolders(services_.platform, discFolder);
    startLog();

    const auto library = services_.findPlayerLibrary ? services_.findPlayerLibrary() : std::nullopt;
    if (!library) return launchSetup();
    log_->WriteLog("Data file " + library->string() + " " + fileTimeText(services_.platform, *library));

    const Settings settings(settingsFilePath(services_.platform.documentsFolder()), state_.Sport);
    if (settings.read(UtilizzaCodec) == "1" && services_.checkCodecs) services_.checkCodecs();

    state_.LanguageNumber = ReadLanguageNumber(state_.folders.SystemFolder);
    if (services_.checkVideoStack && !services_.checkVideoStack()) return StartupOutcome::VideoStackRefused;
    state_.TerminateAfterCreate = false;
    return StartupOutcome::Continue;
}

}  // namespace corvane
