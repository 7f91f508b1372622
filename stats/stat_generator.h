#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform.h"
#include "scout/code_table.h"
#include "stats/extension_stats.h"

namespace corvane {

// Where the extension statistics are written: the user's documents folder, never a package.
// Empty when the system names no documents folder.
std::filesystem::path extensionStatsFile(const Platform& platform);

// The extension statistics of the codes a pattern selects, as the window will read them.
//
// Every figure equals the number of codes the click on it (extensionClickPattern) lists with an
// empty set filter, so codes without a film or a time, and positions the search never compares,
// count exactly as the list does. One pass of FillCodeList gives the level's codes; every figure
// is counted from them, so a level costs one pass over the table however many rows it has. Level 1 (positions 7-8 of the pattern blank) has a row for each extension the
// selected codes carry at positions 7-8; a deeper level a row for each value at positions 9-10,
// the last ones a search compares. A position a code leaves blank is "~" in the row's code and
// so open in its search: such a row counts every code its search lists, and may share codes with
// the rows of the same extension. Codes with nothing in the grouped positions have no row of
// their own (its search would list the whole level); they count in the totals row, the last.
// Columns: "t", then for each effect symbol present, in the order "=/-!+#", its count and its
// "%" share of "t". A row that opens a deeper level is listed in "[eventswithext]".
ExtensionStats computeExtensionStats(const CodeTable& table, std::string_view sport, std::string_view pattern);

// The file text of the statistics, lines ended by CR LF.
std::string formatExtensionStats(const ExtensionStats& stats);

// The codes of a package's scout file, read with the reader its sport selects. The one place the
// generator reads scout codes.
std::optional<CodeTable> readScoutCodes(std::string_view sport, const std::filesystem::path& scoutFile,
                                        const Platform& platform);

// Why a generation gave no figures, or no record of them.
enum class GeneratorProblem {
    None,
    ArgumentTooLong,   // an argument past 255 characters
    BadSport,          // the sport is not one character
    BadPattern,        // not a code pattern of at most 13 characters, or one that would break the file
    UnreadableScout,   // the scout file cannot be read
    NoOutputFile,      // no documents folder to write the record into
    CannotWrite,       // the record could not be written whole (a read-only folder, a full disc)
};

// The figures of one pattern, which the window shows as they are, and whether the record file
// holds them. A window never reads the record back: what it shows cannot be an earlier click's.
struct GeneratorOutcome {
    std::optional<ExtensionStats> stats;  // nothing when no figures could be computed
    bool written = false;                 // the record file holds exactly these figures
    GeneratorProblem problem = GeneratorProblem::None;
};

// A log line's words for a problem.
std::string describe(GeneratorProblem problem);

// The figures of a pattern over the package's code table, the one the code list searches, and
// their record written aside into outputFile and renamed when complete. When no record can be
// written the old one is removed where possible, so no file holds another pattern's figures.
GeneratorOutcome generateExtensionStats(const CodeTable& table, const std::string& sport, const std::string& pattern,
                                        const std::filesystem::path& outputFile);

// The maker's interface: the same from the package's scout file, each argument at most 255
// characters. The events file is taken for the interface's sake: counting needs none of it,
// descriptions being the window's business.
GeneratorOutcome GeneraStatEstensioni(const std::string& sport, const std::string& scoutFile,
                                      const std::string& outputFile, const std::string& eventsFile,
                                      const std::string& pattern, const Platform& platform);

}  // namespace corvane
