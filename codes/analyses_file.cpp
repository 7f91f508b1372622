#include "codes/analyses_file.h"

// The file is 8-bit text; no character conversion is wanted.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <array>

#include "core/files.h"
#include "core/text.h"

namespace corvane {

namespace {

constexpr std::array<const char*, 13> kKeys = {
    "tipo",      "team",         "main_code",   "team_rot",       "rot_zone",       "set",   "phase",
    "adv_codes", "seconds_prev", "seconds_len", "play_end_rally", "automatic_stop", "folder"};

// Read as the Windows profile functions read it: sections and keys in any case (CSimpleIniA
// compares without case, CSimpleIniCaseA with it), one pair of quotes around a value dropped.
bool loadAnalyses(const std::filesystem::path& file, CSimpleIniA& ini) {
    return ini.LoadFile(file.c_str()) >= 0;
}

std::string unquoted(std::string_view value) {
    value = trimBlanks(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void readSection(const CSimpleIniA& ini, std::string_view name, AnalysisRecord& record) {
    for (std::size_t slot = 1; slot < record.slots.size(); ++slot) record.slots[slot].clear();
    const std::string section(trimBlanks(name));
    for (std::size_t slot = 0; slot < kKeys.size(); ++slot)
        record.slots[slot] = unquoted(ini.GetValue(section.c_str(), kKeys[slot], ""));
}

}  // namespace

std::filesystem::path analysesFilePath(const std::filesystem::path& packageFolder) {
    return resolveInFolder(packageFolder, "Analisi.ini");
}

void ReadAnalysis(const std::filesystem::path& analysisFile, std::string_view name, AnalysisRecord& record) {
    CSimpleIniA ini(false, false, false);
    loadAnalyses(analysisFile, ini);  // a file that cannot be read leaves every key empty
    readSection(ini, name, record);
}

std::optional<std::vector<AnalysisEntry>> ListAnalyses(const std::filesystem::path& analysisFile,
                                                       const CodeTable& table, const PassContext& context,
                                                       AnalysisRecord& record) {
    if (!fileExists(analysisFile)) return std::nullopt;
    CSimpleIniA ini(false, false, false);
    std::vector<AnalysisEntry> entries;
    if (!loadAnalyses(analysisFile, ini)) return entries;

    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    sections.sort(CSimpleIniA::Entry::LoadOrder());
    int index = 0;
    for (const auto& section : sections) {
        readSection(ini, section.pItem, record);
        AnalysisEntry entry;
        entry.name = std::string(trimBlanks(section.pItem));
        entry.tipo = record[AnalysisRecord::tipo];
        entry.hidden = entry.tipo == "A" && !AnalysisSelectsAnyCode(table, index, record, context);
        entries.push_back(std::move(entry));
        ++index;
    }
    return entries;
}

}  // namespace corvane
