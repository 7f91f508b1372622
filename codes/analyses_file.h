#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codes/analysis_record.h"
#include "codes/code_passes.h"

namespace corvane {

class CodeTable;

// Analisi.ini of a package folder, whatever the letter case of its name.
std::filesystem::path analysesFilePath(const std::filesystem::path& packageFolder);

// Reads section `name` of the analyses file into slots 0..12 after emptying slots 1..37. Missing
// keys, a missing section and a missing file read as empty. The file is never written.
void ReadAnalysis(const std::filesystem::path& analysisFile, std::string_view name, AnalysisRecord& record);

// One entry of the analyses list. A tipo other than "A" makes the entry a title.
struct AnalysisEntry {
    std::string name;  // trimmed section name
    std::string tipo;
    bool hidden = false;  // an analysis that selects no code
};

// The entries of the analyses file in file order; the entry's position is its analysis index.
// Each section is read into `record` in turn, so it is left holding the last one. Nothing when
// the file does not exist: the caller keeps the list it has. The current analysis is the first
// entry's name, or none when the list is empty.
std::optional<std::vector<AnalysisEntry>> ListAnalyses(const std::filesystem::path& analysisFile,
                                                       const CodeTable& table, const PassContext& context,
                                                       AnalysisRecord& record);

}  // namespace corvane
