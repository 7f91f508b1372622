// The volleyball scout file, in a match and in a synthesis.

#include "fuzz/fuzz_support.h"
#include "scout/scout_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const bool synthesis = corvane::fuzz::takeChoice(text, 2) == 1;
    const std::filesystem::path file =
        corvane::fuzz::writeInput(corvane::fuzz::PrivateFolder::instance().path() / "match.dvw", text);
    static corvane::CodeTable table;
    static corvane::MatchCompanions match;
    const corvane::LocaleFormats formats;
    corvane::ReadScoutFile(file, synthesis, {table, match}, formats);
    return 0;
}
