#include "stats/volleyball_stats.h"

#include <optional>

#include "core/cp1252.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/text.h"

namespace corvane {

namespace {

enum class Section { None, Header, Home, Opponent };

std::optional<Section> sectionOf(const std::string& line) {
    const std::string text = asciiLower(trimBlanks(line));
    if (text.rfind("[testata]", 0) == 0) return Section::Header;
    if (text.rfind("[home]", 0) == 0) return Section::Home;
    if (text.rfind("[opponent]", 0) == 0) return Section::Opponent;
    return std::nullopt;
}

std::string joined(const std::vector<std::string>& fields, std::size_t first, std::size_t count) {
    std::string text;
    for (std::size_t i = first; i < first + count; ++i) text += (i > first ? ";" : "") + fields[i];
    return text;
}

std::string headerOfKey(const std::string& key, const Messages& messages) {
    const int number = key == "f_b" ? 132 : key == "f_r" ? 133 : key == "f_s" ? 134 : key == "f_m" ? 135 : 0;
    return number ? messages.MessageText(number) : std::string();
}

// Returns false when the line has too few fields: the reading ends there.
bool readDataLine(Section section, const std::string& line, VolleyballStats& stats, const MatchCompanions& match,
                  const Messages& messages) {
    const auto fields = statisticsFields(line);
    if (section == Section::Header) {
        if (fields.size() < 4) return false;
        for (StatsTable* table : {&stats.home, &stats.opponent}) {
            for (std::size_t column = 2; column <= 5; ++column)
                table->headers[column] = headerOfKey(fields[column - 2], messages);
            table->headers[1] = "|1$2$3$4$5$";
        }
        stats.home.headers[0] = cp1252ToUtf8(match.MatchInfo[15] + "|" + match.MatchInfo[16]);
        stats.opponent.headers[0] = cp1252ToUtf8(match.MatchInfo[19] + "|" + match.MatchInfo[20]);
        return true;
    }
    if (fields.size() < 20) return false;
    StatsTable& table = section == Section::Home ? stats.home : stats.opponent;
    table.rows.push_back({fields[0] + "-" + fields[1], joined(fields, 2, 5), joined(fields, 7, 3),
                          joined(fields, 10, 3), joined(fields, 13, 5), joined(fields, 18, 2)});
    return true;
}

}  // namespace

std::vector<std::string> statisticsFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = line.find(';'); at != std::string::npos; at = line.find(';', start)) {
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

VolleyballStats LoadVolleyballStats(const std::filesystem::path& file, const MatchCompanions& match,
                                    const Messages& messages) {
    VolleyballStats stats;
    Section section = Section::None;
    const auto lines = readTextLines(file);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.find('[') != std::string::npos && line.find(']') != std::string::npos) {
            if (const auto found = sectionOf(line)) section = *found;
            // The line after a section line is data of the section, whatever it holds.
            if (++n >= lines.size()) break;
            if (section != Section::None && !readDataLine(section, lines[n], stats, match, messages)) break;
            continue;
        }
        if (section == Section::None) continue;
        if (!readDataLine(section, line, stats, match, messages)) break;
    }
    return stats;
}

bool statisticsCellClickable(int column, bool totalsRow, bool synthesisMode) {
    if (synthesisMode || column == 1 || column < 0 || column >= StatsTable::kColumns) return false;
    return !(column == 0 && totalsRow);
}

void statisticsSearch(const StatisticsCell& cell, AnalysisRecord& record) {
    record.Clear();
    record[AnalysisRecord::team] = cell.home ? "0" : "1";
    std::string player = "~~";
    if (!cell.totalsRow) {
        const int number = leadingInteger(cell.firstCell.substr(0, 2));
        player = PadText(false, 2, std::to_string(number), '0');
    }
    std::string skill = "~~";
    std::string evaluation = "~";
    std::string clause;
    if (cell.column >= 2 && cell.column <= 5) {
        skill = std::string(1, kStatisticsSkills[cell.column - 2]);
        static const char* const kEvaluations[4][5] = {{"~", "=", "#", nullptr, nullptr},
                                                       {"~", "~", "#", nullptr, nullptr},
                                                       {"~", "=", "/", "#", "#"},
                                                       {"=", "#", nullptr, nullptr, nullptr}};
        if (cell.subColumn >= 0 && cell.subColumn < 5) {
            if (const char* symbol = kEvaluations[cell.column - 2][cell.subColumn]) evaluation = symbol;
        }
        if (cell.column == 3 && cell.subColumn == 1) clause = "OR[~~~~~=,5][~~~~~/,5]";
    }
    const std::string code = std::string(cell.home ? "*" : "a") + player + skill + "~" + evaluation + "~~~";
    record[AnalysisRecord::main_code] = code;
    record[AnalysisRecord::adv_codes] = clause;
    record[AnalysisRecord::seconds_prev] = "0";
    record[AnalysisRecord::play_end_rally] = "1";
}

}  // namespace corvane
