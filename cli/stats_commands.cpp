#include "cli/stats_commands.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "cli/disc_reader.h"
#include "cli/json_output.h"
#include "codes/code_passes.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/sport.h"
#include "core/text.h"
#include "stats/event_stats.h"
#include "stats/stat_generator.h"
#include "stats/volleyball_stats.h"

namespace corvane::cli {

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

class SilentBoxes : public MessageBoxPresenter {
public:
    int ShowMessageBox(const std::string&, const std::string&, int) override { return kMessageBoxOkPressed; }
};

std::string withTildes(std::string code) {
    for (char& c : code)
        if (c == ' ') c = '~';
    return code;
}

// What a search lists with an empty set filter, as code-table rows.
json listedRows(const ProgramState& state, const AnalysisRecord& record) {
    const auto rows = FillCodeList(state.codeTable, record[AnalysisRecord::main_code], {}, record,
                                   PassContext{state.Sport, state.SynthesisMode, state.LanguageNumber});
    json numbers = json::array();
    for (const CodeListRow& row : rows)
        if (row.row != 0) numbers.push_back(row.row);
    return numbers;
}

json clickJson(const ProgramState& state, std::string_view shown, int subColumn, const AnalysisRecord& record) {
    return {{"subColumn", subColumn},
            {"text", text(shown)},
            {"search", text(withTildes(record[AnalysisRecord::main_code]))},
            {"advanced", text(record[AnalysisRecord::adv_codes])},
            {"rows", listedRows(state, record)}};
}

json eventTableJson(const ProgramState& state, const EventStats& stats, bool home) {
    const auto& rows = home ? stats.home : stats.opponent;
    json headers = json::array({text(home ? stats.homeTitle : stats.opponentTitle)});
    for (const std::string& header : stats.headers) headers.push_back(text(header));
    json outRows = json::array();
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const EventStatsRow& data = rows[static_cast<std::size_t>(row)];
        json cells = json::array({text(data.player)});
        json clicks = json::array();
        for (int column = 0; column <= static_cast<int>(stats.headers.size()); ++column) {
            // A line that stopped early leaves its last columns without a cell.
            const auto index = static_cast<std::size_t>(column - 1);
            const std::string cell = column == 0 ? data.player : index < data.cells.size() ? data.cells[index] : "";
            if (column > 0) cells.push_back(text(cell));
            const auto values = column == 0 ? std::vector<std::string>{cell} : cellValues(cell);
            // A cell without values is clicked off every sub-column: the event with every effect.
            const bool whole = column == 0 || values.empty();
            for (int sub = whole ? -1 : 0; sub < (whole ? 0 : static_cast<int>(values.size())); ++sub) {
                AnalysisRecord record;
                if (!eventStatisticsSearch(stats, {home, row, column, sub}, state.Sport, record)) continue;
                const std::string shown = values.empty() ? std::string() : values[static_cast<std::size_t>(std::max(sub, 0))];
                json click = clickJson(state, shown, sub, record);
                click["column"] = column;
                clicks.push_back(std::move(click));
            }
        }
        outRows.push_back({{"cells", std::move(cells)}, {"clicks", std::move(clicks)}});
    }
    return {{"side", home ? "home" : "opponent"}, {"headers", std::move(headers)}, {"rows", std::move(outRows)}};
}

json volleyballTableJson(const ProgramState& state, const StatsTable& table, bool home) {
    json headers = json::array();
    for (const std::string& header : table.headers) headers.push_back(header);  // already UTF-8
    json outRows = json::array();
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const bool totals = row + 1 == table.rows.size();
        json cells = json::array();
        json clicks = json::array();
        for (int column = 0; column < StatsTable::kColumns; ++column) {
            const std::string& cell = table.rows[row][static_cast<std::size_t>(column)];
            cells.push_back(text(cell));
            if (!statisticsCellClickable(column, totals, state.SynthesisMode)) continue;
            const auto values = column == 0 ? std::vector<std::string>{cell} : SplitText(cell, ';');
            for (int sub = column == 0 ? -1 : 0; sub < (column == 0 ? 0 : static_cast<int>(values.size())); ++sub) {
                AnalysisRecord record;
                statisticsSearch({home, totals, table.rows[row][0], column, sub}, record);
                json click = clickJson(state, values[static_cast<std::size_t>(std::max(sub, 0))], sub, record);
                click["column"] = column;
                clicks.push_back(std::move(click));
            }
        }
        outRows.push_back({{"cells", std::move(cells)}, {"clicks", std::move(clicks)}});
    }
    return {{"side", home ? "home" : "opponent"}, {"headers", std::move(headers)}, {"rows", std::move(outRows)}};
}

bool inside(const fs::path& file, const fs::path& folder) {
    const fs::path a = fs::weakly_canonical(file);
    const fs::path b = fs::weakly_canonical(folder);
    auto [end, ignored] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return end == b.end();
}

// A fresh folder for the record when no --out names one, removed with whatever it holds when the
// command ends, however it ends: the figures are printed, the record is only the generator's.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string folder = (fs::temp_directory_path() / "corvane-statext-XXXXXX").string();
        if (!mkdtemp(folder.data())) throw UsageError("no temporary folder can be made");
        path_ = folder;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

json statsJson(const ProgramState& state) {
    if (!fileExists(state.package.statisticsFile)) throw UsageError("the package has no Stat.txt");
    if (state.sport() == SportKind::Volleyball) {
        const MessageCatalogue catalogue(state.folders.SystemFolder);
        SilentBoxes boxes;
        const int language = ReadLanguageNumber(state.folders.SystemFolder);
        const Messages messages(catalogue, boxes, language);
        const auto stats = LoadVolleyballStats(state.package.statisticsFile, state.match, messages);
        return {{"layout", "volleyball"},
                {"tables", json::array({volleyballTableJson(state, stats.home, true),
                                        volleyballTableJson(state, stats.opponent, false)})}};
    }
    auto stats = LoadEventStats(state.package.statisticsFile, state.match);
    PruneEmptySubColumns(stats);
    json events = json::array();
    for (const std::string& event : stats.eventsWithExtensions) events.push_back(text(event));
    return {{"layout", "event"},
            {"compact", stats.compact},
            {"problem", stats.problem},
            {"eventsWithExtensions", std::move(events)},
            {"tables", json::array({eventTableJson(state, stats, true), eventTableJson(state, stats, false)})}};
}

json statextJson(const ProgramState& state, const Platform& platform, const std::string& typedPattern,
                 const fs::path& out) {
    const fs::path packages = fs::path(state.folders.ProgramFolder) / "Tlx_Video";
    if (!out.empty() && inside(out, packages)) throw UsageError("the output file may not lie inside a package");
    std::optional<ScratchFolder> scratch;
    if (out.empty()) scratch.emplace();
    const fs::path file = scratch ? scratch->path() / "StatExt.txt" : out;
    const std::string pattern = utf8ToCp1252(typedPattern);
    const auto outcome = GeneraStatEstensioni(state.Sport, state.package.scoutFile, file.string(),
                                              resolveInFolder(state.package.folder, "Eventi.txt").string(), pattern,
                                              platform);
    if (!outcome.stats) throw UsageError("no extension statistics: " + describe(outcome.problem));
    if (!outcome.written) throw UsageError("the extension statistics file: " + describe(outcome.problem));
    const auto& stats = outcome.stats;
    std::string windowPattern = pattern;
    windowPattern.resize(kExtensionPatternLength, ' ');
    for (char& c : windowPattern)
        if (c == '~') c = ' ';

    const auto labels = extensionLabels(*stats);
    json labelsOut = json::array();
    for (const std::string& label : labels) labelsOut.push_back(text(label));
    json rows = json::array();
    for (int row = 1; row < static_cast<int>(stats->rows.size()); ++row) {
        const ExtensionRow& data = stats->rows[static_cast<std::size_t>(row)];
        const auto values = SplitText(data.values, ';');
        json clicks = json::array();
        for (int label = kClickOnCode; label < static_cast<int>(labels.size()); ++label) {
            if (label == -1) continue;
            AnalysisRecord record;
            record[AnalysisRecord::main_code] = extensionClickPattern(windowPattern, *stats, row, label);
            const std::string shown = label < 0 ? data.code
                                      : static_cast<std::size_t>(label) < values.size() ? values[static_cast<std::size_t>(label)]
                                                                                        : std::string();
            json click = clickJson(state, shown, label, record);
            click.erase("subColumn");
            click["label"] = label < 0 ? json("code") : json(label);
            clicks.push_back(std::move(click));
        }
        rows.push_back({{"code", text(data.code)},
                        {"text", text(extensionRowText(windowPattern, data.code, state.events, state.Sport))},
                        {"values", text(data.values)},
                        {"deeper", stats->opensDeeperLevel(data.code)},
                        {"clicks", std::move(clicks)}});
    }
    return {{"file", scratch ? json(nullptr) : json(file.string())},
            {"pattern", text(withTildes(windowPattern))},
            {"labels", std::move(labelsOut)},
            {"rows", std::move(rows)}};
}

}  // namespace corvane::cli
