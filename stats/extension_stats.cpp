#include "stats/extension_stats.h"

#include <algorithm>
#include <system_error>

#include "core/files.h"
#include "core/text.h"
#include "scout/event_lookups.h"
#include "stats/volleyball_stats.h"

namespace corvane {

namespace {

enum class Section { None, Header, Home, WithExtensions };

std::optional<Section> sectionOf(const std::string& line) {
    const std::string text = asciiLower(trimBlanks(line));
    if (text.rfind("[testata]", 0) == 0) return Section::Header;
    if (text.rfind("[home]", 0) == 0) return Section::Home;
    if (text.rfind("[eventswithext]", 0) == 0) return Section::WithExtensions;
    return std::nullopt;
}

// False when the reading ends at this line.
bool readLine(Section section, const std::string& line, ExtensionStats& stats) {
    switch (section) {
        case Section::None: break;
        case Section::Header: stats.rows.front().values = line; break;
        case Section::Home: {
            if (stats.rows.size() > kMaxExtensionRows) {
                stats.problem = "more than " + std::to_string(kMaxExtensionRows) + " rows";
                return false;
            }
            const std::size_t bar = line.find('|');
            stats.rows.push_back(bar == std::string::npos ? ExtensionRow{line, {}}
                                                          : ExtensionRow{line.substr(0, bar), line.substr(bar + 1)});
            break;
        }
        case Section::WithExtensions:
            for (std::string& field : statisticsFields(line)) {
                if (stats.withSubExtensions.size() > kMaxExtensionRows) break;
                stats.withSubExtensions.push_back(std::move(field));
            }
            break;
    }
    return true;
}

std::string overlay(std::string_view pattern, std::string_view code, std::size_t length) {
    std::string result(pattern);
    for (std::size_t i = 0; i < length && i < code.size() && i < result.size(); ++i)
        if (code[i] != ' ' && code[i] != '~') result[i] = code[i];
    return result;
}

}  // namespace

bool ExtensionStats::opensDeeperLevel(std::string_view code) const {
    return std::find(withSubExtensions.begin(), withSubExtensions.end(), code) != withSubExtensions.end();
}

ExtensionStats readExtensionStats(const std::vector<std::string>& lines) {
    ExtensionStats stats;
    Section section = Section::None;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].find('[') != std::string::npos && lines[n].find(']') != std::string::npos) {
            if (const auto found = sectionOf(lines[n])) section = *found;
            // The line after a section line is data of the section, whatever it holds.
            if (++n >= lines.size()) break;
        }
        if (!readLine(section, lines[n], stats)) break;
    }
    return stats;
}

std::optional<ExtensionStats> LoadExtensionStats(const std::filesystem::path& file) {
    if (!fileExists(file)) return std::nullopt;
    std::error_code error;
    if (std::filesystem::file_size(file, error) > kMaxExtensionFileBytes && !error) {
        ExtensionStats stats;
        stats.problem = "the file is larger than " + std::to_string(kMaxExtensionFileBytes >> 10) + " KiB";
        return stats;
    }
    return readExtensionStats(readTextLines(file));
}

std::string extensionPattern(bool home, std::string_view playerPart, std::string_view event) {
    std::string pattern(kExtensionPatternLength, ' ');
    pattern[0] = home ? '*' : 'a';
    return overlayForButton(overlayForButton(pattern, " " + std::string(playerPart)), "   " + std::string(event));
}

std::string overlayForClick(std::string_view pattern, std::string_view code) {
    return overlay(pattern, code, trimBlanks(code).size());
}

std::string overlayForButton(std::string_view pattern, std::string_view code) {
    return overlay(pattern, code, code.size());
}

std::vector<std::string> extensionLabels(const ExtensionStats& stats) {
    const std::string& header = stats.rows.front().values;
    if (header.empty()) return {};
    std::vector<std::string> labels;
    std::size_t start = 0;
    for (std::size_t at = header.find('$'); at != std::string::npos; at = header.find('$', start)) {
        labels.push_back(header.substr(start, at - start));
        start = at + 1;
    }
    labels.push_back(header.substr(start));
    return labels;
}

std::vector<ExtensionSubColumn> extensionSubColumns(int columnWidth, int count) {
    if (count <= 0) return {};
    const int width = std::max(columnWidth, 0) / count;
    std::vector<ExtensionSubColumn> columns;
    for (int i = 0; i < count; ++i) columns.push_back({i * width, width});
    return columns;
}

int extensionLabelAt(int offset, int labelWidth, int labelCount) {
    if (labelWidth <= 0) return -1;
    for (int label = 0; label < labelCount; ++label)
        if (labelWidth * label <= offset && offset <= labelWidth * label + labelWidth) return label;
    return -1;
}

char extensionLabelEffect(const std::vector<std::string>& labels, int label) {
    if (label < 0 || label >= static_cast<int>(labels.size())) return '~';
    const std::string& text = labels[static_cast<std::size_t>(label)];
    if (text.empty() || text == "t") return '~';
    if (text.front() == '%') return label == 0 ? '~' : extensionLabelEffect(labels, label - 1);
    return text.front();
}

std::string extensionClickPattern(std::string_view pattern, const ExtensionStats& stats, int row, int label) {
    std::string result(pattern);
    // The totals row counts every code of the window's pattern: its code is a caption, not a code.
    if (row >= 1 && row + 1 < static_cast<int>(stats.rows.size()))
        result = overlayForClick(result, stats.rows[static_cast<std::size_t>(row)].code);
    if (label != kClickOnCode && result.size() >= kEffectPosition)
        result[kEffectPosition - 1] = extensionLabelEffect(extensionLabels(stats), label);
    return result;
}

std::string extensionRowText(std::string_view pattern, std::string_view code, const EventTable& events,
                             std::string_view sport) {
    return ExtensionText(pattern, code, events, sport);
}

}  // namespace corvane
