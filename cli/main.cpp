#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/disc_reader.h"
#include "cli/json_output.h"
#include "cli/reel_command.h"
#include "cli/stats_commands.h"
#include "codes/analyses_file.h"
#include "codes/code_passes.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "scout/line_cipher.h"

using namespace corvane;
using namespace corvane::cli;

namespace {

PassContext passContext(const ProgramState& state) {
    return {state.Sport, state.SynthesisMode, state.LanguageNumber};
}

// Search codes and expressions come typed as UTF-8; the table holds Windows-1252.
std::string fromArgument(const std::string& text) { return utf8ToCp1252(text); }

void printJson(const nlohmann::json& value) { std::cout << value.dump(2) << '\n'; }

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Corvane System Player companion: prints what the player reads from a disc, as JSON."};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("corvane-cli ") + CORVANE_VERSION);

    std::string disc, name, file, code, adv, sets;
    bool synthesis = false;
    int index = 0;

    const auto discAndName = [&](CLI::App* command) {
        command->add_option("DISC", disc, "disc folder (holds Tlx_Video and System)")->required();
        command->add_option("NAME", name, "package name as listed")->required();
        command->add_flag("--synthesis", synthesis, "NAME is a synthesis (listed without its syn_ prefix)");
    };

    CLI::App* packages = app.add_subcommand("packages", "the disc's match and synthesis packages");
    packages->add_option("DISC", disc, "disc folder")->required();
    CLI::App* codes = app.add_subcommand("codes", "a package's code table and match data");
    discAndName(codes);
    CLI::App* search = app.add_subcommand("search", "the codes a search code and advanced codes select");
    discAndName(search);
    search->add_option("--code", code, "search code, \"~\" or blank for any character");
    search->add_option("--adv", adv, "advanced-codes expression");
    search->add_option("--sets", sets, "set filter, e.g. \"1;3;\"");
    CLI::App* analysis = app.add_subcommand("analysis", "the codes of one analysis of a synthesis");
    discAndName(analysis);
    analysis->add_option("--index", index, "analysis number, from 0 in the order of Analisi.ini")->required();
    analysis->add_option("--sets", sets, "set filter");
    CLI::App* analyses = app.add_subcommand("analyses", "the analyses of a package as the lists show them");
    discAndName(analyses);
    CLI::App* stats = app.add_subcommand("stats", "a package's statistics and the search behind every figure");
    discAndName(stats);
    std::string pattern, out;
    CLI::App* statext = app.add_subcommand("statext", "extension statistics of a pattern, with every click's search");
    discAndName(statext);
    statext->add_option("--pattern", pattern, "13-character extension pattern, \"~\" for open positions")->required();
    statext->add_option("--out", out, "file to write (default: a new temporary folder)");
    ReelCommand reelCommand;
    int reelAnalysis = -1;
    CLI::App* reel = app.add_subcommand("reel", "a film (or a folder of clips) of the actions a search lists");
    discAndName(reel);
    reel->add_option("--code", reelCommand.code, "search code, \"~\" or blank for any character");
    reel->add_option("--adv", reelCommand.adv, "advanced-codes expression");
    reel->add_option("--sets", reelCommand.sets, "set filter, e.g. \"1;3;\"");
    CLI::Option* reelAnalysisOption =
        reel->add_option("--analysis", reelAnalysis, "an analysis of Analisi.ini (from 0) instead of a search");
    reel->add_option("--out", reelCommand.out, "the .mp4 film to write, or with --clips a new folder")->required();
    reel->add_flag("--clips", reelCommand.clips, "one numbered film a clip in the folder --out");
    reel->add_flag("--force", reelCommand.force, "replace the film --out when it exists");
    reel->add_flag("--captions", reelCommand.captions, "the code in words, its time and set over each action's start");
    reel->add_option("--pre-roll", reelCommand.preRoll, "seconds before each code, 0 or more (2)")->check(CLI::Range(-3600, 3600));
    reel->add_option("--end-offset", reelCommand.endOffset, "seconds before each rally's end (0)")
        ->check(CLI::Range(-3600, 3600));
    reel->add_flag("--skip-missing", reelCommand.skipMissing,
                   "exit 0 even when listed actions are left out (each is still told on standard error)");
    CLI::App* decipher = app.add_subcommand("decipher", "the plain lines of a scout file, deciphered when enciphered");
    decipher->add_option("FILE", file, "scout file")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }

    try {
        const SystemPlatform platform;
        if (*decipher) {
            if (!fileExists(file)) throw UsageError("no file at " + file);
            const auto lines = PlainScoutLines(file);
            if (!lines) throw UsageError("cannot read " + file);
            for (const std::string& line : *lines) std::cout << cp1252ToUtf8(line) << '\n';
            return 0;
        }
        DiscReader reader(platform, disc);
        if (*packages) {
            printJson(packagesJson(reader.packages()));
            return 0;
        }
        const ProgramState& state = reader.open(name, synthesis);
        if (*codes) {
            printJson(codesJson(state));
        } else if (*stats) {
            printJson(statsJson(state));
        } else if (*statext) {
            printJson(statextJson(state, platform, pattern, out));
        } else if (*reel) {
            if (*reelAnalysisOption) reelCommand.analysis = reelAnalysis;
            return runReel(state, reelCommand);
        } else if (*search) {
            AnalysisRecord record;
            record[AnalysisRecord::adv_codes] = fromArgument(adv);
            printJson(listRowsJson(FillCodeList(state.codeTable, fromArgument(code), sets, record, passContext(state))));
        } else if (*analysis || *analyses) {
            const auto analysisFile = analysesFilePath(state.package.folder);
            AnalysisRecord record;
            const auto entries = ListAnalyses(analysisFile, state.codeTable, passContext(state), record);
            if (!entries) throw UsageError("the package " + name + " has no Analisi.ini");
            if (*analyses) {
                nlohmann::json out = nlohmann::json::array();
                for (const AnalysisEntry& entry : *entries)
                    out.push_back({{"name", text(entry.name)}, {"tipo", text(entry.tipo)}, {"hidden", entry.hidden}});
                printJson(out);
            } else {
                if (index < 0 || index >= static_cast<int>(entries->size()))
                    throw UsageError("the package has no analysis " + std::to_string(index));
                ReadAnalysis(analysisFile, (*entries)[static_cast<std::size_t>(index)].name, record);
                printJson(listRowsJson(ApplyAnalysis(state.codeTable, index, sets, record, passContext(state))));
            }
        }
        return 0;
    } catch (const UsageError& error) {
        std::cerr << "corvane-cli: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "corvane-cli: " << error.what() << '\n';
        return 2;
    }
}
