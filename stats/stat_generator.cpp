#include "stats/stat_generator.h"

#include <array>
#include <set>
#include <system_error>

#include "codes/analysis_record.h"
#include "codes/code_passes.h"
#include "core/files.h"
#include "scout/packages.h"
#include "scout/scout_readers.h"

namespace corvane {

namespace {

constexpr std::size_t kMaxArgumentLength = 255;
constexpr std::string_view kEffectSymbols = "=/-!+#";
constexpr std::string_view kTotalsCode = "Totali";

// Characters that would break a line of the file: its separators and section brackets.
bool safeInFile(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < ' ' || c == '|' || c == ';' || c == '[' || c == ']')
            return false;
    return true;
}

char at(std::string_view text, std::size_t index) { return index < text.size() ? text[index] : ' '; }
bool blankAt(std::string_view text, std::size_t index) {
    const char c = at(text, index);
    return c == ' ' || c == '~';
}

// The 0-based positions a level groups by: 7-8 when the pattern leaves them open, else 9-10
// when it leaves those open, else none (the search compares nothing further).
std::optional<std::array<std::size_t, 2>> groupedPositions(std::string_view pattern) {
    if (blankAt(pattern, 6) && blankAt(pattern, 7)) return std::array<std::size_t, 2>{6, 7};
    if (blankAt(pattern, 8) && blankAt(pattern, 9)) return std::array<std::size_t, 2>{8, 9};
    return std::nullopt;
}

std::vector<CodeListRow> selection(const CodeTable& table, std::string_view sport, std::string_view searchCode) {
    AnalysisRecord record;
    record[AnalysisRecord::main_code] = std::string(searchCode);
    return FillCodeList(table, searchCode, {}, record, PassContext{std::string(sport), false, 0});
}

// The codes of the rows of one level: the pattern up to the grouped positions, blanks as "~",
// each selected code's characters at those positions laid in.
std::set<std::string> rowCodes(const std::vector<CodeListRow>& selected, std::string_view pattern) {
    std::set<std::string> codes;
    const auto positions = groupedPositions(pattern);
    if (!positions) return codes;
    std::string base(pattern.substr(0, std::min(pattern.size(), (*positions)[1] + 1)));
    base.resize((*positions)[1] + 1, ' ');
    for (char& c : base)
        if (c == ' ') c = '~';
    for (const CodeListRow& row : selected) {
        std::string code = base;
        bool any = false;
        for (const std::size_t position : *positions) {
            if (blankAt(row.code, position)) continue;
            code[position] = row.code[position];
            any = true;
        }
        if (any && safeInFile(code)) codes.insert(code);
    }
    return codes;
}

std::string share(std::size_t part, std::size_t whole) {
    return std::to_string(whole == 0 ? 0 : (part * 100 + whole / 2) / whole) + "%";
}

std::string normalisedPattern(std::string_view pattern) {
    std::string result(pattern.substr(0, kExtensionPatternLength));
    result.resize(kExtensionPatternLength, ' ');
    for (char& c : result)
        if (c == '~') c = ' ';
    return result;
}

}  // namespace

std::filesystem::path extensionStatsFile(const Platform& platform) {
    const auto documents = platform.documentsFolder();
    return documents.empty() ? std::filesystem::path() : documents / "StatExt.txt";
}

ExtensionStats computeExtensionStats(const CodeTable& table, std::string_view sport, std::string_view rawPattern) {
    const std::string pattern = normalisedPattern(rawPattern);
    const auto selected = selection(table, sport, pattern);
    ExtensionStats stats;
    if (selected.empty()) return stats;

    std::string header = "t";
    for (const char symbol : kEffectSymbols)
        for (const CodeListRow& row : selected)
            if (at(row.code, kEffectPosition - 1) == symbol) {
                header += std::string("$") + symbol + "$%";
                break;
            }
    stats.rows.front().values = header;
    const auto codes = rowCodes(selected, pattern);
    if (codes.empty()) return stats;  // nothing to tell apart: the window closes at once
    for (const std::string& code : codes) stats.rows.push_back({code, {}});
    stats.rows.push_back({std::string(kTotalsCode), {}});

    const auto labels = extensionLabels(stats);
    const std::size_t last = stats.rows.size() - 1;
    for (std::size_t row = 1; row <= last; ++row) {
        std::vector<std::size_t> counts;
        std::string values;
        for (std::size_t label = 0; label < labels.size(); ++label) {
            if (labels[label].front() == '%') {
                values += share(counts.back(), counts.front()) + ";";
                counts.push_back(0);
                continue;
            }
            // A data row counts what its click lists; the totals row, no click, the level's whole
            // selection of that effect.
            std::string search = pattern;
            if (row == last)
                search[kEffectPosition - 1] = extensionLabelEffect(labels, static_cast<int>(label));
            else
                search = extensionClickPattern(pattern, stats, static_cast<int>(row), static_cast<int>(label));
            counts.push_back(selection(table, sport, search).size());
            values += std::to_string(counts.back()) + ";";
        }
        values.pop_back();
        stats.rows[row].values = values;
        if (row != last) {
            const std::string deeper = overlayForButton(pattern, stats.rows[row].code);
            if (!rowCodes(selection(table, sport, deeper), deeper).empty())
                stats.withSubExtensions.push_back(stats.rows[row].code);
        }
    }
    return stats;
}

std::string formatExtensionStats(const ExtensionStats& stats) {
    std::string text = "[testata]\r\n" + stats.rows.front().values + "\r\n";
    if (!stats.hasDataRows()) return text;
    text += "[home]\r\n";
    for (std::size_t row = 1; row < stats.rows.size(); ++row)
        text += stats.rows[row].code + "|" + stats.rows[row].values + "\r\n";
    if (!stats.withSubExtensions.empty()) {
        text += "[eventswithext]\r\n";
        for (std::size_t i = 0; i < stats.withSubExtensions.size(); ++i)
            text += (i ? ";" : "") + stats.withSubExtensions[i];
        text += "\r\n";
    }
    return text;
}

std::optional<CodeTable> readScoutCodes(std::string_view sport, const std::filesystem::path& scoutFile,
                                        const Platform& platform) {
    CodeTable table;
    MatchCompanions match;
    const ScoutTarget target{table, match};
    bool read = false;
    // The reader deciphers an enciphered file in memory: no plain copy is ever written.
    switch (scoutFormatOf(std::string(sport))) {
        case ScoutFormat::Volleyball: read = ReadScoutFile(scoutFile, false, target, platform.localeFormats()); break;
        case ScoutFormat::LowerCase: read = ReadLowerCaseScout(scoutFile, false, target); break;
        case ScoutFormat::LowerCaseDeciphered:
            read = ReadLowerCaseScout(scoutFile, true, target);
            break;
        case ScoutFormat::None: break;
    }
    if (!read) return std::nullopt;
    return table;
}

GeneratorOutcome GeneraStatEstensioni(const std::string& sport, const std::string& scoutFile,
                                      const std::string& outputFile, const std::string& eventsFile,
                                      const std::string& pattern, const Platform& platform) {
    const auto fail = [&](std::string problem) {
        std::error_code ignored;
        if (!outputFile.empty()) std::filesystem::remove(outputFile, ignored);
        return GeneratorOutcome{false, std::move(problem)};
    };
    for (const std::string* argument : {&sport, &scoutFile, &outputFile, &eventsFile, &pattern})
        if (argument->size() > kMaxArgumentLength) return fail("an argument is longer than 255 characters");
    if (outputFile.empty()) return fail("no output file");
    if (sport.size() != 1) return fail("the sport is not one character");
    if (pattern.size() > kExtensionPatternLength || !safeInFile(pattern))
        return fail("the pattern is not a code pattern of at most 13 characters");
    const auto table = readScoutCodes(sport, scoutFile, platform);
    if (!table) return fail("the scout file cannot be read");
    if (!writeFileAtomically(outputFile, formatExtensionStats(computeExtensionStats(*table, sport, pattern))))
        return fail("the file cannot be written");
    return {true, {}};
}

}  // namespace corvane
