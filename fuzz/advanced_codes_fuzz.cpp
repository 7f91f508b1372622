// An advanced-codes expression, parsed and then applied by both passes of the code list to a
// small match. The input's parts (cut at NUL bytes): the expression, the search code, the set
// filter, the main code of the analysis and extra code rows.

#include "codes/advanced_codes.h"
#include "codes/code_passes.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/small_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const unsigned choice = corvane::fuzz::takeChoice(text, 8);
    const std::vector<std::string_view> parts = corvane::fuzz::splitParts(text, 5);

    (void)corvane::ParseAdvancedCodes(parts[0]);

    const corvane::CodeTable table = corvane::fuzz::smallTable(parts[4]);
    corvane::AnalysisRecord analysis;
    analysis[corvane::AnalysisRecord::adv_codes] = parts[0];
    analysis[corvane::AnalysisRecord::main_code] = parts[3];
    corvane::PassContext context;
    context.Sport = (choice & 1) != 0 ? "1" : "2";
    context.SynthesisMode = (choice & 2) != 0;
    context.LanguageNumber = (choice & 4) != 0 ? 1 : 2;

    (void)corvane::FillCodeList(table, parts[1], parts[2], analysis, context);
    for (int index = 0; index <= 2; ++index) {
        (void)corvane::ApplyAnalysis(table, index, parts[2], analysis, context);
        (void)corvane::AnalysisSelectsAnyCode(table, index, analysis, context);
    }
    return 0;
}
