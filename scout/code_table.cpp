#include "scout/code_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/text.h"
#include "scout/table_memory.h"

namespace corvane {

namespace {
constexpr std::size_t kTextBlockSize = std::size_t{4} << 20;
constexpr std::size_t kRowsPerBlock = std::size_t{1} << 16;
constexpr std::size_t kMaxRowText = 0xFFFF;
}  // namespace

// The blocks stay with the table when it is emptied, so refilling it (the next package) writes
// into memory that is already there.
namespace {

// Cells are a few characters long: word-sized copies beat a call to memcpy for each.
inline void copyShort(char* to, const char* from, std::size_t length) {
    for (; length >= 8; length -= 8, to += 8, from += 8) std::memcpy(to, from, 8);
    if (length >= 4) {
        std::memcpy(to, from, 4);
        to += 4, from += 4, length -= 4;
    }
    for (; length > 0; --length) *to++ = *from++;
}

// The first blocks hold a match many times over; only a table that outgrows them takes huge pages.
BlockPages pagesOfBlock(std::size_t blocksBefore) { return blocksBefore == 0 ? BlockPages::Ordinary : BlockPages::Huge; }

}  // namespace

struct CodeTable::Storage {
    std::vector<LargeBlock> rowBlocks;
    std::vector<LargeBlock> textBlocks;
    std::size_t textBlock = 0;  // the block being filled
    std::size_t textUsed = 0;
};

CodeTable::CodeTable() : storage_(std::make_unique<Storage>()) {}

CodeTable::~CodeTable() = default;

CodeTable::CodeTable(const CodeTable& other) : CodeTable() { *this = other; }

CodeTable& CodeTable::operator=(const CodeTable& other) {
    if (this == &other) return *this;
    Clear();
    Cells cells;
    for (int row = 1; row < other.RowCount(); ++row) {
        for (int column = 0; column < kColumns; ++column) cells[static_cast<std::size_t>(column)] = other.Cell(column, row);
        appendRow(cells);
    }
    return *this;
}

CodeTable::CodeTable(CodeTable&& other) noexcept
    : storage_(std::move(other.storage_)), rowCount_(std::exchange(other.rowCount_, 1)) {}

CodeTable& CodeTable::operator=(CodeTable&& other) noexcept {
    storage_ = std::move(other.storage_);
    rowCount_ = std::exchange(other.rowCount_, 1);
    return *this;
}

const CodeTable::Row& CodeTable::rowAt(std::size_t row) const {
    const auto* rows = static_cast<const Row*>(storage_->rowBlocks[row / kRowsPerBlock].get());
    return rows[row % kRowsPerBlock];
}

std::string_view CodeTable::Cell(int column, int row) const {
    if (row < 1 || row >= RowCount() || column < 0 || column >= kColumns) return {};
    const Row& r = rowAt(static_cast<std::size_t>(row));
    const std::uint16_t begin = column == 0 ? 0 : r.ends[static_cast<std::size_t>(column - 1)];
    return {r.text + begin, static_cast<std::size_t>(r.ends[static_cast<std::size_t>(column)] - begin)};
}

void CodeTable::Clear() {
    if (!storage_) storage_ = std::make_unique<Storage>();
    storage_->textBlock = 0;
    storage_->textUsed = 0;
    rowCount_ = 1;
}

char* CodeTable::reserveText(std::size_t size) {
    Storage& storage = *storage_;
    if (storage.textBlocks.empty()) storage.textBlocks.push_back(allocateLargeBlock(kTextBlockSize, pagesOfBlock(0)));
    if (storage.textUsed + size > kTextBlockSize) {
        if (++storage.textBlock == storage.textBlocks.size())
            storage.textBlocks.push_back(allocateLargeBlock(kTextBlockSize, pagesOfBlock(storage.textBlocks.size())));
        storage.textUsed = 0;
    }
    char* text = static_cast<char*>(storage.textBlocks[storage.textBlock].get()) + storage.textUsed;
    storage.textUsed += size;
    return text;
}

int CodeTable::appendRow(const Cells& cells) {
    if (!storage_) storage_ = std::make_unique<Storage>();
    std::size_t size = 0;
    for (const auto& cell : cells) size += cell.size();
    size = std::min(size, kMaxRowText);

    const std::size_t block = rowCount_ / kRowsPerBlock;
    if (block == storage_->rowBlocks.size())
        storage_->rowBlocks.push_back(
            allocateLargeBlock(kRowsPerBlock * sizeof(Row), pagesOfBlock(storage_->rowBlocks.size())));
    Row& row = static_cast<Row*>(storage_->rowBlocks[block].get())[rowCount_ % kRowsPerBlock];
    char* text = reserveText(size);
    row.text = text;
    std::size_t used = 0;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const std::size_t length = std::min(cells[column].size(), size - used);
        copyShort(text + used, cells[column].data(), length);
        used += length;
        row.ends[column] = static_cast<std::uint16_t>(used);
    }
    return static_cast<int>(rowCount_++);
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
