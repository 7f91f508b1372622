#include "stats/event_stats.h"

#include <algorithm>
#include <system_error>

#include "core/files.h"
#include "core/sport.h"
#include "core/text.h"
#include "stats/volleyball_stats.h"

namespace corvane {

namespace {

enum class Section { None, Header, Home, Opponent, WithExtensions };

std::optional<Section> sectionOf(const std::string& line) {
    const std::string text = asciiLower(trimBlanks(line));
    if (text.rfind("[testata]", 0) == 0) return Section::Header;
    if (text.rfind("[home]", 0) == 0) return Section::Home;
    if (text.rfind("[opponent]", 0) == 0) return Section::Opponent;
    if (text.rfind("[eventswithext]", 0) == 0) return Section::WithExtensions;
    return std::nullopt;
}

bool isSectionLine(const std::string& line) {
    return line.find('[') != std::string::npos && line.find(']') != std::string::npos;
}

// How many values a column takes: the "$"-separated pieces of its whole header.
std::size_t pieceCount(std::string_view header) {
    return static_cast<std::size_t>(std::count(header.begin(), header.end(), '$')) + 1;
}

std::string joinedValues(const std::vector<std::string>& values) {
    std::string cell;
    for (const std::string& value : values) cell += value + ";";
    return cell;
}

class EventStatsReader {
public:
    EventStatsReader(EventStats& stats, const MatchCompanions& match) : stats_(stats), match_(match) {}

    // False when the reading ends at this line.
    bool readDataLine(Section section, const std::string& line) {
        const auto fields = statisticsFields(line);
        switch (section) {
            case Section::None: return true;
            case Section::Header: return readHeader(fields);
            case Section::WithExtensions:
                for (const std::string& field : fields) {
                    if (stats_.eventsWithExtensions.size() >= kMaxEventColumns) break;
                    stats_.eventsWithExtensions.push_back(field);
                }
                return true;
            case Section::Home: return readRow(fields, stats_.home);
            case Section::Opponent: return readRow(fields, stats_.opponent);
        }
        return true;
    }

private:
    bool readHeader(const std::vector<std::string>& fields) {
        stats_.homeTitle = match_.MatchInfo[15] + "|" + match_.MatchInfo[16];
        stats_.opponentTitle = match_.MatchInfo[19] + "|" + match_.MatchInfo[20];
        if (fields.size() > kMaxEventColumns)
            return stop("the header names more than " + std::to_string(kMaxEventColumns) + " columns");
        for (const std::string& header : fields)
            if (pieceCount(header) > kMaxSubColumns)
                return stop("the column \"" + header + "\" has more than " + std::to_string(kMaxSubColumns) +
                            " sub-columns");
        stats_.headers = fields;
        for (auto* rows : {&stats_.home, &stats_.opponent})
            for (EventStatsRow& row : *rows) row.cells.resize(fields.size());
        return true;
    }

    bool readRow(const std::vector<std::string>& fields, std::vector<EventStatsRow>& rows) {
        if (fields.size() < 2) return stop("a line ends inside the player column");
        if (rows.size() >= kMaxStatsRows)
            return stop("a side has more than " + std::to_string(kMaxStatsRows) + " rows");
        EventStatsRow row{fields[0] + "-" + fields[1], std::vector<std::string>(stats_.headers.size())};
        std::size_t next = 2;
        for (std::size_t column = 0; column < stats_.headers.size() && next < fields.size(); ++column) {
            const std::size_t count = pieceCount(stats_.headers[column]);
            if (next + count > fields.size()) {
                rows.push_back(std::move(row));  // the row read so far stays
                return stop("a line ends inside the column \"" + stats_.headers[column] + "\"");
            }
            row.cells[column] = joinedValues({fields.begin() + static_cast<std::ptrdiff_t>(next),
                                              fields.begin() + static_cast<std::ptrdiff_t>(next + count)});
            next += count;
        }
        rows.push_back(std::move(row));
        return true;
    }

    bool stop(std::string reason) {
        stats_.problem = std::move(reason);
        return false;
    }

    EventStats& stats_;
    const MatchCompanions& match_;
};

}  // namespace

std::string headerEvent(std::string_view header) {
    const std::size_t bar = header.find('|');
    return bar == std::string_view::npos ? std::string() : std::string(header.substr(0, bar));
}

std::vector<std::string> headerLabels(std::string_view header) {
    const std::size_t bar = header.find('|');
    if (bar == std::string_view::npos) return {};
    std::vector<std::string> labels;
    std::string_view rest = header.substr(bar + 1);
    for (std::size_t at = rest.find('$'); at != std::string_view::npos; at = rest.find('$')) {
        labels.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    labels.emplace_back(rest);
    return labels;
}

std::vector<std::string> cellValues(std::string_view cell) { return SplitText(cell, ';'); }

EventStats readEventStats(const std::vector<std::string>& lines, const MatchCompanions& match) {
    EventStats stats;
    EventStatsReader reader(stats, match);
    Section section = Section::None;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (isSectionLine(lines[n])) {
            if (const auto found = sectionOf(lines[n])) section = *found;
            // The line after a section line is data of the section, whatever it holds.
            if (++n >= lines.size()) break;
        }
        if (!reader.readDataLine(section, lines[n])) break;
    }
    if (stats.home.size() <= 1 && stats.opponent.size() <= 1) {
        stats.compact = true;
        stats.homeTitle.clear();
        stats.opponentTitle.clear();
    }
    return stats;
}

EventStats LoadEventStats(const std::filesystem::path& file, const MatchCompanions& match) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxStatsFileBytes) {
        EventStats stats;
        stats.problem = "the file is larger than " + std::to_string(kMaxStatsFileBytes >> 20) + " MiB";
        return stats;
    }
    return readEventStats(readTextLines(file), match);
}

void PruneEmptySubColumns(EventStats& stats) {
    const auto blankEverywhere = [&](std::size_t column, std::size_t label) {
        for (const auto* rows : {&stats.home, &stats.opponent})
            for (const EventStatsRow& row : *rows) {
                const auto values = cellValues(row.cells[column]);
                if (label < values.size() && !trimBlanks(values[label]).empty()) return false;
            }
        return true;
    };
    for (std::size_t column = 0; column < stats.headers.size();) {
        if (stats.headers[column].find('|') == std::string::npos) {
            ++column;
            continue;
        }
        auto labels = headerLabels(stats.headers[column]);
        for (std::size_t label = 0; label < labels.size();) {
            if (!blankEverywhere(column, label)) {
                ++label;
                continue;
            }
            labels.erase(labels.begin() + static_cast<std::ptrdiff_t>(label));
            for (auto* rows : {&stats.home, &stats.opponent})
                for (EventStatsRow& row : *rows) {
                    auto values = cellValues(row.cells[column]);
                    if (label < values.size()) values.erase(values.begin() + static_cast<std::ptrdiff_t>(label));
                    row.cells[column] = joinedValues(values);
                }
        }
        if (labels.empty()) {
            stats.headers.erase(stats.headers.begin() + static_cast<std::ptrdiff_t>(column));
            for (auto* rows : {&stats.home, &stats.opponent})
                for (EventStatsRow& row : *rows) row.cells.erase(row.cells.begin() + static_cast<std::ptrdiff_t>(column));
            continue;  // the column that moved into this place is examined next
        }
        std::string header = headerEvent(stats.headers[column]) + "|";
        for (std::size_t i = 0; i < labels.size(); ++i) header += (i ? "$" : "") + labels[i];
        stats.headers[column] = std::move(header);
        ++column;
    }
}

namespace {

int playerNumber(std::string_view firstCell) {
    const std::size_t dash = firstCell.find('-');
    const std::string_view digits = dash != std::string_view::npos ? firstCell.substr(0, dash)
                                    : firstCell.size() > 1         ? firstCell.substr(1, 2)
                                                                   : std::string_view();
    return leadingInteger(digits);
}

std::optional<std::string> twoDigits(int number) {
    if (number > 99) return std::nullopt;  // a code has two positions for the shirt number
    return PadText(false, 2, std::to_string(number), '0');
}

}  // namespace

std::optional<std::string> eventPlayerPart(const std::vector<EventStatsRow>& rows, int row, std::string_view sport) {
    const int count = static_cast<int>(rows.size());
    if (row < 0 || row >= count) return std::nullopt;
    if (sportKind(sport) != SportKind::TwoPeriodsNoExtra) {
        if (row == count - 1) return "~~";
        if (row == count - 2) return "$$";
    }
    const int number = playerNumber(rows[static_cast<std::size_t>(row)].player);
    if (number == 0) return "~~";
    return twoDigits(number);
}

bool eventCellClickable(const EventStats& stats, const EventStatsClick& click) {
    const auto& rows = click.home ? stats.home : stats.opponent;
    const int count = static_cast<int>(rows.size());
    if (click.row < 0 || click.row >= count) return false;
    return click.column >= 0 && click.column <= static_cast<int>(stats.headers.size());
}

std::optional<std::string> eventStatisticsSearch(const EventStats& stats, const EventStatsClick& click,
                                                 std::string_view sport, AnalysisRecord& record) {
    if (!eventCellClickable(stats, click)) return std::nullopt;
    const auto& rows = click.home ? stats.home : stats.opponent;
    const int count = static_cast<int>(rows.size());
    std::optional<std::string> player, event, effect;
    if (click.column == 0) {
        if (click.row == count - 1) {
            player = "~~";
        } else if (click.row == count - 2) {
            player = "$$";
        } else {
            player = twoDigits(playerNumber(rows[static_cast<std::size_t>(click.row)].player));
        }
        event = "~~";
        effect = "~";
    } else {
        const std::string& header = stats.headers[static_cast<std::size_t>(click.column - 1)];
        player = eventPlayerPart(rows, click.row, sport);
        event = headerEvent(header);
        effect = "";
        const auto labels = headerLabels(header);
        // A line that stopped early has no cell here: no value, so no effect either.
        const auto& cells = rows[static_cast<std::size_t>(click.row)].cells;
        const auto column = static_cast<std::size_t>(click.column - 1);
        const auto values = column < cells.size() ? cellValues(cells[column]) : std::vector<std::string>{};
        const auto k = static_cast<std::size_t>(click.subColumn);
        if (click.subColumn >= 1 && k < values.size() && k < labels.size() && !labels[k].empty())
            effect = labels[k].substr(0, 1);
    }
    if (!player) return std::nullopt;
    const std::string pattern = std::string(click.home ? "*" : "a") + *player + *event + *effect + "~~~~";
    record.Clear();
    record[AnalysisRecord::team] = click.home ? "0" : "1";
    record[AnalysisRecord::main_code] = pattern;
    record[AnalysisRecord::seconds_prev] = "2";
    record[AnalysisRecord::play_end_rally] = "1";
    return pattern;
}

}  // namespace corvane
