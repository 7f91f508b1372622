#include "cli/json_output.h"

#include "core/cp1252.h"

namespace corvane::cli {

using nlohmann::json;

json text(std::string_view cp1252) { return cp1252ToUtf8(cp1252); }

namespace {

template <typename Slots>
json textArray(const Slots& slots) {
    json array = json::array();
    for (const auto& slot : slots) array.push_back(text(slot));
    return array;
}

json playersJson(const TeamPlayers& team) {
    json players = json::array();
    for (int n = 1; n <= TeamPlayers::kRecords; ++n) players.push_back(textArray(team.records[static_cast<std::size_t>(n)].slots));
    return players;
}

json filmsJson(const std::vector<std::string>& films) {
    json array = json::array();
    for (const auto& film : films) array.push_back(pathToUtf8(film));
    return array;
}

}  // namespace

json packagesJson(const PackageLists& lists) {
    json matches = json::array(), syntheses = json::array();
    for (const auto& name : lists.MatchList) matches.push_back(pathToUtf8(name));
    for (const auto& name : lists.SynthesisList) syntheses.push_back(pathToUtf8(name));
    return {{"matches", std::move(matches)}, {"syntheses", std::move(syntheses)}};
}

json codesJson(const ProgramState& state) {
    json rows = json::array();
    for (int row = 1; row < state.codeTable.RowCount(); ++row) {
        json cells = json::array();
        for (int column = 0; column < CodeTable::kColumns; ++column) cells.push_back(text(state.codeTable.Cell(column, row)));
        rows.push_back(std::move(cells));
    }
    json matches = json::array();
    for (int n = 1; n <= state.match.MatchesCount; ++n)
        matches.push_back(textArray(state.match.MatchesData[static_cast<std::size_t>(n)].slots));
    return {{"sport", text(state.Sport)},
            {"synthesis", state.SynthesisMode},
            {"scout_file", pathToUtf8(state.package.scoutFile)},
            {"rows", std::move(rows)},
            {"match_info", textArray(state.match.MatchInfo)},
            {"home_players", playersJson(state.match.HomePlayers)},
            {"away_players", playersJson(state.match.AwayPlayers)},
            {"has_matches_data", state.match.HasMatchesData},
            {"matches", std::move(matches)},
            {"films", filmsJson(state.package.films)}};
}

json listRowsJson(const std::vector<CodeListRow>& rows) {
    json out = json::array();
    for (const CodeListRow& row : rows) {
        if (row.row == 0) continue;  // the list's one empty row when nothing was found
        out.push_back({{"row", row.row}, {"code", text(row.code)}, {"film", text(row.film)},
                       {"time", text(row.time)}, {"set", text(row.set)}});
    }
    return {{"rows", std::move(out)}};
}

}  // namespace corvane::cli
