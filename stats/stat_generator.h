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
// Every figure equals the number of codes the click on it lists with an empty set filter: each
// one is counted by running the window's own click (extensionClickPattern) through FillCodeList,
// so codes without a film or a time, and positions the search never compares, count exactly as
// the list does. Level 1 (positions 7-8 of the pattern blank) has a row for each extension the
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

struct GeneratorOutcome {
    bool written = false;
    std::string problem;  // why no file was written
};

// Computes the extension statistics of a pattern from a package's scout file and writes them to
// outputFile, replacing it whole. Each argument is at most 255 characters; on any failure the old
// output file is removed, so a window never shows the figures of an earlier pattern. The events
// file is taken for the interface's sake: counting needs none of it, descriptions being the
// window's business.
GeneratorOutcome GeneraStatEstensioni(const std::string& sport, const std::string& scoutFile,
                                      const std::string& outputFile, const std::string& eventsFile,
                                      const std::string& pattern, const Platform& platform);

}  // namespace corvane
