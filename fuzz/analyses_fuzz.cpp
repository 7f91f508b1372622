// Analisi.ini of a package: the list of analyses (each read and tried on a small match) and each
// analysis read again by name, as a click on the list does.

#include "codes/analyses_file.h"
#include "codes/code_passes.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/small_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const bool synthesis = corvane::fuzz::takeChoice(text, 2) == 1;
    const std::filesystem::path file =
        corvane::fuzz::writeInput(corvane::fuzz::PrivateFolder::instance().path() / "Analisi.ini", text);
    static const corvane::CodeTable table = corvane::fuzz::smallTable({});
    corvane::PassContext context;
    context.Sport = "1";
    context.SynthesisMode = synthesis;
    context.LanguageNumber = 1;

    corvane::AnalysisRecord record;
    const auto entries = corvane::ListAnalyses(file, table, context, record);
    if (!entries) return 0;
    // The file is read again for every entry: a few are enough to follow one from list to search.
    constexpr int kEntriesTried = 16;
    int index = 0;
    for (const corvane::AnalysisEntry& entry : *entries) {
        if (index == kEntriesTried) break;
        corvane::ReadAnalysis(file, entry.name, record);
        (void)corvane::ApplyAnalysis(table, index++, {}, record, context);
    }
    return 0;
}
