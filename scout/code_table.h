#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Columns of the code table that the program relies on by name.
enum CodeColumn : int {
    Code = 0,
    Clock = 7,
    SetNo = 8,
    Film = 11,
    VideoSec = 12,
    Score = 14,
};

// A package's codes: row 0 is the header row and holds no data, code rows are 1..N in file
// order, each of 15 text cells (Windows-1252 bytes). The cells' texts lie one row after another
// in large blocks and every row keeps where its cells end, so a table of a million rows costs
// no allocation per row.
class CodeTable {
public:
    static constexpr int kColumns = 15;
    using Cells = std::array<std::string_view, kColumns>;

    CodeTable();
    CodeTable(const CodeTable& other);
    CodeTable& operator=(const CodeTable& other);
    CodeTable(CodeTable&& other) noexcept;
    CodeTable& operator=(CodeTable&& other) noexcept;
    ~CodeTable();

    // Row count including the header row: 1 for an empty table.
    int RowCount() const { return static_cast<int>(rowCount_); }
    int codeRowCount() const { return RowCount() - 1; }

    // The cell's text; empty for a column or row outside the table.
    std::string_view Cell(int column, int row) const;

    // Leaves the header row only.
    void Clear();
    // Appends the next code row; returns its number. A row's cells hold at most 65535
    // characters together; a longer row keeps that many.
    int appendRow(const Cells& cells);

private:
    struct Row {
        const char* text = nullptr;
        std::array<std::uint16_t, kColumns> ends{};
    };
    struct Storage;

    const Row& rowAt(std::size_t row) const;
    char* reserveText(std::size_t size);

    std::unique_ptr<Storage> storage_;
    std::size_t rowCount_ = 1;
};

// One player of a team: 24 text slots; slot 0 the shirt number, slot 2 the name.
struct PlayerRecord {
    static constexpr int kSlots = 24;
    std::array<std::string, kSlots> slots;
    bool empty() const { return slots[0].empty(); }
};

// Records 1..99; index 0 is unused so record numbers read as in the files.
struct TeamPlayers {
    static constexpr int kRecords = 99;
    std::array<PlayerRecord, kRecords + 1> records;
    void Clear() { records = {}; }
    bool hasAnyPlayer() const;
};

struct MatchRecord {
    static constexpr int kSlots = 9;
    std::array<std::string, kSlots> slots;
};

// Everything a scout reader fills, besides the table itself.
struct MatchCompanions {
    static constexpr int kMatchInfoSlots = 62;
    static constexpr int kMaxMatches = 50;

    std::array<std::string, kMatchInfoSlots> MatchInfo;
    TeamPlayers HomePlayers;
    TeamPlayers AwayPlayers;
    std::array<MatchRecord, kMaxMatches + 1> MatchesData;  // 1..MatchesCount
    int MatchesCount = 0;
    bool HasMatchesData = false;

    void clearMatchInfo() { MatchInfo = {}; }
};

// Skill letters in skill order: set 2 serves the searches and statistics; set 1, with "&", is
// the code list's test for action codes.
inline constexpr std::string_view kSkillLettersSet2 = "SRABDEF";
inline constexpr std::string_view kSkillLettersSet1 = "BRSMDAF";
inline constexpr std::string_view kActionLetters = "BRSMDAF&";
inline constexpr std::string_view kEvaluationSymbols = "=/-!+#";

// Shirt number, " - " and name of the player of a code, or empty. For volleyball the team is
// position 1 and the number positions 2-3, as the code description reads them.
std::string PlayerLabel(std::string_view code, const MatchCompanions& match, std::string_view sport);

}  // namespace corvane
