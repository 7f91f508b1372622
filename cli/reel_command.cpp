#include "cli/reel_command.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>

#include <unistd.h>

#include "cli/disc_reader.h"
#include "codes/analyses_file.h"
#include "codes/code_description.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "reels/reel_job.h"

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

// Ctrl+C, a stop request or the terminal going away stops the export between two packets, so
// the partial output is removed.
std::atomic<bool> interrupted{false};
extern "C" void interrupt(int) { interrupted.store(true); }
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The stop signals handled for the length of one export, the previous handlers back after it.
class StopSignals {
public:
    StopSignals() {
        interrupted.store(false);
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) previous_[i] = std::signal(kStopSignals[i], interrupt);
    }
    ~StopSignals() {
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) std::signal(kStopSignals[i], previous_[i]);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    std::array<void (*)(int), std::size(kStopSignals)> previous_{};
};

class SilentBoxes : public MessageBoxPresenter {
public:
    int ShowMessageBox(const std::string&, const std::string&, int) override { return kMessageBoxOkPressed; }
};

std::vector<CodeListRow> listedRows(const ProgramState& state, const ReelCommand& command) {
    const PassContext context{state.Sport, state.SynthesisMode, state.LanguageNumber};
    std::vector<CodeListRow> rows;
    if (command.analysis) {
        const auto file = analysesFilePath(state.package.folder);
        AnalysisRecord record;
        const auto entries = ListAnalyses(file, state.codeTable, context, record);
        if (!entries) throw UsageError("the package has no Analisi.ini");
        const int index = *command.analysis;
        if (index < 0 || index >= static_cast<int>(entries->size()))
            throw UsageError("the package has no analysis " + std::to_string(index));
        ReadAnalysis(file, (*entries)[static_cast<std::size_t>(index)].name, record);
        rows = ApplyAnalysis(state.codeTable, index, command.sets, record, context);
    } else {
        AnalysisRecord record;
        record[AnalysisRecord::adv_codes] = utf8ToCp1252(command.adv);
        rows = FillCodeList(state.codeTable, utf8ToCp1252(command.code), command.sets, record, context);
    }
    if (rows.size() == 1 && rows.front().row == 0) rows.clear();  // the passes' "nothing found"
    return rows;
}

std::string minutes(double seconds) {
    const int whole = static_cast<int>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
    return text;
}

// "1 clip", "3 clips".
std::string counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The progress of an export on standard error: one line redrawn in place on a terminal, one line
// a clip elsewhere, so a log that takes it is not flooded with every packet's redraw.
class ProgressLine {
public:
    explicit ProgressLine(bool terminal) : terminal_(terminal) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() {
        if (terminal_ && drawn_) std::cerr << '\n';
    }

    void operator()(const ReelProgress& progress) {
        if (!terminal_ && progress.clip == lastClip_) return;
        lastClip_ = progress.clip;
        drawn_ = true;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        const double share = progress.secondsTotal > 0 ? progress.secondsDone / progress.secondsTotal : 0;
        const std::string left = share > 0.01 ? minutes(elapsed / share - elapsed) : "?";
        std::cerr << (terminal_ ? "\r" : "") << "clip " << progress.clip << "/" << progress.clipCount << "  "
                  << static_cast<int>(share * 100) << "%  " << minutes(elapsed) << " elapsed, " << left << " left"
                  << (terminal_ ? "   " : "\n") << std::flush;
    }

private:
    const bool terminal_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    int lastClip_ = -1;
    bool drawn_ = false;
};

std::string statusText(const ReelResult& result) {
    switch (result.status) {
        case ReelStatus::Done: return "done";
        case ReelStatus::Cancelled: return "interrupted: nothing was written";
        case ReelStatus::NoClips: return "the list holds no action the films can play";
        case ReelStatus::InsidePackages: return "nothing is written into the disc's package folders: " + result.detail;
        case ReelStatus::DestinationNotEmpty: return "the clip folder must be new or empty: " + result.detail;
        case ReelStatus::NoDestinationFolder: return "no folder to write into at " + result.detail;
        case ReelStatus::NoH264Encoder:
            return "FFmpeg's libraries hold no H.264 encoder: install libavcodec59 with libx264 (Debian: libx264-164)";
        case ReelStatus::NoAacEncoder: return "FFmpeg's libraries hold no AAC encoder";
        case ReelStatus::NoCaptionFont: return "no font for the captions: install fonts-dejavu-core";
        case ReelStatus::CannotReadFilm: return "cannot read the film " + result.detail;
        case ReelStatus::CannotWrite: return "cannot write the reel: " + result.detail;
    }
    return "failed";
}

// A listed action as the list shows it: its row, time and set.
std::string actionName(const std::vector<CodeListRow>& rows, int listRow) {
    std::string name = "action " + std::to_string(listRow);
    if (listRow >= 1 && listRow <= static_cast<int>(rows.size())) {
        const CodeListRow& row = rows[static_cast<std::size_t>(listRow - 1)];
        name += " (" + cp1252ToUtf8(row.code) + ", " + row.time + " set " + row.set + ")";
    }
    return name;
}

std::string skipText(const SkippedRow& skipped, const std::vector<CodeListRow>& rows,
                     const std::vector<std::string>& films) {
    std::string film;
    if (skipped.listRow >= 1 && skipped.listRow <= static_cast<int>(rows.size())) film = rows[static_cast<std::size_t>(skipped.listRow - 1)].film;
    const auto filmPath = [&]() -> std::string {
        const int number = std::atoi(film.c_str());
        if (number >= 1 && number <= static_cast<int>(films.size())) return films[static_cast<std::size_t>(number - 1)];
        return "film " + film;
    };
    switch (skipped.reason) {
        case ReelSkip::NotListed: return "not in the list";
        case ReelSkip::NoSecond: return "its code has no time in its film";
        case ReelSkip::NoSuchFilm: return "the package has no film " + film;
        case ReelSkip::FilmUnreadable: return "the film cannot be read: " + filmPath();
        case ReelSkip::OutsideFilm: return "its time lies outside its film " + filmPath();
        case ReelSkip::NoLength: return "its action has no length";
    }
    return "left out";
}

}  // namespace

int runReel(const ProgramState& state, const ReelCommand& command) {
    if (command.out.empty()) throw UsageError("--out names the film or folder to write");
    const fs::path discFolder = state.folders.ProgramFolder;
    if (insidePackages(command.out, discFolder))
        throw UsageError("nothing is written into the disc's package folders: " + command.out);
    // A clip folder must be new or empty either way; only a film is replaced, and only when asked.
    if (!command.clips && !command.force && fs::exists(fs::symlink_status(command.out)))
        throw UsageError(command.out + " exists: --force replaces it");
    // A negative pre-roll would start each clip after its code, past the action it should show.
    if (command.preRoll < 0)
        throw UsageError("--pre-roll is the seconds before each code and cannot be negative: " +
                         std::to_string(command.preRoll));
    const std::vector<CodeListRow> rows = listedRows(state, command);
    const auto lengths = filmLengths(state.package.films);
    const ReelPlan plan = planReel({state.codeTable, rows, {}, lengths, state.SynthesisMode,
                                    command.preRoll, command.endOffset});
    for (const SkippedRow& skipped : plan.skippedRows)
        std::cerr << "corvane-cli: not exported: " << actionName(rows, skipped.listRow) << ": "
                  << skipText(skipped, rows, state.package.films) << '\n';
    if (plan.clips.empty()) throw UsageError("the list holds no action the films can play");

    std::function<std::string(const CodeListRow&)> caption;
    const MessageCatalogue catalogue(state.folders.SystemFolder);
    SilentBoxes boxes;
    const int language = ReadLanguageNumber(state.folders.SystemFolder);
    const Messages messages(catalogue, boxes, language);
    if (command.captions) {
        caption = [&](const CodeListRow& row) {
            return reelCaption(DescribeCode(row.code, {state.Sport, state.match, state.events, messages.MessageText(131)}),
                               row);
        };
    }
    ReelJob job{reelSources(plan, rows, state.package.films, caption), command.out,
                command.clips ? ReelOutput::ClipFolder : ReelOutput::OneFilm, discFolder};

    const ReelResult result = [&] {
        const StopSignals stopSignals;
        ProgressLine progress(::isatty(STDERR_FILENO) == 1);
        return writeReel(job, std::ref(progress), interrupted);
    }();
    if (result.status == ReelStatus::Done) {
        std::cerr << "corvane-cli: " << counted(plan.clips.size(), "clip") << " written to " << command.out << '\n';
        if (!plan.skippedRows.empty() && !command.skipMissing) {
            std::cerr << "corvane-cli: " << plan.skippedRows.size() << " of " << counted(rows.size(), "listed action")
                      << " not exported (--skip-missing to accept)\n";
            return 1;
        }
        return 0;
    }
    const std::string text = statusText(result);
    if (result.status == ReelStatus::NoDestinationFolder || result.status == ReelStatus::DestinationNotEmpty ||
        result.status == ReelStatus::InsidePackages)
        throw UsageError(text);
    std::cerr << "corvane-cli: " << text << '\n';
    return 1;
}

}  // namespace corvane::cli
