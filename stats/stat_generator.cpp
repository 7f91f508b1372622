#include "stats/stat_generator.h"

#include <algorithm>
#include <array>
#include <map>
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

// How a search compares one position: a blank, a control character or "~" takes any character.
bool takesAny(char searchChar) {
    const auto c = static_cast<unsigned char>(searchChar);
    return c <= ' ' || c == '~';
}
bool fits(char searchChar, char codeChar) { return takesAny(searchChar) || searchChar == codeChar; }

using Positions = std::array<std::size_t, 2>;

// The 0-based positions a level groups by: 7-8 when the pattern leaves them open, else 9-10
// when it leaves those open, else none (the search compares nothing further).
std::optional<Positions> groupedPositions(std::string_view pattern) {
    if (blankAt(pattern, 6) && blankAt(pattern, 7)) return Positions{6, 7};
    if (blankAt(pattern, 8) && blankAt(pattern, 9)) return Positions{8, 9};
    return std::nullopt;
}

std::vector<CodeListRow> selection(const CodeTable& table, std::string_view sport, std::string_view searchCode) {
    AnalysisRecord record;
    record[AnalysisRecord::main_code] = std::string(searchCode);
    return FillCodeList(table, searchCode, {}, record, PassContext{std::string(sport), false, 0});
}

// The rows of one level: the pattern up to the grouped positions, blanks as "~".
struct Level {
    Positions positions;
    std::string base;

    static std::optional<Level> of(std::string_view pattern) {
        const auto positions = groupedPositions(pattern);
        if (!positions) return std::nullopt;
        std::string base(pattern.substr(0, std::min(pattern.size(), (*positions)[1] + 1)));
        base.resize((*positions)[1] + 1, ' ');
        for (char& c : base)
            if (c == ' ') c = '~';
        return Level{*positions, std::move(base)};
    }

    // The code of the row a selected code falls in: its characters at the grouped positions laid
    // into the base. None when it has nothing there, or a character that would break the file.
    std::optional<std::string> rowCodeOf(std::string_view code) const {
        std::string row = base;
        bool any = false;
        for (const std::size_t position : positions) {
            if (blankAt(code, position)) continue;
            row[position] = code[position];
            any = true;
        }
        if (!any || !safeInFile(row)) return std::nullopt;
        return row;
    }
};

std::set<std::string> rowCodes(const std::vector<const CodeListRow*>& selected, const Level& level) {
    std::set<std::string> codes;
    for (const CodeListRow* row : selected)
        if (auto code = level.rowCodeOf(row->code)) codes.insert(std::move(*code));
    return codes;
}

// What the searches of one level's figures list, counted in one pass over the codes the broadest
// of them lists. Every figure's search is the pattern with the grouped positions of its row laid
// in and position 6 set by its label, and positions compare one by one: a code that the broad
// search lists is listed by a figure's search exactly when it fits that search at those three
// positions. A code fits at most three rows: its own pair, and each half of it with the other
// position open.
struct LevelCounts {
    struct Counts {
        std::size_t all = 0;
        std::array<std::size_t, 6> byEffect{};  // in the order of kEffectSymbols

        void add(char effect) {
            ++all;
            if (const auto at = kEffectSymbols.find(effect); at != std::string_view::npos) ++byEffect[at];
        }
        std::size_t of(char labelEffect) const {
            if (takesAny(labelEffect)) return all;
            const auto at = kEffectSymbols.find(labelEffect);
            return at == std::string_view::npos ? 0 : byEffect[at];
        }
    };

    std::vector<Counts> rows;  // the data rows' in row order, then the whole level's
    std::vector<bool> deeper;  // whether a row's button opens a level with rows
};

LevelCounts countLevel(const std::vector<CodeListRow>& candidates, const std::vector<std::string>& rowCodes,
                       const Level& level, std::string_view pattern) {
    const std::size_t count = rowCodes.size();
    LevelCounts counts{std::vector<LevelCounts::Counts>(count + 1), std::vector<bool>(count, false)};
    std::map<std::array<char, 2>, std::size_t> rowOf;
    std::vector<std::optional<Level>> deeperLevels;
    for (std::size_t row = 0; row < count; ++row) {
        const std::string& code = rowCodes[row];
        rowOf[{code[level.positions[0]], code[level.positions[1]]}] = row;
        deeperLevels.push_back(Level::of(overlayForButton(pattern, code)));
    }
    const char patternEffect = at(pattern, kEffectPosition - 1);
    for (const CodeListRow& candidate : candidates) {
        const std::string_view code = candidate.code;
        const char effect = at(code, kEffectPosition - 1);
        counts.rows.back().add(effect);
        const char first = at(code, level.positions[0]);
        const char second = at(code, level.positions[1]);
        // A code with "~" at a grouped position finds the same row twice.
        std::array<std::size_t, 3> hits{};
        std::size_t hitCount = 0;
        for (const std::array<char, 2>& key : {std::array<char, 2>{first, second}, {'~', second}, {first, '~'}}) {
            const auto found = rowOf.find(key);
            if (found == rowOf.end() || std::find(hits.begin(), hits.begin() + hitCount, found->second) != hits.begin() + hitCount)
                continue;
            hits[hitCount++] = found->second;
        }
        for (std::size_t k = 0; k < hitCount; ++k) {
            const std::size_t row = hits[k];
            counts.rows[row].add(effect);
            // The deeper level keeps the pattern's own effect.
            if (!counts.deeper[row] && deeperLevels[row] && fits(patternEffect, effect))
                counts.deeper[row] = deeperLevels[row]->rowCodeOf(code).has_value();
        }
    }
    return counts;
}

std::string share(std::size_t part, std::size_t whole) {
    return std::to_string(whole == 0 ? 0 : (part * 100 + whole / 2) / whole) + "%";
}

GeneratorProblem argumentProblem(std::string_view sport, std::string_view pattern) {
    if (sport.size() != 1) return GeneratorProblem::BadSport;
    if (pattern.size() > kExtensionPatternLength || !safeInFile(pattern)) return GeneratorProblem::BadPattern;
    return GeneratorProblem::None;
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
    // The broadest search of the level: a "t" label opens position 6.
    std::string broad = pattern;
    broad[kEffectPosition - 1] = ' ';
    const auto candidates = selection(table, sport, broad);
    std::vector<const CodeListRow*> selected;
    for (const CodeListRow& row : candidates)
        if (fits(pattern[kEffectPosition - 1], at(row.code, kEffectPosition - 1))) selected.push_back(&row);
    ExtensionStats stats;
    if (selected.empty()) return stats;

    std::string header = "t";
    for (const char symbol : kEffectSymbols)
        if (std::any_of(selected.begin(), selected.end(),
                        [&](const CodeListRow* row) { return at(row->code, kEffectPosition - 1) == symbol; }))
            header += std::string("$") + symbol + "$%";
    stats.rows.front().values = header;
    const auto level = Level::of(pattern);
    if (!level) return stats;
    const auto codeSet = rowCodes(selected, *level);
    if (codeSet.empty()) return stats;  // nothing to tell apart: the window closes at once
    const std::vector<std::string> codes(codeSet.begin(), codeSet.end());
    for (const std::string& code : codes) stats.rows.push_back({code, {}});
    stats.rows.push_back({std::string(kTotalsCode), {}});

    const LevelCounts counts = countLevel(candidates, codes, *level, pattern);
    const auto labels = extensionLabels(stats);
    for (std::size_t row = 1; row < stats.rows.size(); ++row) {
        const LevelCounts::Counts& rowCounts = counts.rows[row - 1];
        std::vector<std::size_t> figures;
        std::string values;
        for (std::size_t label = 0; label < labels.size(); ++label) {
            if (labels[label].front() == '%') {
                values += share(figures.back(), figures.front()) + ";";
                figures.push_back(0);
                continue;
            }
            figures.push_back(rowCounts.of(extensionLabelEffect(labels, static_cast<int>(label))));
            values += std::to_string(figures.back()) + ";";
        }
        values.pop_back();
        stats.rows[row].values = values;
        if (row + 1 < stats.rows.size() && counts.deeper[row - 1]) stats.withSubExtensions.push_back(stats.rows[row].code);
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

std::string describe(GeneratorProblem problem) {
    switch (problem) {
        case GeneratorProblem::None: return "no problem";
        case GeneratorProblem::ArgumentTooLong: return "an argument is longer than 255 characters";
        case GeneratorProblem::BadSport: return "the sport is not one character";
        case GeneratorProblem::BadPattern: return "the pattern is not a code pattern of at most 13 characters";
        case GeneratorProblem::UnreadableScout: return "the scout file cannot be read";
        case GeneratorProblem::NoOutputFile: return "there is no documents folder to write into";
        case GeneratorProblem::CannotWrite: return "the file cannot be written";
    }
    return {};
}

GeneratorOutcome generateExtensionStats(const CodeTable& table, const std::string& sport, const std::string& pattern,
                                        const std::filesystem::path& outputFile) {
    const auto removeOldRecord = [&] {
        std::error_code ignored;
        if (!outputFile.empty()) std::filesystem::remove(outputFile, ignored);
    };
    if (const auto problem = argumentProblem(sport, pattern); problem != GeneratorProblem::None) {
        removeOldRecord();
        return {std::nullopt, false, problem};
    }
    GeneratorOutcome outcome{computeExtensionStats(table, sport, pattern), false, GeneratorProblem::None};
    if (outputFile.empty()) {
        outcome.problem = GeneratorProblem::NoOutputFile;
    } else if (outputFile.string().size() > kMaxArgumentLength) {
        outcome.problem = GeneratorProblem::ArgumentTooLong;
    } else if (!writeFileAtomically(outputFile, formatExtensionStats(*outcome.stats))) {
        outcome.problem = GeneratorProblem::CannotWrite;
    } else {
        outcome.written = true;
    }
    if (!outcome.written) removeOldRecord();
    return outcome;
}

GeneratorOutcome GeneraStatEstensioni(const std::string& sport, const std::string& scoutFile,
                                      const std::string& outputFile, const std::string& eventsFile,
                                      const std::string& pattern, const Platform& platform) {
    const auto fail = [&](GeneratorProblem problem) {
        std::error_code ignored;
        if (!outputFile.empty()) std::filesystem::remove(outputFile, ignored);
        return GeneratorOutcome{std::nullopt, false, problem};
    };
    for (const std::string* argument : {&sport, &scoutFile, &outputFile, &eventsFile, &pattern})
        if (argument->size() > kMaxArgumentLength) return fail(GeneratorProblem::ArgumentTooLong);
    if (outputFile.empty()) return fail(GeneratorProblem::NoOutputFile);
    if (const auto problem = argumentProblem(sport, pattern); problem != GeneratorProblem::None) return fail(problem);
    const auto table = readScoutCodes(sport, scoutFile, platform);
    if (!table) return fail(GeneratorProblem::UnreadableScout);
    return generateExtensionStats(*table, sport, pattern, outputFile);
}

}  // namespace corvane
