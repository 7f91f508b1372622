// The event layout of Stat.txt (the other sports), read from memory as the window reads its lines,
// pruned, then a click on every sub-column of every cell of both tables.

#include "core/files.h"
#include "fuzz/fuzz_support.h"
#include "stats/event_stats.h"

namespace {

void clickEveryCell(const corvane::EventStats& stats, bool home) {
    const auto& rows = home ? stats.home : stats.opponent;
    const int columns = static_cast<int>(stats.headers.size()) + 1;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int column = 0; column < columns; ++column)
            for (int subColumn = -1; subColumn <= corvane::kMaxSubColumns; ++subColumn) {
                const corvane::EventStatsClick click{home, row, column, subColumn};
                if (!corvane::eventCellClickable(stats, click)) continue;
                for (const char* sport : {"2", "3", "A"}) {
                    corvane::AnalysisRecord record;
                    corvane::eventStatisticsSearch(stats, click, sport, record);
                }
            }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const corvane::MatchCompanions match;
    corvane::EventStats stats = corvane::readEventStats(corvane::splitTextLines(corvane::fuzz::asText(data, size)), match);
    corvane::PruneEmptySubColumns(stats);
    clickEveryCell(stats, true);
    clickEveryCell(stats, false);
    return 0;
}
