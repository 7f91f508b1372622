#pragma once

#include <string>
#include <utility>
#include <vector>

#include "codes/code_passes.h"
#include "scout/code_table.h"

namespace corvane::testing {

// One code row as a test writes it; the other columns stay empty.
struct CodeLine {
    CodeLine(std::string code, std::string set = "1", std::string film = "1", std::string second = "",
             std::string clock = "")
        : code(std::move(code)),
          set(std::move(set)),
          film(std::move(film)),
          second(std::move(second)),
          clock(std::move(clock)) {}

    std::string code;
    std::string set;
    std::string film;
    std::string second;  // VideoSec: empty gives the row number times ten, "-" no time
    std::string clock;
};

inline CodeTable tableOf(const std::vector<CodeLine>& lines) {
    CodeTable table;
    int row = 1;
    for (const CodeLine& line : lines) {
        const std::string second = line.second.empty() ? std::to_string(row * 10) : line.second;
        CodeTable::Cells cells{};
        cells[Code] = line.code;
        cells[Clock] = line.clock;
        cells[SetNo] = line.set;
        cells[Film] = line.film;
        cells[VideoSec] = line.second == "-" ? std::string_view() : std::string_view(second);
        table.appendRow(cells);
        ++row;
    }
    return table;
}

inline CodeTable tableOfCodes(const std::vector<std::string>& codes) {
    std::vector<CodeLine> lines;
    for (const std::string& code : codes) lines.push_back({code});
    return tableOf(lines);
}

inline std::vector<int> rowNumbers(const std::vector<CodeListRow>& rows) {
    std::vector<int> numbers;
    for (const CodeListRow& row : rows) numbers.push_back(row.row);
    return numbers;
}

// A volleyball match of two sets: serve, reception, set and attack rallies with a block and a
// dig, point codes and a set end.
inline CodeTable rallyTable() {
    return tableOf({
        {"*07SM+"},       // 1  home serve
        {"a12RM#"},       // 2  away reception
        {"a05EH#"},       // 3  away set
        {"a09AH+"},       // 4  away attack after its reception
        {"*03BH-"},       // 5  home block
        {"*11DH+"},       // 6  home dig
        {"*05EH#"},       // 7  home set
        {"*07AH#"},       // 8  home attack after a dig
        {"*p0100"},       // 9  point home
        {"a12SM/"},       // 10 away serve
        {"*04RM+"},       // 11 home reception
        {"*05EH+"},       // 12 home set
        {"*07AH#"},       // 13 home attack after its reception
        {"*p0200"},       // 14
        {"*07SM#"},       // 15 home ace
        {"*p0300"},       // 16
        {"**"},           // 17 set end
        {"a12SM+", "2"},  // 18
        {"*04RM#", "2"},  // 19
        {"*05EH#", "2"},  // 20
        {"*09AH=", "2"},  // 21 home attack after its reception, first rally of set 2
        {"ap0001", "2"},  // 22
    });
}

// A match whose home side has two players (so names carry the team's short name) and whose
// visiting side has one: Rossi 7, Bianchi 9 of "Pallavolo Modena"; Verdi 12 of "Treviso".
inline MatchCompanions describedPlayers() {
    MatchCompanions match;
    match.MatchInfo[15] = "Pallavolo Modena";
    match.MatchInfo[19] = "Treviso";
    match.HomePlayers.records[1].slots[0] = "7";
    match.HomePlayers.records[1].slots[2] = "Rossi";
    match.HomePlayers.records[2].slots[0] = "9";
    match.HomePlayers.records[2].slots[2] = "Bianchi";
    match.AwayPlayers.records[1].slots[0] = "12";
    match.AwayPlayers.records[1].slots[2] = "Verdi";
    return match;
}

}  // namespace corvane::testing
