// The volleyball Stat.txt of a package, read for the statistics window with a small catalogue
// for its headers and two players on each side; then a click on every cell of the tables.

#include <string>

#include "core/messages.h"
#include "fuzz/fuzz_support.h"
#include "stats/volleyball_stats.h"

namespace {

class NoBoxes : public corvane::MessageBoxPresenter {
public:
    int ShowMessageBox(const std::string&, const std::string&, int) override { return 0; }
};

corvane::MatchCompanions twoPlayersASide() {
    corvane::MatchCompanions match;
    match.MatchInfo[15] = "Modena";
    match.MatchInfo[16] = "Rossi";
    match.MatchInfo[19] = "Treviso";
    match.MatchInfo[20] = "Verdi";
    for (corvane::TeamPlayers* team : {&match.HomePlayers, &match.AwayPlayers}) {
        team->records[1].slots[0] = "7";
        team->records[1].slots[2] = "Rossi";
        team->records[2].slots[0] = "12";
        team->records[2].slots[2] = "Bianchi";
    }
    return match;
}

const std::filesystem::path& systemFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = corvane::fuzz::PrivateFolder::instance().path() / "System";
        std::filesystem::create_directories(made);
        corvane::fuzz::writeInput(corvane::catalogueFile(made, 1),
                                  "132=Serve|Tot$Err$Ace\n133=Reception|Tot$Err$Perf\n"
                                  "134=Attack|Tot$Err$Blk$Pts$Pts%\n135=Block|Err$Pts\n");
        return made;
    }();
    return folder;
}

void clickEveryCell(const corvane::StatsTable& table, bool home) {
    for (std::size_t row = 0; row < table.rows.size(); ++row)
        for (int column = 0; column < corvane::StatsTable::kColumns; ++column)
            for (int subColumn = -1; subColumn < 4; ++subColumn) {
                corvane::StatisticsCell cell;
                cell.home = home;
                cell.totalsRow = row + 1 == table.rows.size();
                cell.firstCell = table.rows[row][0];
                cell.column = column;
                cell.subColumn = subColumn;
                if (!corvane::statisticsCellClickable(column, cell.totalsRow, false)) continue;
                corvane::AnalysisRecord record;
                corvane::statisticsSearch(cell, record);
            }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = corvane::fuzz::writeInput(
        corvane::fuzz::PrivateFolder::instance().path() / "Stat.txt", corvane::fuzz::asText(data, size));
    static const corvane::MatchCompanions match = twoPlayersASide();
    static const corvane::MessageCatalogue catalogue(systemFolder());
    static NoBoxes boxes;
    static const int language = 1;
    static const corvane::Messages messages(catalogue, boxes, language);
    const corvane::VolleyballStats stats = corvane::LoadVolleyballStats(file, match, messages);
    clickEveryCell(stats.home, true);
    clickEveryCell(stats.opponent, false);
    return 0;
}
