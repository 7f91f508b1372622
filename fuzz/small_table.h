#pragma once

// A small code table for the passes: a volleyball match of two sets with rallies of serve,
// reception, set, attack, block and dig, point codes and a set end, plus rows the input adds.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "scout/code_table.h"

namespace corvane::fuzz {

// Each extra line is "code;set;film;second;clock", fields missing as empty.
inline CodeTable smallTable(std::string_view extraLines) {
    static const char* const kRally[] = {
        "*07SM+;1;1;10", "a12RM#;1;1;12", "a05EH#;1;1;13", "a09AH+;1;1;14", "*03BH-;1;1;15",
        "*11DH+;1;1;16", "*05EH#;1;1;17", "*07AH#;1;1;18", "*p0100;1;1;20", "a12SM/;1;1;30",
        "*04RM+;1;1;31", "*05EH+;1;1;32", "*07AH#;1;1;33", "*p0200;1;1;35", "*07SM#;1;2;5",
        "*p0300;1;2;6",  "**;1;2;7",      "a12SM+;2;2;40", "*04RM#;2;2;41", "*05EH#;2;2;42",
        "*09AH=;2;2;43", "ap0001;2;2;45",
    };
    CodeTable table;
    const auto append = [&table](std::string_view line) {
        std::array<std::string_view, 5> fields{};
        std::size_t count = 0;
        for (std::size_t start = 0; count < fields.size() && start <= line.size();) {
            const std::size_t end = std::min(line.find(';', start), line.size());
            fields[count++] = line.substr(start, end - start);
            start = end + 1;
        }
        CodeTable::Cells cells{};
        cells[Code] = fields[0];
        cells[SetNo] = fields[1];
        cells[Film] = fields[2];
        cells[VideoSec] = fields[3];
        cells[Clock] = fields[4];
        table.appendRow(cells);
    };
    for (const char* line : kRally) append(line);
    for (std::size_t start = 0; start < extraLines.size();) {
        const std::size_t end = std::min(extraLines.find('\n', start), extraLines.size());
        append(extraLines.substr(start, end - start));
        start = end + 1;
    }
    return table;
}

}  // namespace corvane::fuzz
