#include "scout/code_table.h"

#include "core/text.h"

namespace corvane {

CodeTable::CodeTable() { Clear(); }

std::string_view CodeTable::Cell(int column, int row) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    const std::uint32_t begin = column == 0 ? 0 : r.ends[static_cast<std::size_t>(column - 1)];
    return std::string_view(r.text).substr(begin, r.ends[static_cast<std::size_t>(column)] - begin);
}

void CodeTable::Clear() {
    rows_.clear();
    rows_.emplace_back();
}

int CodeTable::appendRow(const Cells& cells) {
    Row row;
    std::size_t size = 0;
    for (const auto& cell : cells) size += cell.size();
    row.text.reserve(size);
    for (std::size_t column = 0; column < cells.size(); ++column) {
        row.text += cells[column];
        row.ends[column] = static_cast<std::uint32_t>(row.text.size());
    }
    rows_.push_back(std::move(row));
    return RowCount() - 1;
}

bool TeamPlayers::hasAnyPlayer() const {
    for (int n = 1; n <= kRecords; ++n)
        if (!records[static_cast<std::size_t>(n)].empty()) return true;
    return false;
}

std::string PlayerLabel(std::string_view code, const MatchCompanions& match, std::string_view /*sport*/) {
    if (code.size() < 3) return {};
    const TeamPlayers& team = code[0] == 'a' ? match.AwayPlayers : match.HomePlayers;
    const int number = textToInt(code.substr(1, 2));
    if (number == 0) return {};
    for (int n = 1; n <= TeamPlayers::kRecords; ++n) {
        const PlayerRecord& player = team.records[static_cast<std::size_t>(n)];
        if (!player.empty() && textToInt(player.slots[0]) == number)
            return player.slots[0] + " - " + player.slots[2];
    }
    return {};
}

}  // namespace corvane
